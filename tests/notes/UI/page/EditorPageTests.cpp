#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "platform/web/JavaScriptString.h"
#include "platform/web/WebView.h"
#include "platform/web/webkit/WebKitBackend.h"
#include "platform/web/webkit/WebViewWidget.h"
#include "tests/support/Patience.h"
#include "tests/support/WebViewWaits.h"

// The editor page itself, in the real engine: cleaning, formatting, placeholder, undo and
// formatting commands, each driven by the statements the program sends.
namespace {

using platform::quoteJavaScriptString;

// Pairs of inline elements, "<i>word</i> <span>word</span>", a space between each: as markup and
// as the text it holds. Long enough to wrap over many lines.
std::pair<std::string, std::string> spacedInlineElements() {
    std::string html, text;
    for (int i = 0; i < 410; ++i) {
        std::string word = "ᠮᠣᠩᠭᠣᠯ" + std::to_string(i);
        html += (i ? " " : "") + std::string("<i>") + word + "</i> <span>ᠪᠢᠴᠢᠭ</span>";
        text += (i ? " " : "") + word + " ᠪᠢᠴᠢᠭ";
    }
    return {html, text};
}

class EditorPageTest : public ::testing::Test {
  protected:
    platform::ScopedBackends engine;  // the web engine, for the length of a test
    void SetUp() override {
        platform::webkit::install(*engine);
        view = platform::WebView::create(platform::Size{600, 400});
        ASSERT_TRUE(view);
        view->loadFileURL(std::string(MW_ZELVO_RESOURCES) + "/editor.html");
        ASSERT_TRUE(waitForLoad(*view, kPatience));
        // The page takes typing only once told, as the program tells it when a note is in it.
        eval("zelvo_editor.setEditable(true);");
    }
    std::string eval(const std::string& script) {
        auto result = evaluateNow(*view, script, kPatience);
        if (!result.succeeded()) ADD_FAILURE() << script << ": " << result.error;
        return result.value.value_or("<absent>");
    }
    void setHTML(const std::string& html) {
        eval("zelvo_editor.setHTML(" + quoteJavaScriptString(html) + ");");
    }
    std::string styled(const std::string& html) {
        return eval("style_html(" + quoteJavaScriptString(html) + ");");
    }
    // What the program stores for the page's current content.
    std::string stored() {
        std::string html = eval("zelvo_editor.getHTML();");
        for (auto [from, to] : {std::pair{"<br>", "<br />"}, std::pair{"<hr>", "<hr />"}})
            for (size_t at = html.find(from); at != std::string::npos; at = html.find(from, at))
                html.replace(at, std::string(from).size(), to);
        return styled(html);
    }
    // Lets queued page work (image errors, timers) run.
    void settle() {
        eval("new Promise(function (done) { setTimeout(function () { done(1); }, 150); }); 1;");
        evaluateNow(*view, "(function(){var e=Date.now()+150;while(Date.now()<e){}return 1;})();");
        waitForLoad(*view, std::chrono::milliseconds(200));
    }
    void selectText(const std::string& fragment) {
        eval(
            "(function (f) { var w = document.createTreeWalker(document.getElementById("
            "'zelvo_content'), NodeFilter.SHOW_TEXT); var n; while ((n = w.nextNode())) { var i = "
            "n.data.indexOf(f); if (i >= 0) { var r = document.createRange(); r.setStart(n, i); "
            "r.setEnd(n, i + f.length); var s = getSelection(); s.removeAllRanges(); "
            "s.addRange(r); return true; } } return false; })(" +
            quoteJavaScriptString(fragment) + ");");
    }

