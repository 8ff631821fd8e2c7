#pragma once

#include "platform/ui/TextField.h"

namespace zelvo {

// An entry field for Mongolian: turned by +90 degrees so its text runs top to bottom, in the
// display font.
class MTextField : public platform::TextField {
  public:
    using TextField::TextField;
    // Runs once the interface has made the field: the turn and the display font at 14 points.
    void awakeFromNib();
};

}  // namespace zelvo
