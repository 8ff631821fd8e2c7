// Random key sequences against what a user must always be able to rely on.

#include <random>

#include "tests/inputmethod/ControllerFixture.h"

using platform::ModifierFlags;
using platform::imk::InputEvent;
using platform::imk::KeyCode;

namespace {

struct Step {
    enum Kind { Key, ShiftTap } kind;
    InputEvent event;
};

std::vector<Step> randomSequence(std::mt19937& random, std::size_t length,
                                 const std::u16string& letters) {
    static const std::u16string punctuation = u":!,.;?";
    std::vector<Step> steps;
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    for (std::size_t i = 0; i < length; ++i) {
        auto keyDown = [](std::u16string text, std::uint16_t code = 0, std::uint64_t flags = 0) {
            return Step{Step::Key, InputEvent::keyDown(code, std::move(text), flags)};
        };
        switch (pick(12)) {
            case 0:
            case 1:
            case 2:
            case 3:
                steps.push_back(keyDown(std::u16string(1, letters[pick(letters.size())])));
                break;
            case 4:
                steps.push_back(keyDown(std::u16string(1, char16_t(u'0' + pick(10)))));
                break;
            case 5:
                steps.push_back(keyDown(std::u16string(1, punctuation[pick(punctuation.size())])));
                break;
            case 6:
                steps.push_back(keyDown(u" ", KeyCode::Space));
                break;
            case 7:
                steps.push_back(pick(2) ? keyDown(u"\r", KeyCode::Return)
                                        : keyDown(u"\x1b", KeyCode::Escape));
                break;
            case 8:
                steps.push_back(keyDown(u"\b", KeyCode::Delete));
                break;
            case 9:
                steps.push_back(pick(2) ? keyDown(u"", KeyCode::LeftArrow, ModifierFlags::Function)
                                        : keyDown(u"", KeyCode::UpArrow, ModifierFlags::Function));
                break;
            case 10:
                steps.push_back(Step{Step::ShiftTap, InputEvent::flagsChanged(0)});
                break;
            default:
                steps.push_back(keyDown(u"\t", KeyCode::Tab));
                break;
        }
    }
    return steps;
}

}  // namespace

class RandomTypingTest : public ControllerTest {
  protected:
    // Types `rounds` random sequences of 40 keys, each into a fresh controller and client, and
    // checks after every key that nothing was lost, doubled or invented.
    void runRandomTyping(const std::u16string& letters, int rounds, unsigned seed);
};

// The same on the dictionary and key map the build generates, with their real words, marks and
// suffix keys.
class GeneratedResourcesRandomTypingTest : public RandomTypingTest {
  protected:
    void writeResources(const std::filesystem::path& folder) override {
        const std::filesystem::path built = QUILLORA_BUILD_RESOURCES;
        for (const char* name : {"english_2_mongolian.plist", "kem_accurate_query.zvk"}) {
            std::filesystem::copy_file(built / name, folder / name);
        }
    }
};

TEST_F(RandomTypingTest, NeverLosesDoublesOrInventsText) {
    runRandomTyping(u"abmyszxAB", 150, 20261209);
}

TEST_F(GeneratedResourcesRandomTypingTest, NeverLosesDoublesOrInventsText) {
    runRandomTyping(u"abcdefghijklmnopqrstuvwxyzAEINOSUX", 100, 7);
}

void RandomTypingTest::runRandomTyping(const std::u16string& letters, int rounds, unsigned seed) {
    std::mt19937 random(seed);
    for (int round = 0; round < rounds; ++round) {
        // Half the rounds with private-use output (a setting is a file write, so set it twice).
        const bool pua = round >= rounds / 2;
        if (round == 0 || round == rounds / 2) setPUA(pua ? 1 : 0);
        FakeInputClient field;
        quillora::MongolianInputController ime(&field, delegate);
        auto steps = randomSequence(random, 40, letters);

        for (std::size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE(::testing::Message() << "round " << round << " step " << i);
            const Step& step = steps[i];
            const std::u16string before = ime.originalBuffer();
            const auto list = ime.candidates();
            // The list the controller chooses from is the one on show.
            if (list && !delegate.window.isHidden()) {
                ASSERT_EQ(*list, delegate.window.shown);
            }
            const std::size_t insertsBefore = field.inserts.size();

            if (step.kind == Step::ShiftTap) {
                shiftTap(ime, field);
            } else {
                press(ime, field, step.event);
            }

            // Marked text shows the composition; only a command prefix goes unshown.
            const std::u16string& now = ime.originalBuffer();
            if (now.empty() || now[0] != u':') {
                ASSERT_EQ(field.markedText, now);
            } else {
                ASSERT_TRUE(field.markedText.empty() || field.markedText == now);
            }

            // What this step inserted: at most a commit of the composition, then one typed
            // character (a mark or a digit) after it.
            std::vector<std::u16string> added;
            for (std::size_t k = insertsBefore; k < field.inserts.size(); ++k) {
                added.push_back(field.inserts[k].text);
            }
            ASSERT_LE(added.size(), 2u);
            if (added.empty()) continue;
            const std::u16string typed = step.event.characters();
            std::size_t next = 0;
            if (!before.empty()) {
                std::vector<std::u16string> allowed = {before, before + typed};
                for (const auto& candidate : list ? *list : quillora::CandidateList{}) {
                    std::u16string word = u16(candidate.at("char_word"));
                    if (word.empty()) continue;
                    if (quillora::MongolianInputController::isMongolianFirst(word)) {
                        word = u" " + word;
                    }
                    allowed.push_back(pua ? converted(word) : word);
                }
                ASSERT_NE(std::find(allowed.begin(), allowed.end(), added[0]), allowed.end())
                    << "unexpected commit";
                ASSERT_TRUE(now.empty()) << "a commit ends the composition";
                next = 1;
            }
            if (next < added.size()) {
                ASSERT_EQ(typed.size(), 1u);
                const char16_t c = typed[0];
                auto mark = quillora::MongolianConverter::Convert_English_To_Mongolian(
                    platform::utf8FromUtf16(typed));
                const bool digit = c >= u'0' && c <= u'9';
                std::u16string expected = mark && !digit ? u16(*mark) : typed;
                if (pua && !digit) expected = converted(expected);
                ASSERT_EQ(added[next], expected);
                ASSERT_EQ(next + 1, added.size());
            }
        }
        // Whatever is left is committed once when the client lets go.
        const std::u16string left = ime.originalBuffer();
        const std::size_t count = field.inserts.size();
        ime.deactivateServer(&field);
        if (!left.empty()) {
            ASSERT_EQ(field.inserts.size(), count + 1);
            EXPECT_EQ(field.inserts.back().text, left);
        } else {
            EXPECT_EQ(field.inserts.size(), count);
        }
        EXPECT_FALSE(field.hasMarkedText());
    }
}
