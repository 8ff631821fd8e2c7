#pragma once

#include <functional>
#include <optional>

#include "platform/imk/InputClient.h"

typedef struct _IBusEngine IBusEngine;

namespace platform::imk::ibus {

// A client input context as the controller sees it, over the IBus engine object that serves it:
// marked text becomes the underlined preedit, inserted text a commit, and the caret rectangle the
// last one the client reported (turned to a lower-left origin).
class IBusInputClient final : public InputClient {
  public:
    using ScreenProvider = std::function<std::optional<Rect>()>;
    IBusInputClient(IBusEngine* engine, ScreenProvider mainScreenOnDesktop)
        : m_engine(engine), m_mainScreenOnDesktop(std::move(mainScreenOnDesktop)) {}

    void insertText(const std::u16string& text, Range replacementRange) override;
    void setMarkedText(const std::u16string& text, const MarkAttributes& attributes,
                       Range selectionRange, Range replacementRange) override;
    TextAttributes attributesForCharacterIndex(std::uint64_t index,
                                               Rect* lineHeightRectangle) override;
    void overrideKeyboardWithKeyboardNamed(const std::string& keyboardUniqueName) override;

    // From the engine's set_cursor_location: screen coordinates, origin at the top left. Whether
    // the rectangle differs from the one before (clients repeat it on every redraw).
    bool setCaretLocation(int x, int y, int width, int height);
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
    IBusEngine* m_engine;                  // borrowed: the engine owns this client
    ScreenProvider m_mainScreenOnDesktop;  // absent without a display
    Rect m_caret;
    bool m_hasMarkedText = false;
    bool m_detached = false;
};

}  // namespace platform::imk::ibus
