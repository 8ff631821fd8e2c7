// The zelvo program itself on the test's display, over a data folder of its own: a person clicks
// a note, types, stops, and the program is then killed outright.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "notes/store/SQLite/DBUtil.h"
#include "tests/notes/UI/ZelvoFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/ScopedEnvironment.h"

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

// Reads the program's log until a line holds the fragment; whether one did in time.
bool waitForLogLine(ChildProcess& program, const std::string& fragment) {
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline)
        if (program.readLine(std::chrono::milliseconds(200)).find(fragment) != std::string::npos)
            return true;
    return false;
}

// Keeps reading the log (the program must never block on a full pipe) for a while.
void readLogFor(ChildProcess& program, std::chrono::milliseconds span) {
    auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) program.readLine(std::chrono::milliseconds(50));
}

int geometryValue(const std::string& shell, const std::string& key) {
    size_t at = shell.find(key + "=");
    return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + key.size() + 1);
}

std::string storedText() {
    for (const DBUtil::NoteRow& row : DBUtil::getNotesWithFlag(std::string("group_work")))
        if (const std::string* text = row.at("n_text").text()) return *text;
    return "<none>";
}

TEST(ZelvoProgram, WhatIsTypedIsStoredOnceTypingPausesAndSurvivesKill9) {
    ZelvoFolders folders("zelvo-killed");
    DBUtil::initDBDirectory();
    NoteObject note(std::nullopt, platform::Date::now());
    note.setN_text(std::string("<p>\u182E\u1823</p>"));
    note.setN_summary(std::string("\u182E\u1823"));
    note.setN_group(std::string("group_work"));
    note.setN_isRecent(1);
    ASSERT_TRUE(DBUtil::insertNote(&note));

    ScopedEnvironment log("ZELVO_LOG", std::string("stderr"));
    ChildProcess zelvo({"sh", "-c", "exec \"$0\" 2>&1", ZELVO_PROGRAM}, true);
    ASSERT_TRUE(waitForLogLine(zelvo, "webView:didFinishLoadForFrame")) << "no editor page";
    std::string window = run({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Zelvo$"});
    ASSERT_FALSE(window.empty()) << "no window";
    window = window.substr(0, window.find('\n'));
    std::string geometry = run({"xdotool", "getwindowgeometry", "--shell", window});
    int x = geometryValue(geometry, "X"), y = geometryValue(geometry, "Y");
    int width = geometryValue(geometry, "WIDTH"), height = geometryValue(geometry, "HEIGHT");
    ASSERT_GT(width, 0) << geometry;
    auto click = [](int at, int down) {
        return std::system(("xdotool mousemove " + std::to_string(at) + " " + std::to_string(down) +
                            " click 1 >/dev/null 2>&1")
                               .c_str()) == 0;
    };

    // The note in the list (its first row, under the menu and the tool bar), then the editor.
    ASSERT_TRUE(click(x + 140, y + height / 5));
    ASSERT_TRUE(waitForLogLine(zelvo, "the note is in the page and takes typing"));
    ASSERT_TRUE(click(x + width * 3 / 5, y + height / 2));
    readLogFor(zelvo, std::chrono::milliseconds(300));
    ASSERT_EQ(std::system("xdotool type --delay 60 typed >/dev/null 2>&1"), 0);

    // A few seconds after the last key, with nothing else done, Zelvo is killed, and the web
    // processes it started with it (they are in its process group).
    readLogFor(zelvo, std::chrono::seconds(4));
    ASSERT_EQ(kill(-zelvo.pid(), SIGKILL), 0);
    waitUntil([&] { return !zelvo.running(); });

    EXPECT_NE(storedText().find("typed"), std::string::npos) << storedText();
    EXPECT_NE(storedText().find("\u182E\u1823"), std::string::npos) << storedText();
    EXPECT_EQ(run({"sqlite3", DBUtil::databasePath().value_or(""), "PRAGMA integrity_check;"}),
              "ok\n");
}

}  // namespace
