#pragma once

#include <optional>

#include "platform/ui/View.h"

namespace platform {

class SplitView;

// NSSplitViewDelegate: the limits a divider is dragged within and how panes follow a resize.
// Dividers are counted from 0 at the leading edge.
class SplitViewDelegate {
  public:
    virtual ~SplitViewDelegate() = default;
    virtual double constrainMinCoordinate(SplitView&, double proposedMinimum, int dividerIndex) {
        (void)dividerIndex;
        return proposedMinimum;
    }
    virtual double constrainMaxCoordinate(SplitView&, double proposedMaximum, int dividerIndex) {
        (void)dividerIndex;
        return proposedMaximum;
    }
    virtual bool shouldAdjustSizeOfSubview(SplitView&, View&) { return true; }
    virtual bool canCollapseSubview(SplitView&, View&) { return false; }
};

// NSSplitView with vertical dividers: its subviews are panes side by side, filling its height,
// separated by dividers one point thick. setPosition places a divider where it is asked (the
// program's own moves); the user's drags go through the delegate's limits.
class SplitView : public View {
  public:
    explicit SplitView(const Rect& frame = Rect());

    SplitViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(SplitViewDelegate* delegate) { m_delegate = delegate; }  // not owned
    double dividerThickness() const { return 1.0; }
    int dividerCount() const { return std::max(0, int(subviews().size()) - 1); }
    // The x of a divider's leading edge in the split view's coordinates; absent for no divider.
    std::optional<double> positionOfDivider(int dividerIndex) const;

    // setPosition:ofDividerAtIndex:: the pane before the divider ends at the position (within the
    // room its neighbours leave); the pane after it keeps its trailing edge.
    void setPosition(double position, int dividerIndex);
    // A drag of the divider to a proposed position: held within the delegate's limits, or
    // collapsing a pane the delegate lets collapse when dragged past half its minimum.
    void dragDivider(int dividerIndex, double proposedPosition);
    bool isSubviewCollapsed(const View& pane) const;
    // Stretches the panes to fill the split view, the last pane taking what is left.
    void adjustSubviews();

    void resizeSubviewsWithOldSize(Size oldSize) override;
    View* hitTest(Point point) override;
    void mouseDown(const Event& event) override;
    void mouseDragged(const Event& event) override;
    void mouseUp(const Event& event) override;
    void resetCursorRects() override;

  private:
    std::optional<int> dividerNear(double x) const;
    void placePane(int index, double x, double width);

    SplitViewDelegate* m_delegate = nullptr;
    std::optional<int> m_dragging;
};

}  // namespace platform
