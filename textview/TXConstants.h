#pragma once

#include "platform/graphics/Color.h"

// The text view's default colours.
class TXConstants {
  public:
    // The platform's selected-text background: the light blue behind selected text.
    static platform::Color selectedTextBackgroundColor();
    static platform::Color linkColor();
    static platform::Color selectionCaretColor();
    static platform::Color caretColor();
};