    // "" when the note's text is `expected`, otherwise where it first differs.
    std::string textDifference(const std::string& expected) {
        return eval(
            "(function (want) { var got = document.getElementById('zelvo_content').textContent; "
            "if (got === want) return ''; var i = 0; while (got[i] === want[i]) i++; "
            "function show(t) { return JSON.stringify(t.substr(Math.max(0, i - 12), 24))"
            ".replace(/\\u00a0/g, '\\\\u00a0'); } "
            "return 'at ' + i + ' of ' + want.length + ': ' + show(got) + ' for ' + show(want); "
            "})(" +
            quoteJavaScriptString(expected) + ");");
    }
    // Pastes HTML at the selection as the engine hands a paste to the page.
    void paste(const std::string& html) {
        eval("(function () { var data = new DataTransfer(); data.setData('text/html', " +
             quoteJavaScriptString(html) +
             "); document.getElementById('zelvo_content').dispatchEvent(new "
             "ClipboardEvent('paste', {clipboardData: data, bubbles: true, cancelable: true})); "
             "return 1; })();");
    }

    // Pastes HTML as from another program: put on the desktop's clipboard, then Ctrl+V pressed in
    // the page, which the engine hands the markup through its own sanitiser.
    void pasteFromClipboard(const std::string& html) {
        static const GtkTargetEntry target{const_cast<char*>("text/html"), 0, 0};
        gtk_clipboard_set_with_data(
            gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), &target, 1,
            [](GtkClipboard*, GtkSelectionData* data, guint, gpointer markup) {
                auto* text = static_cast<const std::string*>(markup);
                gtk_selection_data_set(data, gdk_atom_intern_static_string("text/html"), 8,
                                       reinterpret_cast<const guchar*>(text->data()),
                                       int(text->size()));
            },
            [](GtkClipboard*, gpointer markup) { delete static_cast<std::string*>(markup); },
            new std::string(html));
        if (!host) {
            // The view's widget in a window of the test's own, so it can take the focus.
            host = gtk_offscreen_window_new();
            gtk_container_add(GTK_CONTAINER(host), platform::embeddableWidget(*view));
            gtk_widget_set_size_request(gtk_bin_get_child(GTK_BIN(host)), 600, 400);
            gtk_widget_show_all(host);
        }
        GtkWidget* widget = gtk_bin_get_child(GTK_BIN(host));
        gtk_widget_grab_focus(widget);
        GdkEvent* press = gdk_event_new(GDK_KEY_PRESS);
        press->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
        press->key.time = GDK_CURRENT_TIME;
        press->key.state = GDK_CONTROL_MASK;
        press->key.keyval = GDK_KEY_v;
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()),
                                              GDK_KEY_v, &keys, &count) &&
            count > 0)
            press->key.hardware_keycode = guint16(keys[0].keycode);
        g_free(keys);
        gdk_event_set_device(
            press, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
        gtk_widget_event(widget, press);
        press->type = GDK_KEY_RELEASE;
        gtk_widget_event(widget, press);
        gdk_event_free(press);
    }
    void TearDown() override {
        if (host) gtk_widget_destroy(host);
    }

    std::unique_ptr<platform::WebView> view;
    GtkWidget* host = nullptr;
};

