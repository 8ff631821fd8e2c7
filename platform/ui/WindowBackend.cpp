#include "platform/ui/WindowBackend.h"

#include <utility>

namespace platform {

namespace {
std::shared_ptr<WindowBackend>& installed() {
    static std::shared_ptr<WindowBackend> backend;
    return backend;
}
}  // namespace

WindowBackend* WindowBackend::shared() {
    return installed().get();
}

void WindowBackend::setShared(std::shared_ptr<WindowBackend> backend) {
    installed() = std::move(backend);
}

std::optional<Point> mouseLocation() {
    WindowBackend* backend = WindowBackend::shared();
    return backend ? backend->mouseLocation() : std::nullopt;
}

}  // namespace platform
