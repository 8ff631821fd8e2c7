// The zelvo program on the test's display, typed into at a person's pace around a large note:
// every key lands, in order, in the note it was typed into, on a busy machine too.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notes/store/SQLite/DBUtil.h"
#include "tests/notes/UI/ZelvoFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestOutput.h"

namespace {

// Output of a helper run to its end.
std::string run(const std::vector<std::string>& argv) {
    ChildProcess child(argv, true);
    std::string output;
    for (std::string line = child.readLine(kPatience); !line.empty();
         line = child.readLine(std::chrono::milliseconds(200)))
        output += line + "\n";
    return output;
}

int geometryValue(const std::string& shell, const std::string& key) {
    size_t at = shell.find(key + "=");
    return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + key.size() + 1);
}

// The letters of `wanted` in the text, in order, everything else left out.
std::string lettersOf(const std::string& text, const std::string& wanted) {
    std::string letters;
    for (char c : text)
        if (wanted.find(c) != std::string::npos) letters += c;
    return letters;
}

// How many times `typed` went in whole: each typing is taken out in turn, where it lies within
// or between the others; absent when anything else is left (a letter lost, moved or doubled).
std::optional<int> typings(std::string letters, const std::string& typed) {
    int count = 0;
    for (size_t at = letters.find(typed); at != std::string::npos; at = letters.find(typed)) {
        letters.erase(at, typed.size());
        ++count;
    }
    if (!letters.empty()) return std::nullopt;
    return count;
}

// Zelvo started on notes of its own data folder (group "work"); a person clicks and types.
class ZelvoTypingTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (zelvo) zelvo->stop();
    }
    static void resetNotes() {
        DBUtil::initDBDirectory();
        for (const DBUtil::NoteRow& row : DBUtil::getNotesWithFlag(std::string("group_work")))
            DBUtil::deleteNoteWithID(int32_t(row.at("n_id").longLongValue()));
    }
    static int32_t addNote(const std::string& html, double age) {
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
    static std::string storedText(int32_t id) {
        for (const DBUtil::NoteRow& row : DBUtil::getNotesWithFlag(std::string("group_work")))
            if (row.at("n_id").longLongValue() == id)
                if (const std::string* text = row.at("n_text").text()) return *text;
        return "<none>";
    }
    void start() {
        logCopy.open(testOutputPath(
                         std::string("zelvo-typing-") +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log"),
                     std::ios::app);
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
    void stop() {
        zelvo->stop();
        zelvo.reset();
        logCopy.close();
    }
    // xdotool's words for a click on a row of the note list (under the menu and the tool bar;
    // rows are 132 high), and on the editor.
    std::string clickNote(int row) const {
        return " mousemove " + std::to_string(x + 140) + " " +
               std::to_string(y + height / 5 + 132 * row) + " click 1";
    }
    std::string clickEditor() const {
        return " mousemove " + std::to_string(x + width * 3 / 5) + " " +
               std::to_string(y + height / 2) + " click 1";
    }
    static bool act(const std::string& words) {
        return std::system(("xdotool" + words + " >/dev/null 2>&1").c_str()) == 0;
    }
    bool waitForLogLine(const std::string& fragment) {
        auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            std::string line = zelvo->readLine(std::chrono::milliseconds(200));
            if (!line.empty()) logCopy << line << "\n" << std::flush;
            if (line.find(fragment) != std::string::npos) return true;
        }
        return false;
    }
    static std::string shown(int32_t id) {
        return "note " + std::to_string(id) + " is in the page and takes typing";
    }

    // Notes small, 5 MB, small. Row 1, row 2, a person's pause, the editor and twenty letters
    // typed, then at once row 3, the editor and three letters; then another note, so that the
    // third is stored. A round each time on a fresh start, the list in its first order.
    void typeAroundALargeNote(int rounds) {
        const std::string small = "<p>\u182E\u1823\u1829\u182D\u1823\u182F</p>";
        std::string paragraph = "<p>";
        for (int i = 0; i < 100; ++i) paragraph += "\u182E\u1823\u1829\u182D\u1823\u182F ";
        paragraph += "</p>\n";
        std::string large;
        while (large.size() < 5'000'000) large += paragraph;
        const std::string typed = "QWERTYUIOPASDFGHJKLZ";
        for (int round = 1; round <= rounds; ++round) {
            SCOPED_TRACE("round " + std::to_string(round));
            resetNotes();
            int32_t third = addNote(small, 20);
            int32_t big = addNote(large, 10);
            int32_t first = addNote(small, 0);
            ASSERT_NO_FATAL_FAILURE(start());
            ASSERT_TRUE(act(clickNote(0)));
            ASSERT_TRUE(waitForLogLine(shown(first)));
            // One xdotool each: "type" takes the rest of its words as the text.
            ASSERT_TRUE(act(clickNote(1) + " sleep 0.3" + clickEditor()));
            ASSERT_TRUE(act(" type --delay 30 " + typed));
            ASSERT_TRUE(act(clickNote(2) + clickEditor()));
            ASSERT_TRUE(act(" type --delay 30 zyx"));
            ASSERT_TRUE(waitForLogLine(shown(third)));
            // The large note, stored when the third was chosen, now heads the list.
            ASSERT_TRUE(act(clickNote(0)));
            ASSERT_TRUE(waitForLogLine(shown(big)));
            stop();
            EXPECT_EQ(storedText(first), small);
            EXPECT_EQ(typings(lettersOf(storedText(big), typed), typed), 1)
                << lettersOf(storedText(big), typed);
            EXPECT_EQ(lettersOf(storedText(big), "zyx"), "");
            EXPECT_EQ(lettersOf(storedText(third), typed + "zyx"), "zyx") << storedText(third);
        }
    }

    ZelvoFolders folders{"zelvo-typing"};
    ScopedEnvironment log{"ZELVO_LOG", std::string("stderr")};
    std::unique_ptr<ChildProcess> zelvo;
    std::ofstream logCopy;
    int x = 0, y = 0, width = 0, height = 0;
};

TEST_F(ZelvoTypingTest, KeysTypedAroundALargeNoteLandInOrderInTheNoteTheyWereTypedInto) {
    typeAroundALargeNote(5);
}

TEST_F(ZelvoTypingTest, KeysTypedAroundALargeNoteLandInOrderBesideEightBusyProcesses) {
    std::vector<std::unique_ptr<ChildProcess>> busy;
    for (int i = 0; i < 8; ++i)
        busy.push_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{"sh", "-c", "while :; do :; done"}));
    typeAroundALargeNote(5);
}

}  // namespace