TEST_F(EditorPageTest, ANoteNeverRunsScript) {
    EXPECT_EQ(eval("typeof zelvo_editor;"), "object");
    EXPECT_EQ(eval("typeof style_html;"), "function");
    setHTML(
        "<p>ᠮᠣᠩᠭᠣᠯ</p><img src=\"x\" onerror=\"document.title='handler ran'\">"
        "<script>document.title='script ran'</script>"
        "<a href=\" java\tscript:document.title='link ran'\" "
        "onclick=\"document.title='click'\">l</a>"
        "<svg><script>document.title='svg ran'</script><a><set attributeName=\"href\" "
        "to=\"javascript:document.title='set ran'\"/><text>t</text></a></svg>"
        "<iframe srcdoc=\"<script>parent.document.title='frame ran'</script>\"></iframe>");
    settle();
    eval("var a = document.querySelector('a'); if (a) a.click(); 1;");
    settle();
    EXPECT_EQ(eval("document.title;"), "Zelvo");
    std::string html = eval("zelvo_editor.getHTML();");
    EXPECT_EQ(html.find("onerror"), std::string::npos) << html;
    EXPECT_EQ(html.find("script"), std::string::npos) << html;
    EXPECT_EQ(html.find("iframe"), std::string::npos) << html;
    EXPECT_EQ(html.find("<set"), std::string::npos) << html;
    EXPECT_NE(html.find("ᠮᠣᠩᠭᠣᠯ"), std::string::npos);

    // Even markup put into the tree behind the cleaner's back does not run: the page's policy
    // allows no inline script.
    eval(
        "document.getElementById('zelvo_content').innerHTML = '<img src=\"y\" "
        "onerror=\"document.title=\\'policy failed\\'\">'; 1;");
    settle();
    EXPECT_EQ(eval("document.title;"), "Zelvo");
    // Pasted web content is cleaned on its way in.
    setHTML("<p>paste here</p>");
    selectText("here");
    paste(
        "<b onmouseover=\"x()\">pasted</b><img src=\"z\" onerror=\"document.title='paste "
        "ran'\"><script>document.title='paste script'</script>");
    settle();
    EXPECT_EQ(eval("document.title;"), "Zelvo");
    std::string pasted = eval("zelvo_editor.getHTML();");
    EXPECT_NE(pasted.find("pasted"), std::string::npos) << pasted;
    EXPECT_EQ(pasted.find("onmouseover"), std::string::npos) << pasted;
    EXPECT_EQ(pasted.find("onerror"), std::string::npos) << pasted;
    EXPECT_EQ(pasted.find("script"), std::string::npos) << pasted;

    EXPECT_EQ(eval("zelvo_editor.insertLink('javascript:alert(1)', 'x');"), "false");
    EXPECT_EQ(eval("zelvo_editor.insertImage('javascript:alert(1)', 'x');"), "false");
}

// Cleaning a paste drops markup, never text: every space, no-break space and line feed between
// inline elements stays, however long the paste and wherever its lines wrap.
TEST_F(EditorPageTest, APasteKeepsEveryCharacterOfItsText) {
    const auto [run, runText] = spacedInlineElements();
    const std::vector<std::pair<std::string, std::string>> pastes = {
        {"<i>a</i> <span>b</span> <b>c</b>", "a b c"},
        {"<i>ᠮᠣᠩᠭᠣᠯ</i>&nbsp;<span>ᠪᠢᠴᠢᠭ</span>\n<b>ᠦᠰᠦᠭ</b> <u>x</u>\u00a0 <i>y</i>",
         "ᠮᠣᠩᠭᠣᠯ\u00a0ᠪᠢᠴᠢᠭ\nᠦᠰᠦᠭ x\u00a0 y"},
        {run, runText},
        {"<meta charset=\"utf-8\"><span style=\"color: red;\"><i>" + run +
             "</i> <span>z</span></span>",
         runText + " z"},
    };
    for (const auto& [html, pastedText] : pastes) {
        setHTML("<p>ᠡᠨᠳᠡ here</p>");
        selectText("here");
        paste(html);
        EXPECT_EQ(textDifference("ᠡᠨᠳᠡ " + pastedText), "") << html.substr(0, 80);
        setHTML(stored());
        EXPECT_EQ(textDifference("ᠡᠨᠳᠡ " + pastedText), "") << "stored: " << html.substr(0, 80);
    }
}

// The same through the desktop's clipboard, where the engine's sanitiser lays the markup out on
// a page of its own and hands over the spaces that fell at its line ends as empty runs, and the
// others as no-break spaces.
TEST_F(EditorPageTest, APasteFromAnotherProgramKeepsEverySpace) {
    const auto [run, runText] = spacedInlineElements();
    const std::string html = "<meta charset=\"utf-8\">" + run + "&nbsp;<b>ᠦᠰᠦᠭ</b>";
    const std::string pastedText = runText + "\u00a0ᠦᠰᠦᠭ";
    const std::string text = "document.getElementById('zelvo_content').textContent;";
    setHTML("<p>ᠡᠨᠳᠡ here</p>");
    selectText("here");
    pasteFromClipboard(html);
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (eval(text) == "ᠡᠨᠳᠡ here" && std::chrono::steady_clock::now() < deadline) settle();
    EXPECT_EQ(textDifference("ᠡᠨᠳᠡ " + pastedText), "");
    setHTML(stored());
    EXPECT_EQ(textDifference("ᠡᠨᠳᠡ " + pastedText), "") << "stored";
}

