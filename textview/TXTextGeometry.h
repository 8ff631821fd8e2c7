#pragma once

#include <cstdint>
#include <string>

#include "platform/graphics/Geometry.h"

// One piece of a link on one line: its rectangle in the layout's coordinates.
class TXTextGeometry {
  public:
    TXTextGeometry();  // the zero rectangle on no line
    TXTextGeometry(platform::Rect rect, int64_t lineNumber);

    const platform::Rect& rect() const { return m_rect; }
    int64_t lineNumber() const { return m_lineNumber; }

    std::string description() const;

  private:
    int64_t m_lineNumber;
    platform::Rect m_rect;
};
