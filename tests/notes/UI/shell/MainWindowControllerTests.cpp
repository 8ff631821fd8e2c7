#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "notes/UI/EditorViewController.h"
#include "notes/UI/Extend/BackgroundView.h"
#include "notes/UI/InfoViewController.h"
#include "notes/UI/InterfaceFactory.h"
#include "notes/UI/MainWindowController.h"
#include "notes/UI/NoteNotifications.h"
#include "notes/UI/ToolbarView.h"
#include "notes/UI/UnicodeViewController.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewController.h"

using platform::Rect;
using zelvo::MainWindowController;

namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        controller = std::make_shared<MainWindowController>();
        window = controller->window();
    }
    // Makes the window the given width, keeping its height.
    void setWindowWidth(double width) {
        Rect frame = window->frame();
        frame.size.width = width;
        window->setFrame(frame, false);
    }
    double divider0() const { return *controller->container()->positionOfDivider(0); }

    ZelvoFolders folders;
    std::shared_ptr<MainWindowController> controller;
    platform::Window* window = nullptr;
};

TEST_F(MainWindowTest, BuildsFivePanelsIntoTheirContainers) {
    ASSERT_EQ(window->frame().width(), 1000);
    EXPECT_TRUE(controller->notesExpanded());
    EXPECT_FALSE(controller->unicodeExpanded());
    EXPECT_FALSE(controller->infoExpanded());
    struct Expect {
        platform::ViewController* panel;
        platform::View* container;
        const char* nibName;
    };
    for (const Expect& e :
         {Expect{controller->fileViewController(), controller->fileView(), "FileViewController"},
          Expect{controller->noteViewController(), controller->left(), "NoteViewController"},
          Expect{controller->editorViewController(), controller->editorContainer(),
                 "EditorViewController"},
          Expect{controller->unicodeViewController(), controller->unicodeView(),
                 "UnicodeViewController"},
          Expect{controller->infoViewController(), controller->infoView(), "InfoViewController"}}) {
        SCOPED_TRACE(e.nibName);
        ASSERT_NE(e.panel, nullptr);
        EXPECT_EQ(e.panel->nibName(), std::optional<std::string>(e.nibName));
        ASSERT_EQ(e.container->subviews().size(), 1u);
        EXPECT_EQ(e.container->subviews()[0].get(), e.panel->view());
        EXPECT_EQ(e.panel->view()->frame(), e.container->bounds());
    }
    EXPECT_NE(dynamic_cast<zelvo::UnicodeViewController*>(controller->unicodeViewController()),
              nullptr);
    EXPECT_NE(dynamic_cast<zelvo::InfoViewController*>(controller->infoViewController()), nullptr);
    // The closed panels start with no room.
    EXPECT_EQ(controller->unicodeView()->frame().height(), 0);
    EXPECT_EQ(controller->infoView()->frame().width(), 0);
    EXPECT_EQ(controller->container()->frame().width(), 920);
    EXPECT_EQ(divider0(), 200);
}

TEST_F(MainWindowTest, SplitViewLimitsFollowTheWindowWidth) {
    platform::SplitView& split = *controller->container();
    EXPECT_EQ(controller->constrainMinCoordinate(split, 0, 0), 200);
    EXPECT_EQ(controller->constrainMaxCoordinate(split, 999, 0), 240);
    EXPECT_EQ(controller->constrainMinCoordinate(split, 0, 1), 680);
    EXPECT_EQ(controller->constrainMaxCoordinate(split, 999, 1), 680);
    EXPECT_EQ(controller->constrainMinCoordinate(split, 0, 2), 200);
    EXPECT_EQ(controller->constrainMaxCoordinate(split, 999, 2), 300);
    setWindowWidth(1200);
    EXPECT_EQ(controller->constrainMinCoordinate(split, 0, 1), 880);
    EXPECT_EQ(controller->constrainMaxCoordinate(split, 0, 1), 880);
    EXPECT_TRUE(controller->canCollapseSubview(split, *controller->right()));
}

TEST_F(MainWindowTest, DraggingTheNoteListDividerStaysWithinItsLimits) {
    platform::SplitView& split = *controller->container();
    split.dragDivider(0, 150);
    EXPECT_EQ(divider0(), 200);
    split.dragDivider(0, 300);
    EXPECT_EQ(divider0(), 240);
    split.dragDivider(0, 220);
    EXPECT_EQ(divider0(), 220);
    EXPECT_EQ(controller->right()->frame().minX(), 221);
    EXPECT_EQ(controller->right()->frame().maxX(), 920);
    // Far past half the minimum the note list collapses, as the delegate allows.
    split.dragDivider(0, 40);
    EXPECT_EQ(divider0(), 0);
    EXPECT_TRUE(split.isSubviewCollapsed(*controller->left()));
}

