#include "notes/UI/MButton.h"

namespace zelvo {

platform::Font displayFont(double size) {
    if (auto font = platform::Font::fontWithName(platform::Font::DisplayFontFamily, size))
        return *font;
    return platform::Font::systemFont(size);
}

void MButton::awakeFromNib() {
    setFont(displayFont(14.0));
}

}  // namespace zelvo
