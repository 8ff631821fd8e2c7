#include "notes/UI/FileCellView.h"

#include "platform/ui/TableCellImageView.h"
#include "platform/ui/TableCellTextField.h"

namespace zelvo {

using platform::Rect;

FileCellView::FileCellView(const Rect& frame) : TableCellView(frame) {}

std::shared_ptr<FileCellView> FileCellView::makeFromInterface() {
    auto cell = std::make_shared<FileCellView>(Rect(0, 0, RowHeight, RowHeight));
    auto image = std::make_shared<platform::TableCellImageView>();
    cell->addSubview(image);
    cell->setImageView(image);
    cell->m_noteCountLabel = std::make_shared<platform::TableCellTextField>();
    cell->addSubview(cell->m_noteCountLabel);
    cell->layout();
    return cell;
}

void FileCellView::setFrame(const Rect& frame) {
    TableCellView::setFrame(frame);
    layout();
}

void FileCellView::layout() {
    Rect box = bounds();
    if (imageView())
        imageView()->setFrame(Rect(box.minX() + (box.width() - ImageSide) / 2,
                                   box.minY() + (box.height() - ImageSide) / 2, ImageSide,
                                   ImageSide));
    if (m_noteCountLabel)
        m_noteCountLabel->setFrame(Rect(box.maxX() - 22, box.maxY() - 18, 20, 14));
}

}  // namespace zelvo