TEST_F(EditorPageTest, FormattingIsAFixedPointThroughThePage) {
    const std::vector<std::string> corpus = {
        "",
        "ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ",
        "<p>ᠮᠣᠩᠭᠣᠯ <b>ᠪᠢᠴᠢᠭ</b></p>",
        "first<div>second</div><div><br></div><div>fourth&nbsp;&nbsp;x</div>",
        "<h1>ᠭᠠᠷᠴᠠᠭ</h1>\n\n   <p>  lead <i>it</i> <u>u</u>trail  </p><hr><p>a<br>b</p>",
        "<ul><li>one</li><li>two<ul><li>deep</li></ul></li></ul><ol><li>x</li></ol>",
        "<p style=\"text-align: center;\">centred</p><blockquote><p>q</p>tail</blockquote>",
        "<pre>\n  keep   spaces\n\tand tabs</pre><p>after</p>",
        "<p>&lt;tag&gt; &amp; \"quotes\" 'apostrophes' \u201Ccurly\u201D C:\\user</p>",
        "<table><tbody><tr><td>a</td><td><b>b</b></td></tr></tbody></table>",
        "<span style=\"background-color: rgb(255, 255, 102);\">hi</span> <a "
        "href=\"https://x.org/?a=1&amp;b=2\">l</a>",
        "<p>para<div>div inside p</div></p><p><p>nested</p></p>",
        "<img src=\"file:///tmp/a.png\" "
        "alt=\"file:///tmp/a.png\"><sub>1</sub><sup>2</sup><strike>s</strike>",
        "<div><div><div>deep</div></div>text</div>",
        "<!-- comment --><p>after comment</p>",
    };
    for (const std::string& note : corpus) {
        std::string once = styled(note);
        EXPECT_EQ(styled(once), once) << note;
        setHTML(once);
        EXPECT_EQ(stored(), once) << "through the page: " << note;
    }
}

TEST_F(EditorPageTest, ThePlaceholderIsNeverText) {
    const std::string placeholder = " ᠡᠨᠳᠡ ᠪᠢᠴᠢᠭᠡᠷᠡᠢ ";
    eval("zelvo_editor.setPlaceholder(" + quoteJavaScriptString(placeholder) + ");");
    setHTML("");
    EXPECT_EQ(eval("zelvo_editor.getHTML();"), "");
    EXPECT_EQ(eval("zelvo_editor.getText();"), "");
    EXPECT_EQ(stored(), "");
    EXPECT_EQ(
        eval("getComputedStyle(document.getElementById('zelvo_content'), '::before').content;"),
        "\"" + placeholder + "\"");
    setHTML("<p>ᠠ</p>");
    EXPECT_EQ(eval("document.getElementById('zelvo_content').classList.contains('zelvo-empty');"),
              "false");
    EXPECT_EQ(eval("zelvo_editor.getHTML();").find("ᠡᠨᠳᠡ"), std::string::npos);
}

