// Quillora's windows on an X server of their own, as the engine started by a private daemon puts
// them there: the candidate window against the caret a client reports, and against the column
// typed into in Zelvo's vertical editor; the preferences window's name on the desktop.
#include <gtest/gtest.h>
#include <ibus.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/inputmethod/app/IBusTestClient.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/PrivateIBusDaemon.h"
#include "tests/support/PrivateWindowManager.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestOutput.h"

namespace {

// One line of the engine's trace of its windows: a show, move or draw, and the window's left edge.
struct WindowRecord {
    std::string what;
    double x = 0;
};

std::vector<WindowRecord> windowRecords(const std::string& file) {
    std::vector<WindowRecord> records;
    std::ifstream stream(file);
    for (std::string line; std::getline(stream, line);) {
        const auto at = line.find("Window 0x");
        if (at == std::string::npos) continue;
        char what[16] = {};
        double x = 0, y = 0;
        if (std::sscanf(line.c_str() + at, "Window %*s %15s %*s %lf %lf", what, &x, &y) == 3)
            records.push_back({what, x});
    }
    return records;
}

// The engine's trace of the carets its fields reported (desktop coordinates, origin top left) and
// of its window's shows and moves (screen coordinates, origin bottom left), in order.
struct PlacementRecord {
    bool caret = false;
    double x = 0, y = 0, width = 0, height = 0;
};

std::vector<PlacementRecord> placementRecords(const std::string& file) {
    std::vector<PlacementRecord> records;
    std::ifstream stream(file);
    for (std::string line; std::getline(stream, line);) {
        PlacementRecord r;
        if (auto at = line.find("Caret reported at "); at != std::string::npos) {
            r.caret = std::sscanf(line.c_str() + at, "Caret reported at %lf %lf %lf %lf", &r.x,
                                  &r.y, &r.width, &r.height) == 4;
            if (r.caret) records.push_back(r);
        } else if (auto w = line.find("Window 0x"); w != std::string::npos) {
            char what[16] = {};
            if (std::sscanf(line.c_str() + w, "Window %*s %15s %*s %lf %lf %lf %lf", what, &r.x,
                            &r.y, &r.width, &r.height) == 5 &&
                std::string(what) != "drawn")
                records.push_back(r);
        }
    }
    return records;
}

// Everything a helper program prints, while the client's loop keeps turning.
std::string output(IBusTestClient& client, const std::vector<std::string>& argv) {
    ChildProcess child(argv, true);
    client.pumpUntil([&child] { return !child.running(); }, kPatience);
    std::string text;
    for (std::string line = child.readLine(std::chrono::milliseconds(200)); !line.empty();
         line = child.readLine(std::chrono::milliseconds(50))) {
        text += line + "\n";
    }
    return text;
}

class QuilloraWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_xserver.ready());
        m_daemon = std::make_unique<PrivateIBusDaemon>(MW_IBUS_COMPONENT_DIR, true, m_trace);
        ASSERT_TRUE(m_daemon->ready());
        m_client = std::make_unique<IBusTestClient>();
        ASSERT_TRUE(m_client->connected());
    }
    void TearDown() override {
        m_client.reset();
        m_daemon.reset();
    }

    PrivateXServer m_xserver{"1024x600x24"};
    TemporaryFolder m_folder{"mw-quillora-windows"};
    const std::string m_trace = m_folder.file("stderr");
    ScopedEnvironment m_debugging{"QUILLORA_LOG", std::string("stderr")};
    std::unique_ptr<PrivateIBusDaemon> m_daemon;
    std::unique_ptr<IBusTestClient> m_client;
};

// A field reports its caret as a GTK entry does, once it has drawn each new preedit: 10 px a
// letter from where its text starts. Every time the candidate window is shown, moved or drawn
// after a key, it is at the caret the field reports for that key's preedit, never at the one
// before (a letter to the left); the first key in another field shows it at that field only.
TEST_F(QuilloraWindows, TheCandidateWindowIsNeverShownAwayFromTheLatestCaret) {
    IBusTestClient& client = *m_client;
    int fieldX = 100, fieldY = 100;
    auto reportCaret = [&] {
        ibus_input_context_set_cursor_location(
            client.context(), fieldX + 10 * static_cast<int>(client.preedit.size()), fieldY, 1, 20);
    };
    client.preeditChanged = reportCaret;
    ASSERT_TRUE(client.selectEngine("quillora"));
    reportCaret();
    client.settle();

    auto recordsSince = [&](std::size_t from) {
        std::string text;
        const auto records = windowRecords(m_trace);
        for (std::size_t i = from; i < records.size(); ++i)
            text += " " + records[i].what + " " + std::to_string(int(records[i].x)) + ";";
        return text;
    };
    std::size_t seen = windowRecords(m_trace).size();
    auto expectAtCaret = [&](const std::string& key) {
        const double expected = fieldX + 10.0 * static_cast<double>(client.preedit.size()) + 2;
        ASSERT_TRUE(client.pumpUntil(
            [&] {
                auto records = windowRecords(m_trace);
                return records.size() > seen && records.back().x == expected;
            },
            kPatience))
            << key << ": the window never reached the caret, x " << expected
            << "; since the key:" << recordsSince(seen);
        client.settle();
        const auto records = windowRecords(m_trace);
        for (std::size_t i = seen; i < records.size(); ++i) {
            EXPECT_EQ(records[i].x, expected)
                << key << ": " << records[i].what << "; since the key:" << recordsSince(seen);
        }
        seen = records.size();
    };

    for (const char* letter : {"b", "a", "r"}) {
        client.type(letter);
        ASSERT_NO_FATAL_FAILURE(expectAtCaret(letter));
    }
    client.press(IBUS_KEY_BackSpace, 14);
    ASSERT_NO_FATAL_FAILURE(expectAtCaret("BackSpace"));
    client.press(IBUS_KEY_space, 57);
    ASSERT_EQ(client.commits.size(), 1u);
    client.settle();
    seen = windowRecords(m_trace).size();

    // The focus moves to another field of the same client, which reports its caret there.
    fieldX = 500, fieldY = 300;
    reportCaret();
    client.settle();
    for (const char* letter : {"q", "r"}) {
        client.type(letter);
        ASSERT_NO_FATAL_FAILURE(expectAtCaret(std::string("second field, ") + letter));
    }
}