TEST_F(MainWindowTest, NotesToggleMovesDividerAndSizesTheContainer) {
    controller->expandNotesAction(false);
    EXPECT_EQ(divider0(), 0);
    EXPECT_EQ(controller->container()->frame().width(), 920);
    EXPECT_FALSE(controller->notesExpanded());
    // The editor side takes the room.
    EXPECT_EQ(controller->right()->frame().width(), 919);
    controller->expandNotesAction(true);
    EXPECT_EQ(divider0(), 200);
    EXPECT_TRUE(controller->notesExpanded());

    // An open that changes nothing does nothing at all, not even the container's width.
    Rect odd = controller->container()->frame();
    odd.size.width = 700;
    controller->container()->setFrame(odd);
    controller->expandNotesAction(true);
    EXPECT_EQ(controller->container()->frame().width(), 700);
}

TEST_F(MainWindowTest, ResizingKeepsTheNoteListAtItsMinimumWidth) {
    setWindowWidth(1300);
    EXPECT_EQ(controller->left()->frame().width(), 200);
    EXPECT_EQ(controller->right()->frame().maxX(), controller->container()->frame().width());
    EXPECT_EQ(controller->container()->frame().width(), 1220);
    // Panels follow their containers.
    EXPECT_EQ(controller->editorViewController()->view()->frame().width(),
              controller->editorContainer()->frame().width());
}

TEST_F(MainWindowTest, UnicodePanelOpensUnderTheEditorAndPostsOncePerChange) {
    PostRecorder<zelvo::PanelOutputs*> posts({NOTI_NOTE_UNICODE_SWITCH_CHANGED});
    const double rightHeight = controller->right()->frame().height();
    controller->expandUnicodePannel(true);
    controller->expandUnicodePannel(true);
    ASSERT_EQ(posts.names.size(), 1u);
    EXPECT_EQ(posts.objects[0], static_cast<zelvo::PanelOutputs*>(controller.get()));
    EXPECT_TRUE(controller->unicodeExpanded());
    EXPECT_EQ(controller->unicodeView()->frame().minY(), 0);
    EXPECT_EQ(controller->unicodeView()->frame().height(), 96);
    EXPECT_EQ(controller->editorContainer()->frame().minY(), 100);
    EXPECT_EQ(controller->editorContainer()->frame().height(), rightHeight - 100);
    // The panel view inside grew with its container.
    EXPECT_EQ(controller->unicodeViewController()->view()->frame().height(), 96);

    controller->expandUnicodePannel(false);
    ASSERT_EQ(posts.names.size(), 2u);
    EXPECT_EQ(controller->editorContainer()->frame(), controller->right()->bounds());
    EXPECT_EQ(controller->unicodeView()->frame().height(), 0);
}

TEST_F(MainWindowTest, InfoPanelOpensAlongTheRightEdgeAndPostsOncePerChange) {
    PostRecorder<zelvo::PanelOutputs*> posts({NOTI_NOTE_INFOS_SWITCH_CHANGED});
    const double rightWidth = controller->right()->frame().width();
    controller->expandInfoAction(true);
    controller->expandInfoAction(true);
    ASSERT_EQ(posts.names.size(), 1u);
    EXPECT_EQ(posts.objects[0], static_cast<zelvo::PanelOutputs*>(controller.get()));
    EXPECT_EQ(controller->infoView()->frame().width(), 40);
    EXPECT_EQ(controller->infoView()->frame().minX(), rightWidth - 40);
    EXPECT_EQ(controller->rightViewContainer()->frame().width(), rightWidth - 40);
    controller->expandInfoAction(false);
    EXPECT_EQ(posts.names.size(), 2u);
    EXPECT_EQ(controller->rightViewContainer()->frame(), controller->right()->bounds());
    EXPECT_EQ(controller->infoView()->frame().minX(), rightWidth);
    EXPECT_EQ(controller->infoView()->frame().width(), 0);
}

// Every toolbar button lies inside the editor panel, none over another, at the window's size.
void expectToolbarReachable(MainWindowController& controller) {
    auto* editor = dynamic_cast<zelvo::EditorViewController*>(controller.editorViewController());
    ASSERT_NE(editor, nullptr);
    const auto& items = editor->toolbar().view()->items();
    ASSERT_EQ(items.size(), 24u);
    platform::View& panel = *editor->view();
    Rect page =
        editor->webContentView()->convertRectToView(editor->webContentView()->bounds(), nullptr);
    Rect info = controller.infoView()->convertRectToView(controller.infoView()->bounds(), nullptr);
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        Rect button = items[i]->convertRectToView(items[i]->bounds(), nullptr);
        Rect panelInWindow = panel.convertRectToView(panel.bounds(), nullptr);
        EXPECT_TRUE(panelInWindow.contains(button)) << "inside the editor panel";
        EXPECT_TRUE(button.intersection(page).isEmpty()) << "not over the page";
        if (controller.infoExpanded()) {
            EXPECT_LE(button.maxX(), info.minX());
        }
        for (size_t j = 0; j < i; ++j)
            EXPECT_TRUE(
                button.intersection(items[j]->convertRectToView(items[j]->bounds(), nullptr))
                    .isEmpty());
    }
}

