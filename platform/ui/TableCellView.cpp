#include "platform/ui/TableCellView.h"

#include "platform/ui/TableCellImageView.h"
#include "platform/ui/TableCellTextField.h"

namespace platform {

TableCellView::TableCellView(const Rect& frame) : View(frame) {}

TableCellView::~TableCellView() = default;

void TableCellView::setBackgroundStyle(BackgroundStyle style) {
    if (m_backgroundStyle == style) return;
    m_backgroundStyle = style;
    setNeedsDisplay(true);
}

}  // namespace platform
