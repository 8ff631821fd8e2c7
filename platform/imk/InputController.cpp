#include "platform/imk/InputController.h"

#include "platform/ui/Menu.h"

namespace platform::imk {

std::uint64_t InputController::recognizedEvents(InputClient*) {
    return EventMask::KeyDown;
}

bool InputController::handleEvent(const InputEvent&, InputClient*) {
    return false;
}

void InputController::activateServer(InputClient*) {}

void InputController::deactivateServer(InputClient*) {}

void InputController::commitComposition(InputClient*) {}

void InputController::cancelComposition() {}

void InputController::caretRectangleChanged(InputClient*) {}

std::shared_ptr<Menu> InputController::menu() {
    return nullptr;
}

MarkAttributes InputController::markForStyle(int style, Range) const {
    MarkAttributes attributes;
    bool selected =
        style == HighlightStyle::SelectedRawText || style == HighlightStyle::SelectedConvertedText;
    attributes.underline = selected ? UnderlineStyle::Thick : UnderlineStyle::Single;
    return attributes;
}

}  // namespace platform::imk
