#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace notes {

struct ZipHandle;

// The entry being written; valid until finishedWriting. Made only by ZipFile. An entry holds
// less than 4 GiB: writeData refuses what would take it within 4 MiB of that.
class ZipWriteStream {
  public:
    ZipWriteStream(const ZipWriteStream&) = delete;
    ZipWriteStream& operator=(const ZipWriteStream&) = delete;

    void writeData(std::span<const uint8_t> data);
    void finishedWriting();

  private:
    friend class ZipFile;
    // A password entry is encoded by the archive's encrypter and reaches minizip ready-made.
    ZipWriteStream(std::shared_ptr<ZipHandle> zipFileStruct, std::string fileNameInZip,
                   bool encrypted);
    bool isCurrent() const;
    void* handle() const;
    void write(std::span<const uint8_t> data);
    [[noreturn]] void failWriting(int error) const;

    std::shared_ptr<ZipHandle> m_zipFile;
    uint64_t m_entry;
    std::string m_fileNameInZip;
    bool m_encrypted;
    uint64_t m_length = 0;  // bytes of the entry written so far
};

}  // namespace notes
