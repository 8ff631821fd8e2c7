// Quillora end to end, what the user sees of single keys and what the machine keeps of them: the
// built engine under a private ibus-daemon, typed into through a libibus input context, with no
// display (the candidates come through IBus's own lookup table).
#include <gtest/gtest.h>
#include <ibus.h>

#include <fstream>
#include <memory>
#include <set>

#include "tests/inputmethod/app/EngineUnderDaemon.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

namespace {

constexpr guint kBackSpace = 14, kTab = 15, kEscape = 1, kSpace = 57, kReturn = 28;

class QuilloraKeyPath : public EngineUnderDaemon {
  protected:
    void start() {
        ASSERT_NO_FATAL_FAILURE(startDaemon());
        ASSERT_NO_FATAL_FAILURE(connectClient());
    }

    // A key typed with Shift held, the way a keyboard sends it: Shift down, the key, Shift up.
    bool shifted(guint keyval, guint keycode) {
        ibus_input_context_process_key_event(m_client->context(), IBUS_KEY_Shift_L, 42, 0);
        const bool handled = m_client->press(keyval, keycode, IBUS_SHIFT_MASK);
        ibus_input_context_process_key_event(m_client->context(), IBUS_KEY_Shift_L, 42,
                                             IBUS_SHIFT_MASK | IBUS_RELEASE_MASK);
        return handled;
    }
};

// ":" starts the command prefix: shown as the composition, and BackSpace takes it back without
// reaching the application. Tab finishes a word and is the application's (its focus moves).
TEST_F(QuilloraKeyPath, ColonIsShownAndTakenBackAndTabCommitsThenPassesOn) {
    ASSERT_NO_FATAL_FAILURE(start());
    IBusTestClient& client = *m_client;
    EXPECT_TRUE(shifted(IBUS_KEY_colon, 39));
    EXPECT_EQ(client.preedit, ":");
    EXPECT_TRUE(client.preeditVisible);
    EXPECT_TRUE(client.press(IBUS_KEY_BackSpace, kBackSpace));
    EXPECT_TRUE(client.preedit.empty());
    EXPECT_FALSE(client.press(IBUS_KEY_BackSpace, kBackSpace));
    EXPECT_TRUE(client.commits.empty());

    client.type("bar");
    EXPECT_FALSE(client.press(IBUS_KEY_Tab, kTab));
    EXPECT_EQ(client.commits, std::vector<std::string>{"bar"});
    EXPECT_FALSE(client.tableVisible);
    EXPECT_FALSE(client.preeditVisible);
}

// Shift+A is the vowel separator: the transliteration spells the word as typed, and since the
// dictionary's keys leave the separator out, the dictionary word is found and comes first.
TEST_F(QuilloraKeyPath, ShiftAPutsTheVowelSeparatorIntoTheWord) {
    ASSERT_NO_FATAL_FAILURE(start());
    IBusTestClient& client = *m_client;
    client.type("ner");
    EXPECT_TRUE(shifted(IBUS_KEY_A, 30));
    client.type("e");
    EXPECT_EQ(client.preedit, "nerAe");
    const std::string nere = "\u1828\u1821\u1837\u180E\u1821";
    ASSERT_FALSE(client.candidates.empty());
    EXPECT_EQ(client.candidates[0], nere);
    EXPECT_GT(client.candidates.size(), 1u);  // the search found words of that key
    EXPECT_TRUE(client.press(IBUS_KEY_space, kSpace));
    EXPECT_EQ(client.commits, std::vector<std::string>{" " + nere});
}

// The transliteration can equal a word further down the dictionary's list ("bur", "nere",
// "sara"); no list, at any prefix, holds a word twice.
TEST_F(QuilloraKeyPath, NoListHoldsAWordTwice) {
    ASSERT_NO_FATAL_FAILURE(start());
    IBusTestClient& client = *m_client;
    for (const std::string word : {"bur", "nere", "sara", "mqngql", "ehe", "tere", "bagsi", "yin",
                                   "qrqn", "gal", "iregedui"}) {
        std::string typed;
        for (char letter : word) {
            typed += letter;
            client.type(std::string(1, letter));
            ASSERT_EQ(client.preedit, typed);
            EXPECT_LE(client.candidates.size(), 9u) << typed;
            std::set<std::string> distinct(client.candidates.begin(), client.candidates.end());
            EXPECT_EQ(distinct.size(), client.candidates.size()) << typed;
        }
        // The list is full wherever the dictionary has enough words.
        if (word == "bur") {
            EXPECT_EQ(client.candidates.size(), 9u);
        }
        client.press(IBUS_KEY_Escape, kEscape);
    }
}

// Every line of a file, as the fake syslog and a daemon's standard error leave them.
std::vector<std::string> linesOf(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream stream(file);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

bool anyLineHolds(const std::vector<std::string>& lines, const std::string& fragment) {
    for (const auto& line : lines) {
        if (line.find(fragment) != std::string::npos) return true;
    }
    return false;
}

// The engine's system log caught by a syslog of the test's own (put in front of the C library of
// the daemon and the engine it starts), and its standard error in a file.
class QuilloraLogTarget : public QuilloraKeyPath {
  protected:
    QuilloraLogTarget()
        : m_folder("mw-syslog"),
          m_syslog(m_folder.file("syslog")),
          m_stderr(m_folder.file("stderr")),
          m_preload("LD_PRELOAD", std::string(MW_FAKE_SYSLOG)),
          m_target("MW_FAKE_SYSLOG_FILE", m_syslog) {}

    void startLogged() {
        ASSERT_NO_FATAL_FAILURE(startDaemon(m_stderr));
        ASSERT_NO_FATAL_FAILURE(connectClient());
    }

    // Keys of every kind: letters, BackSpace, Space, digits, punctuation, Return, the command
    // prefix, Escape, Shift+A, Tab, both switches of English mode, an arrow.
    void typeEveryKindOfKey() {
        IBusTestClient& client = *m_client;
        client.type("bar");
        client.press(IBUS_KEY_BackSpace, kBackSpace);
        client.press(IBUS_KEY_space, kSpace);
        client.type("ba2ab,7");
        client.press(IBUS_KEY_Return, kReturn);
        shifted(IBUS_KEY_colon, 39);
        client.type("!x");
        client.press(IBUS_KEY_Escape, kEscape);
        client.type("ner");
        shifted(IBUS_KEY_A, 30);
        client.type("e");
        client.press(IBUS_KEY_Tab, kTab);
        client.type("qr");
        client.press(IBUS_KEY_Shift_L, 42);  // English mode, the letters committed
        client.type("english");
        client.press(IBUS_KEY_Shift_L, 42);
        client.type("m");
        client.press(IBUS_KEY_Left, 105);
        ASSERT_FALSE(m_client->commits.empty());
    }

    TemporaryFolder m_folder;
    const std::string m_syslog, m_stderr;
    ScopedEnvironment m_preload, m_target;
};

// Nothing of the typing reaches the system log by default: after start-up no record comes while
// keys of every kind are typed.
TEST_F(QuilloraLogTarget, TypingLeavesNoRecordInTheSystemLog) {
    ScopedEnvironment quiet("QUILLORA_LOG", std::nullopt);
    ASSERT_NO_FATAL_FAILURE(startLogged());
    IBusTestClient& client = *m_client;
    // Start-up is logged, which shows the records are caught.
    ASSERT_TRUE(client.pumpUntil(
        [&] { return anyLineHolds(linesOf(m_syslog), "OK! Create IMKServer success!"); },
        kPatience));
    client.settle();
    const std::vector<std::string> startUp = linesOf(m_syslog);

    ASSERT_NO_FATAL_FAILURE(typeEveryKindOfKey());
    const std::vector<std::string> all = linesOf(m_syslog);
    EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(startUp.size()), all.end()),
              std::vector<std::string>{});
}

