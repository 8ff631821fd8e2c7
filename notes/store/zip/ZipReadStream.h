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
    // Also where a CRC mismatch over the whole entry comes to light.
    void finishedReading();

  private:
    friend class ZipFile;
    // `decrypter` is given for a password entry, which minizip hands over as stored (raw).
    ZipReadStream(std::shared_ptr<ZipHandle> unzFileStruct, std::string fileNameInZip,
                  std::unique_ptr<ZipEncryptedReader> decrypter = nullptr);
    void* handle() const;

    std::shared_ptr<ZipHandle> m_unzFile;
    uint64_t m_entry;
    std::string m_fileNameInZip;
    std::unique_ptr<ZipEncryptedReader> m_decrypter;
};

}  // namespace notes
