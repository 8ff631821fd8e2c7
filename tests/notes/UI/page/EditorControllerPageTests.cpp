#include <gtest/gtest.h>

#include "notes/UI/EditorViewController.h"
#include "notes/UI/ToolbarView.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Button.h"
#include "platform/web/JavaScriptString.h"
#include "platform/web/webkit/WebKitBackend.h"
#include "tests/support/MainLoopWait.h"
#include "tests/support/Patience.h"
#include "tests/support/TestOutput.h"
#include "tests/support/WebViewWaits.h"

// The editor controller over the real page: what a user does, end to end, short of the window.
namespace {

class EditorOnPageTest : public ::testing::Test {
  protected:
    platform::ScopedBackends engine;  // the web engine, for the length of a test
    void SetUp() override {
        zelvo::EditorServices services;
        services.editorPagePath = std::string(MW_ZELVO_RESOURCES) + "/editor.html";
        services.updateNote = [this](const NoteObject& note) {
            updates.push_back(note);
            return true;
        };
        services.openURL = [](const std::string&) {};
        platform::webkit::install(*engine);
        auto web = platform::WebView::create(platform::Size{800, 570});
        ASSERT_TRUE(web);
        editor = std::make_unique<zelvo::EditorViewController>(std::move(web), services);
        editor->view();
        ASSERT_TRUE(waitForLoad(*editor->webview(), kPatience));
        ASSERT_TRUE(editor->editorLoaded());
    }
    static std::shared_ptr<NoteObject> note(int32_t id, std::string text) {
        auto made = std::make_shared<NoteObject>();
        made->setN_id(id);
        made->setN_text(std::move(text));
        made->setN_summary(std::string());
        return made;
    }
    // The list's choice, and the switch it sets off done.
    void choose(std::shared_ptr<NoteObject> chosen) {
        editor->noteSelectionChanged(std::move(chosen));
        ASSERT_TRUE(turnTheLoopUntil([&] { return !editor->isBusy(); }));
    }
    void save() {
        editor->saveDocument();
        ASSERT_TRUE(turnTheLoopUntil([&] { return !editor->isBusy(); }));
    }
    std::string eval(const std::string& script) {
        return evaluateNow(*editor->webview(), script, kPatience).value.value_or("<absent>");
    }
    // Types at the end of the note's first paragraph, as the user would.
    void typeAtEnd(const std::string& text) {
        eval(
            "(function (t) { var root = document.getElementById('zelvo_content'); var p = "
            "root.querySelector('p') || root; var r = document.createRange(); "
            "r.selectNodeContents(p); r.collapse(false); var s = getSelection(); "
            "s.removeAllRanges(); s.addRange(r); document.execCommand('insertText', false, t); "
            "return 1; })(" +
            platform::quoteJavaScriptString(text) + ");");
    }

    std::vector<NoteObject> updates;
    std::unique_ptr<zelvo::EditorViewController> editor;
};

TEST_F(EditorOnPageTest, BackslashesAndQuotesSurviveSwitchAndSaveByteForByte) {
    const std::string text =
        "<p>C:\\user\\new \"quoted\" 'single' \u201Ccurly\u201D \\\\server\\share \\n \\u2028</p>\n"
        "<p>\u1820\u1828\u1833\u1821\u202F\u1822 &amp; &lt;tag&gt;</p>";
    choose(note(1, text));
    choose(note(2, "<p>other</p>"));
    EXPECT_TRUE(updates.empty()) << "an unedited note was saved";

    auto first = note(1, text);
    choose(first);
    typeAtEnd(" \u182A\u1822");
    choose(note(2, "<p>other</p>"));
    ASSERT_EQ(updates.size(), 1u);
    std::string expected = text;
    expected.insert(expected.find("</p>"), " \u182A\u1822");
    EXPECT_EQ(updates[0].n_text(), expected);
    EXPECT_EQ(first->n_text(), expected);
    EXPECT_EQ(updates[0].n_summary()->substr(0, 9), "C:\\user\\n");

    // Back to the saved note: shown as saved, and again nothing to save.
    choose(note(1, expected));
    save();
    EXPECT_EQ(updates.size(), 1u);
}

TEST_F(EditorOnPageTest, AnEmptyNoteShowsThePlaceholderAndSavesNothingOfIt) {
    auto empty = note(3, "");
    choose(empty);
    EXPECT_EQ(eval("document.getElementById('zelvo_content').classList.contains('zelvo-empty');"),
              "true");
    choose(note(4, "<p>x</p>"));
    EXPECT_TRUE(updates.empty());

    choose(note(3, ""));
    typeAtEnd("\u1820");
    save();
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].n_text()->find("\u1821\u1828"), std::string::npos);
    EXPECT_EQ(updates[0].n_summary(), "\u1820");
}

