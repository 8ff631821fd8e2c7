#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Menu.h"
#include "platform/ui/TrackingArea.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

// A rotation by degrees; quarter turns are exact, so a view turned by -90 degrees keeps whole
// numbers in its bounds and conversions.
AffineTransform rotationByDegrees(double degrees) {
    double turns = degrees / 90.0;
    if (turns == std::floor(turns)) {
        int quarter = static_cast<int>(std::fmod(std::fmod(turns, 4.0) + 4.0, 4.0));
        static constexpr double cosines[4] = {1, 0, -1, 0};
        static constexpr double sines[4] = {0, 1, 0, -1};
        double c = cosines[quarter], s = sines[quarter];
        return {c, s, -s, c, 0, 0};
    }
    return AffineTransform::rotation(degrees * M_PI / 180.0);
}

}  // namespace

View::View(const Rect& frame) : m_frame(frame) {}

View::~View() {
    if (m_window) setWindow(nullptr);
    for (const auto& sub : m_subviews) sub->m_superview = nullptr;
}

void View::setFrame(const Rect& frame) {
    Size oldSize = m_frame.size;
    m_frame = frame;
    if (oldSize != frame.size && m_autoresizesSubviews) resizeSubviewsWithOldSize(oldSize);
    if (m_window) m_window->viewGeometryChanged();
}

void View::resizeSubviewsWithOldSize(Size oldSize) {
    for (const auto& sub : m_subviews) sub->resizeWithOldSuperviewSize(oldSize);
}

namespace {
// Shares a change of the superview's extent among the flexible parts of one axis.
void autoresizeAxis(double delta, bool minFlexible, bool sizeFlexible, bool maxFlexible,
                    double& origin, double& size) {
    int parts = int(minFlexible) + int(sizeFlexible) + int(maxFlexible);
    if (parts == 0) return;
    double share = delta / parts;
    if (minFlexible) origin += share;
    if (sizeFlexible) size = std::max(0.0, size + share);
}
}  // namespace

void View::resizeWithOldSuperviewSize(Size oldSize) {
    if (!m_superview || m_autoresizingMask == ViewNotSizable) return;
    Size now = m_superview->bounds().size;
    Rect frame = m_frame;
    unsigned m = m_autoresizingMask;
    autoresizeAxis(now.width - oldSize.width, m & ViewMinXMargin, m & ViewWidthSizable,
                   m & ViewMaxXMargin, frame.origin.x, frame.size.width);
    autoresizeAxis(now.height - oldSize.height, m & ViewMinYMargin, m & ViewHeightSizable,
                   m & ViewMaxYMargin, frame.origin.y, frame.size.height);
    if (frame != m_frame) setFrame(frame);
}

void View::setHidden(bool hidden) {
    if (m_hidden == hidden) return;
    m_hidden = hidden;
    if (m_window) m_window->viewGeometryChanged();
}

bool View::isHiddenOrHasHiddenAncestor() const {
    for (const View* v = this; v; v = v->m_superview)
        if (v->m_hidden) return true;
    return false;
}

void View::setPeer(std::unique_ptr<ViewPeer> peer) {
    m_peer = std::move(peer);
}

void View::viewChanged() {
    if (m_peer) m_peer->viewChanged();
    setNeedsDisplay(true);
}

Rect View::bounds() const {
    return m_boundsToFrame.inverted().apply(Rect(0, 0, m_frame.width(), m_frame.height()));
}

void View::setBounds(const Rect& bounds) {
    setBoundsSize(bounds.size);
    setBoundsOrigin(bounds.origin);
}

void View::setBoundsOrigin(Point origin) {
    Point current = bounds().origin;
    m_boundsToFrame = m_boundsToFrame.translated(current.x - origin.x, current.y - origin.y);
}

void View::setBoundsSize(Size size) {
    Rect current = bounds();
    // An axis with no extent, before or after, cannot be given a scale: it keeps the one it has.
    auto factor = [](double from, double to) { return from != 0 && to != 0 ? from / to : 1.0; };
    m_boundsToFrame = m_boundsToFrame.scaled(factor(current.size.width, size.width),
                                             factor(current.size.height, size.height));
    setBoundsOrigin(current.origin);
}

void View::rotateByAngle(double degrees) {
    m_boundsToFrame = m_boundsToFrame.after(rotationByDegrees(degrees));
    m_boundsRotation += degrees;
}

void View::setBoundsRotation(double degrees) {
    rotateByAngle(degrees - m_boundsRotation);
}

AffineTransform View::transformToSuperview() const {
    return AffineTransform::translation(m_frame.origin.x, m_frame.origin.y).after(m_boundsToFrame);
}

AffineTransform View::transformToWindow() const {
    AffineTransform t = transformToSuperview();
    for (const View* v = m_superview; v; v = v->m_superview) t = v->transformToSuperview().after(t);
    return t;
}

Point View::convertPointFromView(Point point, const View* view) const {
    Point inWindow = view ? view->transformToWindow().apply(point) : point;
    return transformToWindow().inverted().apply(inWindow);
}

