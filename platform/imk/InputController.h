#pragma once

#include <cstdint>
#include <memory>

#include "platform/foundation/Range.h"
#include "platform/imk/InputClient.h"
#include "platform/imk/InputEvent.h"
#include "platform/imk/MarkAttributes.h"

namespace platform {
class Menu;
}

namespace platform::imk {

// The base of a per-client input controller (IMKInputController). The framework (here the IBus
// backend, or a test) makes one for each text-input context of a client, sends it that client's
// events and focus changes, and destroys it when the context goes away. The client outlives its
// controller.
class InputController {
  public:
    explicit InputController(InputClient* client) : m_client(client) {}
    virtual ~InputController() = default;
    InputController(const InputController&) = delete;
    InputController& operator=(const InputController&) = delete;

    // The client this controller was made for.
    InputClient* client() const { return m_client; }

    // Which event types handleEvent wants (EventMask bits); key downs unless overridden.
    virtual std::uint64_t recognizedEvents(InputClient* sender);
    // Whether the controller consumed the event; an event it does not consume reaches the client
    // as if no input method were on.
    virtual bool handleEvent(const InputEvent& event, InputClient* sender);

    // The client gained or lost this input method (focus in, focus out, switch of input source).
    virtual void activateServer(InputClient* sender);
    virtual void deactivateServer(InputClient* sender);

    // The client asks for the composition to be finished and its text inserted.
    virtual void commitComposition(InputClient* sender);
    // The client reported a caret rectangle other than the one before. Clients of some frameworks
    // report it only after they have drawn the marked text a key changed, so whatever was placed
    // by the caret during that key stands where the caret was.
    virtual void caretRectangleChanged(InputClient* sender);
    // The composition should be abandoned. The framework's own answer does nothing to the
    // client's text: it inserts nothing and leaves the controller's state to the controller.
    virtual void cancelComposition();

    // The input menu to show while this controller is active; none by default.
    virtual std::shared_ptr<Menu> menu();

    // The marked-text attributes of a highlight style: the selected styles draw a thick
    // underline, the others a single one; the range is accepted for the framework's signature
    // and names the clause, of which there is always one.
    MarkAttributes markForStyle(int style, Range range) const;

  private:
    InputClient* m_client;  // borrowed
};

}  // namespace platform::imk
