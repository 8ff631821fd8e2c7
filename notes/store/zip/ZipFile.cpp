#include "notes/store/zip/ZipFile.h"

#include <sys/stat.h>

#include <cmath>
#include <ctime>
#include <utility>

#include "notes/store/zip/ZipEmptyArchive.h"
#include "notes/store/zip/ZipEncryptedReader.h"
#include "notes/store/zip/ZipEndRecord.h"
#include "notes/store/zip/ZipException.h"
#include "notes/store/zip/ZipHandle.h"
#include "platform/foundation/Log.h"

namespace notes {

namespace {

constexpr const char* kGettingCurrentInfo = "Error in getting current file info in '%s'";
constexpr const char* kGoingToNext = "Error in going to next file in zip in '%s'";
constexpr const char* kOpeningCurrent = "Error in opening current file in '%s'";
constexpr uLong kEncryptedFlag = 1u << 0;
constexpr uLong kUtf8NameFlag = 1u << 11;
// "Made by" Unix (host 3) to zip 4.5, the level of the zip64 records minizip writes for an
// archive past 4 GiB. Info-ZIP's unzip reads the names of an archive made by MS-DOS (host 0,
// minizip's default) in the OEM code page, even with the UTF-8 flag set, and then finds them
// differ from the local headers'.
constexpr uLong kVersionMadeBy = (3u << 8) | 45u;
// With a Unix host the high half of the external attributes is the file's mode: a plain file,
// readable by all.
constexpr uLong kRegularFileAttributes = (S_IFREG | 0644u) << 16;
constexpr size_t kMaxNameLength = 0xffff;  // the headers keep the length in 16 bits
// minizip writes the zip64 end records only when the directory starts past 4 GiB, so the 16-bit
// entry count of the plain end record is all a reader gets.
constexpr uint64_t kMaxEntries = 0xffff;
// The DOS stamp of the headers counts years from 1980 in seven bits.
constexpr int kFirstYear = 1980;
constexpr int kLastYear = 2107;

// Entry times are wall-clock times of the local time zone, to the second.
zip_fileinfo fileInfoForDate(platform::Date date) {
    std::time_t seconds = static_cast<std::time_t>(std::floor(date.timeIntervalSince1970()));
    std::tm local{};
    localtime_r(&seconds, &local);
    // Outside the stamp's range minizip would write a date no reader can make sense of; the
    // nearest one it can hold is kept instead.
    if (local.tm_year + 1900 < kFirstYear) {
        local = std::tm{};
        local.tm_year = kFirstYear - 1900;
        local.tm_mday = 1;
    } else if (local.tm_year + 1900 > kLastYear) {
        local = std::tm{};
        local.tm_year = kLastYear - 1900;
        local.tm_mon = 11;
        local.tm_mday = 31;
        local.tm_hour = 23;
        local.tm_min = 59;
        local.tm_sec = 58;  // the stamp keeps seconds in steps of two
    }
    zip_fileinfo info{};
    info.tmz_date.tm_sec = static_cast<uInt>(local.tm_sec);
    info.tmz_date.tm_min = static_cast<uInt>(local.tm_min);
    info.tmz_date.tm_hour = static_cast<uInt>(local.tm_hour);
    info.tmz_date.tm_mday = static_cast<uInt>(local.tm_mday);
    info.tmz_date.tm_mon = static_cast<uInt>(local.tm_mon);
    info.tmz_date.tm_year = static_cast<uInt>(local.tm_year + 1900);
    info.dosDate = 0;  // minizip derives it from the fields above
    info.internal_fa = 0;
    info.external_fa = kRegularFileAttributes;
    return info;
}

platform::Date dateForTime(const tm_unz& time) {
    std::tm local{};
    local.tm_sec = static_cast<int>(time.tm_sec);
    local.tm_min = static_cast<int>(time.tm_min);
    local.tm_hour = static_cast<int>(time.tm_hour);
    local.tm_mday = static_cast<int>(time.tm_mday);
    local.tm_mon = static_cast<int>(time.tm_mon);
    local.tm_year = static_cast<int>(time.tm_year) - 1900;
    local.tm_isdst = -1;
    return platform::Date::dateWithTimeIntervalSince1970(static_cast<double>(std::mktime(&local)));
}

// Bits 1 and 2 of the general-purpose flag record how hard a deflated entry was compressed.
int32_t levelOf(const unz_file_info64& info) {
    if (info.compression_method == 0) return 0;
    switch ((info.flag >> 1) & 3) {
        case 0:
            return -1;
        case 1:
            return 9;
        default:
            return 1;
    }
}

// What an archive to be appended to holds already; minizip keeps its own count to itself.
uint64_t entryCountOf(const std::string& path) {
    unzFile file = unzOpen64(path.c_str());
    if (file == nullptr) return 0;
    unz_global_info64 global{};
    uint64_t count = unzGetGlobalInfo64(file, &global) == UNZ_OK ? global.number_entry : 0;
    unzClose(file);
    return count;
}

uint64_t littleEndian(const uint8_t* bytes, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

// minizip keeps the 32-bit placeholders of the central directory where the zip64 field holds an
// entry's real sizes. Those are taken from the field here, so the listing and the length check
// of a read use them; reading such an entry is refused, since minizip would read it at the wrong
// length.
void applyZip64Sizes(const std::vector<uint8_t>& extra, unz_file_info64& info) {
    constexpr uint64_t kPlaceholder = 0xffffffff;
    for (size_t at = 0; at + 4 <= extra.size();) {
        auto id = littleEndian(&extra[at], 2);
        size_t length = littleEndian(&extra[at + 2], 2);
        size_t end = at + 4 + length;
        if (end > extra.size()) return;
        if (id == 1) {
            // The field holds only the values whose places carry the placeholder, in this order.
            size_t field = at + 4;
            for (ZPOS64_T* size : {&info.uncompressed_size, &info.compressed_size}) {
                if (*size != kPlaceholder) continue;
                if (field + 8 > end) return;
                *size = littleEndian(&extra[field], 8);
                field += 8;
            }
            return;
        }
        at = end;
    }
}

bool isAscii(const std::string& text) {
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

}  // namespace

ZipFile::ZipFile(std::string fileName, int32_t mode)
    : m_fileName(std::move(fileName)), m_mode(mode), m_handle(std::make_shared<ZipHandle>()) {
    switch (m_mode) {
        case ModeUnzip:
            if (!endRecordIsComplete(m_fileName)) break;
            m_handle->unz = unzOpen64(m_fileName.c_str());
            if (m_handle->unz == nullptr) m_handle->unz = openEmptyArchive(m_fileName);
            break;
        case ModeCreate:
            m_handle->zip = zipOpen64(m_fileName.c_str(), APPEND_STATUS_CREATE);
            break;
        case ModeAppend:
            m_handle->written = entryCountOf(m_fileName);
            m_handle->zip = zipOpen64(m_fileName.c_str(), APPEND_STATUS_ADDINZIP);
            break;
        default:
            throw ZipException(platform::stringWithFormat("Unknown mode %d", m_mode));
    }
    if (m_handle->unz == nullptr && m_handle->zip == nullptr) {
        throw ZipException(platform::stringWithFormat("Can't open '%s'", m_fileName.c_str()));
    }
}

ZipFile::~ZipFile() {
    if (m_mode == ModeUnzip ? m_handle->unz != nullptr : m_handle->zip != nullptr) {
        try {
            close();
        } catch (const ZipException&) {
            // A destructor cannot report; the owner who cares calls close() itself.
        }
    }
}

void ZipFile::fail(int error, const char* format) const {
    throw ZipException(error, platform::stringWithFormat(format, m_fileName.c_str()));
}

void ZipFile::requireWriteMode() const {
    if (m_mode == ModeUnzip) throw ZipException("Operation not permitted with Unzip mode");
}

void ZipFile::requireUnzipMode() const {
    if (m_mode != ModeUnzip) throw ZipException("Operation not permitted without Unzip mode");
}

std::unique_ptr<ZipWriteStream> ZipFile::writeFileInZipWithName(const std::string& fileNameInZip,
                                                                int32_t compressionLevel) {
    requireWriteMode();
    return openEntry(fileNameInZip, platform::Date::now(), compressionLevel, nullptr, 0);
}

std::unique_ptr<ZipWriteStream> ZipFile::writeFileInZipWithName(const std::string& fileNameInZip,
                                                                platform::Date fileDate,
                                                                int32_t compressionLevel) {
    requireWriteMode();
    return openEntry(fileNameInZip, fileDate, compressionLevel, nullptr, 0);
}

std::unique_ptr<ZipWriteStream> ZipFile::writeFileInZipWithName(const std::string& fileNameInZip,
                                                                platform::Date fileDate,
                                                                int32_t compressionLevel,
                                                                const std::string& password,
                                                                uint64_t crc32) {
    requireWriteMode();
    return openEntry(fileNameInZip, fileDate, compressionLevel, password.c_str(), crc32);
}

std::unique_ptr<ZipWriteStream> ZipFile::openEntry(const std::string& fileNameInZip,
                                                   platform::Date fileDate,
                                                   int32_t compressionLevel, const char* password,
                                                   uint64_t crc32) {
    // An open password entry is closed first, as minizip closes an open plain one.
    int err = m_handle->finishEncryptedEntry();
    std::unique_ptr<ZipEncryptedWriter> encrypter;
    if (err != ZIP_OK) {
        // reported below, like minizip's own failure to close the entry before
    } else if (compressionLevel < Z_DEFAULT_COMPRESSION || compressionLevel > Z_BEST_COMPRESSION) {
        // zlib's own answer, given before minizip, which would leak the entry's header record
        // and leave a stray local header behind.
        err = Z_STREAM_ERROR;
    } else if (fileNameInZip.find('\0') != std::string::npos ||
               fileNameInZip.size() > kMaxNameLength) {
        // minizip measures the name with strlen and keeps its length in 16 bits: a name it would
        // cut or whose length would overflow is refused rather than written wrongly.
        err = ZIP_PARAMERROR;
    } else if (m_handle->written >= kMaxEntries) {
        // The next entry would make an archive standard readers reject; refused before a byte
        // of it is written.
        err = ZIP_PARAMERROR;
    } else if (password != nullptr) {
        encrypter = std::make_unique<ZipEncryptedWriter>(password, compressionLevel,
                                                         static_cast<uint32_t>(crc32));
        err = encrypter->status();
    }
    if (err == ZIP_OK) {
        zip_fileinfo info = fileInfoForDate(fileDate);
        // Names are UTF-8; readers assume an old code page unless the flag says otherwise.
        uLong flagBase = isAscii(fileNameInZip) ? 0 : kUtf8NameFlag;
        if (encrypter) flagBase |= kEncryptedFlag;
        // No zip64 field in the local header: minizip leaves its sizes at zero there, which
        // 7-Zip reports as a damaged header and Info-ZIP in the C locale takes as a reason to
        // reject a UTF-8 name. Entries stay under 4 GiB (ZipWriteStream refuses more), where the
        // headers' 32-bit sizes hold them.
        err = zipOpenNewFileInZip4_64(m_handle->zip, fileNameInZip.c_str(), &info, nullptr, 0,
                                      nullptr, 0, nullptr, compressionLevel != 0 ? Z_DEFLATED : 0,
                                      compressionLevel, encrypter ? 1 : 0, -MAX_WBITS, 8,
                                      Z_DEFAULT_STRATEGY, nullptr, 0, kVersionMadeBy, flagBase, 0);
    }
    if (err != ZIP_OK) {
        throw ZipException(err, platform::stringWithFormat("Error in opening '%s' in zipfile",
                                                           fileNameInZip.c_str()));
    }
    ++m_handle->entry;
    ++m_handle->written;
    bool encrypted = encrypter != nullptr;
    m_handle->encrypter = std::move(encrypter);
    return std::unique_ptr<ZipWriteStream>(new ZipWriteStream(m_handle, fileNameInZip, encrypted));
}

uint64_t ZipFile::numFilesInZip() {
    requireUnzipMode();
    unz_global_info64 global{};
    int err = unzGetGlobalInfo64(m_handle->unz, &global);
    if (err != UNZ_OK) fail(err, "Error in getting global info in '%s'");
    return global.number_entry;
}

std::vector<FileInZipInfo> ZipFile::listFileInZipInfos() {
    uint64_t count = numFilesInZip();
    std::vector<FileInZipInfo> infos;
    if (count == 0) return infos;
    // No room is reserved from the count: it is whatever the archive claims, however large.
    goToFirstFileInZip();
    for (uint64_t i = 0; i < count; ++i) {
        infos.push_back(getCurrentFileInZipInfo());
        if (i + 1 < count) goToNextFileInZip();
    }
    return infos;
}

void ZipFile::goToFirstFileInZip() {
    requireUnzipMode();
    int err = unzGoToFirstFile(m_handle->unz);
    if (err != UNZ_OK) fail(err, "Error in going to first file in zip in '%s'");
    m_handle->index = 0;
}

bool ZipFile::goToNextFileInZip() {
    requireUnzipMode();
    unz_global_info64 global{};
    int err = unzGetGlobalInfo64(m_handle->unz, &global);
    if (err != UNZ_OK) fail(err, kGoingToNext);
    if (m_handle->index + 1 >= global.number_entry) return false;
    err = unzGoToNextFile(m_handle->unz);
    if (err == UNZ_END_OF_LIST_OF_FILE) return false;
    if (err != UNZ_OK) fail(err, kGoingToNext);
    ++m_handle->index;
    return true;
}

// Compares whole names: minizip's own lookup reads names into a fixed 256-byte buffer, so it
// cannot find a longer name and may match a longer one on its first 255 bytes; it also answers
// "absent" for every name once the current entry has run past the last one.
bool ZipFile::locateFileInZip(const std::string& fileNameInZip) {
    requireUnzipMode();
    unz_global_info64 global{};
    int err = unzGetGlobalInfo64(m_handle->unz, &global);
    if (err != UNZ_OK) fail(err, kGoingToNext);
    if (global.number_entry == 0) return false;
    unz64_file_pos saved{};
    bool hadCurrent = unzGetFilePos64(m_handle->unz, &saved) == UNZ_OK;
    uint64_t savedIndex = m_handle->index;
    err = unzGoToFirstFile(m_handle->unz);
    for (uint64_t index = 0; err == UNZ_OK; ++index) {
        if (currentFileName(kGoingToNext) == fileNameInZip) {
            m_handle->index = index;
            return true;
        }
        err = index + 1 < global.number_entry ? unzGoToNextFile(m_handle->unz)
                                              : UNZ_END_OF_LIST_OF_FILE;
    }
    if (err != UNZ_END_OF_LIST_OF_FILE) fail(err, kGoingToNext);
    if (hadCurrent) {
        err = unzGoToFilePos64(m_handle->unz, &saved);
        if (err != UNZ_OK) fail(err, kGoingToNext);
        m_handle->index = savedIndex;
    }
    return false;
}

// The name is read at its recorded length, never cut to a fixed buffer.
std::string ZipFile::currentFileName(const char* failure, unz_file_info64_s* info) {
    unz_file_info64 own{};
    if (info == nullptr) info = &own;
    int err = unzGetCurrentFileInfo64(m_handle->unz, info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (err != UNZ_OK) fail(err, failure);
    std::string name(info->size_filename + 1, '\0');
    std::vector<uint8_t> extra(info->size_file_extra);
    err = unzGetCurrentFileInfo64(m_handle->unz, info, name.data(), name.size(), extra.data(),
                                  extra.size(), nullptr, 0);
    if (err != UNZ_OK) fail(err, failure);
    name.resize(info->size_filename);
    applyZip64Sizes(extra, *info);
    return name;
}

FileInZipInfo ZipFile::getCurrentFileInZipInfo() {
    requireUnzipMode();
    unz_file_info64 info{};
    std::string name = currentFileName(kGettingCurrentInfo, &info);
    return FileInZipInfo(std::move(name), info.uncompressed_size, levelOf(info),
                         (info.flag & 1) != 0, info.compressed_size, dateForTime(info.tmu_date),
                         info.crc);
}

std::unique_ptr<ZipReadStream> ZipFile::readCurrentFileInZip() {
    requireUnzipMode();
    return openCurrentEntry(nullptr);
}

std::unique_ptr<ZipReadStream> ZipFile::readCurrentFileInZipWithPassword(
    const std::string& password) {
    requireUnzipMode();
    return openCurrentEntry(password.c_str());
}

std::unique_ptr<ZipReadStream> ZipFile::openCurrentEntry(const char* password) {
    unz_file_info64 info{};
    std::string name = currentFileName(kGettingCurrentInfo, &info);
    std::unique_ptr<ZipEncryptedReader> decrypter;
    // minizip hands out any other method's data undecoded (bzip2 among them) as if it were the
    // entry's bytes.
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) {
        fail(UNZ_BADZIPFILE, kOpeningCurrent);
    }
    // minizip reads an entry by the 32-bit counts of the headers and stops after 4 GiB - 1 bytes
    // of a larger one; such an entry is refused rather than handed out cut short.
    constexpr uint64_t kLargest32 = 0xffffffff;
    if (info.uncompressed_size >= kLargest32 || info.compressed_size >= kLargest32) {
        fail(UNZ_BADZIPFILE, kOpeningCurrent);
    }
    int err;
    if (password != nullptr && (info.flag & kEncryptedFlag) != 0) {
        int method = 0;
        err = unzOpenCurrentFile3(m_handle->unz, &method, nullptr, 1, nullptr);
        if (err == UNZ_OK && method != 0 && method != Z_DEFLATED) {
            unzCloseCurrentFile(m_handle->unz);
            err = UNZ_BADZIPFILE;
        }
        decrypter =
            std::make_unique<ZipEncryptedReader>(password, method, static_cast<uint32_t>(info.crc));
    } else {
        // Passwords of entries that are not encrypted play no part.
        err = unzOpenCurrentFile(m_handle->unz);
    }
    if (err != UNZ_OK) fail(err, kOpeningCurrent);
    ++m_handle->entry;
    return std::unique_ptr<ZipReadStream>(
        new ZipReadStream(m_handle, std::move(name), info.uncompressed_size,
                          static_cast<uint32_t>(info.crc), std::move(decrypter)));
}

void ZipFile::close() {
    int err;
    switch (m_mode) {
        case ModeUnzip:
            err = unzClose(m_handle->unz);
            break;
        case ModeCreate:
        case ModeAppend: {
            int finished = m_handle->zip ? m_handle->finishEncryptedEntry() : ZIP_OK;
            err = zipClose(m_handle->zip, nullptr);
            if (finished != ZIP_OK) err = finished;
            break;
        }
        default:
            throw ZipException(platform::stringWithFormat("Unknown mode %d", m_mode));
    }
    // minizip frees the handle whatever the outcome.
    m_handle->unz = nullptr;
    m_handle->zip = nullptr;
    if (err != ZIP_OK) fail(err, "Error in closing '%s'");
}

}  // namespace notes