// Debugging on the terminal is debugging there only: the keys show on standard error, and the
// system log gets no record at all, start-up included.
TEST_F(QuilloraLogTarget, DebuggingOnStderrLeavesNoRecordInTheSystemLog) {
    ScopedEnvironment debugging("QUILLORA_LOG", std::string("stderr"));
    ASSERT_NO_FATAL_FAILURE(startLogged());
    IBusTestClient& client = *m_client;
    ASSERT_NO_FATAL_FAILURE(typeEveryKindOfKey());
    EXPECT_TRUE(client.pumpUntil(
        [&] { return anyLineHolds(linesOf(m_stderr), "current String is q"); }, kPatience));
    EXPECT_TRUE(anyLineHolds(linesOf(m_stderr), "quillora: OK! Create IMKServer success!"))
        << linesOf(m_stderr).size() << " lines on stderr";
    EXPECT_EQ(linesOf(m_syslog), std::vector<std::string>{});
}

// The daemon reads (and caches) our component without a complaint: no field it reads is missing.
TEST_F(QuilloraLogTarget, TheDaemonReadsTheComponentWithoutComplaint) {
    ASSERT_NO_FATAL_FAILURE(startLogged());
    ASSERT_TRUE(m_client->type("b"));  // the engine started from the component
    m_client->settle();
    for (const std::string& line : linesOf(m_stderr)) {
        EXPECT_EQ(line.find("CRITICAL"), std::string::npos) << line;
    }
}

// Asked for its usage, the program says how to run it and ends at once, whether or not an IBus
// daemon is there to wait for.
TEST(QuilloraProgram, HelpPrintsTheUsageAndEnds) {
    FILE* program = popen("timeout 20 " MW_QUILLORA_ENGINE " --help", "r");
    ASSERT_NE(program, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, program)) output += buffer;
    EXPECT_EQ(pclose(program), 0);
    EXPECT_EQ(output.rfind("Usage: ibus-engine-quillora", 0), 0u) << output;
}

// Started by hand where no IBus daemon answers, the program says so and ends with a failure
// instead of waiting silently for ever.
TEST(QuilloraProgram, WithoutIBusItSaysSoAndEnds) {
    TemporaryFolder folder("mw-no-ibus");
    ScopedEnvironment address("IBUS_ADDRESS", "unix:path=" + folder.file("no-daemon"));
    ScopedEnvironment display("DISPLAY", std::nullopt);
    ScopedEnvironment wayland("WAYLAND_DISPLAY", std::nullopt);
    const std::string errors = folder.file("stderr");
    ChildProcess engine({MW_QUILLORA_ENGINE}, false, errors);
    ASSERT_TRUE(waitUntil([&engine] { return !engine.running(); }, kPatience));
    EXPECT_EQ(engine.exitStatus(), 1);
    EXPECT_TRUE(anyLineHolds(linesOf(errors), "IBus is not reachable")) << linesOf(errors).size();
}

TEST(QuilloraProgram, AnUnknownOptionPrintsTheUsageAndExitsWith2) {
    TemporaryFolder folder("mw-engine-usage");
    const std::string errors = folder.file("stderr");
    ChildProcess engine({MW_QUILLORA_ENGINE, "--ibsu"}, false, errors);
    ASSERT_TRUE(waitUntil([&engine] { return !engine.running(); }, kPatience));
    EXPECT_EQ(engine.exitStatus(), 2);
    EXPECT_TRUE(anyLineHolds(linesOf(errors), "unknown option --ibsu"));
    EXPECT_TRUE(anyLineHolds(linesOf(errors), "Usage: ibus-engine-quillora"));
}

}  // namespace
