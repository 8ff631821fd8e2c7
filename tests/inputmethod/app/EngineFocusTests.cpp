// Quillora's engine served by a private ibus-daemon to the test's libibus input contexts, with the
// engine in this very process so that its candidate window can be read from the window model (on
// a fake 1600x1000 screen): what the contexts receive while the focus moves, the field is reset or
// the engine is switched, and where the window stands as the caret moves.
#include <gtest/gtest.h>
#include <ibus.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "inputmethod/CandidateWindow.h"
#include "inputmethod/MongolianInputController.h"
#include "inputmethod/MongolianInputDelegate.h"
#include "inputmethod/SQLite/DBUtil.h"
#include "inputmethod/WordArray.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/imk/InputServer.h"
#include "platform/imk/ibus/IBusBackend.h"
#include "platform/ui/Screen.h"
#include "tests/inputmethod/app/IBusTestClient.h"
#include "tests/support/FakeWindowBackend.h"
#include "tests/support/PrivateIBusDaemon.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedResourceFolder.h"

namespace {

using platform::Point;
using platform::Rect;

constexpr const char* kEngine = "quillora-in-test";
const Rect kMainScreen(0, 0, 1600, 1000);

// The left edges at which the candidate window went up or moved, from the window model's trace,
// up to the first caret the engine gave up waiting for: a machine too busy to bring the client's
// answer in time shows the list where the caret was, as it must.
std::vector<double> placementsOf(const platform::LogCapture& log) {
    std::vector<double> xs;
    for (const std::string& line : log.lines()) {
        if (line.starts_with("Caret not reported")) break;
        double x = 0;
        if (std::sscanf(line.c_str(), "Window %*s shown at %lf", &x) == 1 ||
            std::sscanf(line.c_str(), "Window %*s moved to %lf", &x) == 1)
            xs.push_back(x);
    }
    return xs;
}

class EngineInProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        m_backend->setScreens({kMainScreen});
        m_daemon = std::make_unique<PrivateIBusDaemon>(MW_IBUS_COMPONENT_DIR);
        ASSERT_TRUE(m_daemon->ready());
        platform::UserDefaults::resetStandardUserDefaults();
        quillora::DBUtil::resetLocation();
        quillora::DBUtil::initDBDirectory();
        m_delegate = std::make_unique<quillora::MongolianInputDelegate>();

        platform::imk::InputServer::Options options;
        options.connectionName = "Quillora_test";
        options.bundleIdentifier = "test.quillora";
        options.engineName = kEngine;
        options.engineLongName = "Quillora in a test";
        options.language = "mn";
        options.makeController = [this](platform::imk::InputClient* client) {
            return std::make_unique<quillora::MongolianInputController>(client, *m_delegate);
        };
        options.mainScreenOnDesktop = [] { return std::optional<Rect>(kMainScreen); };
        m_server = platform::imk::ibus::install(std::move(options));
        ASSERT_TRUE(m_server);
    }
    void TearDown() override {
        m_clients.clear();
        m_server.reset();
        m_delegate.reset();
        m_daemon.reset();
        quillora::DBUtil::resetLocation();
    }

    IBusTestClient& newClient() {
        m_clients.push_back(std::make_unique<IBusTestClient>());
        EXPECT_TRUE(m_clients.back()->connected());
        EXPECT_TRUE(m_clients.back()->selectEngine(kEngine));
        return *m_clients.back();
    }
    quillora::CandidateWindow& window() { return m_delegate->window(); }

    // Every preedit update so far showed its caret at the end of its text.
    static void expectCaretsAtTheEnd(const IBusTestClient& client) {
        for (const auto& update : client.preeditUpdates) {
            EXPECT_EQ(update.cursor, platform::utf32FromUtf8(update.text).size()) << update.text;
        }
    }

    fakes::ScopedFakeBackend m_backend;
    ScopedResourceFolder m_resources{"quillora", QUILLORA_BUILD_RESOURCES};
    std::unique_ptr<PrivateIBusDaemon> m_daemon;
    std::unique_ptr<quillora::MongolianInputDelegate> m_delegate;
    std::unique_ptr<platform::imk::InputServer> m_server;
    std::vector<std::unique_ptr<IBusTestClient>> m_clients;
};

// The client reports the caret after it has drawn the preedit a key changed: the window, placed by
// the caret known during the key, moves to each new one (2 px right of it, its top 2 px below it).
TEST_F(EngineInProcess, CandidateWindowFollowsEveryNewCaret) {
    IBusTestClient& client = newClient();
    const Rect carets[] = {{300, 200, 1, 18},
                           {311, 200, 1, 18},
                           {322, 200, 1, 18},
                           {334, 200, 1, 18},
                           {40, 620, 1, 18}};
    ibus_input_context_set_cursor_location(client.context(), 300, 200, 1, 18);
    std::size_t next = 1;
    for (const char* letters : {"b", "a", "r", ""}) {
        client.type(letters);
        const Rect& caret = carets[next++];
        ibus_input_context_set_cursor_location(client.context(), int(caret.origin.x),
                                               int(caret.origin.y), 1, 18);
        // The report goes through the daemon first: on a busy machine it comes when it comes.
        const Point expected{caret.origin.x + 2, caret.maxY() + 2};
        Point at;
        EXPECT_TRUE(client.pumpUntil(
            [&] {
                at = platform::desktopRectFromScreen(window().window().frame(), kMainScreen).origin;
                return !window().isHidden() && at == expected;
            },
            kPatience))
            << "after caret " << next - 1 << " the window is at " << at.x << " " << at.y
            << (window().isHidden() ? ", hidden" : "");
    }
}

