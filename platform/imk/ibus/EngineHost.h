#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/imk/InputController.h"

typedef struct _IBusEngine IBusEngine;
typedef unsigned long GType;

namespace platform::imk::ibus {

// What the engine objects need of the server that registered them: a controller for each new
// engine, the main screen for caret rectangles, and a word when an engine becomes the active
// one or goes away. One host per process (the server), set before the first engine is made.
class EngineHost {
  public:
    virtual ~EngineHost() = default;
    virtual std::unique_ptr<InputController> makeController(InputClient* client) = 0;
    virtual std::function<std::optional<Rect>()> mainScreenOnDesktop() = 0;
    virtual void engineActivated(IBusEngine* engine) = 0;
    virtual void engineDeactivated(IBusEngine* engine) = 0;
};

void setEngineHost(EngineHost* host);

// The GObject type of the engine objects IBus's factory makes, one per client input context.
GType inputEngineType();

}  // namespace platform::imk::ibus
