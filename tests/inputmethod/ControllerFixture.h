#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "inputmethod/InputMethodDelegate.h"
#include "inputmethod/MongolianConverter/MongolianConverter.h"
#include "inputmethod/MongolianInputController.h"
#include "inputmethod/SQLite/DBUtil.h"
#include "inputmethod/WordArray.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Menu.h"
#include "shaping/ToPua.h"
#include "sqdb/SQDatabase.h"
#include "tests/support/FakeInputClient.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedResourceFolder.h"
#include "tests/support/TemporaryFolder.h"

// The candidate window as the controllers see it, recording what it is asked. Like the real
// window it answers "not hidden" until it is first hidden.
class FakeCandidateWindow : public quillora::CandidatePresenter {
  public:
    void showCandidates(const quillora::CandidateList& candidates,
                        platform::Rect caretRect) override {
        ++showCount;
        if (candidates.empty()) {
            hideCandidates();
            return;
        }
        shown = candidates;
        lastCaretRect = caretRect;
        hidden = false;
    }
    void hideCandidates() override {
        ++hideCount;
        hidden = true;
    }
    bool isHidden() const override { return hidden; }

    // The words on show, in order.
    std::vector<std::string> words() const {
        std::vector<std::string> result;
        for (const auto& candidate : shown) {
            auto found = candidate.find("char_word");
            result.push_back(found == candidate.end() ? "(none)" : found->second);
        }
        return result;
    }

    quillora::CandidateList shown;
    platform::Rect lastCaretRect;
    bool hidden = false;
    int showCount = 0;
    int hideCount = 0;
};

class FakeInputDelegate : public quillora::InputMethodDelegate {
  public:
    quillora::CandidatePresenter& candidateWindow() override { return window; }
    void messageNotify(const std::string& message) override { notices.push_back(message); }
    void withdrawNotice() override { ++withdrawals; }
    bool usingUSKbLayout() const override { return usingUSLayout; }
    std::shared_ptr<platform::Menu> menu() override { return inputMenu; }
    void showPreferences() override { actions.push_back("showPreferences"); }
    void showAboutUs() override { actions.push_back("showAboutUs"); }
    void feedback() override { actions.push_back("feedback"); }

    FakeCandidateWindow window;
    std::vector<std::string> notices;
    int withdrawals = 0;
    std::vector<std::string> actions;
    bool usingUSLayout = false;
    std::shared_ptr<platform::Menu> inputMenu;
};

// Mongolian letters of the fixture key map, by romanised key.
namespace fixture {
inline const std::string A = "\u1820", E = "\u1821", I = "\u1822", O = "\u1823", U = "\u1824",
                         NA = "\u1828", BA = "\u182A", GA = "\u182D", MA = "\u182E", LA = "\u182F",
                         SA = "\u1830", TA = "\u1832", DA = "\u1833", YA = "\u1836", RA = "\u1837",
                         NNBSP = "\u202F";
}  // namespace fixture

// The word of dictionary row `index` (0 = best) of table m: "ma" and index + 1 times "n".
inline std::string mWord(int index) {
    std::string word = fixture::MA + fixture::A;
    for (int k = 0; k <= index; ++k) word += fixture::NA;
    return word;
}

// A resource folder of its own for every test: a key map with every letter but x and X and a few
// punctuation marks, a small dictionary in the dictionary's table layout, user defaults under a
// private configuration folder. Nothing of the user's is read or written.
class ControllerTest : public ::testing::Test {
  protected:
    ControllerTest()
        : m_resources("quillora", folder.file("resources")),
          m_config("XDG_CONFIG_HOME", folder.file("config")) {}

    void SetUp() override {
        std::filesystem::create_directories(folder.file("resources"));
        writeResources(folder.path() / "resources");
        platform::UserDefaults::resetStandardUserDefaults();
        quillora::DBUtil::resetLocation();
        quillora::DBUtil::initDBDirectory();
        quillora::MongolianConverter::reset();
        quillora::WordArray::shared().replace({});
    }
    void TearDown() override {
        platform::UserDefaults::resetStandardUserDefaults();
        quillora::DBUtil::resetLocation();
        quillora::MongolianConverter::reset();
    }

    // ---- Keys ----
    static platform::imk::InputEvent key(std::u16string characters, std::uint16_t keyCode = 0,
                                         std::uint64_t flags = 0) {
        return platform::imk::InputEvent::keyDown(keyCode, std::move(characters), flags);
    }
    bool press(quillora::MongolianInputController& c, FakeInputClient& client,
               const platform::imk::InputEvent& event) {
        return c.handleEvent(event, &client);
    }
    bool press(const platform::imk::InputEvent& event) { return press(controller, client, event); }
    // Types each character as a key down; whether every key was consumed.
    bool type(quillora::MongolianInputController& c, FakeInputClient& client,
              std::u16string_view text) {
        bool all = true;
        for (char16_t ch : text) all = press(c, client, key(std::u16string(1, ch))) && all;
        return all;
    }
    bool type(std::u16string_view text) { return type(controller, client, text); }
    bool space() { return press(key(u" ", platform::imk::KeyCode::Space)); }
    bool enter() { return press(key(u"\r", platform::imk::KeyCode::Return)); }
    bool escape() { return press(key(u"\x1b", platform::imk::KeyCode::Escape)); }
    bool backspace() { return press(key(u"\b", platform::imk::KeyCode::Delete)); }
    // Shift pressed alone and released.
    void shiftTap(quillora::MongolianInputController& c, FakeInputClient& client) {
        press(c, client, platform::imk::InputEvent::flagsChanged(platform::ModifierFlags::Shift));
        press(c, client, platform::imk::InputEvent::flagsChanged(0));
    }
    void shiftTap() { shiftTap(controller, client); }

