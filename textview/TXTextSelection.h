#pragma once

#include <cstdint>
#include <string>

#include "platform/foundation/Range.h"

// A selection grown from an anchor index.
class TXTextSelection {
  public:
    explicit TXTextSelection(int64_t index) : m_initialIndex(index) {}

    int64_t initialIndex() const { return m_initialIndex; }
    void setInitialIndex(int64_t index) { m_initialIndex = index; }
    platform::Range selectedRange() const { return m_selectedRange; }
    void setSelectedRange(platform::Range range) { m_selectedRange = range; }

    // The selection runs from the anchor to the end, whichever comes first.
    void setSelectionEndAtIndex(int64_t end);

    std::string description() const;

  private:
    int64_t m_initialIndex;
    platform::Range m_selectedRange{0, 0};
};
