#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// The bytes of a file, read whole; absent when it cannot be opened or a read fails part way, so a
// damaged read is never taken for a short file.
std::optional<std::string> contentsOfFile(const std::filesystem::path& path);

}  // namespace platform
