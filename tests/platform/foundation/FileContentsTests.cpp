#include <gtest/gtest.h>

#include <fstream>

#include "platform/foundation/FileContents.h"
#include "tests/support/TemporaryFolder.h"

using platform::contentsOfFile;

// A file is read whole, bytes as they are (a NUL and a lone CR included); a missing file and a
// folder have no contents, which callers tell apart from an empty file.
TEST(FileContents, WholeBytesOrNoneButNeverAPartOrAFolder) {
    TemporaryFolder folder("contents");
    const std::string bytes("a\0b\r\xE1\xA0\xAE", 7);
    std::ofstream(folder.file("note"), std::ios::binary) << bytes;
    std::ofstream(folder.file("empty"), std::ios::binary);
    EXPECT_EQ(contentsOfFile(folder.file("note")), bytes);
    EXPECT_EQ(contentsOfFile(folder.file("empty")), "");
    EXPECT_EQ(contentsOfFile(folder.file("missing")), std::nullopt);
    EXPECT_EQ(contentsOfFile(folder.path()), std::nullopt);
}
