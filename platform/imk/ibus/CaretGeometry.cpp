#include "platform/imk/ibus/CaretGeometry.h"

namespace platform::imk::ibus {

Rect caretRectFromFramework(int x, int y, int width, int height, double screenHeight) {
    if (screenHeight <= 0)
        return Rect{Point{double(x), double(y)}, Size{double(width), double(height)}};
    return Rect{Point{double(x), screenHeight - double(y) - double(height)},
                Size{double(width), double(height)}};
}

}  // namespace platform::imk::ibus
