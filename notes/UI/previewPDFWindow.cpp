#include "notes/UI/previewPDFWindow.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "platform/web/PDFDocument.h"
#include "platform/web/PDFView.h"

namespace zelvo {

using platform::Rect;

previewPDFWindow::previewPDFWindow() : WindowController("previewPDFWindow") {}

previewPDFWindow::~previewPDFWindow() = default;

// The interface file "previewPDFWindow": the PDF view filling the window.
void previewPDFWindow::loadWindow() {
    auto window = std::make_shared<platform::Window>(Rect(0, 0, 600, 460));
    window->setTitle("PDF");
    m_myPdfView = std::make_shared<platform::PDFView>(Rect(0, 0, 600, 460));
    m_myPdfView->setAutoresizingMask(platform::View::ViewWidthSizable |
                                     platform::View::ViewHeightSizable);
    window->contentView()->addSubview(m_myPdfView);
    setWindow(window);
}

void previewPDFWindow::windowDidLoad() {
    WindowController::windowDidLoad();
    std::optional<std::string> url = platform::Bundle::mainBundle().URLForResource("21", "pdf");
    if (!url) {
        platform::log("-[previewPDFWindow windowDidLoad] the resource \"21.pdf\" is missing");
        return;
    }
    m_myPDFDocument = platform::PDFDocument::open(*url);
    m_myPdfView->setDocument(m_myPDFDocument);
}

bool previewPDFWindow::windowShouldClose(platform::Window&) {
    platform::Application::sharedApplication().stopModal();
    return true;
}

}  // namespace zelvo
