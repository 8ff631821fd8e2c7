#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ShellTestSupport.h"
#include "notes/UI/AppDelegate.h"
#include "notes/UI/MainWindowController.h"
#include "platform/ui/Application.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Menu.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewController.h"
#include "tests/support/FileContents.h"
#include "tests/support/RecordedAlerts.h"

namespace {

class AppDelegateTest : public ::testing::Test {
  protected:
    void SetUp() override { app.setDelegate(&delegate); }
    void TearDown() override {
        app.setDelegate(nullptr);
        app.setMainMenu(nullptr);
    }

    ZelvoFolders folders;
    platform::Application& app = platform::Application::sharedApplication();
    zelvo::AppDelegate delegate;
};

TEST_F(AppDelegateTest, LaunchPreparesTheDatabaseAndShowsTheMainWindow) {
    app.finishLaunching();
    EXPECT_TRUE(std::filesystem::exists(folders.folder().path() / "database" / "note.db"));
    ASSERT_NE(delegate.window(), nullptr);
    platform::Window* window = delegate.window()->window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isKeyWindow());
    // A second launch notice keeps the one controller.
    zelvo::MainWindowController* first = delegate.window();
    app.finishLaunching();
    EXPECT_EQ(delegate.window(), first);
    EXPECT_FALSE(delegate.applicationShouldTerminateAfterLastWindowClosed());
}

// Random bytes where the notes database belongs: the user is told at start, with the path and the
// reason, and the file is never changed or replaced.
TEST_F(AppDelegateTest, AnUnreadableDatabaseIsReportedAtStartAndLeftAlone) {
    std::filesystem::path file = folders.folder().path() / "database" / "note.db";
    std::filesystem::create_directories(file.parent_path());
    std::string garbage;
    for (int i = 0; i < 2048; ++i) garbage += char((i * 31 + 7) % 256);
    std::ofstream(file, std::ios::binary) << garbage;
    RecordedAlerts alerts;
    app.finishLaunching();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].messageText(), "The notes database cannot be read.");
    EXPECT_TRUE(alerts.shown[0].informativeText().starts_with(file.string() +
                                                              "\n\nfile is not a database"));
    // Nor does "+" fail in silence.
    delegate.window()->sendActionToPanels("addNote:");
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_EQ(alerts.shown[1].informativeText(), "file is not a database");
    EXPECT_EQ(fileContents(file.string()), garbage);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);
}

TEST_F(AppDelegateTest, ReopeningBringsBackTheClosedWindowWithItsState) {
    app.finishLaunching();
    zelvo::MainWindowController& controller = *delegate.window();
    controller.menuExpandLog();
    ASSERT_TRUE(controller.unicodeExpanded());
    EXPECT_FALSE(delegate.applicationShouldHandleReopen(true));

    controller.window()->performClose();
    EXPECT_FALSE(controller.window()->isVisible());
    app.reopen();
    EXPECT_TRUE(controller.window()->isVisible());
    EXPECT_TRUE(controller.unicodeExpanded());
    EXPECT_EQ(controller.unicodeView()->frame().height(), 96);
}

TEST_F(AppDelegateTest, MainMenuItemsSendTheirActionsToTheWindowAndPanels) {
    app.finishLaunching();
    std::shared_ptr<platform::Menu> bar = delegate.makeMainMenu();
    auto find = [&](const std::string& title) -> platform::MenuItem* {
        for (std::size_t i = 0; i < bar->numberOfItems(); ++i)
            if (auto& sub = bar->itemAtIndex(i)->submenu())
                if (platform::MenuItem* item = sub->itemWithTitle(title)) return item;
        return nullptr;
    };
    struct Expected {
        const char* title;
        const char* action;
    };
    for (const Expected& e :
         {Expected{"Save", "saveDocument:"}, Expected{"Save As…", "saveDocumentAs:"},
          Expected{"Preview", "preview:"}, Expected{"Notes", "menuExpandNaivigator:"},
          Expected{"Unicode", "menuExpandLog:"}, Expected{"Word Count", "menuExpandInfo:"},
          Expected{"Quit Zelvo", "terminate:"}}) {
        platform::MenuItem* item = find(e.title);
        ASSERT_NE(item, nullptr) << e.title;
        EXPECT_EQ(item->action(), e.action);
    }
    find("Word Count")->handler()();
    EXPECT_TRUE(delegate.window()->infoExpanded());
    EXPECT_TRUE(delegate.window()->segment()->isSelectedForSegment(2));

    int saved = 0;
    delegate.window()->editorViewController()->registerAction("saveDocument:", [&] { ++saved; });
    find("Save")->handler()();
    EXPECT_EQ(saved, 1);
}

TEST_F(AppDelegateTest, WebSiteOpensTheLocalPage) {
    struct Desktop : platform::ApplicationBackend {
        std::vector<std::string>* opened;
        explicit Desktop(std::vector<std::string>* list) : opened(list) {}
        int run(int, char**) override { return 0; }
        void terminate() override {}
        void mainMenuChanged() override {}
        void menuBarVisibilityChanged() override {}
        bool openURL(const std::string& url) override {
            opened->push_back(url);
            return true;
        }
    };
    std::vector<std::string> opened;
    {
        platform::ScopedBackends installed;
        installed->application = std::make_shared<Desktop>(&opened);
        delegate.showWebSite();
    }
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "file://" + std::string(ZELVO_TEST_RESOURCES) + "/zelvo.html");
}

}  // namespace