// Opening a note and leaving it writes nothing, whatever form its HTML was stored in: only what
// the user changes counts. Bytes that are no UTF-8 show as U+FFFD beside every readable character.
TEST_F(EditorOnPageTest, OpeningNotesInAnyFormWritesNothingUntilEdited) {
    int32_t id = 1;
    for (const char* stored :
         {"<DIV>ᠬ</DIV>", "<p>a<br>b</p>", "<p   class='x'>q</p>", "plain ᠠ text",
          "<b><i>x</b></i>", "<p>a</p>\n\n\n<p>b</p>", "&#6176;&nbsp;<span>s</span>",
          "<ul><li>one<li>two</ul>", "<p>a</p><hr><p>b</p>"})
        choose(note(id++, stored));
    const std::string malformed = "<div>ᠬ \xC3\x28 ᠠ </div>";
    const int32_t malformedID = id;
    choose(note(malformedID, malformed));
    EXPECT_EQ(eval("document.getElementById('zelvo_content').textContent"), "ᠬ �( ᠠ ");
    choose(note(malformedID + 1, "<p>last</p>"));
    EXPECT_TRUE(updates.empty()) << updates.front().n_text().value_or("");

    choose(note(malformedID, malformed));
    typeAtEnd("TYPED");
    save();
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_NE(updates[0].n_text()->find("ᠬ �( ᠠ"), std::string::npos);
    EXPECT_NE(updates[0].n_text()->find("TYPED"), std::string::npos);
}

// Every note opens at its start, and only a note takes typing: with none shown, nothing typed
// could be kept.
TEST_F(EditorOnPageTest, EachNoteOpensAtItsStartAndOnlyANoteTakesTyping) {
    std::string wide;
    for (int i = 0; i < 300; ++i) wide += "<p>ᠮᠣᠩᠭᠣᠯ " + std::to_string(i) + "</p>";
    choose(note(1, wide));
    eval("window.scrollTo(100000, 0); 1;");
    ASSERT_NE(eval("String(window.scrollX)"), "0") << "the note is wider than the page";
    choose(note(2, wide + "<p>2</p>"));
    EXPECT_EQ(eval("String(window.scrollX)"), "0");
    EXPECT_EQ(eval("String(document.getElementById('zelvo_content').isContentEditable)"), "true");

    choose(nullptr);
    EXPECT_EQ(eval("String(document.getElementById('zelvo_content').isContentEditable)"), "false");
    typeAtEnd("lost");
    EXPECT_EQ(eval("document.getElementById('zelvo_content').textContent"), "");
}

// The picture a person looks at: a Mongolian note written vertically under the toolbar.
TEST_F(EditorOnPageTest, ScreenshotOfAMongolianNote) {
    choose(note(
        5,
        "<h1>\u182E\u1823\u1829\u182D\u1823\u182F \u182A\u1822\u1834\u1822\u182D</h1>\n"
        "<p>\u182A\u1822\u1834\u1822\u182D\u1821\u1837 \u1833\u1821\u1837\u1821 "
        "\u1830\u1822\u1828\u1821 \u1833\u1823\u182F\u1823\u182D\u1820\u1828 "
        "<b>\u1832\u1823\u182F</b> "
        "\u182C\u1823\u1837\u1822\u182D\u1820\u1828 \u1821\u1828\u1833\u1821</p>\n"
        "<p>\u182E\u1823\u1829\u182D\u1823\u182F \u1825\u182C\u1821\u1837 "
        "<span style=\"background-color: rgb(255, 255, 102);\">\u1824\u1832\u1824\u1837</span> "
        "\u182A\u1822\u1834\u1822\u1833\u1821\u182D</p>"));
    std::optional<platform::Image> page = snapshotNow(*editor->webview());
    ASSERT_TRUE(page);

    platform::View& panel = *editor->view();
    auto context = platform::GraphicsContext::imageContext(int(panel.frame().size.width),
                                                           int(panel.frame().size.height));
    panel.displayInContext(*context);
    platform::Rect area = editor->webContentView()->frame();
    context->drawImage(*page, area);
    // The buttons are toolkit widgets on screen; here their pictures stand in for them.
    zelvo::ToolbarView& toolbar = *editor->toolbar().view();
    for (const auto& item : toolbar.items()) {
        auto* button = dynamic_cast<platform::Button*>(item.get());
        if (!button || !button->imageName()) continue;
        auto picture = platform::Image::fromPNG(std::string(MW_ZELVO_RESOURCES) + "/" +
                                                *button->imageName() + ".png");
        if (!picture) continue;
        platform::Rect frame = button->frame();
        context->drawImage(*picture, platform::Rect(frame.origin.x, toolbar.frame().origin.y,
                                                    frame.size.width, frame.size.height));
    }
    platform::Image shot = context->makeImage();
    ASSERT_TRUE(shot.writePNG(testOutputPath("zelvo-editor.png").string()));

    // Ink of the note in the page area, the dark strip along the top.
    platform::Color strip = shot.pixel(5, int(panel.frame().size.height) - 5);
    EXPECT_LT(strip.red, 0.2);
    int inked = 0;
    for (int y = 0; y < int(area.size.height); y += 2)
        for (int x = 0; x < 200; x += 2)
            if (shot.pixel(x, y).red < 0.5) ++inked;
    EXPECT_GT(inked, 50);
}

}  // namespace
