#include "notes/UI/NoteCellView.h"

#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/ui/TableCellImageView.h"
#include "platform/ui/TableCellTextField.h"
#include "textview/TXTextView.h"

namespace zelvo {

using platform::BackgroundStyle;
using platform::Color;
using platform::Rect;

namespace {

constexpr double Margin = 8;
constexpr double DateHeight = 18;
constexpr double DateWidth = 108;
constexpr double StatusSide = 16;

platform::Font summaryFont() {
    if (auto font = platform::Font::fontWithName(platform::Font::DisplayFontFamily,
                                                 NoteCellView::SummaryFontSize))
        return *font;
    return platform::Font::systemFont(NoteCellView::SummaryFontSize);
}

}  // namespace

NoteCellView::NoteCellView(const Rect& frame) : TableCellView(frame) {}

NoteCellView::NoteCellView(const Rect& frame, const std::string&) : NoteCellView(frame) {
    platform::logf("%s", "-[NoteCellView initWithFrame:withSummary:]");
}

NoteCellView::~NoteCellView() = default;

std::shared_ptr<NoteCellView> NoteCellView::makeFromInterface() {
    auto cell = std::make_shared<NoteCellView>(Rect(0, 0, 220, RowHeight));
    cell->m_dateBgImageView = std::make_shared<platform::TableCellImageView>();
    cell->addSubview(cell->m_dateBgImageView);
    cell->m_dateLabel = std::make_shared<platform::TableCellTextField>();
    cell->m_dateLabel->setFont(platform::Font::systemFont(platform::Font::labelFontSize()));
    cell->m_dateLabel->setAlignment(2);
    cell->addSubview(cell->m_dateLabel);
    cell->setTextField(cell->m_dateLabel);
    cell->m_statusImageView = std::make_shared<platform::TableCellImageView>();
    cell->addSubview(cell->m_statusImageView);
    cell->m_seTextView = std::make_shared<TXTextView>();
    cell->addSubview(cell->m_seTextView);
    cell->layout();
    cell->awakeFromNib();
    return cell;
}

void NoteCellView::awakeFromNib() {
    if (m_isLoaded || !m_seTextView) return;
    m_seTextView->rotateByAngle(-90);
    m_seTextView->setFont(summaryFont());
    m_seTextView->setLineHeight(SummaryLineHeight);
    m_seTextView->setTextColor(SummaryColor);
    m_isLoaded = true;
}

void NoteCellView::setFrame(const Rect& frame) {
    TableCellView::setFrame(frame);
    layout();
}

void NoteCellView::layout() {
    Rect box = bounds();
    Rect date(box.minX() + Margin, box.maxY() - Margin - DateHeight, DateWidth, DateHeight);
    if (m_dateBgImageView) m_dateBgImageView->setFrame(date);
    if (m_dateLabel) m_dateLabel->setFrame(date);
    if (m_statusImageView)
        m_statusImageView->setFrame(Rect(box.maxX() - Margin - StatusSide,
                                         date.minY() + (DateHeight - StatusSide) / 2, StatusSide,
                                         StatusSide));
    if (m_seTextView) {
        double top = date.minY() - 6;
        m_seTextView->setFrame(Rect(box.minX() + Margin, box.minY() + 6,
                                    std::max(0.0, box.width() - 2 * Margin),
                                    std::max(0.0, top - box.minY() - 6)));
    }
}

void NoteCellView::setBackgroundStyle(BackgroundStyle style) {
    TableCellView::setBackgroundStyle(style);
    if (textField()) textField()->setBackgroundStyle(style);
    auto show = [](const std::shared_ptr<platform::TableCellImageView>& view,
                   const OptionalImage& image) {
        if (view) view->setImage(image);
    };
    switch (style) {
        case BackgroundStyle::Normal:
            show(imageView(), m_normalImage);
            show(m_statusImageView, m_normalStatusImage);
            show(m_dateBgImageView, m_normalDateBgImage);
            if (m_seTextView) m_seTextView->setTextColor(SummaryColor);
            break;
        case BackgroundStyle::Emphasized:
            show(imageView(), m_highLightedImage);
            show(m_statusImageView, m_highLightedStatusImage);
            show(m_dateBgImageView, m_highLightedDateBgImage);
            if (m_seTextView) m_seTextView->setTextColor(Color::whiteColor());
            break;
        default:
            show(imageView(), m_normalImage);
            break;
    }
    // The text view takes a colour at its next draw; ask for one.
    if (m_seTextView) m_seTextView->setNeedsDisplay(true);
}

}  // namespace zelvo
