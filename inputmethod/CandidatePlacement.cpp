#include "inputmethod/CandidatePlacement.h"

#include <optional>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowBackend.h"

namespace quillora {

using platform::Point;
using platform::Rect;
using platform::Screen;

namespace {

std::optional<Rect> frameOfScreenHolding(const std::vector<Screen>& screens, Point point) {
    for (const Screen& screen : screens)
        if (screen.frame().contains(point)) return screen.frame();
    return std::nullopt;
}

// The caret of vertical text is a bar across its column, wider than tall.
bool isVerticalTextCaret(Rect caretRect) {
    return caretRect.size.width > caretRect.size.height;
}

}  // namespace

Rect tuningFrameForScreen(platform::Size textSize, Rect caretRect, std::size_t) {
    platform::logDebug("进到这里了");
    const double onScreenWidth = textSize.height + 5;
    const double onScreenHeight = textSize.width + 5;
    const bool vertical = isVerticalTextCaret(caretRect);
    // Below a vertical text's caret run the letters that follow it in its column: the window
    // starts level with the caret's top, beside the column.
    double x = vertical ? caretRect.maxX() + 2 : caretRect.origin.x + 2;
    double y =
        vertical ? caretRect.maxY() - onScreenHeight : caretRect.origin.y - onScreenHeight - 2;

    std::optional<Screen> main = Screen::mainScreen();
    Rect frame = main ? main->frame() : Rect();
    std::vector<Screen> screens = Screen::screens();
    if (screens.size() != 1) {
        if (auto caretScreen = frameOfScreenHolding(screens, caretRect.origin)) {
            frame = *caretScreen;
            platform::logDebug("使用默认屏幕了");
        } else if (auto pointer = platform::mouseLocation()) {
            // The backend gives the pointer in screen coordinates already, turned over about the
            // main screen as the caret is.
            if (auto pointerScreen = frameOfScreenHolding(screens, *pointer)) {
                frame = *pointerScreen;
                platform::logDebug("根据鼠标位置调整了");
            }
        }
    }

    if (x > frame.maxX() - onScreenWidth) {
        // Pulled left, a window beside a column would cover it: it goes to the column's other side.
        x = vertical ? caretRect.minX() - 2 - onScreenWidth : frame.maxX() - onScreenWidth;
        platform::logDebug("第一次调整");
    }
    if (x < frame.minX()) {
        x = frame.minX();
        platform::logDebug("第二次调整");
    }
    if (y < frame.minY()) {
        // Beside a column the window covers none of its letters wherever it stands: it only rises.
        if (vertical)
            y = frame.minY();
        else
            y = caretRect.origin.y > frame.minY() ? caretRect.origin.y + caretRect.size.height + 2
                                                  : frame.minY();
        platform::logDebug("第三次调整");
    }
    return Rect(x, y, textSize.width + 5, textSize.height + 5);
}

}  // namespace quillora
