#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "notes/UI/AlertWindowController.h"
#include "notes/UI/Extend/BackgroundView.h"
#include "notes/UI/MButton.h"
#include "notes/UI/MTextField.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"

using zelvo::AlertWindowController;

namespace {

struct RecordingDelegate : zelvo::AlertWindowControllerDelegate {
    void didClickOKButton(const std::string& title, const std::string& content) override {
        reports.emplace_back(title, content);
        modalWindowAtReport = platform::Application::sharedApplication().modalWindow();
    }
    std::vector<std::pair<std::string, std::string>> reports;
    platform::Window* modalWindowAtReport = nullptr;
};

class LinkDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog = std::make_shared<AlertWindowController>();
        dialog->setDelegate(&delegate);
        dialog->setTitleString("ᠮᠣᠩᠭᠣᠯ");
    }
    void type(zelvo::MTextField* field, const std::string& text) { field->userEdited(text); }

    platform::LogCapture log;
    RecordingDelegate delegate;
    std::shared_ptr<AlertWindowController> dialog;
};

TEST_F(LinkDialogTest, FieldsStartFromTheGivenStringsOnAWhiteBackground) {
    platform::Window* window = dialog->window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog->titleTextFiled()->stringValue(), "ᠮᠣᠩᠭᠣᠯ");
    EXPECT_EQ(dialog->contentTextFiled()->stringValue(), "");
    EXPECT_EQ(dialog->bgView()->backgroundColor(), platform::Color::whiteColor());
    // The fields are turned for vertical text and set in the display font.
    EXPECT_EQ(dialog->titleTextFiled()->boundsRotation(), 90.0);
    ASSERT_TRUE(dialog->okBtn()->font().has_value());
    EXPECT_EQ(dialog->okBtn()->font()->pointSize(), 14.0);

    auto other = AlertWindowController::alertWithTitle("text", "https://example.org");
    other->window();
    EXPECT_EQ(other->contentTextFiled()->stringValue(), "https://example.org");
}

TEST_F(LinkDialogTest, OkIsEnabledOnceBothFieldsHoldTextAndStaysSo) {
    dialog->window();
    dialog->setTitleString(std::nullopt);
    EXPECT_FALSE(dialog->okBtn()->isEnabled());
    type(dialog->contentTextFiled(), "https://example.org");
    // The title field was filled before the window loaded; the first edit sees both.
    EXPECT_TRUE(dialog->okBtn()->isEnabled());
    type(dialog->contentTextFiled(), "");
    EXPECT_TRUE(dialog->okBtn()->isEnabled());
    EXPECT_EQ(log.lines().back(), "-[AlertWindowController controlTextDidChange:]");

    auto empty = std::make_shared<AlertWindowController>();
    empty->window();
    type(empty->titleTextFiled(), "a");
    EXPECT_FALSE(empty->okBtn()->isEnabled());
    type(empty->titleTextFiled(), "");
    type(empty->contentTextFiled(), "b");
    EXPECT_FALSE(empty->okBtn()->isEnabled());
    type(empty->titleTextFiled(), "a");
    EXPECT_TRUE(empty->okBtn()->isEnabled());
}

TEST_F(LinkDialogTest, OkReportsBothFieldsInOrderBeforeTheModalRunReturnsThenCloses) {
    platform::Window* window = dialog->window();
    type(dialog->contentTextFiled(), "https://example.org/ᠨ");
    platform::RunLoop::mainRunLoop().performBlock([&] { dialog->okBtn()->performClick(); });
    platform::Application::sharedApplication().runModalForWindow(*window);
    ASSERT_EQ(delegate.reports.size(), 1u);
    EXPECT_EQ(delegate.reports[0].first, "ᠮᠣᠩᠭᠣᠯ");
    EXPECT_EQ(delegate.reports[0].second, "https://example.org/ᠨ");
    EXPECT_EQ(delegate.modalWindowAtReport, window);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(platform::Application::sharedApplication().modalWindow(), nullptr);
}

TEST_F(LinkDialogTest, CloseButtonEndsTheRunAndTakesTheDialogOffTheScreen) {
    platform::Window* window = dialog->window();
    platform::RunLoop::mainRunLoop().performBlock([&] { dialog->closeBtn(); });
    platform::Application::sharedApplication().runModalForWindow(*window);
    EXPECT_TRUE(delegate.reports.empty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(log.lines().back().find("-[AlertWindowController closeBtn:] self:"),
              std::string::npos);
}

TEST_F(LinkDialogTest, TheCloseBoxEndsTheRunAndOkWithoutDelegateReportsNothing) {
    platform::Window* window = dialog->window();
    platform::RunLoop::mainRunLoop().performBlock([&] { window->performClose(); });
    platform::Application::sharedApplication().runModalForWindow(*window);
    EXPECT_FALSE(window->isVisible());

    dialog->setDelegate(nullptr);
    window->makeKeyAndOrderFront();
    platform::RunLoop::mainRunLoop().performBlock([&] { dialog->OKBtn(); });
    platform::Application::sharedApplication().runModalForWindow(*window);
    EXPECT_TRUE(delegate.reports.empty());
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
