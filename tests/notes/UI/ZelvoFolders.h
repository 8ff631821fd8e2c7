#pragma once

#include <string>

#include "notes/store/SQLite/DBUtil.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedResourceFolder.h"
#include "tests/support/TemporaryFolder.h"

// A private data folder and the source tree's resources for the length of a test; the notes
// store's location is forgotten before and after, so each test starts as a new launch.
class ZelvoFolders {
  public:
    explicit ZelvoFolders(const std::string& prefix = "zelvo-shell")
        : m_folder(prefix),
          m_dataDir("ZELVO_DATA_DIR", m_folder.path().string()),
          m_config("XDG_CONFIG_HOME", m_folder.file("config")),
          m_resources("zelvo", ZELVO_TEST_RESOURCES, "org.zelvo.Zelvo") {
        DBUtil::resetLocation();
    }
    ~ZelvoFolders() { DBUtil::resetLocation(); }
    ZelvoFolders(const ZelvoFolders&) = delete;
    ZelvoFolders& operator=(const ZelvoFolders&) = delete;

    const TemporaryFolder& folder() const { return m_folder; }

  private:
    TemporaryFolder m_folder;
    ScopedEnvironment m_dataDir, m_config;
    ScopedResourceFolder m_resources;
};
