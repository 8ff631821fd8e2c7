// A person typing with Quillora: a GTK window with a text entry (or a web page and a text view) on
// an X server of its own, IBus's GTK input module, the engine started by a private daemon, keys
// typed with xdotool.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <ibus.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/UnicodeString.h"
#include "platform/ui/Backends.h"
#include "platform/web/WebView.h"
#include "platform/web/webkit/WebKitBackend.h"
#include "platform/web/webkit/WebViewWidget.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/PrivateIBusDaemon.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/TestOutput.h"
#include "tests/support/WebViewWaits.h"

namespace {

constexpr int kPatienceMilliseconds = int(kPatience.count()) * 1000;

// Dispatches what is already waiting (a destroyed window's last messages to the input method),
// so that nothing of a case is left for the next one.
void drainEvents() {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

void pump(int milliseconds) {
    const gint64 end = g_get_monotonic_time() + milliseconds * 1000;
    while (g_get_monotonic_time() < end) {
        drainEvents();
        g_usleep(5000);
    }
}

bool pumpUntil(const std::function<bool()>& done, int milliseconds) {
    const gint64 end = g_get_monotonic_time() + milliseconds * 1000;
    while (!done() && g_get_monotonic_time() < end) pump(20);
    return done();
}

// Runs a helper to its end while the GTK loop keeps turning (the entry must answer the X server
// while xdotool types into it); its standard output.
std::string run(const std::vector<std::string>& argv) {
    ChildProcess child(argv, true);
    std::string output;
    // Helpers end quickly unless the machine is loaded: stopping one early would lose its keys.
    const gint64 end = g_get_monotonic_time() + kPatience.count() * G_USEC_PER_SEC;
    while (child.running() && g_get_monotonic_time() < end) pump(10);
    for (std::string line = child.readLine(std::chrono::milliseconds(200)); !line.empty();
         line = child.readLine(std::chrono::milliseconds(50))) {
        output += line + "\n";
    }
    return output;
}

// X11's headers would clash with the test framework's: a window is found by its title, once it is
// on the screen; "" when it never shows.
std::string windowTitled(const std::string& title) {
    std::string id;
    pumpUntil(
        [&] {
            id = run({"xdotool", "search", "--onlyvisible", "--name", title});
            return !id.empty();
        },
        kPatienceMilliseconds);
    return id.substr(0, id.find('\n'));
}

// Quillora as the global engine, as the desktop's input-source menu sets it; null when IBus
// refuses. The process has one bus, which GTK's input module made for the first field and connects
// in the background: it is waited for.
IBusBus* quilloraForEveryField() {
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    pumpUntil([bus] { return ibus_bus_is_connected(bus); }, kPatienceMilliseconds);
    if (ibus_bus_is_connected(bus) && ibus_bus_set_global_engine(bus, "quillora")) return bus;
    g_object_unref(bus);
    return nullptr;
}

// Each burst of keys focuses the window first, in the same xdotool run.
void typeInto(const std::string& windowId, const std::vector<std::string>& keys) {
    std::vector<std::string> argv = {"xdotool", "windowfocus", "--sync", windowId,
                                     "key",     "--delay",     "60"};
    argv.insert(argv.end(), keys.begin(), keys.end());
    run(argv);
}

bool hasMongolian(const std::string& text) {
    std::u16string units = platform::utf16FromUtf8(text);
    for (char16_t c : units) {
        if (c >= 0x1820 && c <= 0x18AF) return true;
    }
    return false;
}

// The left edge of the candidate window on the screen, or -1 when none shows.
int candidateWindowX() {
    std::string id = run({"xdotool", "search", "--onlyvisible", "--class", "^Quillora$"});
    if (id.empty()) return -1;
    id = id.substr(0, id.find('\n'));
    const std::string geometry = run({"xdotool", "getwindowgeometry", "--shell", id});
    const auto at = geometry.find("X=");
    return at == std::string::npos ? -1 : std::atoi(geometry.c_str() + at + 2);
}

// The x of the entry's caret on the screen, where GTK tells the input method it is: in its text,
// preedit included, after the preedit's caret (the entry holds no text after it here).
int caretRootX(GtkWidget* entry) {
    PangoLayout* layout = gtk_entry_get_layout(GTK_ENTRY(entry));
    PangoRectangle strong;
    pango_layout_get_cursor_pos(layout, int(std::strlen(pango_layout_get_text(layout))), &strong,
                                nullptr);
    gint layoutX = 0, layoutY = 0;
    gtk_entry_get_layout_offsets(GTK_ENTRY(entry), &layoutX, &layoutY);
    GtkWidget* toplevel = gtk_widget_get_toplevel(entry);
    gint x = 0, y = 0;
    gtk_widget_translate_coordinates(entry, toplevel, layoutX, layoutY, &x, &y);
    gint originX = 0, originY = 0;
    gdk_window_get_origin(gtk_widget_get_window(toplevel), &originX, &originY);
    return originX + x + PANGO_PIXELS(strong.x);
}

// An X server of its own (typing needs the keyboard focus to stay put for the whole word), a
// private daemon that starts the engine from the build, GTK with IBus's input module.
class QuilloraTyping : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_xserver.ready());
        m_daemon = std::make_unique<PrivateIBusDaemon>(MW_IBUS_COMPONENT_DIR, /*withDisplay=*/true);
        ASSERT_TRUE(m_daemon->ready());
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    }

    PrivateXServer m_xserver{"1024x600x24"};
    std::unique_ptr<PrivateIBusDaemon> m_daemon;
    ScopedEnvironment m_module{"GTK_IM_MODULE", std::string("ibus")};
};

