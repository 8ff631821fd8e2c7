#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/NotificationCenter.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

// A private data folder and the source tree's resources for the length of a test.
class ZelvoFolders {
  public:
    ZelvoFolders()
        : m_dataDir("ZELVO_DATA_DIR", m_folder.path().string()),
          m_config("XDG_CONFIG_HOME", m_folder.file("config")),
          m_resources("ZELVO_RESOURCES", std::string(ZELVO_TEST_RESOURCES)) {
        platform::Bundle::setMain("zelvo", "org.zelvo.Zelvo");
        DBUtil::resetLocation();
    }
    ~ZelvoFolders() { DBUtil::resetLocation(); }
    const TemporaryFolder& folder() const { return m_folder; }

  private:
    TemporaryFolder m_folder{"zelvo-shell"};
    ScopedEnvironment m_dataDir, m_config, m_resources;
};

// Counts the posts of some notices and keeps their objects, for the length of a test.
template <typename Object>
class PostRecorder {
  public:
    explicit PostRecorder(const std::vector<std::string>& observed) {
        for (const std::string& name : observed)
            m_tokens.push_back(platform::NotificationCenter::defaultCenter().addObserver(
                name, [this](const platform::Notification& n) {
                    names.push_back(n.name);
                    const Object* object = n.objectAs<Object>();
                    objects.push_back(object ? std::optional<Object>(*object) : std::nullopt);
                }));
    }
    ~PostRecorder() {
        for (auto token : m_tokens)
            platform::NotificationCenter::defaultCenter().removeObserver(token);
    }
    std::vector<std::string> names;
    std::vector<std::optional<Object>> objects;

  private:
    std::vector<platform::NotificationCenter::Token> m_tokens;
};
