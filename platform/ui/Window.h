#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"

namespace platform {

class Event;
class TrackingArea;
class View;
class Window;
class WindowHost;

// NSWindowDelegate: the questions and notices a window's delegate answers.
class WindowDelegate {
  public:
    virtual ~WindowDelegate() = default;
    // Whether a close asked for by the user (the close button, performClose) may go ahead.
    virtual bool windowShouldClose(Window& window);
    virtual void windowWillClose(Window& window);
    // After the window's size changed on screen.
    virtual void windowDidResize(Window& window);
    // The desktop gave the keyboard focus to another window (of this program or another).
    virtual void windowDidResignKey(Window& window);
};

// Window style bits, with AppKit's values; no bit at all is a borderless window.
struct WindowStyleMask {
    static constexpr std::uint64_t Borderless = 0;
    static constexpr std::uint64_t Titled = 1u << 0;
    static constexpr std::uint64_t Closable = 1u << 1;
    static constexpr std::uint64_t Miniaturizable = 1u << 2;
    static constexpr std::uint64_t Resizable = 1u << 3;
    static constexpr std::uint64_t TexturedBackground = 1u << 8;
    static constexpr std::uint64_t FullScreen = 1u << 14;
};

// Window levels, with Core Graphics' values: a window stays above those of lower levels.
struct WindowLevel {
    static constexpr int Normal = 0;
    static constexpr int Floating = 3;
    static constexpr int ModalPanel = 8;
    static constexpr int PopUpMenu = 101;
    static constexpr int ScreenSaver = 1000;
};

// NSWindow, headless: a frame on the screen (origin lower left of the main screen), one content
// view filling it, a first responder, and the routing of events to views. Mouse presses go to
// the view under the pointer (which becomes first responder when it accepts), drags and the
// release to the view that got the press, keys to the first responder after the views had a
// chance at Command-key equivalents; pointer movement drives tracking areas and cursor
// rectangles.
//
// On screen: when the Backends in use have a window backend, the first orderFront gives the window
// a host that shows it on the desktop; the window forwards its frame, ordering, title and its
// views' display marks to the host, and the host hands input back through sendEvent.
// A borderless window becomes a popup that never takes the focus; any other a normal window.
class Window : public Responder {
  public:
    static constexpr std::uint64_t DefaultStyleMask =
        WindowStyleMask::Titled | WindowStyleMask::Closable | WindowStyleMask::Miniaturizable |
        WindowStyleMask::Resizable;

    explicit Window(const Rect& contentRect = Rect(), std::uint64_t styleMask = DefaultStyleMask);
    ~Window() override;

    // How the window looks and stacks, read by the host when it is made (set them before the
    // first orderFront).
    std::uint64_t styleMask() const { return m_styleMask; }
    // Adding or removing the full-screen bit enters or leaves full screen.
    void setStyleMask(std::uint64_t mask);
    bool isFullScreen() const { return m_styleMask & WindowStyleMask::FullScreen; }
    void toggleFullScreen();
    // The smallest content size the window takes, whether the user or setFrame asks for less;
    // zero sides are free.
    Size minSize() const { return m_minSize; }
    void setMinSize(Size size);

    WindowDelegate* delegate() const { return m_delegate; }
    void setDelegate(WindowDelegate* delegate) { m_delegate = delegate; }  // not owned
    // Closes without asking: the delegate hears windowWillClose, the window leaves the screen,
    // and a modal run for it ends.
    void close();
    // Every window alive, oldest first.
    static std::vector<Window*> windows();
    // Views tell the window that the tree's geometry changed (a view joined, left, moved, was
    // hidden); the host moves the toolkit widgets that show views.
    void viewGeometryChanged();
    int level() const { return m_level; }
    void setLevel(int level) { m_level = level; }
    bool hasShadow() const { return m_hasShadow; }
    void setHasShadow(bool flag) { m_hasShadow = flag; }
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool flag) { m_opaque = flag; }
    double alphaValue() const { return m_alphaValue; }
    void setAlphaValue(double alpha) { m_alphaValue = alpha; }
    // What the window paints below its content view.
    Color backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const Color& color);
    const std::string& title() const { return m_title; }
    void setTitle(const std::string& title);

    // The on-screen half; null while headless.
    WindowHost* host() const { return m_host.get(); }
    // For hosts: the desktop moved or resized the window (the user dragged it, the window
    // manager placed it). Takes the frame without sending it back to the host.
    void hostMovedWindow(const Rect& frame);
    // For hosts: the desktop took the focus away from the window.
    void hostResignedKey();
    // The user's close (the close button, the host's delete event): asks the delegate, then
    // closes; whether it closed.
    virtual bool performClose();
    // For hosts: the window's content was drawn on the desktop.
    void hostDidDraw() const;

    Rect frame() const { return m_frame; }
    // Moves and sizes the window; the content view takes the new size. `display` is for the
    // on-screen window, which redraws at once; headless there is nothing to draw.
    void setFrame(const Rect& frame, bool display);
    // NSWindow screen: the screen holding the largest part of the window; absent when it lies on
    // none (and headless, where there are no screens).
    std::optional<Screen> screen() const;
    // NSWindow center: puts the window in the middle of the visible part of a screen (the one
    // given, else its own, else the main screen), made smaller where it would not fit there.
    void center(const std::optional<Screen>& on = std::nullopt);
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
    void viewNeedsDisplay();
    void applyFrame(const Rect& frame);
    // A debugging line for what the desktop shows of the window: each show, move and draw, with
    // the frame (a window that follows the keys, as the candidate window does, is seen there).
    void traceOnScreen(const char* what) const;
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
    std::uint64_t m_styleMask;
    int m_level = WindowLevel::Normal;
    bool m_hasShadow = true;
    bool m_opaque = true;
    double m_alphaValue = 1.0;
    Color m_backgroundColor = Color::calibratedRGB(0.93, 0.93, 0.93);
    std::string m_title;
    Size m_minSize;
    WindowDelegate* m_delegate = nullptr;
    std::unique_ptr<WindowHost> m_host;  // destroyed before the views it draws
};

}  // namespace platform
