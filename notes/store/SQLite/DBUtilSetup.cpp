// Where the notes file lives, and making sure it holds both tables.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "dbutil/StoreLocation.h"
#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/Log.h"

namespace {

dbutil::StoreLocation& location() {
    static dbutil::StoreLocation shared;
    return shared;
}

// The lock on the folder this process holds, if any.
std::unique_ptr<platform::FileLock>& folderLock() {
    static std::unique_ptr<platform::FileLock> held;
    return held;
}

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

std::string homeDirectory(const DBUtil::EnvironmentLookup& environment) {
    if (auto home = environment("HOME"); home && !home->empty()) return *home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return ".";
}

}  // namespace

std::string DBUtil::dataDirectory() {
    return dataDirectory(environmentValue);
}

std::string DBUtil::dataDirectory(const EnvironmentLookup& environment) {
    auto value = [&](const char* name) {
        std::optional<std::string> found = environment(name);
        return found && !found->empty() ? found : std::nullopt;
    };
    if (auto overridden = value("ZELVO_DATA_DIR")) return *overridden;
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (auto xdg = value("XDG_DATA_HOME"); xdg && xdg->front() == '/') {
        return (std::filesystem::path(*xdg) / "zelvo").string();
    }
    return (std::filesystem::path(homeDirectory(value)) / ".local" / "share" / "zelvo").string();
}

DBUtil::FolderHold DBUtil::holdDataFolder() {
    std::unique_ptr<platform::FileLock>& held = folderLock();
    if (held) return FolderHold::Held;
    const std::filesystem::path folder = dataDirectory();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    auto lock = std::make_unique<platform::FileLock>(folder / "zelvo.lock");
    switch (lock->state()) {
        case platform::FileLock::State::Held:
            held = std::move(lock);
            return FolderHold::Held;
        case platform::FileLock::State::HeldElsewhere:
            platform::logf("+[DBUtil holdDataFolder] %s is in use by another Zelvo",
                           folder.c_str());
            return FolderHold::InUse;
        case platform::FileLock::State::Unavailable:
            break;
    }
    platform::logf("+[DBUtil holdDataFolder] %s cannot be locked (%s); going on without the lock",
                   folder.c_str(), lock->reason().c_str());
    return FolderHold::Unheld;
}

std::optional<std::string> DBUtil::databaseDirectoryPath() {
    return location().directory();
}

std::optional<std::string> DBUtil::databasePath() {
    return location().file();
}

void DBUtil::resetLocation() {
    location().reset();
    folderLock().reset();
}

void DBUtil::initDBDirectory() {
    auto fixed = location().fixOnce(
        [] { return std::filesystem::path(dataDirectory()) / "database"; }, "note.db");
    if (!fixed) return;
    // Also for a folder that exists: a file or tables lost from it would otherwise make every
    // save fail. Both statements leave existing tables alone.
    initDataBaseWithPath(fixed->file);
}
