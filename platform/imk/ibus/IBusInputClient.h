#pragma once

#include <functional>
#include <optional>

#include "platform/imk/InputClient.h"

typedef struct _IBusEngine IBusEngine;

namespace platform::imk::ibus {

// A client input context as the controller sees it, over the IBus engine object that serves it:
// marked text becomes the underlined preedit, inserted text a commit, and the caret rectangle the
// last one the client reported (turned to a lower-left origin).
//
// A client reports its caret only after it has drawn the preedit it was sent, so the caret is
// pending from each preedit until that report; a client that sends none within
// kCaretWaitMilliseconds of the first preedit it has not answered (counted from when the engine is
// idle again, and yielding to any report already come in) is taken to leave the caret where it
// was. Clients repeat no caret that stays put (a field scrolled to its end keeps it at
// its edge key after key): once a wait has lapsed, the caret is steady and later preedits are not
// waited for, until the client reports the caret somewhere else or the focus moves (the next
// field's caret is another's, and on a Wayland desktop one context serves every window).
class IBusInputClient final : public InputClient {
  public:
    using ScreenProvider = std::function<std::optional<Rect>()>;
    static constexpr unsigned kCaretWaitMilliseconds = 150;

    IBusInputClient(IBusEngine* engine, ScreenProvider mainScreenOnDesktop)
        : m_engine(engine), m_mainScreenOnDesktop(std::move(mainScreenOnDesktop)) {}
    ~IBusInputClient() override;
    IBusInputClient(const IBusInputClient&) = delete;
    IBusInputClient& operator=(const IBusInputClient&) = delete;

    void insertText(const std::u16string& text, Range replacementRange) override;
    void setMarkedText(const std::u16string& text, const MarkAttributes& attributes,
                       Range selectionRange, Range replacementRange) override;
    TextAttributes attributesForCharacterIndex(std::uint64_t index,
                                               Rect* lineHeightRectangle) override;
    void overrideKeyboardWithKeyboardNamed(const std::string& keyboardUniqueName) override;
    bool caretRectangleIsPending() const override { return m_caretWait != 0; }

    // From the engine's set_cursor_location: screen coordinates, origin at the top left. Whether
    // the controller must hear of it: the rectangle differs from the one before (clients repeat
    // it on every redraw), or it answers a pending caret.
    bool setCaretLocation(int x, int y, int width, int height);
    // Called when a pending caret is given up on: the client sent no new one in time.
    void setCaretWaitEndedHandler(std::function<void()> handler) {
        m_caretWaitEnded = std::move(handler);
    }
    // The focus came in: whether the caret stays put is the new field's to show.
    void focusChanged();
    // Whether marked text is showing.
    bool hasMarkedText() const { return m_hasMarkedText; }
    // While IBus has taken the preedit away from the context (focus out, reset, a switch of
    // engine): the preedit is sent in commit mode, so IBus, or the client itself, has committed
    // what it showed, once. What the controller then sends to finish its composition (marked
    // text, an insertion, a hide) must not reach any context: not this one, which has its
    // letters already, nor the next one, to which the daemon hands this engine as soon as the
    // focus moves. While detached the client only forgets its marked text.
    void setDetached(bool detached) { m_detached = detached; }

  private:
    void startCaretTimeout();
    void endCaretWait();

    IBusEngine* m_engine;                  // borrowed: the engine owns this client
    ScreenProvider m_mainScreenOnDesktop;  // absent without a display
    std::function<void()> m_caretWaitEnded;
    // The GLib source that gives a pending caret up (at first the one that starts its clock); 0
    // when no caret is pending.
    unsigned m_caretWait = 0;
    Rect m_caret;
    bool m_caretSteady = false;  // left where it was by the last preedit waited for
    bool m_hasMarkedText = false;
    bool m_detached = false;
};

}  // namespace platform::imk::ibus
