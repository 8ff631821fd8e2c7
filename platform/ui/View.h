#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/Responder.h"

namespace platform {

class GraphicsContext;
class Menu;
class ViewPeer;
class TrackingArea;
class Window;

// NSView, headless: a rectangle in its superview with a coordinate system of its own (the
// bounds), unflipped (origin lower left, y up). The bounds may be moved, scaled and rotated
// (rotateByAngle); conversions and hit testing go through frames, bounds and rotations. Views are
// held by shared_ptr: a superview owns its subviews, a window its content view.
class View : public Responder, public std::enable_shared_from_this<View> {
  public:
    explicit View(const Rect& frame = Rect());  // initWithFrame:
    ~View() override;

    // Geometry. The frame is in the superview's coordinates (the window's for a content view).
    // With a rotated bounds, bounds() is the smallest rectangle of the view's coordinates that
    // holds the frame.
    Rect frame() const { return m_frame; }
    virtual void setFrame(const Rect& frame);
    Rect bounds() const;
    // Makes bounds() the given rectangle: moves and scales the coordinate system, keeping its
    // rotation.
    virtual void setBounds(const Rect& bounds);
    void setBoundsOrigin(Point origin);
    void setBoundsSize(Size size);
    // Turns the coordinate system about its origin, counter-clockwise for positive degrees (the
    // content turns with it).
    void rotateByAngle(double degrees);
    double boundsRotation() const { return m_boundsRotation; }
    void setBoundsRotation(double degrees);
    // The model has no flipped views.
    bool isFlipped() const { return false; }

    // The transform from this view's bounds coordinates to its superview's (for a view without
    // superview: to its window's), and to the window's; conversion and drawing go through these.
    AffineTransform transformToSuperview() const;
    AffineTransform transformToWindow() const;

    // convertPoint:fromView: / convertPoint:toView: and the rectangle forms; a null view means the
    // window (for a tree outside any window, the coordinates its topmost view's frame is in). A
    // converted rectangle is the bounding box of the converted corners.
    Point convertPointFromView(Point point, const View* view) const;
    Point convertPointToView(Point point, const View* view) const;
    Rect convertRectFromView(const Rect& rect, const View* view) const;
    Rect convertRectToView(const Rect& rect, const View* view) const;

    // Autoresizing (NSAutoresizingMaskOptions): how the view follows a change of its superview's
    // size. Margins and sizes marked flexible share the change equally, as AppKit does.
    enum AutoresizingMask : unsigned {
        ViewNotSizable = 0,
        ViewMinXMargin = 1,
        ViewWidthSizable = 2,
        ViewMaxXMargin = 4,
        ViewMinYMargin = 8,
        ViewHeightSizable = 16,
        ViewMaxYMargin = 32,
    };
    unsigned autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(unsigned mask) { m_autoresizingMask = mask; }
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool flag) { m_autoresizesSubviews = flag; }
    // Called after the frame's size changed; lets every subview follow its mask.
    virtual void resizeSubviewsWithOldSize(Size oldSize);
    virtual void resizeWithOldSuperviewSize(Size oldSize);

    // A hidden view, and everything below it, is neither drawn nor hit.
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    bool isHiddenOrHasHiddenAncestor() const;

    // The on-screen counterpart of a view that a toolkit widget shows (controls, web pages); the
    // window backend creates it. Views call viewChanged() after changing what the widget shows.
    ViewPeer* peer() const { return m_peer.get(); }
    void setPeer(std::unique_ptr<ViewPeer> peer);
    void viewChanged();
    // The kind of toolkit widget that shows this view on screen ("button", "textField"...); empty
    // for views drawn through drawRect.
    virtual std::string nativeKind() const { return {}; }

    // Hierarchy.
    View* superview() const { return m_superview; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return m_subviews; }
    // Adds a view on top of the others, taking it from its former superview. A view cannot be
    // added to itself or to one of its own subviews.
    void addSubview(std::shared_ptr<View> view);
    void removeFromSuperview();
    bool isDescendantOf(const View* view) const;
    Window* window() const { return m_window; }
    Responder* nextResponder() const override;

    // The deepest view under a point given in the superview's coordinates (the window's for a
    // content view), or null when the point is outside this view.
    virtual View* hitTest(Point point);

    // Display.
    bool needsDisplay() const { return m_needsDisplay; }
    void setNeedsDisplay(bool flag);
    void setNeedsDisplayInRect(const Rect& rect);
    // What has been marked since the last display, in bounds coordinates; null when nothing.
    Rect needsDisplayRect() const { return m_dirtyRect; }
    // Draws the view's own content; the dirty rectangle is in bounds coordinates.
    virtual void drawRect(const Rect& dirtyRect);
    // Draws this view and the views below it, parents first, into a context whose user space is
    // the superview's coordinates (the window's for a content view): each view is clipped to its
    // frame, drawn in its bounds coordinates with itself as the current context's view, and no
    // longer needs display afterwards.
    void displayInContext(GraphicsContext& context);

    // Events: a right click shows the menu for it, when there is one; key equivalents are offered
    // to the subviews, topmost first.
    void rightMouseDown(const Event& event) override;
    bool performKeyEquivalent(const Event& event) override;
    // The context menu for an event, or null for none.
    virtual std::shared_ptr<Menu> menuForEvent(const Event& event);

    // Cursor rectangles, in bounds coordinates; a later rectangle wins where two overlap.
    struct CursorRect {
        Rect rect;
        Cursor cursor;
    };
    void addCursorRect(const Rect& rect, const Cursor& cursor);
    void discardCursorRects();
    // Called when the window rebuilds its cursor rectangles, after they were discarded.
    virtual void resetCursorRects();
    const std::vector<CursorRect>& cursorRects() const { return m_cursorRects; }

    // Tracking areas, in bounds coordinates.
    void addTrackingArea(std::shared_ptr<TrackingArea> area);
    void removeTrackingArea(const std::shared_ptr<TrackingArea>& area);
    const std::vector<std::shared_ptr<TrackingArea>>& trackingAreas() const {
        return m_trackingAreas;
    }
    // Called when the view joins a window and when the window's size changes.
    virtual void updateTrackingAreas();

  private:
    friend class Window;
    void setWindow(Window* window);
    // Calls f on this view and every view below it, parents first.
    template <typename F>
    void forEachInTree(F&& f);

    Rect m_frame;
    unsigned m_autoresizingMask = ViewNotSizable;
    bool m_autoresizesSubviews = true;
    bool m_hidden = false;
    std::unique_ptr<ViewPeer> m_peer;
    AffineTransform m_boundsToFrame;  // bounds coordinates to coordinates relative to the frame
    double m_boundsRotation = 0;
    View* m_superview = nullptr;
    Window* m_window = nullptr;
    std::vector<std::shared_ptr<View>> m_subviews;
    bool m_needsDisplay = false;
    Rect m_dirtyRect = Rect::null();
    std::vector<CursorRect> m_cursorRects;
    std::vector<std::shared_ptr<TrackingArea>> m_trackingAreas;
};

// The toolkit side of a view (see View::peer()). It is told when the view's content changed;
// placing it is the window backend's business.
class ViewPeer {
  public:
    virtual ~ViewPeer() = default;
    virtual void viewChanged() = 0;
};

template <typename F>
void View::forEachInTree(F&& f) {
    f(*this);
    std::vector<std::shared_ptr<View>> subviews = m_subviews;  // f may rearrange the tree
    for (const auto& sub : subviews) sub->forEachInTree(f);
}

}  // namespace platform
