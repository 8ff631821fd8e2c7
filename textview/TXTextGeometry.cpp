#include "textview/TXTextGeometry.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/Range.h"
#include "textview/TXDescription.h"

TXTextGeometry::TXTextGeometry()
    : TXTextGeometry(platform::Rect(), static_cast<int64_t>(platform::NotFound)) {}

TXTextGeometry::TXTextGeometry(platform::Rect rect, int64_t lineNumber)
    : m_lineNumber(lineNumber), m_rect(rect) {}

std::string TXTextGeometry::description() const {
    return platform::stringWithFormat("Line: %lld, Range: %s", static_cast<long long>(m_lineNumber),
                                      TXStringFromRect(m_rect).c_str());
}
