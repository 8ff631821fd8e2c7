#include "textview/TXConstants.h"

using platform::Color;

Color TXConstants::selectedTextBackgroundColor() {
    return Color::calibratedRGB(0xB5 / 255.0, 0xD5 / 255.0, 1.0, 1.0);
}

Color TXConstants::linkColor() {
    return Color::calibratedRGB(0.286, 0.549, 0.859, 1.0);
}

Color TXConstants::selectionCaretColor() {
    return Color::calibratedRGB(0.075, 0.435, 0.882, 1.0);
}

Color TXConstants::caretColor() {
    return Color::calibratedRGB(0.118, 0.447, 0.871, 1.0);
}
