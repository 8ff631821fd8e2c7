#include "platform/ui/WindowBackend.h"

#include "platform/ui/Backends.h"

namespace platform {

std::optional<Point> mouseLocation() {
    WindowBackend* backend = Backends::current().windows.get();
    return backend ? backend->mouseLocation() : std::nullopt;
}

}  // namespace platform
