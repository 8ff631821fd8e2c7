#include <gtest/gtest.h>

#include "FakeEditorPage.h"

namespace {

using platform::NavigationAction;
using platform::NavigationPolicy;

TEST(EditorPanels, WordCountsFollowTheInfoPanel) {
    EditorHarness h;
    RecordingOutputs outputs;
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>ᠨᠢᠭᠡ ᠬᠣᠶᠠᠷ ᠭᠤᠷᠪᠠ</p>"));
    EXPECT_TRUE(outputs.wordCounts.empty());  // no main window known yet

    outputs.info = true;
    platform::NotificationCenter::defaultCenter().postNotificationName(
        NOTI_NOTE_INFOS_SWITCH_CHANGED, static_cast<zelvo::PanelOutputs*>(&outputs));
    EXPECT_TRUE(h.editor->infoSwitch());
    EXPECT_EQ(outputs.wordCounts, std::vector<std::string>{"3"});

    // Switching to an empty note keeps the last count; emptying the note shows 0.
    h.editor->noteSelectionChanged(EditorHarness::note(2, ""));
    EXPECT_EQ(outputs.wordCounts.size(), 1u);
    h.editor->noteSelectionChanged(EditorHarness::note(3, "<p>a b</p>"));
    EXPECT_EQ(outputs.wordCounts.back(), "2");
    h.type("");
    EXPECT_EQ(outputs.wordCounts.back(), "0");

    outputs.info = false;
    platform::NotificationCenter::defaultCenter().postNotificationName(
        NOTI_NOTE_INFOS_SWITCH_CHANGED, static_cast<zelvo::PanelOutputs*>(&outputs));
    size_t before = outputs.wordCounts.size();
    h.type("<p>x y z</p>");
    EXPECT_EQ(outputs.wordCounts.size(), before);
}

TEST(EditorPanels, SelectedTextGoesToTheUnicodePanelWhileItIsOpen) {
    EditorHarness h;
    RecordingOutputs outputs;
    h.page.selection = "ᠠ";
    h.web->postMessage("selectionChanged", "ᠠ");
    EXPECT_EQ(h.editor->selectedString(), "ᠠ");
    EXPECT_TRUE(outputs.unicodeStrings.empty());

    // The selection made before the panel opened shows as it opens.
    outputs.unicode = true;
    platform::NotificationCenter::defaultCenter().postNotificationName(
        NOTI_NOTE_UNICODE_SWITCH_CHANGED, static_cast<zelvo::PanelOutputs*>(&outputs));
    EXPECT_EQ(outputs.unicodeStrings, std::vector<std::string>{"ᠠ"});
    h.web->postMessage("selectionChanged", "ᠮᠣ\u180B");
    h.web->postMessage("selectionChanged", "");  // a caret keeps the last code points
    EXPECT_EQ(outputs.unicodeStrings, (std::vector<std::string>{"ᠠ", "ᠮᠣ\u180B"}));
    EXPECT_EQ(h.editor->mainWindowController(), &outputs);
}

TEST(EditorNavigation, OnlyTheEditorPageLoadsAndWebAddressesOpenOutside) {
    EditorHarness h;
    EXPECT_EQ(h.web->loadedURLs, std::vector<std::string>{"file:///opt/zelvo/editor.html"});
    EXPECT_EQ(
        h.web->offerNavigation("file:///opt/zelvo/editor.html", NavigationAction::Kind::Reload),
        NavigationPolicy::Allow);
    EXPECT_EQ(h.web->offerNavigation("file:///opt/zelvo/editor.html#top"), NavigationPolicy::Allow);
    EXPECT_EQ(h.web->offerNavigation("file:///home/user/dropped.html"), NavigationPolicy::Ignore);
    EXPECT_EQ(h.web->offerNavigation("javascript:alert(1)"), NavigationPolicy::Ignore);
    EXPECT_EQ(h.web->offerNavigation("about:blank"), NavigationPolicy::Ignore);
    EXPECT_TRUE(h.openedURLs.empty());
    for (std::string url :
         {"https://example.org/a?b=1", "http://x.mn", "mailto:a@b.mn", "HTTPS://upper.example"})
        EXPECT_EQ(h.web->offerNavigation(url), NavigationPolicy::Ignore) << url;
    EXPECT_EQ(h.openedURLs, (std::vector<std::string>{"https://example.org/a?b=1", "http://x.mn",
                                                      "mailto:a@b.mn", "HTTPS://upper.example"}));
}

TEST(EditorNavigation, BeforeTheFirstLoadOtherFilesAreRefusedToo) {
    EditorHarness h(/*load=*/false);
    EXPECT_EQ(h.web->offerNavigation("file:///opt/zelvo/editor.html"), NavigationPolicy::Allow);
    EXPECT_EQ(h.web->offerNavigation("file:///etc/passwd"), NavigationPolicy::Ignore);
}

TEST(EditorBridge, LinkImageAndColourArgumentsAreEscaped) {
    EditorHarness h;
    h.web->postMessage("selectionChanged", "ᠬᠣᠯᠪᠣᠭᠠᠰᠤ");
    h.linkAnswer =
        std::pair<std::string, std::string>{"t\"itle\\", "https://x.org/\");alert(1);//"};
    h.editor->insertLink();
    ASSERT_EQ(h.linkDialogTitles, std::vector<std::string>{"ᠬᠣᠯᠪᠣᠭᠠᠰᠤ"});
    ASSERT_EQ(h.page.callNames, (std::vector<std::string>{"prepareInsert", "insertLink"}));
    EXPECT_EQ(h.page.calls[1],
              (std::vector<std::string>{"https://x.org/\");alert(1);//", "t\"itle\\"}));

    // A cancelled dialog inserts nothing.
    h.linkAnswer.reset();
    h.editor->insertLink();
    EXPECT_EQ(h.page.callNames.back(), "prepareInsert");

    h.chosenImage.reset();
    h.editor->insertImage();
    EXPECT_EQ(h.page.callNames.back(), "prepareInsert");
    h.chosenImage = "/home/u/My \"pics\"/ᠵᠢᠷᠤᠭ #1.png";
    h.editor->insertImage();
    ASSERT_EQ(h.page.callNames.back(), "insertImage");
    std::string url = "file:///home/u/My%20%22pics%22/ᠵᠢᠷᠤᠭ%20%231.png";
    EXPECT_EQ(h.page.calls.back(), (std::vector<std::string>{url, url}));

    h.editor->textColor();
    EXPECT_EQ(h.page.callNames.back(), "prepareInsert");  // closed without a colour
    h.pickedColour = "#1e2028";
    h.editor->textColor();
    EXPECT_EQ(h.page.callNames.back(), "setTextColor");
    EXPECT_EQ(h.page.calls.back(), std::vector<std::string>{"#1e2028"});

    h.editor->setContentFont();
    EXPECT_EQ(h.page.callNames.back(), "prepareInsert");  // closed without a font
    h.pickedFont = std::pair<std::string, double>{"Noto \"Sans\" Mongolian", 14.5};
    h.editor->setContentFont();
    EXPECT_EQ(h.page.callNames.back(), "setFont");
    EXPECT_EQ(h.page.calls.back(), (std::vector<std::string>{"Noto \"Sans\" Mongolian", "14.5"}));

    h.editor->bgColor();
    EXPECT_EQ(h.page.callNames.back(), "setBackgroundColor");
    EXPECT_EQ(h.page.calls.back(), std::vector<std::string>{"#ffff66"});

    h.editor->setPlaceholder("say \"hi\"\\");
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>x</p>"));
    h.web->finishLoad();
    EXPECT_EQ(h.page.placeholder, "say \"hi\"\\");
}

TEST(EditorBridge, CommandsSendTheirStatements) {
    EditorHarness h;
    h.web->scripts.clear();
    h.editor->setBold();
    h.editor->heading1();
    h.editor->heading(7);
    h.editor->removeFormat();
    h.editor->setStrikethrough();
    h.editor->undo();
    h.editor->setFooterHeight(12.5f);
    h.editor->setContentHeight(3);
    EXPECT_EQ(h.web->scripts,
              (std::vector<std::string>{"zelvo_editor.setBold();", "zelvo_editor.setHeading('h1');",
                                        "zelvo_editor.removeFormating();",
                                        "zelvo_editor.setStrikeThrough();", "zelvo_editor.undo();",
                                        "zelvo_editor.setFooterHeight(\"12.500000\");",
                                        "zelvo_editor.contentHeight = 3.000000;"}));

    h.page.html = "<p>source</p>";
    h.editor->showHTMLSource();
    EXPECT_EQ(h.sourcesShown, std::vector<std::string>{"<p>source</p>"});
    h.page.answersHTML = false;
    h.editor->showHTMLSource();
    EXPECT_EQ(h.sourcesShown.size(), 1u);
}

}  // namespace
