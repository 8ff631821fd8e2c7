#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"

// Sets an environment variable for the life of the object and puts the old value back after.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = getenv(name)) m_old = old;
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// A fresh data folder for the notes store, removed at the end; the store's location is forgotten
// before and after so every test starts as a new launch.
class NotesStoreTest : public ::testing::Test {
  protected:
    NotesStoreTest() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "notes-store-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root = pattern;
        dataDir.emplace("ZELVO_DATA_DIR", root.string());
        DBUtil::resetLocation();
    }
    ~NotesStoreTest() override {
        DBUtil::resetLocation();
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::string folderPath() const { return (root / "database").string(); }
    std::string filePath() const { return (root / "database" / "note.db").string(); }

    // A connection of the test's own to the notes file.
    std::shared_ptr<SQDatabase> openFile() const {
        auto db = SQDatabase::databaseWithPath(filePath());
        EXPECT_TRUE(db->open());
        return db;
    }

    // The first column of the first row, read on a connection of the test's own.
    platform::Value single(const std::string& sql) const {
        auto db = openFile();
        platform::Value value;
        if (auto rs = db->executeQuery(sql); rs && rs->next()) value = rs->objectForColumnIndex(0);
        db->close();
        return value;
    }

    std::filesystem::path root;
    std::optional<ScopedEnvironment> dataDir;
};
