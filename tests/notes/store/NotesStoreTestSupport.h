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
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

// A fresh data folder for the notes store, removed at the end; the store's location is forgotten
// before and after so every test starts as a new launch.
class NotesStoreTest : public ::testing::Test {
  protected:
    NotesStoreTest() : root(folder.path()) {
        dataDir.emplace("ZELVO_DATA_DIR", root.string());
        DBUtil::resetLocation();
    }
    ~NotesStoreTest() override { DBUtil::resetLocation(); }

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

    TemporaryFolder folder{"notes-store"};
    std::filesystem::path root;
    std::optional<ScopedEnvironment> dataDir;
};
