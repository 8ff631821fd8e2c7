#include "platform/ui/PlainTextView.h"

namespace platform {

PlainTextView::PlainTextView(const Rect& frame) : Control(frame) {}

void PlainTextView::setString(std::string text) {
    m_string = std::move(text);
    viewChanged();
}

void PlainTextView::setEditable(bool editable) {
    m_editable = editable;
    viewChanged();
}

ImageView::ImageView(const Rect& frame) : Control(frame) {}

void ImageView::setImageName(std::optional<std::string> name) {
    m_imageName = std::move(name);
    viewChanged();
}

}  // namespace platform