TEST_F(MainWindowTest, EditorKeepsToItsContainerAndEveryToolbarButtonFits) {
    // With the word count open, opening and closing the Unicode panel leaves the editor beside
    // the word-count strip, not under it.
    controller->expandInfoAction(true);
    controller->expandUnicodePannel(true);
    controller->expandUnicodePannel(false);
    EXPECT_EQ(controller->editorContainer()->frame(), controller->rightViewContainer()->bounds());
    EXPECT_LE(controller->editorContainer()->frame().maxX(),
              controller->infoView()->frame().minX());
    expectToolbarReachable(*controller);

    // At the window's smallest size, with and without the word count, every button is there.
    setWindowWidth(window->minSize().width);
    expectToolbarReachable(*controller);
    controller->expandInfoAction(false);
    expectToolbarReachable(*controller);
    // Back at full width the buttons stand in one row again.
    setWindowWidth(1200);
    auto* editor = dynamic_cast<zelvo::EditorViewController*>(controller->editorViewController());
    EXPECT_EQ(editor->toolbar().view()->frame().height(), 30);
    EXPECT_EQ(editor->toolbar().view()->items().back()->frame(), Rect(700, 0, 30, 30));
}

TEST_F(MainWindowTest, PanelSwitchFollowsTheSegmentsAndShowsTheirImages) {
    PostRecorder<zelvo::PanelOutputs*> posts(
        {NOTI_NOTE_UNICODE_SWITCH_CHANGED, NOTI_NOTE_INFOS_SWITCH_CHANGED});
    platform::SegmentedControl& segment = *controller->segment();
    EXPECT_EQ(segment.imageForSegment(0), std::optional<std::string>("menu_left_HL"));
    segment.clickSegment(1);  // the user opens the Unicode panel
    EXPECT_TRUE(controller->unicodeExpanded());
    EXPECT_EQ(segment.imageForSegment(1), std::optional<std::string>("menu_middle_HL"));
    EXPECT_EQ(segment.imageForSegment(2), std::optional<std::string>("menu_right"));
    segment.clickSegment(0);  // and closes the notes
    EXPECT_FALSE(controller->notesExpanded());
    EXPECT_EQ(segment.imageForSegment(0), std::optional<std::string>("menu_left"));
    EXPECT_EQ(posts.names, std::vector<std::string>{NOTI_NOTE_UNICODE_SWITCH_CHANGED});

    // The menu items invert one segment and run the switch.
    controller->menuExpandInfo();
    EXPECT_TRUE(segment.isSelectedForSegment(2));
    EXPECT_TRUE(controller->infoExpanded());
    controller->menuExpandLog();
    EXPECT_FALSE(controller->unicodeExpanded());
    controller->menuExpandNaivigator();
    EXPECT_TRUE(controller->notesExpanded());
    EXPECT_EQ(posts.names.size(), 3u);

    // Unknown segments get no image and change nothing.
    controller->setSegmentImage(true, 3);
    EXPECT_EQ(segment.imageForSegment(3), std::nullopt);
}

TEST_F(MainWindowTest, CodePointsShowEachUtf16UnitWithTwoBlanks) {
    EXPECT_EQ(MainWindowController::utf8ToUnicode(u"\u182E\u1823"), u"\\U182E  \\U1823  ");
    EXPECT_EQ(MainWindowController::utf8ToUnicode(u"a"), u"\\U0061  ");
    EXPECT_EQ(MainWindowController::utf8ToUnicode(u""), u"");
    // Outside the Basic Multilingual Plane: the two surrogates.
    EXPECT_EQ(MainWindowController::utf8ToUnicode(u"\U0001F600"), u"\\UD83D  \\UDE00  ");

    auto* unicode =
        dynamic_cast<zelvo::UnicodeViewController*>(controller->unicodeViewController());
    controller->setUnicodeString(u"\u202F");
    EXPECT_EQ(unicode->unicodeTextView()->string(), "\\U202F  ");
    controller->setUnicodeString(u"");
    EXPECT_EQ(unicode->unicodeTextView()->string(), "");

    auto* info = dynamic_cast<zelvo::InfoViewController*>(controller->infoViewController());
    controller->setWordCountOfInfos("12 words");
    EXPECT_EQ(info->wordCountLabel()->stringValue(), "12 words");
}

TEST_F(MainWindowTest, ActionsReachThePanelThatAnswersThem) {
    int added = 0;
    controller->noteViewController()->registerAction("addNote:", [&] { ++added; });
    EXPECT_TRUE(controller->sendActionToPanels("addNote:"));
    EXPECT_EQ(added, 1);
    EXPECT_FALSE(controller->sendActionToPanels("noSuchAction:"));
    controller->resetWindowTitle();
    EXPECT_EQ(window->title(), "Zelvo (Untitled)");
}

TEST(InterfaceFactory, UnknownNamesGiveAnEmptyPanelAndRegisteredOnesTheirController) {
    auto placeholder = zelvo::InterfaceFactory::makeViewController("NoSuchPanel");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_TRUE(placeholder->view()->subviews().empty());
    EXPECT_TRUE(zelvo::InterfaceFactory::hasViewController("UnicodeViewController"));
    EXPECT_FALSE(zelvo::InterfaceFactory::hasViewController("NoSuchPanel"));
}

}  // namespace