Point View::convertPointToView(Point point, const View* view) const {
    Point inWindow = transformToWindow().apply(point);
    return view ? view->transformToWindow().inverted().apply(inWindow) : inWindow;
}

Rect View::convertRectFromView(const Rect& rect, const View* view) const {
    AffineTransform toWindow = view ? view->transformToWindow() : AffineTransform::identity();
    return transformToWindow().inverted().after(toWindow).apply(rect);
}

Rect View::convertRectToView(const Rect& rect, const View* view) const {
    AffineTransform fromWindow =
        view ? view->transformToWindow().inverted() : AffineTransform::identity();
    return fromWindow.after(transformToWindow()).apply(rect);
}

void View::addSubview(std::shared_ptr<View> view) {
    if (!view || view.get() == this || isDescendantOf(view.get())) return;
    if (view->m_superview) view->removeFromSuperview();
    view->m_superview = this;
    m_subviews.push_back(view);
    if (view->m_window != m_window) view->setWindow(m_window);
    if (m_window) m_window->viewGeometryChanged();
}

void View::removeFromSuperview() {
    View* parent = m_superview;
    if (!parent) return;
    auto it = std::find_if(parent->m_subviews.begin(), parent->m_subviews.end(),
                           [&](const std::shared_ptr<View>& v) { return v.get() == this; });
    // The superview's reference may be the last: this view lives until the end of the call.
    std::shared_ptr<View> keep = std::move(*it);
    parent->m_subviews.erase(it);
    m_superview = nullptr;
    if (m_window) {
        Window* window = m_window;
        setWindow(nullptr);
        window->viewGeometryChanged();
    }
}

bool View::isDescendantOf(const View* view) const {
    for (const View* v = this; v; v = v->m_superview)
        if (v == view) return true;
    return false;
}

Responder* View::nextResponder() const {
    if (m_superview) return m_superview;
    return m_window;
}

View* View::hitTest(Point point) {
    if (m_hidden || !m_frame.contains(point)) return nullptr;
    Point inBounds = transformToSuperview().inverted().apply(point);
    for (auto it = m_subviews.rbegin(); it != m_subviews.rend(); ++it)
        if (View* hit = (*it)->hitTest(inBounds)) return hit;
    return this;
}

void View::setNeedsDisplay(bool flag) {
    if (flag) {
        setNeedsDisplayInRect(bounds());
    } else {
        m_needsDisplay = false;
        m_dirtyRect = Rect::null();
    }
}

void View::setNeedsDisplayInRect(const Rect& rect) {
    m_needsDisplay = true;
    m_dirtyRect = m_dirtyRect.unionWith(rect);
    if (m_window) m_window->viewNeedsDisplay();
}

void View::drawRect(const Rect&) {}

void View::displayInContext(GraphicsContext& context) {
    if (m_hidden) return;
    std::shared_ptr<View> keep = weak_from_this().lock();  // drawing may take it from its parent
    context.saveGState();
    context.clipToRect(m_frame);
    context.concatCTM(transformToSuperview());
    // Marks made while drawing belong to the next display, not to this one.
    setNeedsDisplay(false);
    {
        GraphicsContext::CurrentScope scope(context);
        drawRect(bounds());
    }
    std::vector<std::shared_ptr<View>> subviews = m_subviews;
    for (const auto& sub : subviews)
        if (sub->m_superview == this) sub->displayInContext(context);
    context.restoreGState();
}

void View::rightMouseDown(const Event& event) {
    if (std::shared_ptr<Menu> menu = menuForEvent(event))
        Menu::popUpContextMenu(menu, event, this);
    else
        Responder::rightMouseDown(event);
}

bool View::performKeyEquivalent(const Event& event) {
    std::vector<std::shared_ptr<View>> subviews = m_subviews;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
        if ((*it)->performKeyEquivalent(event)) return true;
    return false;
}

std::shared_ptr<Menu> View::menuForEvent(const Event&) {
    return nullptr;
}

void View::addCursorRect(const Rect& rect, const Cursor& cursor) {
    m_cursorRects.push_back(CursorRect{rect, cursor});
}

void View::discardCursorRects() {
    m_cursorRects.clear();
}

void View::resetCursorRects() {}

void View::addTrackingArea(std::shared_ptr<TrackingArea> area) {
    if (!area) return;
    if (area->options() & TrackingAreaOptions::AssumeInside)
        area->m_pointerInside = true;
    else if (m_window)
        area->m_pointerInside = m_window->pointerIsInside(*this, *area);
    m_trackingAreas.push_back(std::move(area));
}

void View::removeTrackingArea(const std::shared_ptr<TrackingArea>& area) {
    std::erase(m_trackingAreas, area);
}

void View::updateTrackingAreas() {}

void View::setWindow(Window* window) {
    forEachInTree([&](View& v) {
        if (v.m_window) v.m_window->viewWillLeave(v);
        v.m_window = window;
    });
    if (window) window->viewDidEnter(*this);
}

}  // namespace platform
