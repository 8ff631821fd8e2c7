#include "inputmethod/CandidateView.h"

#include <utility>

namespace quillora {

CandidateView::CandidateView(const platform::Rect& frame) : View(frame) {}

void CandidateView::setAttributedString(platform::AttributedString string) {
    m_string = std::move(string);
    setNeedsDisplay(true);
}

void CandidateView::setBgColor(const platform::Color& color) {
    m_bgColor = color;
    setNeedsDisplay(true);
}

void CandidateView::setRadius(float radius) {
    m_radius = radius;
    setNeedsDisplay(true);
}

}  // namespace quillora
