#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "inputmethod/Candidate.h"
#include "inputmethod/InputMethodDelegate.h"
#include "platform/imk/InputController.h"

namespace platform {
class Timer;
}

namespace quillora {

// The input controller of one client text-input context. Keys typed in Mongolian mode build a
// romanised composition, shown as marked text in the client; after every change the candidate
// list is looked up in the dictionary and shown in the shared candidate window; Space or a digit
// commits a candidate and a mark key its mark (both converted to private-use glyphs when the
// user default "isPUA" is set), Return, Escape and other keys commit the typed letters. A lone
// Shift tap switches to English mode, in which every key reaches the client untouched; its
// notice is taken back when the mode ends.
//
// Invariants the dispatch keeps: what the client shows as marked text is the composition (a
// command prefix included); every insert into the client either is the typed
// letters or one entry of the candidate list shown for them, or a mark or digit typed after such
// a commit; and nothing is inserted twice.
//
// Main thread only. The client and the delegate outlive the controller.
class MongolianInputController : public platform::imk::InputController {
  public:
    // The key layout the controller asks for when the delegate wants the US layout.
    static constexpr const char* kUSKeyboardLayout = "com.apple.keylayout.US";
    // How many candidates a search asks the dictionary for, and how many the list keeps.
    static constexpr int32_t kCandidateLimit = 9;

    MongolianInputController(platform::imk::InputClient* client, InputMethodDelegate& delegate);

    // ---- Called by the input-method framework ----
    // Key downs and modifier changes.
    std::uint64_t recognizedEvents(platform::imk::InputClient* sender) override;
    bool handleEvent(const platform::imk::InputEvent& event,
                     platform::imk::InputClient* sender) override;
    void activateServer(platform::imk::InputClient* sender) override;
    // Hides the candidates and commits what is still being composed, as the typed letters.
    void deactivateServer(platform::imk::InputClient* sender) override;
    // Commits the typed letters.
    void commitComposition(platform::imk::InputClient* sender) override;
    // While candidates are shown, the window moves to the caret the client reports now.
    void caretRectangleChanged(platform::imk::InputClient* sender) override;
    std::shared_ptr<platform::Menu> menu() override;

    // The framework's callback for a candidate chosen in its own list: commits that candidate
    // when this composition's list holds it, as its digit would; otherwise nothing.
    void candidateSelected(const std::u16string& candidate);

    // The input menu's actions, forwarded to the delegate; the last two do nothing.
    void showPreferences();
    void showAboutUs();
    void feedback();
    void toggleChinesePuncts();
    void toggleFullSymbols();

    // ---- Key dispatch ----
    // The dispatch of one key down in Mongolian mode; whether the key was consumed.
    bool onKeyEvent(const platform::imk::InputEvent& event, platform::imk::InputClient* sender);
    // Keys the input method leaves to the client: forward delete, left, right and down arrows,
    // and any key with Command, Control, Option or numeric pad (Shift alone does not count).
    static bool shouldIgnoreKey(int64_t keyCode, std::uint64_t modifiers);
    // A letter: appended to the composition, counted, shown as marked text.
    void originalBufferAppend(const std::u16string& string, platform::imk::InputClient* sender);
    // Appends to the composition only: no count, no marked text, no search. The command prefix,
    // which once went this way, is shown and counted like letters now (originalBufferAppend).
    void appendToOriginalBuffer(const std::u16string& string, platform::imk::InputClient* sender);
    // Removes the last typed letter; false when no counted letter is left.
    bool deleteBackward(platform::imk::InputClient* sender);
    // Shows `string` as the client's marked text, the caret inside it.
    void showPreeditString(const std::u16string& string);
    // Hands the list to the candidate window at the composition's caret rectangle. While the
    // client has not yet said where the marked text just sent puts the caret, the window waits
    // for caretRectangleChanged instead (the old list stays at the old caret): shown at once it
    // would appear, or redraw, where the caret was a letter ago.
    void showCandidates(const CandidateList& candidates);
    // Whether the composition is the command prefix (":" or anything after ":!"), which is shown
    // but never looked up.
    static bool isCommandPrefix(std::u16string_view composition);
    // Ends the composition: buffers emptied, table name forgotten, candidates hidden. Leaves
    // the client's marked text, the caret, the mode, the key history and the shared list alone.
    void reset();

