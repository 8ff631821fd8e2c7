#include "platform/ui/Window.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/Event.h"
#include "platform/ui/TrackingArea.h"
#include "platform/ui/View.h"
#include "platform/ui/WindowBackend.h"
#include "platform/ui/WindowHost.h"

namespace platform {

namespace {
Window* theKeyWindow = nullptr;
std::vector<Window*> allWindows;

Rect contentBounds(const Rect& frame) {
    return Rect(0, 0, frame.width(), frame.height());
}
}  // namespace

Window::Window(const Rect& contentRect, std::uint64_t styleMask)
    : m_frame(contentRect), m_styleMask(styleMask) {
    allWindows.push_back(this);
    setContentView(std::make_shared<View>(contentBounds(contentRect)));
}

bool WindowDelegate::windowShouldClose(Window&) {
    return true;
}
void WindowDelegate::windowWillClose(Window&) {}
void WindowDelegate::windowDidResize(Window&) {}
void WindowDelegate::windowDidResignKey(Window&) {}

Window::~Window() {
    std::erase(allWindows, this);
    m_host.reset();
    if (theKeyWindow == this) theKeyWindow = nullptr;
    if (m_contentView) m_contentView->setWindow(nullptr);
}

void Window::setFrame(const Rect& requested, bool display) {
    // Never below the smallest size: what is missing is added at the right and the bottom, the
    // top left corner staying, as the desktop does.
    const double width = std::max(requested.width(), m_minSize.width);
    const double height = std::max(requested.height(), m_minSize.height);
    Rect frame(requested.minX(), requested.maxY() - height, width, height);
    applyFrame(frame);
    if (m_host) {
        m_host->setFrame(m_frame);
        if (display) m_host->setNeedsDisplay();
        if (m_visible) traceOnScreen("moved to");
    }
}

void Window::hostDidDraw() const {
    traceOnScreen("drawn at");
}

void Window::traceOnScreen(const char* what) const {
    if (!isDebugLogging()) return;
    logfDebug("Window %p %s %.0f %.0f %.0f %.0f", static_cast<const void*>(this), what,
              m_frame.minX(), m_frame.minY(), m_frame.width(), m_frame.height());
}

void Window::hostMovedWindow(const Rect& frame) {
    bool resized = frame.size != m_frame.size;
    applyFrame(frame);
    if (resized && m_delegate) m_delegate->windowDidResize(*this);
}

std::optional<Screen> Window::screen() const {
    std::optional<Screen> best;
    double bestArea = 0;
    for (const Screen& screen : Screen::screens()) {
        Rect common = screen.frame().intersection(m_frame);
        double area = common.isEmpty() ? 0 : common.width() * common.height();
        if (area > bestArea) best = screen, bestArea = area;
    }
    return best;
}

void Window::center(const std::optional<Screen>& on) {
    std::optional<Screen> target = on ? on : screen();
    if (!target) target = Screen::mainScreen();
    if (!target) return;
    Rect area = target->visibleFrame();
    Size size{std::min(m_frame.width(), area.width()), std::min(m_frame.height(), area.height())};
    setFrame(Rect(area.minX() + (area.width() - size.width) / 2,
                  area.minY() + (area.height() - size.height) / 2, size.width, size.height),
             true);
}

std::vector<Window*> Window::windows() {
    return allWindows;
}

void Window::setStyleMask(std::uint64_t mask) {
    bool fullScreenChanged = (mask ^ m_styleMask) & WindowStyleMask::FullScreen;
    m_styleMask = mask;
    if (fullScreenChanged && m_host) m_host->setFullScreen(isFullScreen());
}

void Window::setMinSize(Size size) {
    m_minSize = size;
    if (m_host) m_host->setMinSize(size);
}

void Window::toggleFullScreen() {
    setStyleMask(m_styleMask ^ WindowStyleMask::FullScreen);
}

void Window::viewGeometryChanged() {
    if (m_host) m_host->layoutChanged();
}

void Window::close() {
    if (m_delegate) m_delegate->windowWillClose(*this);
    orderOut();
    Application::sharedApplication().windowDidClose(*this);
}

void Window::applyFrame(const Rect& frame) {
    bool resized = frame.size != m_frame.size;
    m_frame = frame;
    if (m_contentView && resized) {
        m_contentView->setFrame(contentBounds(frame));
        m_contentView->forEachInTree([](View& v) { v.updateTrackingAreas(); });
        resetCursorRects();
    }
}

void Window::setContentView(std::shared_ptr<View> view) {
    if (view == m_contentView) return;
    if (m_contentView) m_contentView->setWindow(nullptr);
    m_contentView = std::move(view);
    if (!m_contentView) return;
    m_contentView->removeFromSuperview();
    if (m_contentView->window()) m_contentView->window()->setContentView(nullptr);
    m_contentView->setFrame(contentBounds(m_frame));
    m_contentView->setWindow(this);
    viewNeedsDisplay();
}

void Window::setBackgroundColor(const Color& color) {
    m_backgroundColor = color;
    viewNeedsDisplay();
}

void Window::setTitle(const std::string& title) {
    m_title = title;
    if (m_host) m_host->setTitle(title);
}

void Window::viewNeedsDisplay() {
    if (m_host) m_host->setNeedsDisplay();
}

void Window::orderFront() {
    m_visible = true;
    if (!m_host)
        if (WindowBackend* backend = Backends::current().windows.get())
            m_host = backend->createHost(*this);
    if (m_host) {
        m_host->orderFront(isKeyWindow());
        traceOnScreen("shown at");
    }
}

void Window::orderOut() {
    m_visible = false;
    if (theKeyWindow == this) theKeyWindow = nullptr;
    if (m_host) m_host->orderOut();
}

bool Window::performClose() {
    if (m_delegate && !m_delegate->windowShouldClose(*this)) return false;
    close();
    return true;
}

void Window::hostResignedKey() {
    if (m_delegate) m_delegate->windowDidResignKey(*this);
}

bool Window::isKeyWindow() const {
    return theKeyWindow == this;
}
void Window::makeKeyWindow() {
    theKeyWindow = this;
}
void Window::makeKeyAndOrderFront() {
    makeKeyWindow();
    orderFront();
}
Window* Window::keyWindow() {
    return theKeyWindow;
}

bool Window::makeFirstResponder(Responder* responder) {
    if (!responder) responder = this;
    if (responder == m_firstResponder) return true;
    if (!m_firstResponder->resignFirstResponder()) return false;
    m_firstResponder = this;
    if (!responder->becomeFirstResponder()) return false;
    m_firstResponder = responder;
    return true;
}

View* Window::hitView(Point point) const {
    return m_contentView ? m_contentView->hitTest(point) : nullptr;
}

void Window::sendEvent(const Event& event) {
    Point location = event.locationInWindow();
    // Views are shared: keep the receiver alive while it handles the event, even when it takes
    // itself out of the window.
    auto deliver = [](View* view, auto&& call) {
        if (!view) return;
        std::shared_ptr<View> keep = view->weak_from_this().lock();
        call(*view);
    };
    switch (event.type()) {
        case EventType::LeftMouseDown: {
            m_mouseLocation = location;
            View* hit = hitView(location);
            m_mouseDownView = hit;
            deliver(hit, [&](View& v) {
                if (&v != m_firstResponder && v.acceptsFirstResponder()) makeFirstResponder(&v);
                v.mouseDown(event);
            });
            break;
        }
        case EventType::LeftMouseDragged:
            m_mouseLocation = location;
            deliver(m_mouseDownView ? m_mouseDownView : hitView(location),
                    [&](View& v) { v.mouseDragged(event); });
            break;
        case EventType::LeftMouseUp: {
            m_mouseLocation = location;
            View* target = m_mouseDownView ? m_mouseDownView : hitView(location);
            m_mouseDownView = nullptr;
            deliver(target, [&](View& v) { v.mouseUp(event); });
            break;
        }
        case EventType::RightMouseDown:
            m_mouseLocation = location;
            deliver(hitView(location), [&](View& v) { v.rightMouseDown(event); });
            break;
        case EventType::MouseMoved:
            pointerMoved(event);
            break;
        case EventType::MouseEntered:
        case EventType::MouseExited:
            if (const auto& area = event.trackingArea(); area && area->owner()) {
                if (event.type() == EventType::MouseEntered)
                    area->owner()->mouseEntered(event);
                else
                    area->owner()->mouseExited(event);
            }
            break;
        case EventType::ScrollWheel:
            // To the view under the pointer, which passes it up until a view scrolls.
            deliver(hitView(location), [&](View& v) { v.scrollWheel(event); });
            break;
        case EventType::KeyDown:
            if ((event.modifierFlags() & ModifierFlags::Command) && m_contentView) {
                std::shared_ptr<View> keep = m_contentView;
                if (keep->performKeyEquivalent(event)) break;
            }
            m_firstResponder->keyDown(event);
            break;
        default:
            break;  // releases of the right button and of keys have no receivers here
    }
}

bool Window::isActive(const TrackingArea& area) const {
    std::uint32_t options = area.options();
    if (options & (TrackingAreaOptions::ActiveAlways | TrackingAreaOptions::ActiveInActiveApp))
        return true;
    if ((options & TrackingAreaOptions::ActiveInKeyWindow) && isKeyWindow()) return true;
    return (options & TrackingAreaOptions::ActiveWhenFirstResponder) &&
           area.owner() == m_firstResponder;
}

bool Window::pointerIsInside(const View& view, const TrackingArea& area) const {
    if (!m_mouseLocation) return false;
    return area.rect().contains(view.convertPointFromView(*m_mouseLocation, nullptr));
}

void Window::pointerMoved(const Event& event) {
    m_mouseLocation = event.locationInWindow();
    if (!m_contentView) return;
    std::vector<std::shared_ptr<TrackingArea>> exited, entered, moved;
    m_contentView->forEachInTree([&](View& v) {
        for (const auto& area : v.trackingAreas()) {
            bool inside = pointerIsInside(v, *area);
            bool active = isActive(*area);
            if (inside != area->m_pointerInside) {
                area->m_pointerInside = inside;
                if (active && (area->options() & TrackingAreaOptions::MouseEnteredAndExited))
                    (inside ? entered : exited).push_back(area);
            }
            if (inside && active && (area->options() & TrackingAreaOptions::MouseMoved))
                moved.push_back(area);
        }
    });
    // Leaving comes before entering, as the pointer crosses from one area into the next.
    for (const auto& area : exited)
        sendEvent(Event::enterExitEvent(EventType::MouseExited, *m_mouseLocation, area,
                                        event.modifierFlags(), event.timestamp()));
    for (const auto& area : entered)
        sendEvent(Event::enterExitEvent(EventType::MouseEntered, *m_mouseLocation, area,
                                        event.modifierFlags(), event.timestamp()));
    for (const auto& area : moved)
        if (area->owner()) area->owner()->mouseMoved(event);
    updateCursor(*m_mouseLocation);
}

void Window::updateCursor(Point point) const {
    if (!isKeyWindow()) return;
    for (View* v = hitView(point); v; v = v->superview()) {
        Point inView = v->convertPointFromView(point, nullptr);
        const auto& rects = v->cursorRects();
        for (auto it = rects.rbegin(); it != rects.rend(); ++it) {
            if (it->rect.contains(inView)) {
                it->cursor.set();
                return;
            }
        }
    }
    Cursor::arrowCursor().set();
}

void Window::resetCursorRects() {
    if (!m_contentView) return;
    m_contentView->forEachInTree([](View& v) {
        v.discardCursorRects();
        v.resetCursorRects();
    });
}

void Window::viewDidEnter(View& view) {
    view.forEachInTree([&](View& v) {
        for (const auto& area : v.trackingAreas())
            if (!(area->options() & TrackingAreaOptions::AssumeInside))
                area->m_pointerInside = pointerIsInside(v, *area);
        v.discardCursorRects();
        v.resetCursorRects();
        v.updateTrackingAreas();
    });
}

void Window::viewWillLeave(View& view) {
    if (m_firstResponder == &view) m_firstResponder = this;
    if (m_mouseDownView == &view) m_mouseDownView = nullptr;
}

Point Window::convertPointToScreen(Point point) const {
    return {point.x + m_frame.origin.x, point.y + m_frame.origin.y};
}

Point Window::convertPointFromScreen(Point point) const {
    return {point.x - m_frame.origin.x, point.y - m_frame.origin.y};
}

Rect Window::convertRectToScreen(const Rect& rect) const {
    return rect.offsetBy(m_frame.origin.x, m_frame.origin.y);
}

Rect Window::convertRectFromScreen(const Rect& rect) const {
    return rect.offsetBy(-m_frame.origin.x, -m_frame.origin.y);
}

}  // namespace platform
