// The zelvo program started twice on one notes folder: from two desktop sessions (each its own
// session bus), and in one session, where the second start is handed to the first.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "tests/notes/UI/ZelvoFolders.h"
#include "tests/notes/UI/shell_gui/ZelvoProgram.h"
#include "tests/support/FileContents.h"
#include "tests/support/Patience.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

class ZelvoOneFolderTest : public ::testing::Test {
  protected:
    // A Zelvo that is up, its editor page loaded.
    static std::unique_ptr<ZelvoProgram> startFirst() {
        auto zelvo = std::make_unique<ZelvoProgram>();
        EXPECT_FALSE(zelvo->waitForLine("webView:didFinishLoadForFrame").empty()) << "no page";
        return zelvo;
    }
    static std::set<std::string> namesIn(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
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
    ZelvoProgram second;
    std::string told = second.waitForLine("in use");
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
    ASSERT_TRUE(second.waitForEnd());
    EXPECT_EQ(second.exitStatus(), 1);

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
        ZelvoProgram second;
        std::string told = second.waitForLine("already running");
        EXPECT_NE(told.find(data.string()), std::string::npos) << told;
        ASSERT_TRUE(second.waitForEnd());
        EXPECT_EQ(second.exitStatus(), 1);
    }
    EXPECT_FALSE(fs::exists(other.path() / "database"));
    EXPECT_FALSE(first->waitForLine("messageForSecondLaunch").empty());

    ZelvoProgram same;
    ASSERT_TRUE(same.waitForEnd());
    EXPECT_EQ(same.exitStatus(), 0);
    EXPECT_TRUE(first->running());
}

}  // namespace
