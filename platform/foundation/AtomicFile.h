#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// Writes the bytes to a temporary file beside `path`, flushes it to the disk and renames it into
// place, so the file is either the old one or the whole new one, even after a crash. On failure
// the temporary file is removed, `path` is untouched, and errno tells why.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents);

}  // namespace platform
