#include "inputmethod/MongolianInputController.h"

#include <algorithm>

#include "inputmethod/WordArray.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"

namespace quillora {

using platform::ModifierFlags;
using platform::imk::EventMask;
using platform::imk::InputClient;
using platform::imk::InputEvent;
using platform::imk::InputEventType;
using platform::imk::KeyCode;

namespace {

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The 32 printable ASCII characters that are neither letters, digits nor the blank.
bool isAsciiPunctuation(char16_t c) {
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E);
}

constexpr std::uint64_t kKeyDown = static_cast<std::uint64_t>(InputEventType::KeyDown);
constexpr std::uint64_t kFlagsChanged = static_cast<std::uint64_t>(InputEventType::FlagsChanged);

}  // namespace

MongolianInputController::MongolianInputController(InputClient* client,
                                                   InputMethodDelegate& delegate)
    : InputController(client), m_delegate(delegate), m_currentClient(client) {}

std::uint64_t MongolianInputController::recognizedEvents(InputClient*) {
    return EventMask::KeyDown | EventMask::FlagsChanged;
}

bool MongolianInputController::handleEvent(const InputEvent& event, InputClient* sender) {
    m_currentClient = sender;
    const std::uint64_t flags = event.modifierFlags();
    const auto type = static_cast<std::uint64_t>(event.type());
    bool handled = false;

    if (type == kKeyDown) {
        if (!m_englishMode) {
            handled = onKeyEvent(event, sender);
        } else {
            platform::logDebug("进到这里了！");
        }
    } else if (type == kFlagsChanged && flags == 0 && m_lastEventTypes[1] == kFlagsChanged &&
               m_lastModifiers[1] == ModifierFlags::Shift &&
               (m_lastModifiers[0] & ModifierFlags::Shift) == 0) {
        // A lone Shift tap: an event without Shift, Shift alone pressed, everything released.
        platform::logDebug("mode changeing~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~");
        m_englishMode = !m_englishMode;
        if (m_englishMode) {
            m_delegate.messageNotify(
                platform::Bundle::mainBundle().localizedString("Switched to English mode", ""));
            // Whatever is being composed is committed as typed, whether or not the window
            // shows: in English mode no key would ever finish it.
            if (!m_originalBuffer.empty()) {
                commitCompositionIsSpace(sender, false);
            } else if (candidatesShown()) {
                reset();
            }
        } else {
            // Left up, the notice would claim English mode until the desktop's timeout.
            m_delegate.withdrawNotice();
        }
    }

    platform::logfDebug("---- %lu", static_cast<unsigned long>(flags));
    platform::logfDebug("---- %i", flags == ModifierFlags::Shift ? 1 : 0);
    platform::logfDebug("---- %lu", static_cast<unsigned long>(type));
    m_lastModifiers[0] = m_lastModifiers[1];
    m_lastEventTypes[0] = m_lastEventTypes[1];
    m_lastModifiers[1] = flags;
    m_lastEventTypes[1] = type;
    return handled;
}

void MongolianInputController::activateServer(InputClient* sender) {
    if (m_delegate.usingUSKbLayout() && sender) {
        sender->overrideKeyboardWithKeyboardNamed(kUSKeyboardLayout);
    }
}

void MongolianInputController::deactivateServer(InputClient*) {
    candidateWindow().hideCandidates();
    // The composition is committed as typed. A command prefix counts too: it was typed, and
    // dropping it silently would lose it.
    std::u16string pending = m_originalBuffer;
    std::erase(pending, u' ');
    if (!pending.empty()) commitString(pending);
    reset();
}

std::shared_ptr<platform::Menu> MongolianInputController::menu() {
    return m_delegate.menu();
}

void MongolianInputController::showPreferences() {
    m_delegate.showPreferences();
}
void MongolianInputController::showAboutUs() {
    m_delegate.showAboutUs();
}
void MongolianInputController::feedback() {
    m_delegate.feedback();
}
void MongolianInputController::toggleChinesePuncts() {}

void MongolianInputController::setCaret(int32_t caret, int32_t candiStart) {
    platform::logDebug(
        "\n------------ -[MongolianInputController setCaret:andCandiStart:] --------------\n");
    m_caret = caret;
    m_candiStart = candiStart;
}

void MongolianInputController::updateStatus(const std::string&, const std::string&) {
    platform::logDebug(
        "\n------------ -[MongolianInputController updateStatus:withValue:] --------------\n");
}

