#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/foundation/AtomicFile.h"
#include "tests/support/FileContents.h"
#include "tests/support/TemporaryFolder.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {}  // namespace

TEST(AtomicFile, AnotherWritersFileReplacesTheOldOneOnlyWhenItSucceeds) {
    TemporaryFolder folder("atomic");
    fs::path path = folder.path() / "doc.pdf";
    std::ofstream(path) << "old";

    fs::path seen;
    EXPECT_FALSE(replaceFileAtomically(path, [&](const fs::path& temporary) {
        seen = temporary;
        std::ofstream(temporary) << "half";
        return false;
    }));
    EXPECT_EQ(seen.parent_path(), folder.path());
    EXPECT_EQ(fileContents(path), "old");
    EXPECT_FALSE(fs::exists(seen));

    // A writer that removes the file and makes it again under the same name.
    EXPECT_TRUE(replaceFileAtomically(path, [&](const fs::path& temporary) {
        fs::remove(temporary);
        std::ofstream(temporary) << "new";
        return true;
    }));
    EXPECT_EQ(fileContents(path), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    EXPECT_FALSE(writeFileAtomically(folder.path() / "missing" / "x", "x"));
    EXPECT_TRUE(writeFileAtomically(path, "whole"));
    EXPECT_EQ(fileContents(path), "whole");
}