TEST_F(EditorPageTest, UndoNeverReachesThePreviousNote) {
    setHTML("<p>first note</p>");
    selectText("first");
    eval("zelvo_editor.setBold();");
    EXPECT_NE(eval("zelvo_editor.getHTML();").find("<b>first</b>"), std::string::npos);
    eval("document.execCommand('insertText', false, 'typed'); 1;");

    setHTML("<p>second note</p>");
    eval("zelvo_editor.undo();");
    eval("document.execCommand('undo'); 1;");
    EXPECT_EQ(eval("zelvo_editor.getHTML();"), "<p>second note</p>");

    // Within one note undo and redo work.
    selectText("second");
    eval("zelvo_editor.setItalic();");
    EXPECT_EQ(eval("zelvo_editor.getHTML();"), "<p><i>second</i> note</p>");
    eval("zelvo_editor.undo();");
    EXPECT_EQ(eval("zelvo_editor.getHTML();"), "<p>second note</p>");
    eval("zelvo_editor.redo();");
    EXPECT_EQ(eval("zelvo_editor.getHTML();"), "<p><i>second</i> note</p>");
}

// A long note is shown a part at a time, yet every reading, every change and what is taken out of
// the page see all of it, in order, from the moment it was given (each check in the statement that
// gives it, before the page can show more).
TEST_F(EditorPageTest, ALongNoteIsWholeForEveryReadingAndChangeWhileItIsShownInParts) {
    std::string note, text;
    for (int i = 0; i < 3000; ++i) {
        note += "<p>ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ " + std::to_string(i) + "</p>";
        text += (i ? "\n\n" : "") + std::string("ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ ") + std::to_string(i);
    }
    const std::string give = "zelvo_editor.setHTML(" + quoteJavaScriptString(note) + ");";
    const std::string shown = "document.getElementById('zelvo_content').childElementCount";
    EXPECT_EQ(eval(give + "String(" + shown + " < 3000) + ' ' + zelvo_editor.getHTML();"),
              "true " + note);
    EXPECT_EQ(eval(give + "zelvo_editor.getText();"), text);
    // Taken out of the page (and so printed) whole.
    EXPECT_EQ(eval(give + "style_html('<p>x</p>'); String(" + shown + ");"), "3000");

    std::string bold = note;
    bold.replace(3, std::string("ᠮᠣᠩᠭᠣᠯ").size(), "<b>ᠮᠣᠩᠭᠣᠯ</b>");
    EXPECT_EQ(
        eval(give + "var r = document.createRange(); var t = "
                    "document.querySelector('#zelvo_content p').firstChild; r.setStart(t, 0); "
                    "r.setEnd(t, 6); getSelection().removeAllRanges(); getSelection().addRange(r); "
                    "zelvo_editor.setBold(); zelvo_editor.getHTML();"),
        bold);
    eval("zelvo_editor.undo();");
    EXPECT_EQ(eval("zelvo_editor.getHTML();"), note);
    EXPECT_EQ(eval("String(" + shown + ");"), "3000");
}

// Only the user's edits count: showing a note not in the page's own form, its rest coming in,
// locking and reading it are none, while typing, a command and undo each are, until another note
// goes in. An answer is not used up by being given, and names the note the page was given.
TEST_F(EditorPageTest, EditsAreCountedFromTheNotesShowingAndOnlyTheUsers) {
    std::string note = "<P>first<BR/></P>";
    for (int i = 0; i < 3000; ++i) note += "<p>ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ " + std::to_string(i) + "</p>";
    eval("zelvo_editor.setHTML(" + quoteJavaScriptString(note) + ", 41);");
    settle();
    eval(
        "zelvo_editor.setEditable(false); zelvo_editor.setEditable(true); "
        "zelvo_editor.setPlaceholder('p'); zelvo_editor.getText(); 1;");
    EXPECT_EQ(eval("zelvo_editor.editsSince(0);"), "<absent>");

    selectText("first");
    eval("document.execCommand('insertText', false, 'typed'); 1;");
    std::string edits = eval("zelvo_editor.editsSince(0);");
    EXPECT_EQ(edits, eval("zelvo_editor.editsSince(0);"));
    ASSERT_TRUE(edits.starts_with("41 ")) << edits.substr(0, 80);
    edits.erase(0, 3);
    std::string count = edits.substr(0, edits.find(' '));
    EXPECT_EQ(edits.substr(count.size() + 1), eval("zelvo_editor.getHTML();"));
    EXPECT_NE(edits.find("<p>typed<br></p>"), std::string::npos) << edits.substr(0, 80);
    EXPECT_EQ(eval("zelvo_editor.editsSince(" + count + ");"), "<absent>");
    for (const char* edit : {"zelvo_editor.setBold();", "zelvo_editor.undo();"}) {
        selectText("typed");
        eval(edit);
        std::string more = eval("zelvo_editor.editsSince(" + count + ");");
        EXPECT_NE(more, "<absent>") << edit;
        more.erase(0, 3);
        count = more.substr(0, more.find(' '));
    }

    setHTML("<p>next</p>");
    EXPECT_EQ(eval("zelvo_editor.editsSince(0);"), "<absent>");
}

