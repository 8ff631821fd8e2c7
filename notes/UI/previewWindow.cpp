#include "notes/UI/previewWindow.h"

#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "textview/TXTextView.h"

namespace zelvo {

using platform::Rect;

previewWindow::previewWindow() : WindowController("previewWindow") {}

previewWindow::~previewWindow() = default;

// The interface file "previewWindow": the text view filling the window.
void previewWindow::loadWindow() {
    auto window = std::make_shared<platform::Window>(Rect(0, 0, 600, 400));
    window->setTitle("Preview");
    m_myTextView = std::make_shared<TXTextView>(Rect(0, 0, 600, 400));
    m_myTextView->setAutoresizingMask(platform::View::ViewWidthSizable |
                                      platform::View::ViewHeightSizable);
    window->contentView()->addSubview(m_myTextView);
    setWindow(window);
}

void previewWindow::windowDidLoad() {
    WindowController::windowDidLoad();
    m_myTextView->setAttributedText(m_attributedString);
}

bool previewWindow::windowShouldClose(platform::Window&) {
    platform::Application::sharedApplication().stopModal();
    return true;
}

}  // namespace zelvo
