// A person typing with Quillora: a GTK window with a text entry on an X server of its own, IBus's
// GTK input module, the engine started by a private daemon, keys typed with xdotool.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <ibus.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/foundation/UnicodeString.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/PrivateIBusDaemon.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/TestOutput.h"

namespace {

constexpr int kPatienceMilliseconds = int(kPatience.count()) * 1000;

void pump(int milliseconds) {
    const gint64 end = g_get_monotonic_time() + milliseconds * 1000;
    while (g_get_monotonic_time() < end) {
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
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

TEST(QuilloraTyping, WordChosenFromTheCandidateWindowLandsInTheEntry) {
    // An X server of its own: typing needs the keyboard focus to stay put for the whole word.
    PrivateXServer xserver("1024x600x24");
    ASSERT_TRUE(xserver.ready());
    PrivateIBusDaemon daemon(MW_IBUS_COMPONENT_DIR, /*withDisplay=*/true);
    ASSERT_TRUE(daemon.ready());
    ScopedEnvironment module("GTK_IM_MODULE", std::string("ibus"));

    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Quillora typing test");
    gtk_window_set_default_size(GTK_WINDOW(window), 420, 80);
    gtk_window_move(GTK_WINDOW(window), 60, 60);
    GtkWidget* entry = gtk_entry_new();
    gtk_container_add(GTK_CONTAINER(window), entry);
    gtk_widget_show_all(window);
    // X11's headers would clash with the test framework's: the window is found by its title, once
    // it is on the screen.
    std::string windowId;
    pumpUntil(
        [&windowId] {
            windowId =
                run({"xdotool", "search", "--onlyvisible", "--name", "Quillora typing test"});
            return !windowId.empty();
        },
        kPatienceMilliseconds);
    windowId = windowId.substr(0, windowId.find('\n'));
    ASSERT_FALSE(windowId.empty());

    // Quillora as the global engine, as the desktop's input-source menu sets it.
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    // The process has one bus, which GTK's input module made for the entry and connects in the
    // background: wait for it.
    pumpUntil([bus] { return ibus_bus_is_connected(bus); }, kPatienceMilliseconds);
    ASSERT_TRUE(ibus_bus_is_connected(bus));
    ASSERT_TRUE(ibus_bus_set_global_engine(bus, "quillora"));
    gtk_widget_grab_focus(entry);
    // Each burst of keys focuses the window first, in the same xdotool run.
    auto typeKeys = [&windowId](std::vector<std::string> keys) {
        std::vector<std::string> argv = {"xdotool", "windowfocus", "--sync", windowId,
                                         "key",     "--delay",     "60"};
        argv.insert(argv.end(), keys.begin(), keys.end());
        run(argv);
    };
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
    pump(100);
}

}  // namespace
