#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "notes/store/SQLite/DBUtil.h"
#include "tests/notes/UI/ZelvoFolders.h"
#include "tests/notes/UI/shell_gui/ZelvoProgram.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestOutput.h"

// The sanitized program answers several times slower than the person's pace some cases type at:
// those cases run in the plain build only.
#if defined(__SANITIZE_ADDRESS__)
#define SKIP_WHERE_TOO_SLOW_FOR_A_PERSONS_PACE() \
    GTEST_SKIP() << "the sanitized program is too slow for a person's pace"
#else
#define SKIP_WHERE_TOO_SLOW_FOR_A_PERSONS_PACE()
#endif

// Zelvo started on its own data folder over notes of group "work", its window found on the
// test's display, its log kept in the test output; a person clicks and types with xdotool.
class ZelvoProgramFixture : public ::testing::Test {
  protected:
    explicit ZelvoProgramFixture(const std::string& name) : folders(name), m_name(name) {}
    void SetUp() override {
        DBUtil::initDBDirectory();
        logCopy.open(testOutputPath(
            m_name + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
            ".log"));
    }
    void TearDown() override { stop(); }

    // A note stored now less the age in seconds; its number.
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

    // Starts Zelvo and waits for its editor page and its window.
    void start() {
        zelvo = std::make_unique<ZelvoProgram>(&logCopy);
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
        if (zelvo) zelvo->stop();
        zelvo.reset();
    }
    // Reads the program's log (kept in the test output) until a line holds the fragment; whether
    // one did in time.
    bool waitForLogLine(const std::string& fragment) {
        return !zelvo->waitForLine(fragment).empty();
    }
    static std::string shown(int32_t id) {
        return "note " + std::to_string(id) + " is in the page and takes typing";
    }

    // xdotool's words for a click on a row of the note list (under the menu and the tool bar;
    // rows are 132 high), and on the editor.
    std::string noteClick(int row) const {
        return " mousemove " + std::to_string(x + 140) + " " +
               std::to_string(y + height / 5 + 132 * row) + " click 1";
    }
    std::string editorClick() const {
        return " mousemove " + std::to_string(x + width * 3 / 5) + " " +
               std::to_string(y + height / 2) + " click 1";
    }
    // One xdotool run over the words (its own "sleep" keeps a pace between them); whether it did
    // them all.
    static bool act(const std::string& words) {
        return std::system(("xdotool" + words + " >/dev/null 2>&1").c_str()) == 0;
    }
    bool clickNote(int row) const { return act(noteClick(row)); }
    bool clickEditor() const { return act(editorClick()); }
    // Types the keys, a pause of the delay between two.
    static bool type(const std::string& keys, int delayMilliseconds = 40) {
        return act(" type --delay " + std::to_string(delayMilliseconds) + " " + keys);
    }

    ZelvoFolders folders;
    ScopedEnvironment log{"ZELVO_LOG", std::string("stderr")};
    std::ofstream logCopy;
    std::unique_ptr<ZelvoProgram> zelvo;
    int x = 0, y = 0, width = 0, height = 0;

  private:
    // Output of a helper run to its end.
    static std::string run(const std::vector<std::string>& argv) {
        ChildProcess child(argv, true);
        return child.readToEnd(kPatience);
    }
    static int geometryValue(const std::string& shell, const std::string& key) {
        size_t at = shell.find(key + "=");
        return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + key.size() + 1);
    }

    std::string m_name;
};
