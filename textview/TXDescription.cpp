#include "textview/TXDescription.h"

#include "platform/foundation/Log.h"

std::string TXStringFromRange(platform::Range range) {
    return platform::stringWithFormat("{%llu, %llu}",
                                      static_cast<unsigned long long>(range.location),
                                      static_cast<unsigned long long>(range.length));
}

std::string TXStringFromSize(platform::Size size) {
    return platform::stringWithFormat("{%g, %g}", size.width, size.height);
}

std::string TXStringFromRect(platform::Rect rect) {
    return platform::stringWithFormat("{{%g, %g}, {%g, %g}}", rect.origin.x, rect.origin.y,
                                      rect.size.width, rect.size.height);
}
