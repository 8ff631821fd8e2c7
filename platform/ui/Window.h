#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Responder.h"

namespace platform {

class Event;
class TrackingArea;
class View;
class Window;

// NSWindowDelegate: the questions and notices a window's delegate answers.
class WindowDelegate {
  public:
    virtual ~WindowDelegate() = default;
    // Whether a close asked for by the user (the close button, performClose) may go ahead.
    virtual bool windowShouldClose(Window& window);
    virtual void windowWillClose(Window& window);
    // After the user resized the window.
    virtual void windowDidResize(Window& window);
};

// The on-screen side of a window (a toolkit window), made by the installed backend when the
// window is first shown; headless windows have none and only record their state.
class WindowPeer {
  public:
    virtual ~WindowPeer() = default;
    virtual void frameChanged() = 0;
    virtual void visibilityChanged() = 0;
    virtual void titleChanged() = 0;
    virtual void fullScreenChanged() = 0;
    // A view joined, left, moved or changed size: toolkit widgets follow.
    virtual void layoutChanged() = 0;
    virtual void displayNeeded() = 0;
};

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

    // NSWindowStyleMask bits the programs use.
    enum StyleMask : unsigned {
        Borderless = 0,
        Titled = 1,
        Closable = 2,
        Miniaturizable = 4,
        Resizable = 8,
        TexturedBackground = 0x100,
        FullScreen = 0x4000,
    };
    unsigned styleMask() const { return m_styleMask; }
    // Adding or removing the FullScreen bit enters or leaves full screen.
    void setStyleMask(unsigned mask);
    bool isFullScreen() const { return m_styleMask & FullScreen; }
    void toggleFullScreen();
    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    bool hasShadow() const { return m_hasShadow; }
    void setHasShadow(bool flag) { m_hasShadow = flag; }
    Size minSize() const { return m_minSize; }
    void setMinSize(Size size) { m_minSize = size; }

    WindowDelegate* delegate() const { return m_delegate; }
    void setDelegate(WindowDelegate* delegate) { m_delegate = delegate; }  // not owned
    // The user's close: asks the delegate, then closes; whether it closed.
    bool performClose();
    // Closes without asking: the delegate hears windowWillClose, the window leaves the screen,
    // and a modal run for it ends.
    void close();
    // The user resized the window on screen: takes the size and tells the delegate.
    void userResized(const Rect& frame);

    // Every window alive, oldest first.
    static std::vector<Window*> windows();

    WindowPeer* peer() const { return m_peer.get(); }
    // The backend's maker of peers; windows made while none is installed stay headless.
    using PeerFactory = std::function<std::unique_ptr<WindowPeer>(Window&)>;
    static void setPeerFactory(PeerFactory factory);
    // Called by views when the tree's geometry changed.
    void viewGeometryChanged();
    // Asks the on-screen window to draw again.
    void display();

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

    void ensurePeer();

    Rect m_frame;
    unsigned m_styleMask = Titled | Closable | Miniaturizable | Resizable;
    std::string m_title;
    bool m_hasShadow = true;
    Size m_minSize;
    WindowDelegate* m_delegate = nullptr;
    std::unique_ptr<WindowPeer> m_peer;
    std::shared_ptr<View> m_contentView;
    Responder* m_firstResponder = this;
    View* m_mouseDownView = nullptr;
    std::optional<Point> m_mouseLocation;
    bool m_visible = false;
};

}  // namespace platform
