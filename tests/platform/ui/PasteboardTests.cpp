#include <gtest/gtest.h>

#include "platform/ui/Pasteboard.h"

using namespace platform;

TEST(Pasteboard, StringsByTypeAndChangeCount) {
    Pasteboard& board = Pasteboard::generalPasteboard();
    EXPECT_EQ(&board, &Pasteboard::generalPasteboard());
    long before = board.changeCount();
    EXPECT_EQ(board.clearContents(), before + 1);
    EXPECT_TRUE(board.types().empty());
    EXPECT_FALSE(board.stringForType(PasteboardTypeString).has_value());

    EXPECT_TRUE(board.setString("ᠮᠣᠩᠭᠣᠯ", PasteboardTypeString));
    EXPECT_TRUE(board.setString("<b>x</b>", "public.html"));
    EXPECT_TRUE(board.setString("ᠪᠢᠴᠢᠭ", PasteboardTypeString));  // replaces, keeps the order
    EXPECT_EQ(board.stringForType(PasteboardTypeString), "ᠪᠢᠴᠢᠭ");
    EXPECT_EQ(board.types(), (std::vector<std::string>{PasteboardTypeString, "public.html"}));
    EXPECT_FALSE(board.stringForType("public.rtf").has_value());
    EXPECT_EQ(board.changeCount(), before + 1);

    board.clearContents();
    EXPECT_FALSE(board.stringForType("public.html").has_value());
    EXPECT_EQ(board.changeCount(), before + 2);
}

TEST(Pasteboard, WrittenObjectsAreReadAsPlainText) {
    Pasteboard& board = Pasteboard::generalPasteboard();
    board.clearContents();
    EXPECT_TRUE(board.writeObjects({"first", "second"}));
    EXPECT_EQ(board.stringForType(PasteboardTypeString), "first");
    EXPECT_EQ(board.types(), (std::vector<std::string>{PasteboardTypeString}));
    // An empty string is still something on the pasteboard.
    board.clearContents();
    board.writeObjects({""});
    EXPECT_EQ(board.stringForType(PasteboardTypeString), "");
}
