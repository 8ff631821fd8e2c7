#include "notes/UI/SourceTextView/SourceWindowController.h"

#include "notes/UI/SourceTextView/SourceRulerView.h"
#include "notes/UI/SourceTextView/SourceTextView.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace zelvo {

using platform::Rect;
using platform::View;

SourceWindowController::SourceWindowController() : WindowController("SourceWindowController") {}

void SourceWindowController::runForHTML(const std::string& html) {
    auto controller = std::make_shared<SourceWindowController>();
    controller->setSourceText(html);
    platform::Window& window = *controller->window();
    // Wholly on the screen of the window it was opened from, in the middle of it.
    platform::Window* opener = platform::Window::keyWindow();
    window.center(opener ? opener->screen() : std::nullopt);
    platform::Application::sharedApplication().runModalForWindow(window);
}

// The interface file "SourceWindowController": the source view filling the window, its ruler on
// the left.
void SourceWindowController::loadWindow() {
    const double width = 720, height = 520;
    auto window = std::make_shared<platform::Window>(Rect(0, 0, width, height));
    window->setTitle("HTML");
    m_ruler = std::make_shared<SourceRulerView>(Rect(0, 0, 38, height));
    m_ruler->setAutoresizingMask(View::ViewHeightSizable);
    m_sourceView = std::make_shared<SourceTextView>(Rect(38, 0, width - 38, height));
    m_sourceView->setAutoresizingMask(View::ViewWidthSizable | View::ViewHeightSizable);
    window->contentView()->addSubview(m_ruler);
    window->contentView()->addSubview(m_sourceView);
    m_sourceView->setRulerView(m_ruler.get());
    m_sourceView->setScrollHandler(
        [ruler = m_ruler.get()](double) { ruler->setNeedsDisplay(true); });
    setWindow(window);
}

std::optional<std::map<std::string, platform::Color>> SourceWindowController::keywordColors() {
    auto path = platform::Bundle::mainBundle().pathForResource("JavaScript", "plist");
    if (!path) return std::nullopt;
    auto colors = SourceTextView::keywordColorsFromKeywordsPropertyList(*path);
    if (colors) (*colors)["lua"] = platform::Color::calibratedRGB(1, 0, 0);  // the system red
    return colors;
}

void SourceWindowController::windowDidLoad() {
    WindowController::windowDidLoad();
    m_sourceView->setSource(m_sourceText);
    m_sourceView->setLanguage(4);
    m_sourceView->setKeywordColors(keywordColors());
    m_sourceView->setSource(m_sourceText);
}

bool SourceWindowController::windowShouldClose(platform::Window&) {
    platform::Application::sharedApplication().stopModal();
    return true;
}

}  // namespace zelvo
