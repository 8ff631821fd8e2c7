#include "platform/ui/SegmentedControl.h"

namespace platform {

SegmentedControl::SegmentedControl(const Rect& frame) : Control(frame) {}

void SegmentedControl::setSegmentCount(int count) {
    m_segments.resize(std::max(count, 0));
    viewChanged();
}

bool SegmentedControl::isSelectedForSegment(int segment) const {
    return valid(segment) && m_segments[segment].selected;
}

void SegmentedControl::setSelected(bool selected, int segment) {
    if (!valid(segment)) return;
    if (selected && m_tracking == Tracking::SelectOne)
        for (Segment& s : m_segments) s.selected = false;
    m_segments[segment].selected = selected;
    viewChanged();
}

const std::optional<std::string>& SegmentedControl::imageForSegment(int segment) const {
    static const std::optional<std::string> none;
    return valid(segment) ? m_segments[segment].image : none;
}

void SegmentedControl::setImage(std::optional<std::string> imageName, int segment) {
    if (!valid(segment)) return;
    m_segments[segment].image = std::move(imageName);
    viewChanged();
}

double SegmentedControl::widthForSegment(int segment) const {
    return valid(segment) ? m_segments[segment].width : 0;
}

void SegmentedControl::setWidth(double width, int segment) {
    if (valid(segment)) m_segments[segment].width = width;
}

void SegmentedControl::clickSegment(int segment) {
    if (!valid(segment) || !isEnabled()) return;
    switch (m_tracking) {
        case Tracking::SelectAny:
            setSelected(!m_segments[segment].selected, segment);
            break;
        case Tracking::SelectOne:
            setSelected(true, segment);
            break;
        case Tracking::Momentary:
            break;
    }
    sendAction();
}

}  // namespace platform
