#pragma once

#include <memory>
#include <optional>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Responder.h"

namespace platform {

class Event;
class TrackingArea;
class View;

// NSWindow, headless: a frame on the screen (origin lower left of the main screen), one content
// view filling it, a first responder, and the routing of events to views. Mouse presses go to
// the view under the pointer (which becomes first responder when it accepts), drags and the
// release to the view that got the press, keys to the first responder after the views had a
// chance at Command-key equivalents; pointer movement drives tracking areas and cursor
// rectangles.
class Window : public Responder {
  public:
    explicit Window(const Rect& contentRect = Rect());
    ~Window() override;

    Rect frame() const { return m_frame; }
    // Moves and sizes the window; the content view takes the new size. `display` is for the
    // on-screen window, which redraws at once; headless there is nothing to draw.
    void setFrame(const Rect& frame, bool display);
    View* contentView() const { return m_contentView.get(); }
    // The view takes the window's content size; the former content view leaves the window.
    void setContentView(std::shared_ptr<View> view);

    bool isVisible() const { return m_visible; }
    void orderFront();
    void orderOut();
    // At most one window is key; it receives keys and keeps its cursor rectangles and key-window
    // tracking areas active.
    bool isKeyWindow() const;
    void makeKeyWindow();
    void makeKeyAndOrderFront();
    static Window* keyWindow();

    // The responder that gets keys and untargeted actions; the window itself when no other.
    Responder* firstResponder() const { return m_firstResponder; }
    // Asks the current first responder to resign (it is still first responder while it answers),
    // then the new one to accept; a null responder stands for the window. Whether it changed.
    bool makeFirstResponder(Responder* responder);

    void sendEvent(const Event& event);
    // Where the pointer was last seen, in window coordinates.
    std::optional<Point> mouseLocationOutsideOfEventStream() const { return m_mouseLocation; }

    Point convertPointToScreen(Point point) const;
    Point convertPointFromScreen(Point point) const;
    Rect convertRectToScreen(const Rect& rect) const;
    Rect convertRectFromScreen(const Rect& rect) const;

    // Discards every view's cursor rectangles and has each view set its own again.
    void resetCursorRects();

  private:
    friend class View;
    void viewDidEnter(View& view);
    void viewWillLeave(View& view);
    bool pointerIsInside(const View& view, const TrackingArea& area) const;
    bool isActive(const TrackingArea& area) const;
    View* hitView(Point point) const;
    void pointerMoved(const Event& event);
    void updateCursor(Point point) const;

    Rect m_frame;
    std::shared_ptr<View> m_contentView;
    Responder* m_firstResponder = this;
    View* m_mouseDownView = nullptr;
    std::optional<Point> m_mouseLocation;
    bool m_visible = false;
};

}  // namespace platform
