#pragma once

#include <gtest/gtest.h>
// The tests also work the engine directly (user functions, raw statements, open flags).
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"
#include "sqdb/SQStatement.h"
#include "tests/support/TemporaryFolder.h"

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
