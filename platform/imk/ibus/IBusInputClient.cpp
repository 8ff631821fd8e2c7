#include "platform/imk/ibus/IBusInputClient.h"

#include <ibus.h>

#include <algorithm>

#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/ui/Screen.h"

namespace platform::imk::ibus {

IBusInputClient::~IBusInputClient() {
    endCaretWait();
}

void IBusInputClient::endCaretWait() {
    if (m_caretWait) g_source_remove(m_caretWait);
    m_caretWait = 0;
}

void IBusInputClient::startCaretTimeout() {
    // Below the bus's messages: a caret report that has come in by the time the wait is up is
    // handled first, however long the engine was busy.
    m_caretWait = g_timeout_add_full(
        G_PRIORITY_DEFAULT_IDLE, kCaretWaitMilliseconds,
        [](gpointer data) {
            auto* self = static_cast<IBusInputClient*>(data);
            self->m_caretWait = 0;
            self->m_caretSteady = true;
            logDebug("Caret not reported for the preedit: it stays where it was");
            if (self->m_caretWaitEnded) self->m_caretWaitEnded();
            return G_SOURCE_REMOVE;
        },
        this, nullptr);
}

void IBusInputClient::insertText(const std::u16string& text, Range) {
    // The controller expects an insertion to replace the marked text: take the preedit away
    // first, so the committed text lands where it stood and not inside it.
    if (m_hasMarkedText) {
        if (!m_detached) ibus_engine_hide_preedit_text(m_engine);
        m_hasMarkedText = false;
    }
    if (text.empty() || m_detached) return;
    ibus_engine_commit_text(m_engine, ibus_text_new_from_string(utf8FromUtf16(text).c_str()));
}

void IBusInputClient::setMarkedText(const std::u16string& text, const MarkAttributes& attributes,
                                    Range selectionRange, Range) {
    if (m_detached) {
        m_hasMarkedText = false;
        return;
    }
    const std::string utf8 = utf8FromUtf16(text);
    IBusText* preedit = ibus_text_new_from_string(utf8.c_str());
    const guint characters = g_utf8_strlen(utf8.c_str(), -1);
    if (characters > 0 && attributes.underline != UnderlineStyle::None) {
        const guint underline = attributes.underline == UnderlineStyle::Thick
                                    ? IBUS_ATTR_UNDERLINE_DOUBLE
                                    : IBUS_ATTR_UNDERLINE_SINGLE;
        ibus_text_append_attribute(preedit, IBUS_ATTR_TYPE_UNDERLINE, underline, 0, characters);
    }
    // IBus counts the cursor in characters; the controller counts UTF-16 units.
    std::u16string before =
        text.substr(0, std::min<std::uint64_t>(selectionRange.location, text.size()));
    const guint cursor = g_utf8_strlen(utf8FromUtf16(before).c_str(), -1);
    m_hasMarkedText = characters > 0;
    // The wait runs from the first preedit the client has not answered: a client that never
    // reports still gets its list shown while the keys keep coming. It starts once the engine is
    // idle again, as the client's time only begins when this key's work is done.
    if (!m_caretWait && !m_caretSteady) {
        m_caretWait = g_idle_add_full(
            G_PRIORITY_DEFAULT_IDLE,
            [](gpointer data) {
                static_cast<IBusInputClient*>(data)->startCaretTimeout();
                return G_SOURCE_REMOVE;
            },
            this, nullptr);
    }
    // Commit mode: when the context loses focus, is reset or changes engine, IBus (or the client)
    // commits what the preedit shows, which is what the controller's deactivation would commit
    // (see setDetached).
    ibus_engine_update_preedit_text_with_mode(m_engine, preedit, cursor, m_hasMarkedText,
                                              IBUS_ENGINE_PREEDIT_COMMIT);
}

TextAttributes IBusInputClient::attributesForCharacterIndex(std::uint64_t,
                                                            Rect* lineHeightRectangle) {
    if (lineHeightRectangle) *lineHeightRectangle = m_caret;
    return {};
}

void IBusInputClient::overrideKeyboardWithKeyboardNamed(const std::string& keyboardUniqueName) {
    // IBus engines type through the layout the user chose; there is nothing to override.
    logf("Keyboard layout %s not applied: the desktop's layout stays", keyboardUniqueName.c_str());
}

bool IBusInputClient::setCaretLocation(int x, int y, int width, int height) {
    const Rect desktop(x, y, width, height);
    std::optional<Rect> screen = m_mainScreenOnDesktop ? m_mainScreenOnDesktop() : std::nullopt;
    const Rect caret = screen ? screenRectFromDesktop(desktop, *screen) : desktop;
    logfDebug("Caret reported at %d %d %d %d", x, y, width, height);
    const bool answersPending = caretRectangleIsPending();
    endCaretWait();
    if (caret == m_caret && !answersPending) return false;
    if (caret != m_caret) m_caretSteady = false;
    m_caret = caret;
    return true;
}

void IBusInputClient::focusChanged() {
    endCaretWait();
    m_caretSteady = false;
}

}  // namespace platform::imk::ibus
