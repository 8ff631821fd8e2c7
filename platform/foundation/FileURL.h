#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// The file: URL of an absolute path, every byte a URL may not hold as it stands escaped (spaces,
// "#", "%", non-ASCII letters...), so the URL names exactly that file; absent for a relative
// path, which names no file until a folder is chosen for it.
std::optional<std::string> fileURL(const std::filesystem::path& path);

}  // namespace platform
