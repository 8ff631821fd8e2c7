#include "platform/foundation/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {

namespace {

bool writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The rename is only durable once the folder's entry is on the disk too.
void syncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents) {
    std::string temporary = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX"));
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    bool written = writeAll(fd, contents) && ::fsync(fd) == 0;
    int savedErrno = errno;
    ::fchmod(fd, 0644);
    if (::close(fd) != 0 && written) {
        written = false;
        savedErrno = errno;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) == 0) {
        syncFolder(path.parent_path());
        return true;
    }
    if (written) savedErrno = errno;
    ::unlink(temporary.c_str());
    errno = savedErrno;
    return false;
}

}  // namespace platform
