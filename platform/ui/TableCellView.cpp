#include "platform/ui/TableCellView.h"

#include "platform/ui/TableCellImageView.h"
#include "platform/ui/TableCellTextField.h"

namespace platform {

TableCellView::TableCellView(const Rect& frame) : View(frame) {}

TableCellView::~TableCellView() = default;

void TableCellView::setBackgroundStyle(BackgroundStyle style) {
    // Always applied, even when unchanged: a subclass sets its look from it, and a cell may have
    // been given new images since.
    m_backgroundStyle = style;
    setNeedsDisplay(true);
}

}  // namespace platform
