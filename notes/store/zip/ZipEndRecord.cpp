#include "notes/store/zip/ZipEndRecord.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace notes {

namespace {
constexpr uint64_t kEndRecordLength = 22;
// The record ends the file, apart from a comment of at most 65,535 bytes.
constexpr uint64_t kSearchedTail = kEndRecordLength + 0xffff;
constexpr uint8_t kSignature[] = {'P', 'K', 5, 6};
}  // namespace

bool endRecordIsComplete(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return true;
    auto end = static_cast<uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
    uint64_t start = end > kSearchedTail ? end - kSearchedTail : 0;
    std::vector<uint8_t> tail(end - start);
    in.seekg(static_cast<std::streamoff>(start));
    if (!in.read(reinterpret_cast<char*>(tail.data()), static_cast<std::streamsize>(tail.size()))) {
        return false;
    }
    auto found =
        std::find_end(tail.begin(), tail.end(), std::begin(kSignature), std::end(kSignature));
    if (found == tail.end()) return true;
    return static_cast<uint64_t>(tail.end() - found) >= kEndRecordLength;
}

}  // namespace notes