// The caret of the preedit stands at its end on every update, before and after the focus moves;
// the composition of a field that loses the focus is finished there, once, and nothing of it
// reaches the field that gains it.
TEST_F(EngineInProcess, FocusMovingOnFinishesTheCompositionInItsOwnFieldOnly) {
    IBusTestClient& first = newClient();
    IBusTestClient& second = newClient();
    ibus_input_context_focus_in(first.context());
    first.settle();
    first.type("bar");
    ASSERT_EQ(first.preedit, "bar");
    expectCaretsAtTheEnd(first);
    second.preeditUpdates.clear();

    ibus_input_context_focus_out(first.context());
    ibus_input_context_focus_in(second.context());
    // The daemon commits the preedit itself; the engine hides its list when it hears of it.
    EXPECT_TRUE(
        first.pumpUntil([&] { return !first.commits.empty() && window().isHidden(); }, kPatience));
    first.settle();
    EXPECT_EQ(first.commits, std::vector<std::string>{"bar"});
    EXPECT_TRUE(second.commits.empty());
    for (const auto& update : second.preeditUpdates) EXPECT_EQ(update.text, "") << update.text;

    second.type("ta");
    ASSERT_EQ(second.preedit, "ta");
    expectCaretsAtTheEnd(second);
    first.preeditUpdates.clear();
    // Straight to the other field, without a word from the first (clients say it, as GTK does;
    // without it IBus drops the old preedit itself): the letters must not follow the focus.
    ibus_input_context_focus_in(first.context());
    EXPECT_TRUE(second.pumpUntil([&] { return !second.preeditVisible; }, kPatience));
    first.settle();
    EXPECT_EQ(first.commits, std::vector<std::string>{"bar"});
    for (const auto& update : first.preeditUpdates) EXPECT_EQ(update.text, "") << update.text;

    first.type("ba");
    EXPECT_EQ(first.preedit, "ba");
    expectCaretsAtTheEnd(first);
}

// A reset (a click in the field) and a switch to another engine while letters are composed: IBus
// commits the preedit, the engine adds nothing, and the next composition starts afresh.
TEST_F(EngineInProcess, ResetOrEngineSwitchWhileComposingCommitsTheLettersOnce) {
    IBusTestClient& client = newClient();
    client.type("ta");
    ASSERT_EQ(client.preedit, "ta");
    ibus_input_context_reset(client.context());
    EXPECT_TRUE(client.pumpUntil(
        [&] { return !client.commits.empty() && !client.preeditVisible && window().isHidden(); },
        kPatience));
    client.settle();
    EXPECT_EQ(client.commits, std::vector<std::string>{"ta"});

    client.type("bar");
    EXPECT_EQ(client.preedit, "bar");
    EXPECT_FALSE(window().isHidden());
    // The engine the component folder holds: the program itself, started by the daemon.
    ibus_input_context_set_engine(client.context(), "quillora");
    EXPECT_TRUE(client.pumpUntil([&] { return client.commits.size() > 1 && window().isHidden(); },
                                 kPatience));
    client.settle();
    EXPECT_EQ(client.commits, (std::vector<std::string>{"ta", "bar"}));
}

// A field scrolled to its end keeps its caret at its edge, and neither GTK nor the desktop's shell
// repeats a caret that stays put. Once a list has waited for that caret in vain, the list of each
// later key goes up while the engine handles the key, before the key is answered. After a switch
// to another window (on a Wayland desktop the same context serves it) the first list waits again,
// for the caret the new window reports: it never goes up at the previous window's.
TEST_F(EngineInProcess, ASteadyCaretIsNotWaitedForKeyAfterKeyUntilTheFocusMoves) {
    ScopedEnvironment debugging{"QUILLORA_LOG", std::string("syslog")};
    IBusTestClient& client = newClient();
    ibus_input_context_set_cursor_location(client.context(), 700, 200, 1, 18);
    client.type("b");
    // The window starts out not hidden: it is the list going up that tells the wait has lapsed.
    ASSERT_TRUE(client.pumpUntil([&] { return window().window().isVisible(); }, kPatience));
    for (const char letter : std::string("ara")) {
        ASSERT_TRUE(client.sendKey(guint(letter), 0, 0));
        EXPECT_EQ(window().wordArray(), *quillora::WordArray::shared().list()) << letter;
        EXPECT_EQ(window().window().frame().origin.x, 702) << letter;
        client.sendKey(guint(letter), 0, IBUS_RELEASE_MASK);
    }
    client.press(IBUS_KEY_space, 57);
    ASSERT_EQ(client.commits.size(), 1u);

    ibus_input_context_focus_out(client.context());
    ibus_input_context_focus_in(client.context());
    client.settle();
    platform::LogCapture log;
    client.preeditChanged = [&] {
        ibus_input_context_set_cursor_location(client.context(), 911, 600, 1, 18);
    };
    client.type("t");
    EXPECT_TRUE(client.pumpUntil(
        [&] { return !window().isHidden() && window().window().frame().origin.x == 913; },
        kPatience))
        << "the window is at " << window().window().frame().origin.x;
    client.settle();
    for (double x : placementsOf(log)) EXPECT_EQ(x, 913);
}

}  // namespace
