#pragma once

// Views, windows and drawing records shared by the text view tests.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Event.h"
#include "platform/ui/TrackingArea.h"
#include "platform/ui/Window.h"
#include "tests/textview/LayoutFixtures.h"
#include "textview/TXTextView.h"

namespace fixtures {

using platform::DrawingRecord;
using platform::GraphicsContext;

inline constexpr platform::Color SelectionColor{0.2, 0.4, 0.9, 1};
inline constexpr platform::Color PressColor{0.9, 0.3, 0.1, 1};
inline constexpr platform::Color RolloverColor{0.1, 0.8, 0.2, 1};

// A view set up as the candidate window sets its own, with colours the records tell apart.
inline std::shared_ptr<TXTextView> candidateView(const Rect& frame,
                                                 const std::vector<std::u16string>& words) {
    auto view = std::make_shared<TXTextView>(frame);
    view->setFont(mongolian());
    view->setLineHeight(30.0);
    view->setTextColor(platform::Color::blackColor());
    view->setSelectedTextBackgroundColor(SelectionColor);
    view->setLinkHighlightColor(PressColor);
    view->setLinkRolloverEffectColor(RolloverColor);
    view->setText(candidateLines(words));
    return view;
}

// Draws the view (its frame in the context's coordinates) into a fresh recording context.
inline std::unique_ptr<GraphicsContext> drawn(platform::View& view, platform::Size size) {
    auto context = GraphicsContext::recordingContext(size);
    view.displayInContext(*context);
    return context;
}

inline std::vector<DrawingRecord> records(const GraphicsContext& context, DrawingRecord::Kind kind,
                                          std::optional<platform::Color> color = std::nullopt) {
    std::vector<DrawingRecord> out;
    for (const DrawingRecord& r : context.records())
        if (r.kind == kind && (!color || r.color == *color)) out.push_back(r);
    return out;
}

inline std::vector<DrawingRecord> fills(const GraphicsContext& context, platform::Color color) {
    return records(context, DrawingRecord::Kind::Fill, color);
}

inline std::vector<DrawingRecord> texts(const GraphicsContext& context) {
    return records(context, DrawingRecord::Kind::Text);
}

// A window holding the view, key and in front, so tracking and cursors are live.
struct WindowWithView {
    std::unique_ptr<platform::Window> window;
    std::shared_ptr<TXTextView> view;

    explicit WindowWithView(std::shared_ptr<TXTextView> textView, platform::Size size)
        : window(std::make_unique<platform::Window>(Rect(0, 0, size.width, size.height))),
          view(std::move(textView)) {
        window->contentView()->addSubview(view);
        window->makeKeyAndOrderFront();
    }
    void click(platform::Point p, int count = 1) {
        using platform::Event;
        using platform::EventType;
        window->sendEvent(Event::mouseEvent(EventType::LeftMouseDown, p, count));
        window->sendEvent(Event::mouseEvent(EventType::LeftMouseUp, p, count));
    }
    void press(platform::Point p, int count = 1) {
        window->sendEvent(
            platform::Event::mouseEvent(platform::EventType::LeftMouseDown, p, count));
    }
    void drag(platform::Point p) {
        window->sendEvent(platform::Event::mouseEvent(platform::EventType::LeftMouseDragged, p));
    }
    void release(platform::Point p) {
        window->sendEvent(platform::Event::mouseEvent(platform::EventType::LeftMouseUp, p));
    }
    std::unique_ptr<GraphicsContext> draw() {
        auto context = GraphicsContext::recordingContext(window->frame().size);
        window->contentView()->displayInContext(*context);
        return context;
    }
};

inline platform::Point center(const Rect& r) {
    return {r.midX(), r.midY()};
}

}  // namespace fixtures
