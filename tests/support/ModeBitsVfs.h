#pragma once

#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

// SQLite's file system as an ordinary user meets it, also when the tests run as root: root may
// write any file whatever its mode, so a read-only notes folder would never fail there. Under this
// file system a file without write bits opens read-only (as SQLite opens a file it may not write)
// and no file is made in a folder without write bits. Everything else passes to the default file
// system, which it replaces for its lifetime.
class ModeBitsVfs {
  public:
    ModeBitsVfs() : m_base(sqlite3_vfs_find(nullptr)), m_vfs(*m_base) {
        m_vfs.zName = "mode-bits";
        m_vfs.pAppData = m_base;
        m_vfs.xOpen = open;
        m_vfs.xDelete = remove;
        m_vfs.xAccess = access;
        sqlite3_vfs_register(&m_vfs, 1);
    }
    ~ModeBitsVfs() {
        sqlite3_vfs_unregister(&m_vfs);
        sqlite3_vfs_register(m_base, 1);
    }
    ModeBitsVfs(const ModeBitsVfs&) = delete;
    ModeBitsVfs& operator=(const ModeBitsVfs&) = delete;

  private:
    static sqlite3_vfs* base(sqlite3_vfs* vfs) { return static_cast<sqlite3_vfs*>(vfs->pAppData); }
    static bool writable(const std::filesystem::path& path) {
        struct stat info;
        return ::stat(path.c_str(), &info) != 0 || (info.st_mode & 0222) != 0;
    }
    static bool exists(const char* path) {
        struct stat info;
        return ::stat(path, &info) == 0;
    }
    static std::filesystem::path folderOf(const char* path) {
        return std::filesystem::path(path).parent_path();
    }

    static int open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* out) {
        if (name && (flags & SQLITE_OPEN_READWRITE)) {
            if (exists(name) && !writable(name)) {
                flags =
                    (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
            } else if (!exists(name) && (flags & SQLITE_OPEN_CREATE) && !writable(folderOf(name))) {
                file->pMethods = nullptr;
                return SQLITE_CANTOPEN;
            }
        }
        return base(vfs)->xOpen(base(vfs), name, file, flags, out);
    }
    static int remove(sqlite3_vfs* vfs, const char* name, int syncDir) {
        if (!writable(folderOf(name))) return SQLITE_IOERR_DELETE;
        return base(vfs)->xDelete(base(vfs), name, syncDir);
    }
    static int access(sqlite3_vfs* vfs, const char* name, int flags, int* result) {
        int rc = base(vfs)->xAccess(base(vfs), name, flags, result);
        if (rc == SQLITE_OK && flags == SQLITE_ACCESS_READWRITE && *result)
            *result = writable(name);
        return rc;
    }

    sqlite3_vfs* m_base;
    sqlite3_vfs m_vfs;
};
