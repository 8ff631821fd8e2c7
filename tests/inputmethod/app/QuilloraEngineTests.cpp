// Quillora end to end: the built engine, started by a private ibus-daemon from the build tree's
// component file, typed into through a libibus input context. No display: the candidates come
// through IBus's own lookup table.
#include <gtest/gtest.h>
#include <ibus.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "platform/foundation/UnicodeString.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/inputmethod/app/EngineUnderDaemon.h"
#include "tests/support/DamagedPropertyLists.h"

namespace {

bool allInRange(const std::string& text, char32_t low, char32_t high, bool allowSpace = true) {
    bool any = false;
    for (char32_t c : platform::utf32FromUtf8(text)) {
        if (allowSpace && (c == U' ' || c == 0x202F)) continue;
        if (c < low || c > high) return false;
        any = true;
    }
    return any;
}

class QuilloraEngine : public EngineUnderDaemon {
  protected:
    // `defaultsFile`, when given, is the preferences file's content before the engine starts.
    void start(bool privateUse = false, std::optional<std::string> defaultsFile = std::nullopt) {
        ASSERT_NO_FATAL_FAILURE(startDaemon());
        if (defaultsFile) {
            auto folder = std::filesystem::path(m_daemon->configHome()) / "quillora";
            std::filesystem::create_directories(folder);
            std::ofstream(folder / "defaults.plist", std::ios::binary) << *defaultsFile;
        }
        if (privateUse) {
            platform::UserDefaults defaults(std::filesystem::path(m_daemon->configHome()) /
                                            "quillora" / "defaults.plist");
            defaults.setInteger(1, "isPUA");
        }
        ASSERT_NO_FATAL_FAILURE(connectClient());
    }
};

TEST_F(QuilloraEngine, LettersComposeAndSpaceCommitsTheTopCandidate) {
    ASSERT_NO_FATAL_FAILURE(start());
    IBusTestClient& client = *m_client;
    EXPECT_EQ(client.properties,
              (std::vector<std::string>{"Preferences…", "About Quillora…", "Feedback…"}));
    EXPECT_TRUE(client.type("bar"));
    EXPECT_EQ(client.preedit, "bar");
    EXPECT_TRUE(client.preeditVisible);
    ASSERT_TRUE(client.tableVisible);
    ASSERT_FALSE(client.candidates.empty());
    const std::string top = client.candidates[0];
    EXPECT_TRUE(allInRange(top, 0x1800, 0x18AF));
    EXPECT_TRUE(client.commits.empty());

    EXPECT_TRUE(client.press(IBUS_KEY_space, 57));
    ASSERT_EQ(client.commits.size(), 1u);
    // A word that begins with a Mongolian letter is set apart from the text before it.
    EXPECT_EQ(client.commits[0], " " + top);
    EXPECT_FALSE(client.preeditVisible);
    EXPECT_FALSE(client.tableVisible);
    // Nothing composed: Space is the client's again.
    EXPECT_FALSE(client.press(IBUS_KEY_space, 57));
}

TEST_F(QuilloraEngine, PrivateUseSettingCommitsGlyphCodes) {
    ASSERT_NO_FATAL_FAILURE(start(/*privateUse=*/true));
    IBusTestClient& client = *m_client;
    client.type("bar");
    ASSERT_TRUE(client.press(IBUS_KEY_space, 57));
    ASSERT_EQ(client.commits.size(), 1u);
    EXPECT_TRUE(allInRange(client.commits[0], 0xE801, 0xEAB6)) << client.commits[0];
}

TEST_F(QuilloraEngine, ADamagedPreferencesFileLeavesTheDefaults) {
    // A string holding a NUL byte once aborted the engine as it read its preferences.
    ASSERT_NO_FATAL_FAILURE(start(false, kStringWithNul));
    IBusTestClient& client = *m_client;
    EXPECT_TRUE(client.type("bar"));
    ASSERT_TRUE(client.press(IBUS_KEY_space, 57));
    ASSERT_EQ(client.commits.size(), 1u);
    EXPECT_TRUE(allInRange(client.commits[0], 0x1800, 0x18AF)) << client.commits[0];
}

TEST_F(QuilloraEngine, ShiftTapSwitchesToEnglishAndBack) {
    ASSERT_NO_FATAL_FAILURE(start());
    IBusTestClient& client = *m_client;
    client.press(IBUS_KEY_Shift_L, 42);
    EXPECT_FALSE(client.press(IBUS_KEY_b, 48));
    EXPECT_FALSE(client.press(IBUS_KEY_Return, 28));
    EXPECT_TRUE(client.commits.empty());
    EXPECT_FALSE(client.preeditVisible);
    client.press(IBUS_KEY_Shift_L, 42);
    EXPECT_TRUE(client.press(IBUS_KEY_b, 48));
    EXPECT_EQ(client.preedit, "b");
    // Shift held for a capital is no tap.
    ibus_input_context_process_key_event(client.context(), IBUS_KEY_Shift_L, 42, 0);
    EXPECT_TRUE(client.press(IBUS_KEY_A, 30, IBUS_SHIFT_MASK));
    ibus_input_context_process_key_event(client.context(), IBUS_KEY_Shift_L, 42,
                                         IBUS_SHIFT_MASK | IBUS_RELEASE_MASK);
    EXPECT_TRUE(client.press(IBUS_KEY_r, 19));
    EXPECT_EQ(client.preedit, "bAr");
}

TEST_F(QuilloraEngine, FocusOutCommitsPendingLetters) {
    ASSERT_NO_FATAL_FAILURE(start());
    IBusTestClient& client = *m_client;
    client.type("ba");
    ASSERT_EQ(client.preedit, "ba");
    ibus_input_context_focus_out(client.context());
    // The daemon commits the preedit itself and then tells the engine, whose answer (the table
    // hidden) comes later: wait for both, then give a second commit the time to show up.
    EXPECT_TRUE(client.pumpUntil([&] { return !client.commits.empty() && !client.tableVisible; },
                                 kPatience));
    client.settle();
    EXPECT_EQ(client.commits, std::vector<std::string>{"ba"});
    EXPECT_FALSE(client.tableVisible);
}

// Password and PIN fields: nothing is composed, every key reaches the field as typed.
TEST_F(QuilloraEngine, PasswordFieldsGetEveryKey) {
    ASSERT_NO_FATAL_FAILURE(start());
    IBusTestClient& client = *m_client;
    ibus_input_context_set_content_type(client.context(), IBUS_INPUT_PURPOSE_PASSWORD, 0);
    client.settle();
    EXPECT_FALSE(client.press(IBUS_KEY_b, 48));
    EXPECT_FALSE(client.press(IBUS_KEY_a, 30));
    EXPECT_FALSE(client.press(IBUS_KEY_space, 57));
    EXPECT_TRUE(client.commits.empty());
    EXPECT_TRUE(client.preedit.empty());
    EXPECT_FALSE(client.tableVisible);

    ibus_input_context_set_content_type(client.context(), IBUS_INPUT_PURPOSE_PIN, 0);
    client.settle();
    EXPECT_FALSE(client.press(IBUS_KEY_1, 2));

    ibus_input_context_set_content_type(client.context(), IBUS_INPUT_PURPOSE_FREE_FORM, 0);
    client.settle();
    EXPECT_TRUE(client.press(IBUS_KEY_b, 48));
}

}  // namespace
