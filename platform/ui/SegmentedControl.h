#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace platform {

// NSSegmentedControl with its cell: segments with images, selected independently of each other
// (the "select any" tracking the panel switch uses) or one at a time.
class SegmentedControl : public Control {
  public:
    enum class Tracking { SelectOne, SelectAny, Momentary };
    explicit SegmentedControl(const Rect& frame = Rect());

    int segmentCount() const { return int(m_segments.size()); }
    void setSegmentCount(int count);
    Tracking trackingMode() const { return m_tracking; }
    void setTrackingMode(Tracking mode) { m_tracking = mode; }
    // Out-of-range segments are not selected and take nothing.
    bool isSelectedForSegment(int segment) const;
    void setSelected(bool selected, int segment);
    const std::optional<std::string>& imageForSegment(int segment) const;
    void setImage(std::optional<std::string> imageName, int segment);
    double widthForSegment(int segment) const;
    void setWidth(double width, int segment);
    // The user clicked a segment: its selection follows the tracking mode, then the action.
    void clickSegment(int segment);

    std::string nativeKind() const override { return "segmented"; }

  private:
    struct Segment {
        bool selected = false;
        std::optional<std::string> image;
        double width = 0;
    };
    bool valid(int segment) const { return segment >= 0 && segment < segmentCount(); }

    std::vector<Segment> m_segments;
    Tracking m_tracking = Tracking::SelectAny;
};

}  // namespace platform
