#include "notes/store/SQLite/Shared/StoreLocation.h"

#include "platform/foundation/Log.h"

namespace dbutil {

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
        std::filesystem::create_directories(fixed.directory, error);
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
