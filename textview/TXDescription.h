#pragma once

// The text forms of ranges, sizes and rectangles that the records' descriptions use.

#include <string>

#include "platform/foundation/Range.h"
#include "platform/graphics/Geometry.h"

std::string TXStringFromRange(platform::Range range);  // "{location, length}"
std::string TXStringFromSize(platform::Size size);     // "{width, height}"
std::string TXStringFromRect(platform::Rect rect);     // "{{x, y}, {width, height}}"
