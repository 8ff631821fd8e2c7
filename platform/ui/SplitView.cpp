#include "platform/ui/SplitView.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Event.h"

namespace platform {

namespace {
// How far from a divider a press still takes it, in points.
constexpr double dividerGrip = 3.0;
}  // namespace

SplitView::SplitView(const Rect& frame) : View(frame) {}

std::optional<double> SplitView::positionOfDivider(int dividerIndex) const {
    if (dividerIndex < 0 || dividerIndex >= dividerCount()) return std::nullopt;
    return subviews()[dividerIndex]->frame().maxX();
}

void SplitView::placePane(int index, double x, double width) {
    View& pane = *subviews()[index];
    pane.setFrame(Rect(x, 0, std::max(0.0, width), bounds().height()));
}

void SplitView::setPosition(double position, int dividerIndex) {
    if (dividerIndex < 0 || dividerIndex >= dividerCount()) return;
    const View& before = *subviews()[dividerIndex];
    const View& after = *subviews()[dividerIndex + 1];
    double start = before.frame().minX();
    double end = after.frame().maxX();
    double p = std::clamp(position, start, std::max(start, end - dividerThickness()));
    placePane(dividerIndex, start, p - start);
    double afterX = p + dividerThickness();
    placePane(dividerIndex + 1, afterX, end - afterX);
}

void SplitView::dragDivider(int dividerIndex, double proposed) {
    if (dividerIndex < 0 || dividerIndex >= dividerCount()) return;
    View& before = *subviews()[dividerIndex];
    View& after = *subviews()[dividerIndex + 1];
    double start = before.frame().minX();
    double end = after.frame().maxX() - dividerThickness();
    double low = start, high = end;
    if (m_delegate) {
        low = m_delegate->constrainMinCoordinate(*this, start, dividerIndex);
        high = m_delegate->constrainMaxCoordinate(*this, end, dividerIndex);
    }
    double position = proposed;
    if (proposed < low) {
        bool collapse = m_delegate && m_delegate->canCollapseSubview(*this, before) &&
                        proposed < start + (low - start) / 2;
        position = collapse ? start : low;
    } else if (proposed > high) {
        bool collapse = m_delegate && m_delegate->canCollapseSubview(*this, after) &&
                        proposed > high + (end - high) / 2;
        position = collapse ? end : high;
    }
    setPosition(position, dividerIndex);
}

bool SplitView::isSubviewCollapsed(const View& pane) const {
    return pane.superview() == this && pane.frame().width() <= 0;
}

void SplitView::adjustSubviews() {
    int count = int(subviews().size());
    double x = 0;
    for (int i = 0; i < count; ++i) {
        double width = subviews()[i]->frame().width();
        if (i == count - 1) width = bounds().width() - x;
        placePane(i, x, width);
        x += std::max(0.0, width) + dividerThickness();
    }
}

void SplitView::resizeSubviewsWithOldSize(Size oldSize) {
    double delta = bounds().width() - oldSize.width;
    std::vector<View*> adjustable;
    for (const auto& pane : subviews())
        if (!isSubviewCollapsed(*pane) &&
            (!m_delegate || m_delegate->shouldAdjustSizeOfSubview(*this, *pane)))
            adjustable.push_back(pane.get());
    if (adjustable.empty() && !subviews().empty()) adjustable.push_back(subviews().back().get());
    // Equal shares; a pane that cannot shrink further passes the rest on to the last one.
    double share = adjustable.empty() ? 0 : delta / double(adjustable.size());
    double x = 0;
    int count = int(subviews().size());
    double carried = 0;
    for (int i = 0; i < count; ++i) {
        View* pane = subviews()[i].get();
        double width = pane->frame().width();
        if (std::find(adjustable.begin(), adjustable.end(), pane) != adjustable.end()) {
            double wanted = width + share + carried;
            carried = 0;
            width = std::max(0.0, wanted);
            carried = wanted - width;
        }
        if (i == count - 1) width = std::max(0.0, bounds().width() - x);
        placePane(i, x, width);
        x += width + dividerThickness();
    }
}

std::optional<int> SplitView::dividerNear(double x) const {
    for (int i = 0; i < dividerCount(); ++i) {
        double p = *positionOfDivider(i);
        if (x >= p - dividerGrip && x <= p + dividerThickness() + dividerGrip) return i;
    }
    return std::nullopt;
}

View* SplitView::hitTest(Point point) {
    View* hit = View::hitTest(point);
    if (!hit) return nullptr;
    Point local = transformToSuperview().inverted().apply(point);
    return dividerNear(local.x) ? this : hit;
}

void SplitView::mouseDown(const Event& event) {
    m_dragging = dividerNear(convertPointFromView(event.locationInWindow(), nullptr).x);
    if (!m_dragging) View::mouseDown(event);
}

void SplitView::mouseDragged(const Event& event) {
    if (!m_dragging) return View::mouseDragged(event);
    dragDivider(*m_dragging, convertPointFromView(event.locationInWindow(), nullptr).x);
}

void SplitView::mouseUp(const Event& event) {
    if (!m_dragging) return View::mouseUp(event);
    m_dragging.reset();
}

void SplitView::resetCursorRects() {
    for (int i = 0; i < dividerCount(); ++i)
        addCursorRect(Rect(*positionOfDivider(i) - dividerGrip, 0,
                           dividerThickness() + 2 * dividerGrip, bounds().height()),
                      Cursor::resizeLeftRightCursor());
}

}  // namespace platform