    // ---- Candidate search and commit ----
    // The candidate list for the current composition: dictionary words whose romanised key
    // begins with the typed letters, led by the letters' transliteration unless the best word
    // is that same text; at most nine. Empty only for an empty composition.
    CandidateList getMongolianWords();
    // The dictionary search, with its arguments unchanged.
    CandidateList retrievePrefix(const std::string& table, const std::string& letters,
                                 int32_t limit, int32_t offset);
    // One candidate: the typed letters mapped one by one through the key map. Letters without
    // a key-map entry add nothing, so the word can be empty.
    CandidateList getSuggestionOfSpellChecker(const std::u16string& letters);
    // The candidates in the order given: nothing records how often a word is chosen.
    CandidateList sortByFrequency(CandidateList candidates);
    // isSpace YES commits candidate 1 (Space), NO the typed letters (Return, the switch to
    // English mode).
    void commitCompositionIsSpace(platform::imk::InputClient* sender, bool isSpace);
    // Commits candidate index + 1 (a digit).
    void commitCompositionIndex(platform::imk::InputClient* sender, int32_t index);
    // Whether the text begins with a basic Mongolian letter (U+1820 to U+1842); NO when empty.
    static bool isMongolianFirst(std::u16string_view string);
    // Converter text (one 32-bit unit per code point) of a UTF-16 string.
    static std::wstring getWCharFromString(const std::u16string& string);
    // Shows `string` as marked text and inserts it into the current client at once.
    void commitString(const std::u16string& string);
    // Splits related words at the localised "," into one-word candidates and makes them the
    // process's candidate list; empty pieces are left out.
    CandidateList getRelationArray(const std::string& relations);
    // The string of converter text (one 32-bit unit per code point).
    static std::u16string getStringFromWChar(const std::wstring& text);

    // ---- Carried for the framework, called by nothing of Quillora's own ----
    void setCaret(int32_t caret, int32_t candiStart);
    void updateStatus(const std::string& status, const std::string& value);
    void windowHandlerTimerCallback(platform::Timer& timer);
    // A session number: createSession starts a new one, destroySession ends it, and
    // isSessionAlive tells whether a number is the one running.
    bool isSessionAlive(std::uint64_t session) const;
    std::uint64_t createSession();
    void destroySession();

    // ---- State, for the framework's backend and for tests ----
    const std::u16string& originalBuffer() const { return m_originalBuffer; }
    const std::u16string& composedBuffer() const { return m_composedBuffer; }
    const std::u16string& preeditString() const { return m_preeditString; }
    const std::optional<std::u16string>& prefixChar() const { return m_prefixChar; }
    int64_t insertionIndex() const { return m_insertionIndex; }
    int32_t caret() const { return m_caret; }
    int32_t candiStart() const { return m_candiStart; }
    bool isEnglishMode() const { return m_englishMode; }
    // The list shown for the current composition; none between compositions.
    const std::shared_ptr<const CandidateList>& candidates() const { return m_candidates; }

  private:
    // Commits entry `index` of this composition's list, or the typed letters when the list has
    // no such entry or its word is empty.
    void commitCandidate(platform::imk::InputClient* sender, std::size_t index);
    // The typed letters, unconverted, then the composition ends.
    void commitTypedLetters(platform::imk::InputClient* sender);
    // The text as committed: turned into private-use glyph codes when "isPUA" is set, else as
    // it is.
    static std::u16string inClientEncoding(const std::u16string& text);
    // Inserts with no replacement range.
    static void insert(platform::imk::InputClient* client, const std::u16string& text);
    // Searches, publishes the list as the process's list and shows it.
    void searchAndShow();
    // The typed letters as the dictionary's keys spell them: keys that stand for spelling alone
    // (the variation selectors, the vowel separator) left out.
    static std::u16string searchKey(const std::u16string& letters);
    void setBuffers(const std::u16string& text);
    // The key map's text for one typed character, absent without an entry.
    static std::optional<std::u16string> mapKey(char16_t character);
    platform::imk::InputClient* currentClient() const;
    CandidatePresenter& candidateWindow() { return m_delegate.candidateWindow(); }
    // Whether the list is on screen, or waiting for the caret to appear there.
    bool candidatesShown() { return m_awaitingCaret || !candidateWindow().isHidden(); }

    InputMethodDelegate& m_delegate;                        // borrowed
    platform::imk::InputClient* m_currentClient = nullptr;  // borrowed; latest event's client
    std::u16string m_preeditString;
    std::optional<std::u16string> m_prefixChar;
    std::u16string m_composedBuffer;
    std::u16string m_originalBuffer;
    int64_t m_insertionIndex = 0;
    int32_t m_caret = 0;
    int32_t m_candiStart = 0;
    bool m_englishMode = false;
    std::array<std::uint64_t, 2> m_lastModifiers{};
    std::array<std::uint64_t, 2> m_lastEventTypes{};
    std::shared_ptr<const CandidateList> m_candidates;
    // The list waits for the caret of the marked text just sent (see showCandidates).
    bool m_awaitingCaret = false;
    std::uint64_t m_session = 0;
};

}  // namespace quillora
