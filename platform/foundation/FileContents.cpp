#include "platform/foundation/FileContents.h"

#include <fstream>
#include <ios>
#include <iterator>

namespace platform {

std::optional<std::string> contentsOfFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // A folder opens like a file; reading it then fails inside the stream buffer, which throws
    // whatever the stream's exception mask says.
    try {
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return std::nullopt;
        return bytes;
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    }
}

}  // namespace platform
