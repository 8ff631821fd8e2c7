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

    // From the engine's set_cursor_location: screen coordinates, origin at the top left.
    void setCaretLocation(int x, int y, int width, int height);
    // Whether marked text is showing.
    bool hasMarkedText() const { return m_hasMarkedText; }
    // While the context loses focus: IBus itself commits the preedit it shows (the preedit is
    // sent in commit mode, and the engine is detached from the context at once, so a commit of
    // ours would be lost, or, with one engine per context, doubled). What deactivation would
    // insert is that same preedit, so insertions are dropped until the focus change is over.
    void setFocusLeaving(bool leaving) { m_focusLeaving = leaving; }

  private:
    IBusEngine* m_engine;                  // borrowed: the engine owns this client
    ScreenProvider m_mainScreenOnDesktop;  // absent without a display
    Rect m_caret;
    bool m_hasMarkedText = false;
    bool m_focusLeaving = false;
};

}  // namespace platform::imk::ibus
