#include "dbutil/StoreLocation.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/foundation/Log.h"

namespace dbutil {

namespace {

void syncFolder(const std::filesystem::path& folder) {
    int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

// A new folder exists after a power cut only once the folder holding it has been synced; so does
// each folder made on the way to it.
void createDirectoriesDurably(const std::filesystem::path& directory) {
    std::error_code error;
    std::filesystem::path existing = directory;
    while (existing.has_parent_path() && existing != existing.parent_path() &&
           !std::filesystem::exists(existing, error)) {
        existing = existing.parent_path();
    }
    if (!std::filesystem::create_directories(directory, error)) return;
    for (auto made = directory; made != existing && made.has_parent_path();
         made = made.parent_path()) {
        syncFolder(made.parent_path());
    }
}

}  // namespace

std::optional<StoreLocation::Fixed> StoreLocation::fixOnce(
    const std::function<std::filesystem::path()>& resolveFolder, const std::string& fileName) {
    Fixed fixed;
    {
        std::lock_guard lock(m_mutex);
        if (m_directory) return std::nullopt;
        std::filesystem::path folder = resolveFolder();
        fixed.directory = folder.string();
        fixed.file = (folder / fileName).string();
        m_directory = fixed.directory;
        m_file = fixed.file;
    }
    platform::logf("%s -dbDir : %s \n dbPath : %s", "+[DBUtil initDBDirectory]",
                   fixed.directory.c_str(), fixed.file.c_str());
    std::error_code error;
    fixed.folderExisted = std::filesystem::exists(fixed.directory, error);
    if (fixed.folderExisted) {
        platform::log("数据库文件夹已经存在。。。");
    } else {
        createDirectoriesDurably(fixed.directory);
    }
    return fixed;
}

std::optional<std::string> StoreLocation::directory() const {
    std::lock_guard lock(m_mutex);
    return m_directory;
}

std::optional<std::string> StoreLocation::file() const {
    std::lock_guard lock(m_mutex);
    return m_file;
}

void StoreLocation::reset() {
    std::lock_guard lock(m_mutex);
    m_directory.reset();
    m_file.reset();
}

}  // namespace dbutil
