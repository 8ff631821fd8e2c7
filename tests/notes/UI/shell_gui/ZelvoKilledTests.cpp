// The zelvo program itself on the test's display, over a data folder of its own: a person clicks
// a note, types, stops, and the program is then killed outright.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <string>

#include "notes/UI/NoteSaver.h"
#include "notes/store/SQLite/DBUtil.h"
#include "sqdb/SQDatabase.h"
#include "tests/notes/UI/shell_gui/ZelvoProgramFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"

namespace {

using Clock = ZelvoProgram::Clock;

// Zelvo started on its own data folder over the given notes (group "work", newest first), its
// window found, its log read.
class ZelvoProgramTest : public ZelvoProgramFixture {
  protected:
    ZelvoProgramTest() : ZelvoProgramFixture("zelvo-program") {}
    // Kills Zelvo outright, with the web processes it started (they are in its process group).
    void kill9() {
        ASSERT_EQ(kill(-zelvo->pid(), SIGKILL), 0);
        waitUntil([&] { return !zelvo->running(); });
    }
    // Reads the log until a save has stored the fragment in the note; whether one did in time.
    // The store is read when a save has just ended, never while one writes.
    bool waitUntilStored(int32_t id, const std::string& fragment) {
        auto deadline = Clock::now() + kPatience;
        while (Clock::now() < deadline)
            if (zelvo->readLine(std::chrono::milliseconds(200)).find(saved) != std::string::npos &&
                storedText(id).find(fragment) != std::string::npos)
                return true;
        return false;
    }
    // The switch to the note has begun: the list's choice reached the editor.
    static std::string chosen(int32_t id) {
        return "noteSelectionChanged] note " + std::to_string(id) + ",";
    }
    // The page has put its caret where the editor was clicked. The click and the keys reach the
    // page by different ways, and a key that comes before the caret is lost.
    static constexpr const char* caretPlaced = "webViewDidChangeSelection";
    static constexpr const char* saving = "saving... ...";
    static constexpr const char* saved = "... ... saved!";
};

TEST_F(ZelvoProgramTest, WhatIsTypedIsStoredOnceTypingPausesAndSurvivesKill9) {
    int32_t note = addNote("<p>\u182E\u1823</p>", 0);
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(clickNote(0));
    ASSERT_TRUE(waitForLogLine(shown(note)));
    ASSERT_TRUE(clickEditor());
    ASSERT_TRUE(waitForLogLine(caretPlaced));
    Clock::time_point typing = Clock::now();
    ASSERT_TRUE(type("typed"));

    // Stored once typing pauses: not before the pause, and before the longest wait would have
    // stored it (a loaded machine may well hand the keys to the page late).
    ASSERT_TRUE(waitForLogLine(saving));
    EXPECT_GE(zelvo->lastLineAt() - typing,
              std::chrono::duration<double>(zelvo::NoteSaver::pauseSeconds));
    ASSERT_TRUE(waitUntilStored(note, "typed")) << storedText(note);
    EXPECT_LT(zelvo->lastLineAt() - typing,
              std::chrono::duration<double>(zelvo::NoteSaver::longestWaitSeconds));
    // With nothing else done, Zelvo is killed.
    kill9();
    EXPECT_NE(storedText(note).find("typed"), std::string::npos) << storedText(note);
    EXPECT_NE(storedText(note).find("\u182E\u1823"), std::string::npos) << storedText(note);
    ASSERT_TRUE(DBUtil::databasePath());
    auto db = SQDatabase::databaseWithPath(*DBUtil::databasePath());
    ASSERT_TRUE(db->open());
    EXPECT_EQ(db->stringForQuery("PRAGMA integrity_check").value_or(""), "ok");
}

// A note clicked, a large one clicked, the editor clicked and typed into while the large one goes
// into the page, the next note clicked: the keys go into the large note or nowhere, and the next
// note takes typing.
TEST_F(ZelvoProgramTest, KeysTypedWhileALargeNoteLoadsGoIntoNoOtherNote) {
    std::string paragraph = "<p>";
    for (int i = 0; i < 100; ++i) paragraph += "\u182E\u1823\u1829\u182D\u1823\u182F ";
    paragraph += "</p>\n";
    std::string largeText;
    while (largeText.size() < 2'000'000) largeText += paragraph;
    int32_t next = addNote("<p>next</p>", 20);
    int32_t large = addNote(largeText, 10);
    int32_t first = addNote("<p>first</p>", 0);
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(clickNote(0));
    ASSERT_TRUE(waitForLogLine(shown(first)));
    ASSERT_TRUE(clickNote(1));
    ASSERT_TRUE(waitForLogLine(chosen(large)));
    ASSERT_TRUE(clickEditor());
    ASSERT_TRUE(type("qqqqqqqqqqqqqqqqqqqq"));
    ASSERT_TRUE(clickNote(2));
    ASSERT_TRUE(waitForLogLine(shown(next)));
    ASSERT_TRUE(clickEditor());
    ASSERT_TRUE(waitForLogLine(caretPlaced));
    ASSERT_TRUE(type("zyx"));
    ASSERT_TRUE(waitUntilStored(next, "zyx")) << storedText(next);
    kill9();
    EXPECT_EQ(storedText(first), "<p>first</p>");
    EXPECT_EQ(storedText(next).find('q'), std::string::npos) << storedText(next);
    // The next note takes every key typed into it, the first one too.
    EXPECT_NE(storedText(next).find("zyx"), std::string::npos) << storedText(next);
}

// Typed while Save reads a large note, and the next note clicked at once: the keys are stored in
// the large note, none in the next one.
TEST_F(ZelvoProgramTest, KeysTypedWhileALargeNoteIsSavedStayInIt) {
    std::string large;
    while (large.size() < 2'000'000) large += "<p>\u182E\u1823\u1829\u182D\u1823\u182F</p>\n";
    int32_t next = addNote("<p>next</p>", 10);
    int32_t big = addNote(large, 0);
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(clickNote(0));
    ASSERT_TRUE(waitForLogLine(shown(big)));
    ASSERT_TRUE(clickEditor());
    zelvo->readFor(std::chrono::milliseconds(300));
    ASSERT_TRUE(type("v"));
    ASSERT_EQ(std::system("xdotool key ctrl+s >/dev/null 2>&1"), 0);
    ASSERT_TRUE(type("www"));
    ASSERT_TRUE(clickNote(1));
    ASSERT_TRUE(waitForLogLine(shown(next)));
    kill9();
    std::string stored = storedText(big);
    EXPECT_NE(stored.find("www"), std::string::npos) << stored.substr(0, 200);
    EXPECT_EQ(storedText(next), "<p>next</p>");
}

}  // namespace