TEST_F(EditorPageTest, CommandsFormatTheSelectedMongolianWord) {
    setHTML("<p>ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ</p>");
    selectText("ᠪᠢᠴᠢᠭ");
    eval("zelvo_editor.setBold();");
    EXPECT_EQ(eval("zelvo_editor.getHTML();"), "<p>ᠮᠣᠩᠭᠣᠯ <b>ᠪᠢᠴᠢᠭ</b></p>");

    selectText("ᠮᠣᠩᠭᠣᠯ");
    eval("zelvo_editor.prepareInsert(); getSelection().removeAllRanges(); 1;");
    eval("zelvo_editor.setBackgroundColor(\"#ffff66\");");
    EXPECT_NE(eval("zelvo_editor.getHTML();").find("background-color: rgb(255, 255, 102)"),
              std::string::npos);
    EXPECT_EQ(eval("zelvo_editor.setBackgroundColor('red; x: url(y)');"), "false");
    selectText("ᠪᠢᠴᠢᠭ");
    eval("zelvo_editor.prepareInsert();");
    EXPECT_EQ(eval("zelvo_editor.setTextColor(\"#c0392b\");"), "true");
    EXPECT_NE(eval("zelvo_editor.getHTML();").find("<font color=\"#c0392b\">ᠪᠢᠴᠢᠭ</font>"),
              std::string::npos)
        << eval("zelvo_editor.getHTML();");

    setHTML("<p>ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ</p>");
    selectText("ᠪᠢᠴᠢᠭ");
    eval("zelvo_editor.prepareInsert();");
    EXPECT_EQ(eval("zelvo_editor.setFont(\"Noto Sans Mongolian\", \"28\");"), "true");
    EXPECT_EQ(
        eval("zelvo_editor.getHTML();"),
        "<p>ᠮᠣᠩᠭᠣᠯ <font face=\"Noto Sans Mongolian\" style=\"font-size: 28pt;\">ᠪᠢᠴᠢᠭ</font></p>");
    EXPECT_EQ(eval("zelvo_editor.setFont('', '12');"), "false");

    selectText("ᠮᠣᠩᠭᠣᠯ");
    eval("zelvo_editor.prepareInsert();");
    eval("zelvo_editor.insertLink(\"https://example.org/?q=\\\"x\\\"\", \"t\");");
    EXPECT_NE(eval("zelvo_editor.getHTML();").find("href=\"https://example.org/?q=&quot;x&quot;\""),
              std::string::npos)
        << eval("zelvo_editor.getHTML();");
    EXPECT_EQ(eval("zelvo_editor.getText();"), "ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ");

    // Unlink with the caret kept inside the link and the selection gone from the editor.
    setHTML("<p><a href=\"https://example.org/\">ᠮᠣᠩᠭᠣᠯ</a> ᠪᠢᠴᠢᠭ</p>");
    selectText("ᠣᠩ");
    eval(
        "getSelection().collapseToStart(); zelvo_editor.prepareInsert(); "
        "getSelection().removeAllRanges(); 1;");
    EXPECT_EQ(eval("zelvo_editor.unlink();"), "true");
    EXPECT_EQ(eval("zelvo_editor.getHTML();"), "<p>ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ</p>");
}

}  // namespace
