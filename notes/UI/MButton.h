#pragma once

#include "platform/ui/Button.h"

namespace zelvo {

// The fonts Zelvo draws its own controls with: the Mongolian display font, else the system font
// (a machine without the font still shows the controls).
platform::Font displayFont(double size);

// A push button whose title is set in the Mongolian display font.
class MButton : public platform::Button {
  public:
    using Button::Button;
    // Runs once the interface has made the button: the display font at 14 points.
    void awakeFromNib();
};

}  // namespace zelvo
