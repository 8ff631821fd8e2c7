#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace dbutil {

// Where a DBUtil's database lives: a folder and a file in it, fixed once at launch by
// initDBDirectory and read by every operation after. Safe to read from any thread.
class StoreLocation {
  public:
    struct Fixed {
        std::string directory;
        std::string file;
        bool folderExisted = false;
    };

    // On the first call only (absent afterwards): takes the folder from `resolveFolder`, appends
    // `fileName`, logs both under "+[DBUtil initDBDirectory]", and creates the folder (with the
    // folders above it) when nothing exists there yet, logging when it does exist.
    std::optional<Fixed> fixOnce(const std::function<std::filesystem::path()>& resolveFolder,
                                 const std::string& fileName);

    // Absent until fixed.
    std::optional<std::string> directory() const;
    std::optional<std::string> file() const;
    // Forgets the location, so that the next fixOnce resolves it again; for tests.
    void reset();

  private:
    mutable std::mutex m_mutex;
    std::optional<std::string> m_directory;
    std::optional<std::string> m_file;
};

}  // namespace dbutil