TEST_F(QuilloraTyping, WordChosenFromTheCandidateWindowLandsInTheEntry) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Quillora typing test");
    gtk_window_set_default_size(GTK_WINDOW(window), 420, 80);
    gtk_window_move(GTK_WINDOW(window), 60, 60);
    GtkWidget* entry = gtk_entry_new();
    gtk_container_add(GTK_CONTAINER(window), entry);
    gtk_widget_show_all(window);
    const std::string windowId = windowTitled("Quillora typing test");
    ASSERT_FALSE(windowId.empty());
    IBusBus* bus = quilloraForEveryField();
    ASSERT_TRUE(bus);
    gtk_widget_grab_focus(entry);
    auto typeKeys = [&windowId](std::vector<std::string> keys) { typeInto(windowId, keys); };
    auto candidatesVisible = [] {
        return !run({"xdotool", "search", "--onlyvisible", "--class", "^Quillora$"}).empty();
    };
    // The engine process starts on the first key the context sends it; a key that arrived before
    // it was ready reaches the entry as a plain letter, so the first letter is tried again.
    bool candidatesShown = false;
    for (int attempt = 0; attempt < 6 && !candidatesShown; ++attempt) {
        gtk_entry_set_text(GTK_ENTRY(entry), "");
        typeKeys({"b"});
        candidatesShown = pumpUntil(candidatesVisible, kPatienceMilliseconds / 6);
    }
    // The window's left edge stays at the caret, which moves on with every letter (the entry
    // reports it after drawing the preedit, so a window placed during the key would trail it).
    auto windowAtCaret = [&entry] {
        const int x = candidateWindowX(), caret = caretRootX(entry);
        return x >= 0 && std::abs(x - caret) <= 2;
    };
    EXPECT_TRUE(pumpUntil(windowAtCaret, kPatienceMilliseconds))
        << "window " << candidateWindowX() << ", caret " << caretRootX(entry);
    for (const char* letter : {"a", "r"}) {
        typeKeys({letter});
        EXPECT_TRUE(pumpUntil(windowAtCaret, kPatienceMilliseconds))
            << letter << ": window " << candidateWindowX() << ", caret " << caretRootX(entry);
    }
    const std::string png = testOutputPath("quillora-typing.png").string();
    run({"import", "-window", "root", "-crop", "700x500+0+0", png});
    ASSERT_TRUE(candidatesShown) << "the candidate window did not appear";
    EXPECT_TRUE(std::filesystem::exists(png));

    // The window hangs just below the entry's caret, its left edge by the caret: the caret
    // rectangle went from the desktop's top-left origin to the screen's lower-left one and back.
    std::string candidateId = run({"xdotool", "search", "--onlyvisible", "--class", "^Quillora$"});
    candidateId = candidateId.substr(0, candidateId.find('\n'));
    const std::string geometry = run({"xdotool", "getwindowgeometry", "--shell", candidateId});
    auto field = [&geometry](const std::string& name) {
        const auto at = geometry.find(name + "=");
        return at == std::string::npos ? -1 : std::atoi(geometry.c_str() + at + name.size() + 1);
    };
    gint entryX = 0, entryY = 0;
    gdk_window_get_origin(gtk_widget_get_window(entry), &entryX, &entryY);
    GtkAllocation entryBox;
    gtk_widget_get_allocation(entry, &entryBox);
    EXPECT_GE(field("X"), entryX) << geometry;
    EXPECT_LE(field("X"), entryX + 60) << geometry;
    EXPECT_GE(field("Y"), entryY + entryBox.height / 2) << geometry;
    EXPECT_LE(field("Y"), entryY + entryBox.height + 40) << geometry;

    typeKeys({"space"});
    const bool committed =
        pumpUntil([entry] { return hasMongolian(gtk_entry_get_text(GTK_ENTRY(entry))); },
                  kPatienceMilliseconds);
    const std::string text = gtk_entry_get_text(GTK_ENTRY(entry));
    EXPECT_TRUE(committed) << "entry holds: " << text;
    EXPECT_EQ(text.find("bar"), std::string::npos) << text;
    EXPECT_TRUE(pumpUntil(
        [] {
            return run({"xdotool", "search", "--onlyvisible", "--class", "^Quillora$"}).empty();
        },
        kPatienceMilliseconds))
        << "the candidate window stayed";

    // A click inside the entry while letters are composed: the entry resets its input context,
    // and the letters land in it once.
    typeKeys({"t", "a"});
    // The entry shows its text with the preedit in it.
    ASSERT_TRUE(pumpUntil(
        [entry] {
            return std::string_view(pango_layout_get_text(gtk_entry_get_layout(GTK_ENTRY(entry))))
                .ends_with("ta");
        },
        kPatienceMilliseconds))
        << "no preedit";
    const std::string before = gtk_entry_get_text(GTK_ENTRY(entry));
    run({"xdotool", "mousemove", "--window", windowId, "30", "20", "click", "1"});
    EXPECT_TRUE(
        pumpUntil([&] { return std::string(gtk_entry_get_text(GTK_ENTRY(entry))) != before; },
                  kPatienceMilliseconds));
    // The composition is over once its candidates are gone.
    EXPECT_TRUE(pumpUntil([&] { return !candidatesVisible(); }, kPatienceMilliseconds));
    EXPECT_EQ(std::string(gtk_entry_get_text(GTK_ENTRY(entry))), before + "ta");

    g_object_unref(bus);
    gtk_widget_destroy(window);
    drainEvents();
}

