#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"
#include "sqdb/SQStatement.h"

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "sqdb-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

// A test with an open connection to a database file of its own.
class SQDatabaseFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = folder.file("test.db");
        db = SQDatabase::databaseWithPath(path);
        ASSERT_TRUE(db->open());
    }

    // The one value of a one-row, one-column query.
    platform::Value single(const std::string& sql) {
        auto rs = db->executeQuery(sql);
        if (!rs || !rs->next()) return {};
        platform::Value value = rs->objectForColumnIndex(0);
        rs->close();
        return value;
    }

    TemporaryFolder folder;
    std::string path;
    std::shared_ptr<SQDatabase> db;
};
