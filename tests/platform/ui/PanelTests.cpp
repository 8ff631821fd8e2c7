#include <gtest/gtest.h>

#include "platform/ui/Backends.h"
#include "platform/ui/ColorPanel.h"
#include "platform/ui/FontPanel.h"
#include "platform/ui/OpenPanel.h"

namespace {

using platform::OpenPanel;

struct PresenterScope {
    explicit PresenterScope(OpenPanel::Presenter presenter) {
        installed->openPanels = std::move(presenter);
    }
    platform::ScopedBackends installed;
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

TEST(ColorPanel, PicksOnlyWithADesktopAndNamesColoursInHex) {
    platform::ColorPanel& panel = platform::ColorPanel::sharedColorPanel();
    EXPECT_FALSE(panel.runModal());
    {
        platform::ScopedBackends installed;
        installed->colorPanels = [](const platform::ColorPanel&) {
            return platform::Color::calibratedRGB(1, 0.5, 0);
        };
        EXPECT_EQ(platform::hexString(*panel.runModal()), "#ff8000");
        EXPECT_EQ(platform::hexString(panel.color()), "#ff8000");
    }
    EXPECT_EQ(platform::hexString(platform::Color::calibratedRGB(-1, 2, 0.118)), "#00ff1e");
}

TEST(FontPanel, AChoiceNeedsAFamilyAndASize) {
    platform::FontPanel& panel = platform::FontPanel::sharedFontPanel();
    EXPECT_FALSE(panel.runModal());
    platform::FontPanel::Choice offered{"Noto Sans Mongolian", 18};
    platform::ScopedBackends installed;
    installed->fontPanels = [&] { return std::optional(offered); };
    ASSERT_TRUE(panel.runModal());
    EXPECT_EQ(panel.runModal()->pointSize, 18);
    offered.pointSize = 0;
    EXPECT_FALSE(panel.runModal());
    offered = {"", 12};
    EXPECT_FALSE(panel.runModal());
}

}  // namespace
