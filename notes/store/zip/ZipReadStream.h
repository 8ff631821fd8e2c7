#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace notes {

struct ZipHandle;
class ZipEncryptedReader;

// The entry being read; valid until finishedReading. Made only by ZipFile.
class ZipReadStream {
  public:
    ~ZipReadStream();
    ZipReadStream(const ZipReadStream&) = delete;
    ZipReadStream& operator=(const ZipReadStream&) = delete;

    // Fills up to the whole buffer; answers the number of bytes read, 0 at the end of the entry.
    uint64_t readDataWithBuffer(std::span<uint8_t> buffer);
    // Also where an entry read to its end that is shorter than recorded, or whose CRC differs,
    // comes to light.
    void finishedReading();

  private:
    friend class ZipFile;
    // `decrypter` is given for a password entry, which minizip hands over as stored (raw).
    // `length` and `crc32` are the ones the central directory records.
    ZipReadStream(std::shared_ptr<ZipHandle> unzFileStruct, std::string fileNameInZip,
                  uint64_t length, uint32_t crc32,
                  std::unique_ptr<ZipEncryptedReader> decrypter = nullptr);
    void* handle() const;

    std::shared_ptr<ZipHandle> m_unzFile;
    uint64_t m_entry;
    std::string m_fileNameInZip;
    std::unique_ptr<ZipEncryptedReader> m_decrypter;
    uint64_t m_expectedLength;
    uint32_t m_expectedCrc;
    uint64_t m_delivered = 0;
    uint32_t m_crc = 0;
    bool m_reachedEnd = false;
};

}  // namespace notes
