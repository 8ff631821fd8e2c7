#include <gtest/gtest.h>

#include "platform/foundation/Log.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Backends.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/SavePanel.h"
#include "platform/ui/StyledTextView.h"

using namespace platform;

TEST(SavePanel, HeadlessRunsCancelAndAChoiceIsForgottenWhenTheNextRunIsCancelled) {
    SavePanel panel;
    EXPECT_EQ(panel.runModal(), SavePanel::ModalResponseCancel);
    EXPECT_FALSE(panel.path());

    std::optional<std::string> answer = "/tmp/a.txt";
    ScopedBackends installed;
    installed->savePanels = [&](SavePanel& shown) {
        // The presenter sees the panel as set up, its accessory included.
        EXPECT_EQ(shown.nameFieldStringValue(), "name");
        EXPECT_NE(shown.accessoryView(), nullptr);
        return answer;
    };
    panel.setNameFieldStringValue("name");
    panel.setAccessoryView(std::make_shared<View>(Rect(0, 0, 10, 10)));
    EXPECT_EQ(panel.runModal(), SavePanel::ModalResponseOK);
    EXPECT_EQ(panel.path(), "/tmp/a.txt");
    answer = "";
    EXPECT_EQ(panel.runModal(), SavePanel::ModalResponseCancel);
    EXPECT_FALSE(panel.path());
}

TEST(Alert, HeadlessAlertsAreLoggedAndButtonsAnswerByPosition) {
    {
        LogCapture log;
        Alert alert;
        alert.setMessageText("请选择一种格式!");
        EXPECT_EQ(alert.runModal(), Alert::FirstButtonReturn);
        EXPECT_TRUE(log.contains("请选择一种格式!"));
        EXPECT_EQ(alert.buttons(), std::vector<std::string>{"OK"}) << "an alert has a button";
    }
    int pressed = 1;
    ScopedBackends installed;
    installed->alerts = [&](const Alert&) { return pressed; };
    Alert alert;
    alert.addButtonWithTitle("Save");
    alert.addButtonWithTitle("Cancel");
    EXPECT_EQ(alert.runModal(), Alert::FirstButtonReturn + 1);
    pressed = 7;  // no such button: the first
    EXPECT_EQ(alert.runModal(), Alert::FirstButtonReturn);
}

TEST(ComboBox, TheUsersChoiceChangesTheTextAndSendsTheActionOnce) {
    ComboBox box;
    box.addItemsWithObjectValues({".txt", ".html"});
    box.setStringValue(".txt");
    int actions = 0;
    box.setAction([&](Control&) { ++actions; });
    box.userEdited(".html");
    box.userEdited(".html");
    EXPECT_EQ(box.stringValue(), ".html");
    EXPECT_EQ(actions, 1);
}

TEST(StyledTextView, UserEditsKeepTheViewsCopyInStep) {
    StyledTextView view;
    view.showText(u"a\U0001D11Eb", Range{0, 0}, {}, {});
    view.userReplacedCharacters(Range{1, 2}, u"xy");
    EXPECT_EQ(view.text(), u"axyb");
    EXPECT_EQ(view.selectedRange(), (Range{3, 0}));
    view.userReplacedCharacters(Range{3, 9}, u"");  // past the end: cut to the text
    EXPECT_EQ(view.text(), u"axy");
    double seen = -1;
    view.setScrollHandler([&](double top) { seen = top; });
    view.userScrolled(26);
    EXPECT_EQ(seen, 26);
    EXPECT_EQ(view.visibleTop(), 26);
    EXPECT_FALSE(view.userCommand("insertNewline:"));
}
