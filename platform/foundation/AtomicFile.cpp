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

void replaceFileAtomicallyLater(const std::filesystem::path& path,
                                std::function<void(const std::filesystem::path& temporary,
                                                   std::function<void(bool written)> finished)>
                                    write,
                                std::function<void(bool replaced)> done) {
    // Appended rather than joined with +: GCC 12 takes "." + name for an overlapping copy.
    std::string hidden = ".";
    hidden += path.filename().string();
    hidden += ".XXXXXX";
    std::string temporary = path.parent_path() / hidden;
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) return done(false);
    ::fchmod(fd, 0644);
    ::close(fd);
    write(temporary, [path, temporary, done](bool written) {
        int savedErrno = errno;
        if (written) {
            // The writer may have closed and reopened the file: flush what is under the name now.
            int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
            written = fd >= 0 && ::fsync(fd) == 0;
            savedErrno = errno;
            if (fd >= 0) ::close(fd);
        }
        if (written && ::rename(temporary.c_str(), path.c_str()) == 0) {
            syncFolder(path.parent_path());
            return done(true);
        }
        if (written) savedErrno = errno;
        ::unlink(temporary.c_str());
        errno = savedErrno;
        done(false);
    });
}

bool replaceFileAtomically(
    const std::filesystem::path& path,
    const std::function<bool(const std::filesystem::path& temporary)>& write) {
    bool replaced = false;
    replaceFileAtomicallyLater(
        path,
        [&write](const std::filesystem::path& temporary, std::function<void(bool)> finished) {
            finished(write(temporary));
        },
        [&replaced](bool done) { replaced = done; });
    return replaced;
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents) {
    return replaceFileAtomically(path, [&](const std::filesystem::path& temporary) {
        int fd = ::open(temporary.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) return false;
        bool written = writeAll(fd, contents);
        int savedErrno = errno;
        if (::close(fd) != 0 && written) return false;
        errno = savedErrno;
        return written;
    });
}

}  // namespace platform
