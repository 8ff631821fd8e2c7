#include <gtest/gtest.h>

#include "platform/ui/OpenPanel.h"

namespace {

using platform::OpenPanel;

struct PresenterScope {
    explicit PresenterScope(OpenPanel::Presenter presenter) { OpenPanel::setPresenter(presenter); }
    ~PresenterScope() { OpenPanel::setPresenter(nullptr); }
};

TEST(OpenPanel, WithoutADesktopEveryRunIsCancelled) {
    OpenPanel panel;
    EXPECT_EQ(panel.runModal(), OpenPanel::ModalResponseCancel);
    EXPECT_TRUE(panel.paths().empty());
}

TEST(OpenPanel, OnlyAllowedTypesAndOneFileUnlessMoreAreAllowed) {
    std::vector<std::string> offered;
    PresenterScope scope([&](const OpenPanel&) { return std::optional(offered); });
    OpenPanel panel;
    panel.setAllowedFileTypes({"png", "PNG", "jpg"});

    offered = {"/p/a.txt", "/p/b.PNG", "/p/c.jpg"};
    EXPECT_EQ(panel.runModal(), OpenPanel::ModalResponseOK);
    EXPECT_EQ(panel.paths(), std::vector<std::string>{"/p/b.PNG"});

    offered = {"/p/typed-name", "/p/d.Png"};
    EXPECT_EQ(panel.runModal(), OpenPanel::ModalResponseCancel);
    EXPECT_TRUE(panel.paths().empty());

    panel.setAllowsMultipleSelection(true);
    offered = {"/p/b.png", "/p/c.jpg"};
    EXPECT_EQ(panel.runModal(), OpenPanel::ModalResponseOK);
    EXPECT_EQ(panel.paths().size(), 2u);
}

TEST(OpenPanel, ACancelledRunForgetsTheLastChoice) {
    std::optional<std::vector<std::string>> answer = std::vector<std::string>{"/p/a.gif"};
    PresenterScope scope([&](const OpenPanel&) { return answer; });
    OpenPanel panel;
    EXPECT_EQ(panel.runModal(), OpenPanel::ModalResponseOK);
    answer.reset();
    EXPECT_EQ(panel.runModal(), OpenPanel::ModalResponseCancel);
    EXPECT_TRUE(panel.paths().empty());
}

}  // namespace
