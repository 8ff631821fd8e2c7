#include "PowerCutVfs.h"

#include <cstring>
#include <fstream>
#include <new>

namespace {

PowerCutVfs* g_active = nullptr;

struct CutFile {
    sqlite3_file base;
    std::string* path;
    bool tracked;
    bool syncsFolderOnFirstSync;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

CutFile* cut(sqlite3_file* file) {
    return reinterpret_cast<CutFile*>(file);
}

int failed() {
    return SQLITE_IOERR;
}

int cutClose(sqlite3_file* file) {
    CutFile* f = cut(file);
    int rc = f->real()->pMethods ? f->real()->pMethods->xClose(f->real()) : SQLITE_OK;
    delete f->path;
    return rc;
}

int cutRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    CutFile* f = cut(file);
    if (f->tracked && PowerCutVfs::active()->powerLost()) return failed();
    return f->real()->pMethods->xRead(f->real(), buffer, amount, offset);
}

int cutWrite(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
    CutFile* f = cut(file);
    if (f->tracked && !PowerCutVfs::active()->step()) return failed();
    return f->real()->pMethods->xWrite(f->real(), data, amount, offset);
}

int cutTruncate(sqlite3_file* file, sqlite3_int64 size) {
    CutFile* f = cut(file);
    if (f->tracked && !PowerCutVfs::active()->step()) return failed();
    return f->real()->pMethods->xTruncate(f->real(), size);
}

int cutSync(sqlite3_file* file, int flags) {
    CutFile* f = cut(file);
    if (!f->tracked) return f->real()->pMethods->xSync(f->real(), flags);
    if (!PowerCutVfs::active()->step()) return failed();
    int rc = f->real()->pMethods->xSync(f->real(), flags);
    if (rc != SQLITE_OK) return rc;
    sqlite3_int64 size = 0;
    f->real()->pMethods->xFileSize(f->real(), &size);
    std::vector<char> bytes(static_cast<size_t>(size));
    if (size > 0) f->real()->pMethods->xRead(f->real(), bytes.data(), static_cast<int>(size), 0);
    PowerCutVfs::active()->synced(*f->path, std::move(bytes), f->syncsFolderOnFirstSync);
    f->syncsFolderOnFirstSync = false;
    return SQLITE_OK;
}

int cutFileSize(sqlite3_file* file, sqlite3_int64* size) {
    CutFile* f = cut(file);
    return f->real()->pMethods->xFileSize(f->real(), size);
}
int cutLock(sqlite3_file* file, int level) {
    CutFile* f = cut(file);
    return f->real()->pMethods->xLock(f->real(), level);
}
int cutUnlock(sqlite3_file* file, int level) {
    CutFile* f = cut(file);
    return f->real()->pMethods->xUnlock(f->real(), level);
}
int cutCheckReservedLock(sqlite3_file* file, int* out) {
    CutFile* f = cut(file);
    return f->real()->pMethods->xCheckReservedLock(f->real(), out);
}
int cutFileControl(sqlite3_file* file, int op, void* arg) {
    CutFile* f = cut(file);
    return f->real()->pMethods->xFileControl(f->real(), op, arg);
}
int cutSectorSize(sqlite3_file* file) {
    CutFile* f = cut(file);
    return f->real()->pMethods->xSectorSize(f->real());
}
int cutDeviceCharacteristics(sqlite3_file* file) {
    CutFile* f = cut(file);
    return f->real()->pMethods->xDeviceCharacteristics(f->real());
}

// Version 1: no shared memory and no memory mapping, so every change passes through xWrite.
const sqlite3_io_methods kMethods = {
    1,
    cutClose,
    cutRead,
    cutWrite,
    cutTruncate,
    cutSync,
    cutFileSize,
    cutLock,
    cutUnlock,
    cutCheckReservedLock,
    cutFileControl,
    cutSectorSize,
    cutDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int cutOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    PowerCutVfs* vfs = PowerCutVfs::active();
    CutFile* f = cut(file);
    f->base.pMethods = nullptr;
    bool tracked =
        name != nullptr && (flags & (SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_MAIN_JOURNAL)) != 0;
    if (tracked && vfs->powerLost()) return SQLITE_CANTOPEN;
    int exists = 0;
    if (tracked) vfs->base()->xAccess(vfs->base(), name, SQLITE_ACCESS_EXISTS, &exists);
    int rc = vfs->base()->xOpen(vfs->base(), name, f->real(), flags, outFlags);
    if (rc != SQLITE_OK) return rc;
    f->path = new std::string(name ? name : "");
    f->tracked = tracked;
    bool created = tracked && !exists;
    // The Unix file system syncs the folder on a new journal's first sync.
    f->syncsFolderOnFirstSync = created && (flags & SQLITE_OPEN_MAIN_JOURNAL) != 0;
    if (tracked) vfs->opened(*f->path, created);
    f->base.pMethods = &kMethods;
    return SQLITE_OK;
}

int cutDelete(sqlite3_vfs*, const char* name, int syncDir) {
    PowerCutVfs* vfs = PowerCutVfs::active();
    if (!vfs->step()) return SQLITE_IOERR_DELETE;
    int rc = vfs->base()->xDelete(vfs->base(), name, syncDir);
    if (rc == SQLITE_OK) vfs->deleted(name, syncDir != 0);
    return rc;
}

int cutAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    PowerCutVfs* vfs = PowerCutVfs::active();
    return vfs->base()->xAccess(vfs->base(), name, flags, out);
}

int cutFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    PowerCutVfs* vfs = PowerCutVfs::active();
    return vfs->base()->xFullPathname(vfs->base(), name, size, out);
}

}  // namespace

PowerCutVfs::PowerCutVfs(std::optional<int> cutAt)
    : m_base(sqlite3_vfs_find(nullptr)), m_cutAt(cutAt) {
    m_vfs = *m_base;
    m_vfs.iVersion = 1;
    m_vfs.szOsFile = static_cast<int>(sizeof(CutFile)) + m_base->szOsFile;
    m_vfs.zName = "power-cut";
    m_vfs.pNext = nullptr;
    m_vfs.xOpen = cutOpen;
    m_vfs.xDelete = cutDelete;
    m_vfs.xAccess = cutAccess;
    m_vfs.xFullPathname = cutFullPathname;
    g_active = this;
    sqlite3_vfs_register(&m_vfs, 1);
}

PowerCutVfs::~PowerCutVfs() {
    sqlite3_vfs_unregister(&m_vfs);
    sqlite3_vfs_register(m_base, 1);
    g_active = nullptr;
}

PowerCutVfs* PowerCutVfs::active() {
    return g_active;
}

bool PowerCutVfs::step() {
    if (m_image) return false;
    if (m_cutAt && m_steps == *m_cutAt) {
        m_image = diskNow();
        return false;
    }
    ++m_steps;
    return true;
}

void PowerCutVfs::opened(const std::string& path, bool) {
    m_names.insert(path);
}

void PowerCutVfs::synced(const std::string& path, std::vector<char> bytes, bool syncsFolder) {
    m_durableBytes[path] = std::move(bytes);
    if (syncsFolder) m_durableNames = m_names;
}

void PowerCutVfs::deleted(const std::string& path, bool syncsFolder) {
    m_names.erase(path);
    if (syncsFolder) m_durableNames = m_names;
}

PowerCutVfs::Image PowerCutVfs::diskNow() const {
    Image image;
    for (const auto& name : m_durableNames) {
        auto bytes = m_durableBytes.find(name);
        image[name] = bytes != m_durableBytes.end() ? bytes->second : std::vector<char>{};
    }
    return image;
}

void PowerCutVfs::writeImage(const std::filesystem::path& root, const std::filesystem::path& into) {
    Image image = m_image ? *m_image : diskNow();
    for (const auto& [name, bytes] : image) {
        auto target = into / std::filesystem::path(name).lexically_relative(root);
        std::filesystem::create_directories(target.parent_path());
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}