// Zelvo's editor writes in vertical columns: its caret is a bar across the column, and the letters
// being composed run down to it, the rest of the column on below. Typed into through GTK's input
// module, as a person types, the candidate window stands beside that column whenever it is shown
// or moved, never over it.
TEST_F(QuilloraWindows, InZelvosVerticalEditorTheCandidateWindowStandsBesideTheColumn) {
    IBusTestClient& client = *m_client;
    PrivateWindowManager manager;
    ASSERT_TRUE(manager.ready());
    // The engine is up before Zelvo's first key, and it is the one every context gets.
    ASSERT_TRUE(client.selectEngine("quillora"));
    IBusBus* bus = ibus_bus_new();
    ASSERT_TRUE(ibus_bus_set_global_engine(bus, "quillora"));
    g_object_unref(bus);

    ScopedEnvironment module("GTK_IM_MODULE", std::string("ibus"));
    ScopedEnvironment data("ZELVO_DATA_DIR", m_folder.file("zelvo"));
    std::filesystem::create_directories(m_folder.file("zelvo"));
    ScopedEnvironment resources("ZELVO_RESOURCES", std::string(ZELVO_TEST_RESOURCES));
    const std::string zelvoLog = m_folder.file("zelvo.log");
    ChildProcess zelvo({"sh", "-c", "exec \"$0\" >\"$1\" 2>&1", ZELVO_PROGRAM, zelvoLog});
    auto logHolds = [&](const std::string& fragment) {
        std::ifstream stream(zelvoLog);
        const std::string text((std::istreambuf_iterator<char>(stream)),
                               std::istreambuf_iterator<char>());
        return text.find(fragment) != std::string::npos;
    };
    ASSERT_TRUE(
        client.pumpUntil([&] { return logHolds("webView:didFinishLoadForFrame"); }, kPatience))
        << "no editor page";
    std::string window;
    client.pumpUntil(
        [&] {
            window = output(client, {"xdotool", "search", "--onlyvisible", "--name", "^Zelvo$"});
            return !window.empty();
        },
        kPatience);
    ASSERT_FALSE(window.empty()) << "no Zelvo window";
    window = window.substr(0, window.find('\n'));

    // A new note (the toolbar's +), the caret into its editor, and a word typed.
    auto click = [&](int atX, int atY) {
        output(client, {"xdotool", "mousemove", "--window", window, std::to_string(atX),
                        std::to_string(atY), "click", "1"});
    };
    click(102, 44);
    ASSERT_TRUE(client.pumpUntil([&] { return logHolds("takes typing"); }, kPatience))
        << "no new note in the editor";
    click(600, 250);
    client.settle();
    std::size_t seen = placementRecords(m_trace).size();
    for (const char* letter : {"h", "u", "m", "u", "n"}) {
        output(client, {"xdotool", "key", "--delay", "60", letter});
        client.pumpUntil([&] { return placementRecords(m_trace).size() > seen; }, kPatience);
        client.settle();
        seen = placementRecords(m_trace).size();
    }
    output(client, {"import", "-window", "root",
                    testOutputPath("quillora-zelvo-vertical-editor.png").string()});

    const double screenHeight = 600;
    std::optional<PlacementRecord> caret;
    int placements = 0;
    for (const PlacementRecord& r : placementRecords(m_trace)) {
        if (r.caret) {
            caret = r;
            continue;
        }
        ASSERT_TRUE(caret) << "a window placed before any caret";
        ASSERT_GT(caret->width, caret->height) << "not a vertical text's caret";
        ++placements;
        // The window, turned to the desktop's coordinates, against the column of the caret.
        const double top = screenHeight - r.y - r.height;
        EXPECT_TRUE(r.x >= caret->x + caret->width || r.x + r.width <= caret->x)
            << "window " << r.x << " to " << r.x + r.width << " over the column " << caret->x
            << " to " << caret->x + caret->width;
        EXPECT_EQ(top, caret->y) << "its top level with the caret";
    }
    EXPECT_GE(placements, 1);
}

// The preferences window is Quillora's on the desktop (its top bar names the application after
// the window's class), not the engine file's.
TEST_F(QuilloraWindows, ThePreferencesWindowIsNamedQuillora) {
    IBusTestClient& client = *m_client;
    ASSERT_TRUE(client.selectEngine("quillora"));
    ASSERT_EQ(client.properties.front(), "Preferences…");
    ibus_input_context_property_activate(client.context(), "menu.0", PROP_STATE_UNCHECKED);
    std::string id;
    client.pumpUntil(
        [&] {
            id = output(client,
                        {"xdotool", "search", "--onlyvisible", "--name", "^Quillora Preferences$"});
            return !id.empty();
        },
        kPatience);
    ASSERT_FALSE(id.empty()) << "no preferences window";
    id = id.substr(0, id.find('\n'));
    EXPECT_EQ(output(client, {"xprop", "-id", id, "WM_CLASS"}),
              "WM_CLASS(STRING) = \"quillora\", \"Quillora\"\n");
}

}  // namespace
