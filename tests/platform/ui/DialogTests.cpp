#include <gtest/gtest.h>

#include "platform/ui/Alert.h"
#include "platform/ui/PopUpButton.h"
#include "platform/ui/SavePanel.h"

namespace {

// Puts a runner in place for one test and the former one back after.
template <typename Panel>
class ScopedRunner {
  public:
    explicit ScopedRunner(typename Panel::Runner runner)
        : m_old(Panel::setRunner(std::move(runner))) {}
    ~ScopedRunner() { Panel::setRunner(std::move(m_old)); }

  private:
    typename Panel::Runner m_old;
};

TEST(Dialogs, AlertsAnswerTheChosenButtonByPlaceAndFallBackToTheFirst) {
    platform::Alert alert;
    alert.setMessageText("Delete the note?");
    EXPECT_EQ(alert.buttonTitles(), std::vector<std::string>{"OK"});
    alert.addButtonWithTitle("Delete");
    alert.addButtonWithTitle("Cancel");
    EXPECT_EQ(alert.runModal(), platform::Alert::AlertFirstButtonReturn);  // nobody to ask
    {
        ScopedRunner<platform::Alert> runner([](const platform::Alert& a) {
            EXPECT_EQ(a.messageText(), "Delete the note?");
            return 1;
        });
        EXPECT_EQ(alert.runModal(), platform::Alert::AlertFirstButtonReturn + 1);
    }
    ScopedRunner<platform::Alert> wild([](const platform::Alert&) { return 7; });
    EXPECT_EQ(alert.runModal(), platform::Alert::AlertFirstButtonReturn);
}

TEST(Dialogs, SavePanelsReportOnlyAChoiceThatWasMade) {
    auto panel = platform::SavePanel::savePanel();
    EXPECT_EQ(panel->runModal(), platform::SavePanel::ModalResponseCancel);
    {
        ScopedRunner<platform::SavePanel> runner(
            [](platform::SavePanel&) { return std::optional<std::string>("/tmp/a.txt"); });
        EXPECT_EQ(panel->runModal(), platform::SavePanel::ModalResponseOK);
        EXPECT_EQ(panel->url(), std::optional<std::string>("/tmp/a.txt"));
    }
    // An empty path is a cancel, and the old choice is gone.
    ScopedRunner<platform::SavePanel> empty(
        [](platform::SavePanel&) { return std::optional<std::string>(""); });
    EXPECT_EQ(panel->runModal(), platform::SavePanel::ModalResponseCancel);
    EXPECT_EQ(panel->url(), std::nullopt);
}

TEST(Dialogs, PopUpChoicesSendTheActionOnlyOnChange) {
    platform::PopUpButton popUp;
    int actions = 0;
    popUp.setAction([&](platform::Control&) { ++actions; });
    EXPECT_EQ(popUp.indexOfSelectedItem(), -1);
    popUp.addItemsWithTitles({".txt", ".html", ".rtf", ".pdf"});
    EXPECT_EQ(popUp.titleOfSelectedItem(), std::optional<std::string>(".txt"));
    popUp.userSelected(3);
    popUp.userSelected(3);
    popUp.userSelected(9);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(popUp.titleOfSelectedItem(), std::optional<std::string>(".pdf"));
    popUp.selectItemAtIndex(-4);
    EXPECT_EQ(popUp.titleOfSelectedItem(), std::nullopt);
}

}  // namespace
