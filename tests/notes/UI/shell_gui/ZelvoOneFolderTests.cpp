// The zelvo program started twice on one notes folder: from two desktop sessions (each its own
// session bus), and in one session, where the second start is handed to the first.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "tests/notes/UI/ZelvoFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileContents.h"
#include "tests/support/Patience.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

class ZelvoOneFolderTest : public ::testing::Test {
  protected:
    // Zelvo on the environment as it is now, its log and messages read back.
    static std::unique_ptr<ChildProcess> start() {
        return std::make_unique<ChildProcess>(
            std::vector<std::string>{"sh", "-c", "exec \"$0\" 2>&1", ZELVO_PROGRAM}, true);
    }
    // Reads the program's output until a line holds the fragment; that line, empty when none did
    // in time.
    static std::string waitForLine(ChildProcess& zelvo, const std::string& fragment) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            std::string line = zelvo.readLine(std::chrono::milliseconds(200));
            if (line.find(fragment) != std::string::npos) return line;
        }
        return {};
    }
    // A Zelvo that is up, its editor page loaded.
    std::unique_ptr<ChildProcess> startFirst() {
        auto zelvo = start();
        EXPECT_FALSE(waitForLine(*zelvo, "webView:didFinishLoadForFrame").empty()) << "no page";
        return zelvo;
    }
    static std::set<std::string> namesIn(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
    // Keeps reading the output (a program must never block on a full pipe) until it ends.
    static bool waitForEnd(ChildProcess& zelvo) {
        return waitUntil(
            [&] {
                zelvo.readLine(std::chrono::milliseconds(20));
                return !zelvo.running();
            },
            kPatience);
    }

    ZelvoFolders folders{"zelvo-one-folder"};
    ScopedEnvironment log{"ZELVO_LOG", std::string("stderr")};
    fs::path data = folders.folder().path();
    fs::path database = data / "database";
};

// Another desktop session, the same folder: the second Zelvo says which folder is in use and
// ends without writing; the first runs on.
TEST_F(ZelvoOneFolderTest, ASecondProcessOnTheFolderSaysSoAndWritesNothing) {
    auto first = startFirst();
    const fs::path file = database / "note.db";
    const std::string bytes = fileContents(file.string());
    const auto written = fs::last_write_time(file);
    const std::set<std::string> names = namesIn(data), stored = namesIn(database);

    PrivateSessionBus otherSession;
    auto second = start();
    std::string told = waitForLine(*second, "in use");
    EXPECT_NE(told.find(data.string()), std::string::npos) << told;
    // Its alert (the one window without a title) answered with a click on OK, once it is on
    // screen.
    const std::string answer =
        "for w in $(xdotool search --onlyvisible --classname '^zelvo$'); do"
        "  [ -z \"$(xdotool getwindowname $w)\" ] || continue;"
        "  eval $(xdotool getwindowgeometry --shell $w);"
        "  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 12)) click 1 && exit 0;"
        "done; exit 1";
    ASSERT_TRUE(waitUntil([&] { return std::system(answer.c_str()) == 0; }, kPatience));
    ASSERT_TRUE(waitForEnd(*second));
    EXPECT_EQ(second->exitStatus(), 1);

    EXPECT_EQ(fileContents(file.string()), bytes);
    EXPECT_EQ(fs::last_write_time(file), written);
    EXPECT_EQ(namesIn(data), names);
    EXPECT_EQ(namesIn(database), stored);
    EXPECT_TRUE(first->running());
}

// The same session: a second start is handed to the running Zelvo. Asking for another folder, it
// is told which folder the running one uses, and nothing is made there; asking for the same
// folder, it just brings the window back.
TEST_F(ZelvoOneFolderTest, ASecondStartForAnotherFolderIsToldWhichFolderIsInUse) {
    auto first = startFirst();
    TemporaryFolder other("zelvo-other-folder");
    {
        ScopedEnvironment elsewhere("ZELVO_DATA_DIR", other.path().string());
        auto second = start();
        std::string told = waitForLine(*second, "already running");
        EXPECT_NE(told.find(data.string()), std::string::npos) << told;
        ASSERT_TRUE(waitForEnd(*second));
        EXPECT_EQ(second->exitStatus(), 1);
    }
    EXPECT_FALSE(fs::exists(other.path() / "database"));
    EXPECT_FALSE(waitForLine(*first, "messageForSecondLaunch").empty());

    auto same = start();
    ASSERT_TRUE(waitForEnd(*same));
    EXPECT_EQ(same->exitStatus(), 0);
    EXPECT_TRUE(first->running());
}

}  // namespace
