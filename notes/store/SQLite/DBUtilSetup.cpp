// Where the notes file lives, and making sure it holds both tables.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "dbutil/StoreLocation.h"
#include "notes/store/SQLite/DBUtil.h"

namespace {

dbutil::StoreLocation& location() {
    static dbutil::StoreLocation shared;
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
    return location().directory();
}

std::optional<std::string> DBUtil::databasePath() {
    return location().file();
}

void DBUtil::resetLocation() {
    location().reset();
}

void DBUtil::initDBDirectory() {
    auto fixed = location().fixOnce(
        [] { return std::filesystem::path(dataDirectory()) / "database"; }, "note.db");
    if (!fixed) return;
    // Also for a folder that exists: a file or tables lost from it would otherwise make every
    // save fail. Both statements leave existing tables alone.
    initDataBaseWithPath(fixed->file);
}
