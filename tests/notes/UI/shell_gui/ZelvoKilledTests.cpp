// The zelvo program itself on the test's display, over a data folder of its own: a person clicks
// a note, types, stops, and the program is then killed outright.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "notes/UI/NoteSaver.h"
#include "notes/store/SQLite/DBUtil.h"
#include "sqdb/SQDatabase.h"
#include "tests/notes/UI/ZelvoFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestOutput.h"

namespace {

using Clock = std::chrono::steady_clock;

// Output of a helper run to its end.
std::string run(const std::vector<std::string>& argv) {
    ChildProcess child(argv, true);
    return child.readToEnd(kPatience);
}

int geometryValue(const std::string& shell, const std::string& key) {
    size_t at = shell.find(key + "=");
    return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + key.size() + 1);
}

// Zelvo started on its own data folder over the given notes (group "work", newest first), its
// window found, its log read.
class ZelvoProgramTest : public ::testing::Test {
  protected:
    void SetUp() override { DBUtil::initDBDirectory(); }
    void TearDown() override {
        if (zelvo) zelvo->stop();
    }
    int32_t addNote(const std::string& html, double age) {
        NoteObject note(std::nullopt, platform::Date::dateWithTimeIntervalSince1970(
                                          platform::Date::now().timeIntervalSince1970() - age));
        note.setN_text(html);
        note.setN_summary(html.substr(0, 40));
        note.setN_group(std::string("group_work"));
        note.setN_isRecent(1);
        EXPECT_TRUE(DBUtil::insertNote(&note));
        return int32_t(
            DBUtil::getNotesWithFlag(std::string("group_work")).front().at("n_id").longLongValue());
    }
    void start() {
        logCopy.open(testOutputPath(
            std::string("zelvo-program-") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log"));
        zelvo = std::make_unique<ChildProcess>(
            std::vector<std::string>{"sh", "-c", "exec \"$0\" 2>&1", ZELVO_PROGRAM}, true);
        ASSERT_TRUE(waitForLogLine("webView:didFinishLoadForFrame")) << "no editor page";
        std::string window =
            run({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Zelvo$"});
        ASSERT_FALSE(window.empty()) << "no window";
        window = window.substr(0, window.find('\n'));
        std::string geometry = run({"xdotool", "getwindowgeometry", "--shell", window});
        x = geometryValue(geometry, "X");
        y = geometryValue(geometry, "Y");
        width = geometryValue(geometry, "WIDTH");
        height = geometryValue(geometry, "HEIGHT");
        ASSERT_GT(width, 0) << geometry;
    }
    static bool click(int at, int down) {
        return std::system(("xdotool mousemove " + std::to_string(at) + " " + std::to_string(down) +
                            " click 1 >/dev/null 2>&1")
                               .c_str()) == 0;
    }
    // A row of the note list (under the menu and the tool bar; rows are 132 high).
    bool clickNote(int row) { return click(x + 140, y + height / 5 + 132 * row); }
    bool clickEditor() { return click(x + width * 3 / 5, y + height / 2); }
    static bool type(const std::string& keys) {
        return std::system(("xdotool type --delay 40 " + keys + " >/dev/null 2>&1").c_str()) == 0;
    }
    // Kills Zelvo outright, with the web processes it started (they are in its process group).
    void kill9() {
        ASSERT_EQ(kill(-zelvo->pid(), SIGKILL), 0);
        waitUntil([&] { return !zelvo->running(); });
    }
    static std::string storedText(int32_t id) {
        for (const DBUtil::NoteRow& row : DBUtil::getNotesWithFlag(std::string("group_work")))
            if (row.at("n_id").longLongValue() == id)
                if (const std::string* text = row.at("n_text").text()) return *text;
        return "<none>";
    }
    // Reads the program's log (kept in the test output) until a line holds the fragment; whether
    // one did in time. lastLineAt is when that line came.
    bool waitForLogLine(const std::string& fragment) {
        auto deadline = Clock::now() + kPatience;
        while (Clock::now() < deadline)
            if (readLogLine(std::chrono::milliseconds(200)).find(fragment) != std::string::npos)
                return true;
        return false;
    }
    // Reads the log until a save has stored the fragment in the note; whether one did in time.
    // The store is read when a save has just ended, never while one writes.
    bool waitUntilStored(int32_t id, const std::string& fragment) {
        auto deadline = Clock::now() + kPatience;
        while (Clock::now() < deadline)
            if (readLogLine(std::chrono::milliseconds(200)).find(saved) != std::string::npos &&
                storedText(id).find(fragment) != std::string::npos)
                return true;
        return false;
    }
    // Keeps reading the log (the program must never block on a full pipe) for a while.
    void readLogFor(std::chrono::milliseconds span) {
        auto end = std::chrono::steady_clock::now() + span;
        while (std::chrono::steady_clock::now() < end) readLogLine(std::chrono::milliseconds(50));
    }
    std::string readLogLine(std::chrono::milliseconds timeout) {
        std::string line = zelvo->readLine(timeout);
        if (!line.empty()) {
            lastLineAt = Clock::now();
            logCopy << line << "\n" << std::flush;
        }
        return line;
    }
    static std::string shown(int32_t id) {
        return "note " + std::to_string(id) + " is in the page and takes typing";
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

    ZelvoFolders folders{"zelvo-program"};
    ScopedEnvironment log{"ZELVO_LOG", std::string("stderr")};
    std::unique_ptr<ChildProcess> zelvo;
    std::ofstream logCopy;
    Clock::time_point lastLineAt;
    int x = 0, y = 0, width = 0, height = 0;
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
    EXPECT_GE(lastLineAt - typing, std::chrono::duration<double>(zelvo::NoteSaver::pauseSeconds));
    ASSERT_TRUE(waitUntilStored(note, "typed")) << storedText(note);
    EXPECT_LT(lastLineAt - typing,
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
    readLogFor(std::chrono::milliseconds(300));
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
