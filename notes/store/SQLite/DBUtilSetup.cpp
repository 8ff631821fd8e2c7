// Where the notes file lives, and making sure it holds both tables.
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"

namespace {

const char* const kCreateNoteTable =
    "CREATE TABLE IF NOT EXISTS 'note' ('n_id' INTEGER PRIMARY KEY AUTOINCREMENT  NOT "
    "NULL,'n_title' VARCHAR(200),'n_summary' VARCHAR(500),'n_date' Date,'n_text' TEXT,'n_author' "
    "VARCHAR(100),'n_group' VARCHAR(100),'n_isRecent' INTEGER)";
const char* const kCreateNoteFileTable =
    "CREATE TABLE IF NOT EXISTS 'noteFile' ('f_id' INTEGER PRIMARY KEY AUTOINCREMENT  NOT "
    "NULL,'f_title' VARCHAR(100),'f_summary' VARCHAR(200),'f_date' Date,'f_author' "
    "VARCHAR(100),'f_flag' VARCHAR(100),'f_noteCount' INTEGER ,'f_imageName' "
    "VARCHAR(100),'f_order' INTEGER)";

// Written once at launch, read by every operation.
struct Location {
    std::mutex mutex;
    std::optional<std::string> directory;
    std::optional<std::string> file;
};

Location& location() {
    static Location shared;
    return shared;
}

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

std::string homeDirectory() {
    if (auto home = environmentValue("HOME")) return *home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return ".";
}

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

std::string DBUtil::dataDirectory() {
    if (auto overridden = environmentValue("ZELVO_DATA_DIR")) return *overridden;
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (auto xdg = environmentValue("XDG_DATA_HOME"); xdg && xdg->front() == '/') {
        return (std::filesystem::path(*xdg) / "zelvo").string();
    }
    return (std::filesystem::path(homeDirectory()) / ".local" / "share" / "zelvo").string();
}

std::optional<std::string> DBUtil::databaseDirectoryPath() {
    std::lock_guard lock(location().mutex);
    return location().directory;
}

std::optional<std::string> DBUtil::databasePath() {
    std::lock_guard lock(location().mutex);
    return location().file;
}

void DBUtil::resetLocation() {
    std::lock_guard lock(location().mutex);
    location().directory.reset();
    location().file.reset();
}

void DBUtil::initDBDirectory() {
    std::string directory;
    std::string file;
    {
        std::lock_guard lock(location().mutex);
        if (location().directory) return;
        std::filesystem::path folder = std::filesystem::path(dataDirectory()) / "database";
        directory = folder.string();
        file = (folder / "note.db").string();
        location().directory = directory;
        location().file = file;
    }
    platform::logf("%s -dbDir : %s \n dbPath : %s", "+[DBUtil initDBDirectory]", directory.c_str(),
                   file.c_str());

    std::error_code error;
    if (std::filesystem::exists(directory, error)) {
        platform::log("数据库文件夹已经存在。。。");
    } else {
        createDirectoriesDurably(directory);
    }
    // Also for a folder that exists: a file or tables lost from it would otherwise make every
    // save fail. Both statements leave existing tables alone.
    initDataBaseWithPath(file);
}

bool DBUtil::initDataBaseWithPath(const std::string& path) {
    const char* operation = "+[DBUtil initDataBaseWithPath:]";
    auto db = openDurably(path);
    if (!db) {
        platform::logf("%s 数据库打开失败。", operation);
        return false;
    }
    bool created = false;
    if (!db->executeUpdate(kCreateNoteTable)) {
        platform::logf("%s 创建note表失败!", operation);
    } else if (!db->executeUpdate(kCreateNoteFileTable)) {
        platform::logf("%s 创建noteFile表失败!", operation);
    } else {
        created = true;
    }
    db->close();
    return created;
}
