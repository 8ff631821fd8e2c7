#include "notes/UI/MTextField.h"

#include "notes/UI/MButton.h"

namespace zelvo {

void MTextField::awakeFromNib() {
    rotateByAngle(90.0);
    setFont(displayFont(14.0));
}

}  // namespace zelvo
