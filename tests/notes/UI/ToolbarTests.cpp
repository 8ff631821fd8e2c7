#include <gtest/gtest.h>

#include "FakeEditorPage.h"
#include "notes/UI/ToolbarView.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Button.h"

namespace {

std::vector<std::string> imagesOf(const zelvo::ToolbarView& toolbar) {
    std::vector<std::string> names;
    for (const auto& item : toolbar.items()) {
        auto* button = dynamic_cast<platform::Button*>(item.get());
        names.push_back(button && button->imageName() ? *button->imageName() : "?");
    }
    return names;
}

TEST(Toolbar, AnEmptyListGivesAll24ButtonsInPositionOrder) {
    EditorHarness h;
    zelvo::ToolbarView& toolbar = *h.editor->toolbar().view();
    EXPECT_EQ(imagesOf(toolbar), (std::vector<std::string>{
                                     "Font",          "Bold",         "italic",      "E_X1", "E_X2",
                                     "strikethrough", "underline",    "clearformat", "undo", "redo",
                                     "align-left",    "align-center", "align-right", "E_H1", "E_H2",
                                     "textColor",     "bgColor",      "ul",          "ol",   "hr",
                                     "image",         "link",         "unlink",      "code"}));
    EXPECT_EQ(h.editor->toolbar().enabledToolbarItems(),
              std::vector<std::string>{RichTextEditorToolbarAll});
    const auto& items = toolbar.items();
    EXPECT_EQ(items.front()->frame(), platform::Rect(10, 0, 30, 30));
    EXPECT_EQ(items.back()->frame(), platform::Rect(700, 0, 30, 30));
    // Rebuilding (the page load builds again) replaces the buttons rather than piling them up.
    EXPECT_EQ(toolbar.subviews().size(), 24u);

    auto* strike = dynamic_cast<platform::Button*>(items[5].get());
    // The glyph of the "iconfont" face, only where that face is installed.
    EXPECT_EQ(strike->title(),
              platform::Font::fontWithName("iconfont", 18) ? "\uE610" : std::string());
    EXPECT_FALSE(strike->isBordered());
    auto* font = dynamic_cast<platform::Button*>(items[0].get());
    EXPECT_EQ(font->title(), "");

    // A button sends its command to the page.
    h.web->scripts.clear();
    dynamic_cast<platform::Button*>(items[1].get())->performClick();
    dynamic_cast<platform::Button*>(items[13].get())->performClick();
    EXPECT_EQ(h.web->scripts, (std::vector<std::string>{"zelvo_editor.setBold();",
                                                        "zelvo_editor.setHeading('h1');"}));
}

TEST(Toolbar, CustomListsKeepTheirOrderAndSkipWhatNamesNoButton) {
    EditorHarness h;
    h.editor->toolbar().setEnabledToolbarItems(
        std::vector<std::string>{RichTextEditorToolbarRedo, RichTextEditorToolbarBold});
    zelvo::ToolbarView& toolbar = *h.editor->toolbar().view();
    EXPECT_EQ(imagesOf(toolbar), (std::vector<std::string>{"redo", "Bold"}));
    EXPECT_EQ(toolbar.items()[0]->frame().origin.x, 10);
    EXPECT_EQ(toolbar.items()[1]->frame().origin.x, 40);
    EXPECT_EQ(toolbar.subviews().size(), 2u);

    h.editor->toolbar().setEnabledToolbarItems(std::vector<std::string>{
        "toolbaritem.nonsense", RichTextEditorToolbarH3, RichTextEditorToolbarQuickLink,
        RichTextEditorToolbarUndo, RichTextEditorToolbarUndo, RichTextEditorToolbarViewSource});
    EXPECT_EQ(imagesOf(toolbar), (std::vector<std::string>{"undo", "code"}));
    EXPECT_EQ(toolbar.items()[1]->frame(), platform::Rect(40, 0, 30, 30));
}

TEST(Toolbar, NoneGivesNoButtonsAndStaysAsItIs) {
    EditorHarness h;
    h.editor->toolbar().setEnabledToolbarItems(std::vector<std::string>{RichTextEditorToolbarNone});
    EXPECT_TRUE(h.editor->toolbar().view()->items().empty());
    EXPECT_TRUE(h.editor->toolbar().view()->subviews().empty());
    EXPECT_EQ(h.editor->toolbar().enabledToolbarItems(),
              std::vector<std::string>{RichTextEditorToolbarNone});
    h.editor->toolbar().setEnabledToolbarItems(std::nullopt);
    EXPECT_EQ(h.editor->toolbar().view()->items().size(), 24u);

    auto extra = std::make_shared<platform::Button>();
    h.editor->toolbar().addCustomToolbarItem(extra);
    EXPECT_EQ(h.editor->toolbar().view()->items().size(), 25u);
    EXPECT_EQ(extra->frame(), platform::Rect(730, 0, 30, 30));
    h.editor->toolbar().enableToolbarItems(false);
    EXPECT_FALSE(extra->isEnabled());
}

TEST(Toolbar, PaintsItsDarkBackground) {
    zelvo::ToolbarView toolbar(platform::Rect(0, 0, 60, 30));
    auto context = platform::GraphicsContext::imageContext(60, 30);
    toolbar.displayInContext(*context);
    platform::Color pixel = context->makeImage().pixel(30, 15);
    EXPECT_NEAR(pixel.red, 0.118, 0.01);
    EXPECT_NEAR(pixel.green, 0.125, 0.01);
    EXPECT_NEAR(pixel.blue, 0.157, 0.01);
}

TEST(Toolbar, PageStatesGiveTheSelectedLinkAndImageAndTheEnabledItems) {
    EditorHarness h;
    zelvo::EditorToolbar& toolbar = h.editor->toolbar();
    toolbar.updateToolBarWithButtonName(
        "bold,link:https://example.org/a%20b,link-title:%E1%A0%AE+x%2B1,italic,"
        "image:file:///tmp/p.png,image-alt:a+b");
    EXPECT_EQ(toolbar.editorItemsEnabled(),
              (std::vector<std::string>{"bold", "link", "italic", "image"}));
    // Addresses stand as the page sent them; titles and alternative texts are decoded, whatever
    // the order of the states.
    EXPECT_EQ(toolbar.selectedLinkURL(), "https://example.org/a%20b");
    EXPECT_EQ(toolbar.selectedLinkTitle(), "ᠮ x+1");
    EXPECT_EQ(toolbar.selectedImageURL(), "file:///tmp/p.png");
    EXPECT_EQ(toolbar.selectedImageAlt(), "a b");

    // A list without them clears all four.
    toolbar.updateToolBarWithButtonName("underline");
    EXPECT_EQ(toolbar.editorItemsEnabled(), std::vector<std::string>{"underline"});
    EXPECT_EQ(toolbar.selectedLinkURL(), std::nullopt);
    EXPECT_EQ(toolbar.selectedLinkTitle(), std::nullopt);
    EXPECT_EQ(toolbar.selectedImageURL(), std::nullopt);
    EXPECT_EQ(toolbar.selectedImageAlt(), std::nullopt);
}

TEST(Toolbar, UrlFormatDecodesPlusThenPercentEscapesAsUtf8) {
    using zelvo::EditorToolbar;
    EXPECT_EQ(EditorToolbar::stringByDecodingURLFormat("a+b%20c%2b%E1%A0%AE"), "a b c+ᠮ");
    EXPECT_EQ(EditorToolbar::stringByDecodingURLFormat(""), "");
    // A broken escape, or bytes that are no UTF-8, decode to nothing rather than to garbage.
    for (const char* broken : {"%", "%4", "%zz", "a%E1%A0", "%C0%AF", "%FF"})
        EXPECT_EQ(EditorToolbar::stringByDecodingURLFormat(broken), std::nullopt) << broken;
}

}  // namespace
