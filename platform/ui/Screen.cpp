#include "platform/ui/Screen.h"

#include "platform/ui/Backends.h"
#include "platform/ui/WindowBackend.h"

namespace platform {

std::vector<Screen> Screen::screens() {
    WindowBackend* backend = Backends::current().windows.get();
    return backend ? backend->screens() : std::vector<Screen>();
}

std::optional<Screen> Screen::mainScreen() {
    std::vector<Screen> all = screens();
    if (all.empty()) return std::nullopt;
    return all.front();
}

// Both directions are the same reflection about the main screen's horizontal midline, with x
// moved so that the main screen's left edge is 0.
Rect screenRectFromDesktop(const Rect& desktopRect, const Rect& mainScreen) {
    Rect r = desktopRect.standardized();
    return Rect(r.minX() - mainScreen.minX(), mainScreen.maxY() - r.maxY(), r.width(), r.height());
}

Rect desktopRectFromScreen(const Rect& screenRect, const Rect& mainScreen) {
    Rect r = screenRect.standardized();
    return Rect(r.minX() + mainScreen.minX(), mainScreen.maxY() - r.maxY(), r.width(), r.height());
}

Point screenPointFromDesktop(Point desktopPoint, const Rect& mainScreen) {
    return {desktopPoint.x - mainScreen.minX(), mainScreen.maxY() - desktopPoint.y};
}

}  // namespace platform