void MongolianInputController::windowHandlerTimerCallback(platform::Timer&) {
    platform::logDebug(
        "\n------------ -[MongolianInputController windowHandlerTimerCallback:] "
        "--------------\n");
}

bool MongolianInputController::isSessionAlive(std::uint64_t session) const {
    return session != 0 && session == m_session;
}

std::uint64_t MongolianInputController::createSession() {
    platform::logDebug("\n------------ -[MongolianInputController createSession] --------------\n");
    static std::uint64_t lastSession = 0;
    m_session = ++lastSession;
    return m_session;
}

void MongolianInputController::destroySession() {
    platform::logDebug(
        "\n------------ -[MongolianInputController destroySession] --------------\n");
    m_session = 0;
}
void MongolianInputController::toggleFullSymbols() {}

bool MongolianInputController::shouldIgnoreKey(int64_t keyCode, std::uint64_t modifiers) {
    if (keyCode == KeyCode::ForwardDelete || keyCode == KeyCode::LeftArrow ||
        keyCode == KeyCode::RightArrow || keyCode == KeyCode::DownArrow) {
        return true;
    }
    return (modifiers & (ModifierFlags::Command | ModifierFlags::Control | ModifierFlags::Option |
                         ModifierFlags::NumericPad)) != 0;
}

bool MongolianInputController::onKeyEvent(const InputEvent& event, InputClient* sender) {
    m_currentClient = sender;
    const std::uint16_t key = event.keyCode();
    const std::u16string& characters = event.characters();
    platform::logfDebug("keyCode is %ld", static_cast<long>(key));
    platform::logfDebug("current String is %s", platform::utf8FromUtf16(characters).c_str());

    if (shouldIgnoreKey(key, event.modifierFlags())) {
        // The composition is dropped, and with it the marked text that shows it.
        bool shown = !m_preeditString.empty();
        reset();
        if (shown) showPreeditString(u"");
        return false;
    }
    if (key == KeyCode::Delete) {
        return m_originalBuffer.empty() ? false : deleteBackward(sender);
    }
    const std::u16string& buffer = m_originalBuffer;
    platform::logfDebug("********************* %s *********************",
                        platform::utf8FromUtf16(buffer).c_str());
    if (key == KeyCode::Space) {
        if (buffer.empty()) return false;
        commitCompositionIsSpace(sender, true);
        return true;
    }
    if (key == KeyCode::Return) {
        if (buffer.empty()) return false;
        commitCompositionIsSpace(sender, false);
        return true;
    }
    if (key == KeyCode::Escape) {
        if (buffer.empty()) return false;
        cancelComposition();
        commitComposition(sender);
        return true;
    }
    // A key without a character (Up, Home, End, Page Up/Down, function keys) or with a control
    // character (Tab) finishes the composition as typed and then does its own work in the
    // client: Tab moves the focus rather than landing in the text.
    if (characters.empty() || characters[0] < 0x20 || characters[0] == 0x7F) {
        if (!buffer.empty()) {
            commitComposition(sender);
        } else {
            candidateWindow().hideCandidates();
        }
        return false;
    }
    if ((buffer.empty() && characters == u":") || (buffer == u":" && characters == u"!") ||
        buffer.starts_with(u":!")) {
        // The command prefix is shown like any composition, so the user sees what a later key
        // will finish and BackSpace can take it back; it is never looked up.
        originalBufferAppend(characters, sender);
        return true;
    }

    const char16_t c = characters[0];
    if (isAsciiLetter(c)) {
        platform::logfDebug(" +++++++++++ %s +++++++++++",
                            platform::utf8FromUtf16(characters).c_str());
        platform::logfDebug(" +++++++++++ %c +++++++++++", static_cast<char>(c));
        if (c >= u'a' && c <= u'z') platform::logDebug("++++++++++++++++= is loware case");
        if (m_englishMode) return false;
        platform::logDebug("++++++++++++++++= is not english mode");
        originalBufferAppend(characters, sender);
        searchAndShow();
        return true;
    }
    if (isAsciiPunctuation(c)) {
        // The mark follows the word being composed, so that word is committed first.
        if (!buffer.empty()) commitCompositionIsSpace(sender, true);
        // Beside private-use letters a standard mark is one the private-use font cannot show.
        insert(sender, inClientEncoding(mapKey(c).value_or(std::u16string(1, c))));
        return true;
    }
    if (isAsciiDigit(c)) {
        const int number = c - u'0';
        platform::logfDebug("press %d", number);
        if (buffer.empty()) {
            if (candidatesShown()) return false;
            platform::logfDebug("if one %d", number);
            insert(sender, std::u16string(1, c));
            platform::logDebug("Only number to insert");
            return true;
        }
        platform::logfDebug("if two %d", number);
        platform::logfDebug("array count %i",
                            m_candidates ? static_cast<int>(m_candidates->size()) : 0);
        if (candidatesShown() && m_candidates && number >= 1 &&
            static_cast<std::size_t>(number) <= m_candidates->size()) {
            platform::logDebug("in comming ... ");
            commitCompositionIndex(sender, number - 1);
            return true;
        }
        // A digit that selects nothing is text after the word being composed: commit the word
        // first, as Space does, rather than let the digit land in front of it.
        commitCompositionIsSpace(sender, true);
        insert(sender, std::u16string(1, c));
        platform::logDebug("Only number to insert");
        return true;
    }
    if (!buffer.empty()) {
        originalBufferAppend(characters, sender);
        commitComposition(sender);
        return true;
    }
    candidateWindow().hideCandidates();
    return false;
}