    void setPUA(int value) {
        platform::UserDefaults::standardUserDefaults().setInteger(value, "isPUA");
    }

    // ---- Expected text ----
    static std::u16string u16(const std::string& text) { return platform::utf16FromUtf8(text); }
    static std::u16string converted(const std::u16string& text) {
        return platform::utf16FromWide(
            CToPua::GetInstance()->Advance(platform::wideFromUtf16(text)));
    }
    std::vector<std::u16string> insertedTexts() const {
        std::vector<std::u16string> texts;
        for (const auto& insert : client.inserts) texts.push_back(insert.text);
        return texts;
    }

    // The key map and the dictionary; the fixture's own unless a test brings others.
    virtual void writeResources(const std::filesystem::path&) {
        writeKeyMap();
        writeDictionary();
    }

    TemporaryFolder folder{"quillora-ctrl"};
    FakeInputDelegate delegate;
    FakeInputClient client;
    quillora::MongolianInputController controller{&client, delegate};

  private:
    void writeKeyMap() {
        using namespace fixture;
        platform::PropertyValue::Dictionary map;
        const std::vector<std::pair<std::string, std::string>> letters = {
            {"a", A},        {"b", BA},       {"d", DA},       {"e", E},        {"g", GA},
            {"i", I},        {"l", LA},       {"m", MA},       {"n", NA},       {"o", O},
            {"r", RA},       {"s", SA},       {"t", TA},       {"u", U},        {"y", YA},
            {"c", "\u1834"}, {"f", "\u1839"}, {"h", "\u182C"}, {"j", "\u1835"}, {"k", "\u183A"},
            {"p", "\u182B"}, {"q", "\u1823"}, {"v", "\u1838"}, {"w", "\u1838"}, {"z", "\u183D"}};
        for (const auto& [latin, mongolian] : letters) {
            map[latin] = platform::Value(mongolian);
            std::string upper(1, static_cast<char>(latin[0] - 'a' + 'A'));
            map[upper] = platform::Value(mongolian);
        }
        map[":"] = platform::Value(std::string("\u1804"));
        map[","] = platform::Value(std::string("\u1802"));
        map["."] = platform::Value(std::string("\u1803"));
        map["!"] = platform::Value(std::string("!"));
        map["?"] = platform::Value(std::string("?"));
        ASSERT_TRUE(platform::PropertyList::write(
            platform::PropertyValue(map), folder.file("resources/english_2_mongolian.plist")));
    }

    void writeDictionary() {
        using namespace fixture;
        auto db = openFixtureDictionary();
        ASSERT_TRUE(db->open());
        ASSERT_TRUE(db->beginTransaction());
        for (char table = 'a'; table <= 'z'; ++table) {
            ASSERT_TRUE(db->executeUpdate(std::string("create table ") + table +
                                          " (id text, char_word text, bqr_biclg text, giglgc "
                                          "text, active_order integer)"));
        }
        // id, word, key, order
        const std::vector<std::tuple<char, std::string, std::string, int>> rows = {
            // "ab": the transliteration A+BA is no dictionary word, so it leads.
            {'a', A + BA + A, "aba", 50},
            {'a', A + BA + U, "abu", 40},
            {'a', A + RA + A, "ara", 30},
            // "ba": the best word is the transliteration itself.
            {'b', BA + A, "ba", 90},
            {'b', BA + A + RA, "bar", 80},
            {'b', BA + A + GA + A, "baga", 70},
            // "s": a row without a Mongolian first letter.
            {'s', "\u1880" + SA, "s", 10},
            // "yin": a suffix, which carries its narrow no-break space.
            {'y', NNBSP + YA + I + NA, "yin", 20},
        };
        for (const auto& [table, word, latin, order] : rows) {
            ASSERT_TRUE(
                db->executeUpdate(std::string("insert into ") + table + " values (?, ?, ?, '', ?)",
                                  latin, word, latin, order));
        }
        // "m": ten words, more than a list holds.
        for (int n = 0; n < 10; ++n) {
            ASSERT_TRUE(db->executeUpdate("insert into m values (?, ?, ?, '', ?)",
                                          "m" + std::to_string(n), mWord(n),
                                          "ma" + std::string(n + 1, 'n'), 100 - n));
        }
        ASSERT_TRUE(db->commit());
        db->close();
    }

    std::shared_ptr<SQDatabase> openFixtureDictionary() {
        return SQDatabase::databaseWithPath(folder.file("resources/kem_accurate_query.zvk"));
    }

    ScopedResourceFolder m_resources;
    ScopedEnvironment m_config;
};
