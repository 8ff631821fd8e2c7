#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "notes/store/zip/FileInZipInfo.h"
#include "notes/store/zip/ZipReadStream.h"
#include "notes/store/zip/ZipWriteStream.h"
#include "platform/foundation/Date.h"

namespace notes {

struct ZipHandle;
}  // namespace notes
struct unz_file_info64_s;

namespace notes {

// One zip archive, opened to read (unzip), to create or to append to. Every failure, and every
// operation the mode does not allow, raises ZipException.
class ZipFile {
  public:
    static constexpr int32_t ModeUnzip = 0;
    static constexpr int32_t ModeCreate = 1;  // replaces a file of that name
    static constexpr int32_t ModeAppend = 2;

    ZipFile(std::string fileName, int32_t mode);
    // Closes the archive when the owner did not, so that a created archive is still complete;
    // failures are swallowed here, call close() to learn of them.
    ~ZipFile();
    ZipFile(const ZipFile&) = delete;
    ZipFile& operator=(const ZipFile&) = delete;

    // Writing (create and append modes). Levels: 0 stores the entry, 1-9 deflate, -1 zlib's
    // default. Only one entry can be open at a time: finish it before opening the next.
    std::unique_ptr<ZipWriteStream> writeFileInZipWithName(const std::string& fileNameInZip,
                                                           int32_t compressionLevel);
    std::unique_ptr<ZipWriteStream> writeFileInZipWithName(const std::string& fileNameInZip,
                                                           platform::Date fileDate,
                                                           int32_t compressionLevel);
    // An encrypted entry; the traditional scheme needs the CRC-32 of the data before it is written.
    std::unique_ptr<ZipWriteStream> writeFileInZipWithName(const std::string& fileNameInZip,
                                                           platform::Date fileDate,
                                                           int32_t compressionLevel,
                                                           const std::string& password,
                                                           uint64_t crc32);

    const std::string& fileName() const { return m_fileName; }

    // Reading (unzip mode).
    uint64_t numFilesInZip();
    std::vector<FileInZipInfo> listFileInZipInfos();
    void goToFirstFileInZip();
    bool goToNextFileInZip();
    // Case-sensitive. When the name is absent the current entry stays where it was.
    bool locateFileInZip(const std::string& fileNameInZip);
    FileInZipInfo getCurrentFileInZipInfo();
    std::unique_ptr<ZipReadStream> readCurrentFileInZip();
    std::unique_ptr<ZipReadStream> readCurrentFileInZipWithPassword(const std::string& password);

    // Releases the archive; in create and append mode this writes the central directory, without
    // which the archive is incomplete. Streams still held afterwards fail on use.
    void close();

  private:
    std::unique_ptr<ZipWriteStream> openEntry(const std::string& fileNameInZip,
                                              platform::Date fileDate, int32_t compressionLevel,
                                              const char* password, uint64_t crc32);
    std::unique_ptr<ZipReadStream> openCurrentEntry(const char* password);
    // `info`, when given, receives the entry's other details.
    std::string currentFileName(const char* failure, unz_file_info64_s* info = nullptr);
    void requireWriteMode() const;
    void requireUnzipMode() const;
    [[noreturn]] void fail(int error, const char* format) const;

    std::string m_fileName;
    int32_t m_mode;
    std::shared_ptr<ZipHandle> m_handle;
};

}  // namespace notes