void MongolianInputController::originalBufferAppend(const std::u16string& string, InputClient*) {
    setBuffers(m_originalBuffer + string);
    m_insertionIndex += 1;
    showPreeditString(m_originalBuffer);
}

void MongolianInputController::appendToOriginalBuffer(const std::u16string& string, InputClient*) {
    setBuffers(m_originalBuffer + string);
}

bool MongolianInputController::deleteBackward(InputClient*) {
    if (m_insertionIndex < 1) return false;
    m_insertionIndex -= 1;
    std::u16string rest = m_originalBuffer;
    if (!rest.empty()) rest.pop_back();
    setBuffers(rest);
    showPreeditString(rest);
    if (rest.empty()) {
        reset();
    } else if (isCommandPrefix(rest)) {
        m_candidates.reset();
        m_awaitingCaret = false;
        candidateWindow().hideCandidates();
    } else {
        searchAndShow();
    }
    return true;
}

bool MongolianInputController::isCommandPrefix(std::u16string_view composition) {
    return composition == u":" || composition.starts_with(u":!");
}

void MongolianInputController::showPreeditString(const std::u16string& string) {
    m_preeditString = string;
    const std::uint64_t length = string.size();
    auto attributes =
        markForStyle(platform::imk::HighlightStyle::SelectedRawText, platform::Range{0, length});
    // The caret stands where the next letter goes, at the end, from the first key on. (`_caret`
    // starts at 0 and only a commit sets it, so it would move from the word's start to its end
    // after the first deactivation.)
    if (InputClient* client = currentClient()) {
        client->setMarkedText(string, attributes, platform::Range{length, 0},
                              platform::imk::kNoRange);
    }
}

void MongolianInputController::showCandidates(const CandidateList& candidates) {
    InputClient* client = currentClient();
    m_awaitingCaret = client && !candidates.empty() && candidateWindow().followsCaret() &&
                      client->caretRectangleIsPending();
    if (m_awaitingCaret) return;
    platform::Rect lineRect;
    if (client) {
        client->attributesForCharacterIndex(static_cast<std::uint64_t>(m_candiStart), &lineRect);
    }
    candidateWindow().showCandidates(candidates, lineRect);
}

void MongolianInputController::caretRectangleChanged(InputClient* sender) {
    if (!m_candidates || sender != currentClient()) return;
    if (m_awaitingCaret) {
        showCandidates(*m_candidates);
        return;
    }
    if (candidateWindow().isHidden()) return;
    platform::Rect lineRect;
    sender->attributesForCharacterIndex(static_cast<std::uint64_t>(m_candiStart), &lineRect);
    candidateWindow().moveToCaret(lineRect);
}

void MongolianInputController::reset() {
    setBuffers(u"");
    m_insertionIndex = 0;
    m_prefixChar.reset();
    m_candidates.reset();
    m_awaitingCaret = false;
    candidateWindow().hideCandidates();
}

void MongolianInputController::searchAndShow() {
    WordArray& shared = WordArray::shared();
    shared.replace(getMongolianWords());
    m_candidates = shared.list();
    showCandidates(*m_candidates);
}

void MongolianInputController::setBuffers(const std::u16string& text) {
    m_originalBuffer = text;
    m_composedBuffer = text;
}

InputClient* MongolianInputController::currentClient() const {
    return m_currentClient ? m_currentClient : client();
}

}  // namespace quillora
