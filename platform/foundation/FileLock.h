#pragma once

#include <filesystem>
#include <string>

namespace platform {

// An advisory lock on a file (made when missing), taken at once or not at all, and held for as
// long as the object lives or the process runs. A second process, or a second lock in this one,
// finds it held. The lock is the open file's own (flock), so a program this process starts
// holds nothing, and closing another handle on the file releases nothing.
class FileLock {
  public:
    enum class State {
        Held,           // this object holds the lock
        HeldElsewhere,  // another holder has it
        Unavailable,  // the file cannot be opened or locked here (read-only, no locks): see reason
    };

    explicit FileLock(const std::filesystem::path& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    State state() const { return m_state; }
    // Why the lock is unavailable (the system's words); empty otherwise.
    const std::string& reason() const { return m_reason; }

  private:
    int m_descriptor = -1;
    State m_state = State::Unavailable;
    std::string m_reason;
};

}  // namespace platform
