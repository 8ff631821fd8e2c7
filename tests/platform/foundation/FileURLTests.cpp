#include <gtest/gtest.h>

#include "platform/foundation/FileURL.h"

using platform::fileURL;

// A URL made by gluing "file://" to a path names another file, or none, as soon as the path
// holds a character a URL gives a meaning to; each such byte is escaped, the rest kept.
TEST(FileURL, EscapesWhatAURLWouldReadOtherwise) {
    EXPECT_EQ(fileURL("/usr/share/quillora/feedback.html"),
              "file:///usr/share/quillora/feedback.html");
    EXPECT_EQ(fileURL("/home/u/My notes/#1 100%.html"),
              "file:///home/u/My%20notes/%231%20100%25.html");
    EXPECT_EQ(fileURL("/tmp/\u182E\u1823.html"), "file:///tmp/%E1%A0%AE%E1%A0%A3.html");
}

TEST(FileURL, ARelativePathHasNone) {
    EXPECT_EQ(fileURL("resources/feedback.html"), std::nullopt);
    EXPECT_EQ(fileURL(""), std::nullopt);
}
