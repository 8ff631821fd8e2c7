#include "notes/store/zip/ZipEmptyArchive.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/FileContents.h"

namespace notes {

namespace {

constexpr size_t kEndRecordLength = 22;
constexpr size_t kLongestEmptyArchive = kEndRecordLength + 0xffff;  // with the longest comment

struct MemoryFile {
    std::vector<uint8_t> bytes;
    uint64_t position = 0;
};

uint16_t littleEndian16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

bool isEmptyArchive(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kEndRecordLength) return false;
    static const uint8_t signature[] = {'P', 'K', 5, 6};
    if (std::memcmp(bytes.data(), signature, sizeof signature) != 0) return false;
    // Disk numbers, entry counts, directory size and offset: all zero.
    if (std::any_of(bytes.begin() + 4, bytes.begin() + 20, [](uint8_t b) { return b != 0; })) {
        return false;
    }
    return kEndRecordLength + littleEndian16(bytes, 20) == bytes.size();
}

voidpf openMemory(voidpf, const void* file, int) {
    return const_cast<void*>(file);
}

uLong readMemory(voidpf, voidpf stream, void* buffer, uLong size) {
    auto* file = static_cast<MemoryFile*>(stream);
    uint64_t available =
        file->position < file->bytes.size() ? file->bytes.size() - file->position : 0;
    uLong count = static_cast<uLong>(std::min<uint64_t>(size, available));
    std::memcpy(buffer, file->bytes.data() + file->position, count);
    file->position += count;
    return count;
}

uLong writeMemory(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T tellMemory(voidpf, voidpf stream) {
    return static_cast<MemoryFile*>(stream)->position;
}

long seekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* file = static_cast<MemoryFile*>(stream);
    uint64_t base = origin == ZLIB_FILEFUNC_SEEK_CUR   ? file->position
                    : origin == ZLIB_FILEFUNC_SEEK_END ? file->bytes.size()
                                                       : 0;
    uint64_t target = base + offset;
    if (target > file->bytes.size()) return -1;
    file->position = target;
    return 0;
}

int closeMemory(voidpf, voidpf stream) {
    delete static_cast<MemoryFile*>(stream);
    return 0;
}

int errorMemory(voidpf, voidpf) {
    return 0;
}

}  // namespace

unzFile openEmptyArchive(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error || size > kLongestEmptyArchive) return nullptr;
    std::optional<std::string> contents = platform::contentsOfFile(path);
    if (!contents) return nullptr;
    std::vector<uint8_t> bytes(contents->begin(), contents->end());
    if (!isEmptyArchive(bytes)) return nullptr;

    auto* file = new MemoryFile{std::vector<uint8_t>(bytes.size() + 1, 0)};
    std::copy(bytes.begin(), bytes.end(), file->bytes.begin() + 1);
    zlib_filefunc64_def functions{openMemory, readMemory,  writeMemory, tellMemory,
                                  seekMemory, closeMemory, errorMemory, nullptr};
    // minizip hands the file back to closeMemory, on failure as well.
    return unzOpen2_64(file, &functions);
}

}  // namespace notes
