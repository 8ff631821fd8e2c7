#include "platform/ui/Screen.h"

#include "platform/ui/Window.h"

namespace platform {

namespace {
Screen::Source& source() {
    static Screen::Source theSource;
    return theSource;
}
}  // namespace

std::vector<Screen> Screen::screens() {
    return source() ? source()() : std::vector<Screen>{};
}

std::optional<Screen> Screen::mainScreen() {
    std::vector<Screen> all = screens();
    if (all.empty()) return std::nullopt;
    if (Window* key = Window::keyWindow()) {
        Point centre{key->frame().midX(), key->frame().midY()};
        for (const Screen& s : all)
            if (s.frame().contains(centre)) return s;
    }
    return all.front();
}

Screen::Source Screen::setSource(Source newSource) {
    Source old = std::move(source());
    source() = std::move(newSource);
    return old;
}

}  // namespace platform
