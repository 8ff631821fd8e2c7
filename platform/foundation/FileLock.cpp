#include "platform/foundation/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

FileLock::FileLock(const std::filesystem::path& path) {
    m_descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_descriptor < 0) {
        m_reason = std::strerror(errno);
        return;
    }
    if (::flock(m_descriptor, LOCK_EX | LOCK_NB) == 0) {
        m_state = State::Held;
        return;
    }
    const int error = errno;
    if (error == EWOULDBLOCK) {
        m_state = State::HeldElsewhere;
    } else {
        m_reason = std::strerror(error);
    }
    ::close(m_descriptor);
    m_descriptor = -1;
}

FileLock::~FileLock() {
    if (m_descriptor >= 0) ::close(m_descriptor);
}

}  // namespace platform
