#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <fstream>
#include <string>

#include "tests/support/TemporaryFolder.h"

// A folder on a disk with no room left: files can still be made there, but every byte written
// fails with "No space left on device". It is a tiny memory file system, filled up, mounted over a
// temporary folder in a mount namespace of the test process's own, so nothing outside the process
// sees it and it goes with the process. Make it before the test starts threads or helper
// processes (a web engine): only those started afterwards share the namespace. Mounting needs the
// administrator's rights, which CI has; ready() tells whether it worked.
class FullDiskFolder {
  public:
    FullDiskFolder() : m_folder("full-disk") {
        const std::string path = m_folder.path().string();
        m_mounted = unshare(CLONE_NEWNS) == 0 &&
                    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                    mount("tmpfs", path.c_str(), "tmpfs", 0, "size=16k") == 0;
        if (!m_mounted) return;
        std::ofstream filler(m_folder.file(".filler"), std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), std::streamsize(block.size())) && filler.flush()) {
        }
    }
    ~FullDiskFolder() {
        if (m_mounted) umount2(m_folder.path().c_str(), MNT_DETACH);
    }
    FullDiskFolder(const FullDiskFolder&) = delete;
    FullDiskFolder& operator=(const FullDiskFolder&) = delete;

    bool ready() const { return m_mounted; }
    std::string file(const std::string& name) const { return m_folder.file(name); }

  private:
    TemporaryFolder m_folder;
    bool m_mounted = false;
};
