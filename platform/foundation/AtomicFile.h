#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace platform {

// Writes the bytes to a temporary file beside `path`, flushes it to the disk and renames it into
// place, so the file is either the old one or the whole new one, even after a crash. On failure
// the temporary file is removed, `path` is untouched, and errno tells why.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents);

// The same for a file another writer makes by name (an archive, a printed document): `write` gets
// the path of an empty temporary file beside `path` and fills it; when it answers true the file is
// flushed and renamed into place, otherwise (or when a step fails) it is removed and `path` stays
// as it was.
bool replaceFileAtomically(
    const std::filesystem::path& path,
    const std::function<bool(const std::filesystem::path& temporary)>& write);
// The same for a writer that finishes later: `write` gets the temporary file's path and a callback
// to call once with whether it filled the file; `done` learns whether the new file is in place
// (errno tells why not).
void replaceFileAtomicallyLater(const std::filesystem::path& path,
                                std::function<void(const std::filesystem::path& temporary,
                                                   std::function<void(bool written)> finished)>
                                    write,
                                std::function<void(bool replaced)> done);

}  // namespace platform