// Letters still composed when the focus leaves the field land in it once: in a web page, where
// WebKit keeps its composition itself while IBus commits the preedit too, and in a text view, where
// only IBus's commit keeps them.
TEST_F(QuilloraTyping, LettersComposedWhenTheFocusLeavesLandOnceInAPageAndATextView) {
    platform::ScopedBackends backends;
    platform::webkit::install(*backends);
    std::unique_ptr<platform::WebView> page = platform::WebView::create({400, 160});
    ASSERT_TRUE(page);
    // The page notes when its field has lost the focus: WebKit tells it after everything the
    // focus change brought in has landed.
    page->loadHTMLString(
        "<div id=field contenteditable style='min-height:150px'></div><script>"
        "field.addEventListener('blur', () => window.left = true);</script>",
        "file:///");
    ASSERT_TRUE(waitForLoad(*page));

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Quillora focus test");
    gtk_window_move(GTK_WINDOW(window), 40, 40);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    GtkWidget* button = gtk_button_new_with_label("Bold");
    GtkWidget* pageWidget = platform::embeddableWidget(*page);
    GtkWidget* textView = gtk_text_view_new();
    gtk_widget_set_size_request(textView, 400, 100);
    for (GtkWidget* child : {button, pageWidget, textView})
        gtk_box_pack_start(GTK_BOX(box), child, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    gtk_widget_show_all(window);
    const std::string windowId = windowTitled("Quillora focus test");
    ASSERT_FALSE(windowId.empty());
    IBusBus* bus = quilloraForEveryField();
    ASSERT_TRUE(bus);
    auto typeKeys = [&windowId](std::vector<std::string> keys) { typeInto(windowId, keys); };
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(textView));
    auto viewText = [buffer] {
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
        std::string out = text;
        g_free(text);
        return out;
    };
    std::string preedit;
    g_signal_connect(textView, "preedit-changed",
                     G_CALLBACK(+[](GtkTextView*, gchar* text, gpointer out) {
                         *static_cast<std::string*>(out) = text;
                     }),
                     &preedit);
    // The engine starts on the first key sent to it; one typed before it was ready reaches the
    // view as a plain letter, so the first letter is tried again. Delete ends that composition.
    gtk_widget_grab_focus(textView);
    bool composing = false;
    for (int attempt = 0; attempt < 6 && !composing; ++attempt) {
        gtk_text_buffer_set_text(buffer, "", -1);
        typeKeys({"b"});
        composing = pumpUntil([&] { return preedit == "b"; }, kPatienceMilliseconds / 6);
    }
    ASSERT_TRUE(composing) << "the engine composed nothing";
    typeKeys({"BackSpace"});
    ASSERT_TRUE(pumpUntil([&] { return preedit.empty(); }, kPatienceMilliseconds));
    gtk_text_buffer_set_text(buffer, "", -1);

    // The button takes the focus when clicked, as a toolbar's or a list's would.
    auto clickButton = [&] {
        gint x = 0, y = 0;
        gtk_widget_translate_coordinates(button, window, 10, 10, &x, &y);
        run({"xdotool", "mousemove", "--window", windowId, std::to_string(x), std::to_string(y),
             "click", "1"});
        return pumpUntil([button] { return gtk_widget_has_focus(button); }, kPatienceMilliseconds);
    };
    auto occurrences = [](const std::string& text, const std::string& part) {
        int count = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++count;
        return count;
    };

    gtk_widget_grab_focus(pageWidget);
    evaluateNow(*page, "field.focus();");
    typeKeys({"b", "a", "r", "space", "t", "a"});
    auto pageText = [&page] { return evaluateNow(*page, "field.textContent;").value.value_or(""); };
    EXPECT_TRUE(pumpUntil(
        [&] {
            const std::string text = pageText();
            return hasMongolian(text) && text.size() > 2 && text.substr(text.size() - 2) == "ta";
        },
        kPatienceMilliseconds))
        << pageText();
    ASSERT_TRUE(clickButton());
    EXPECT_TRUE(
        pumpUntil([&] { return evaluateNow(*page, "window.left === true;").value == "true"; },
                  kPatienceMilliseconds));
    const std::string inPage = pageText();
    EXPECT_TRUE(hasMongolian(inPage)) << inPage;
    EXPECT_EQ(occurrences(inPage, "ta"), 1) << inPage;
    EXPECT_EQ(inPage.substr(inPage.size() - 2), "ta") << inPage;

    gtk_widget_grab_focus(textView);
    typeKeys({"b", "a", "r", "space", "t", "a"});
    EXPECT_TRUE(pumpUntil([&] { return preedit == "ta" && hasMongolian(viewText()); },
                          kPatienceMilliseconds))
        << viewText() << " / " << preedit;
    ASSERT_TRUE(clickButton());
    EXPECT_TRUE(pumpUntil([&] { return viewText().find("ta") != std::string::npos; },
                          kPatienceMilliseconds));
    const std::string inView = viewText();
    EXPECT_TRUE(hasMongolian(inView)) << inView;
    EXPECT_EQ(occurrences(inView, "ta"), 1) << inView;

    g_object_unref(bus);
    gtk_widget_destroy(window);
    page.reset();
    drainEvents();
}

}  // namespace
