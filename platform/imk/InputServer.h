#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/imk/InputController.h"

namespace platform::imk {

// The input-method server of the process (IMKServer): it registers the program with the
// input-method framework and makes one controller for each client input context the framework
// opens. The IBus backend implements it and makes it (ibus::install).
class InputServer {
  public:
    using ControllerFactory = std::function<std::unique_ptr<InputController>(InputClient*)>;

    struct Options {
        // The connection name the framework knows the program by, and the program's identifier.
        std::string connectionName;
        std::string bundleIdentifier;
        // The engine the component file names ("quillora") and how it shows in menus.
        std::string engineName;
        std::string engineLongName;
        std::string language;
        std::string iconPath;
        // Started by the framework from the component file (IBus's "--ibus"): the component is
        // already known and the process only claims its name. Otherwise the process describes
        // its component itself, so it can be run by hand.
        bool startedByFramework = false;
        ControllerFactory makeController;
        // The main screen's rectangle in desktop coordinates (origin top left, y down), against
        // which the framework's caret rectangles are turned to screen coordinates; absent
        // without a display (caret rectangles then stay as the framework gives them).
        std::function<std::optional<Rect>()> mainScreenOnDesktop;
    };

    virtual ~InputServer() = default;

    // The framework's own candidate list, shown by the client or its panel next to the active
    // context's caret; for sessions where the program has no window of its own to show.
    virtual void showFrameworkCandidates(const std::vector<std::u16string>& candidates) = 0;
    virtual void hideFrameworkCandidates() = 0;
    virtual bool frameworkCandidatesVisible() const = 0;

    // Runs until the framework closes the connection (the daemon quits or replaces the engine).
    virtual void setDisconnectedHandler(std::function<void()> handler) = 0;
};

}  // namespace platform::imk
