#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// A file system under SQLite that can lose power. It passes everything to the default one and
// keeps what a disk would still hold after a power cut: a file's bytes as of its last sync, and
// the names in a folder as of the folder's last sync (which SQLite asks for on a journal's first
// sync, as the Unix file system does, and when it deletes a journal with the folder synced).
// Write, truncate, sync and delete steps are counted; at step `cutAt` the power goes: the disk's
// state is kept as the image and every later step fails, as it would for a program that is gone.
// Installed as the default file system for its lifetime.
class PowerCutVfs {
  public:
    explicit PowerCutVfs(std::optional<int> cutAt);
    ~PowerCutVfs();
    PowerCutVfs(const PowerCutVfs&) = delete;
    PowerCutVfs& operator=(const PowerCutVfs&) = delete;

    int steps() const { return m_steps; }
    bool powerLost() const { return m_image.has_value(); }
    // The files the disk holds after the cut, or now when there was none yet, written below
    // `into` at the places they have below `root`.
    void writeImage(const std::filesystem::path& root, const std::filesystem::path& into);

    // The file system's own entry points reach the instance through here.
    static PowerCutVfs* active();
    // Counts a step; false when the power is (now) gone and the step must fail.
    bool step();
    void opened(const std::string& path, bool created);
    void synced(const std::string& path, std::vector<char> bytes, bool syncsFolder);
    void deleted(const std::string& path, bool syncsFolder);
    sqlite3_vfs* base() const { return m_base; }

  private:
    using Image = std::map<std::string, std::vector<char>>;
    Image diskNow() const;

    sqlite3_vfs* m_base;
    sqlite3_vfs m_vfs;
    std::optional<int> m_cutAt;
    int m_steps = 0;
    std::set<std::string> m_names;         // as the running program sees them
    std::set<std::string> m_durableNames;  // as the disk holds them
    std::map<std::string, std::vector<char>> m_durableBytes;
    std::optional<Image> m_image;
};
