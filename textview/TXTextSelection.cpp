#include "textview/TXTextSelection.h"

#include "textview/TXDescription.h"

void TXTextSelection::setSelectionEndAtIndex(int64_t end) {
    if (m_initialIndex > end) {
        m_selectedRange = {static_cast<uint64_t>(end), static_cast<uint64_t>(m_initialIndex - end)};
    } else {
        m_selectedRange = {static_cast<uint64_t>(m_initialIndex),
                           static_cast<uint64_t>(end - m_initialIndex)};
    }
}

std::string TXTextSelection::description() const {
    return TXStringFromRange(m_selectedRange);
}
