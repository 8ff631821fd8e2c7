#pragma once

#include <memory>
#include <optional>

#include "platform/graphics/AttributedString.h"
#include "platform/ui/WindowController.h"

namespace platform {
class PDFDocument;
class PDFView;
}  // namespace platform

namespace zelvo {

// A window that shows the document "21.pdf" of the resources in a PDF view. Nothing in the
// program opens it: a caller asks for the window and runs it modally; closing ends the run.
class previewPDFWindow : public platform::WindowController {
  public:
    previewPDFWindow();
    ~previewPDFWindow() override;

    // Null until the window has loaded, and when "21.pdf" is missing or unreadable.
    const std::shared_ptr<platform::PDFDocument>& myPDFDocument() const { return m_myPDFDocument; }
    platform::PDFView* myPdfView() const { return m_myPdfView.get(); }
    const std::optional<platform::AttributedString>& attrString() const { return m_attrString; }
    void setAttrString(std::optional<platform::AttributedString> text) {
        m_attrString = std::move(text);
    }

    void awakeFromNib() {}
    bool windowShouldClose(platform::Window& window) override;

  protected:
    void loadWindow() override;
    void windowDidLoad() override;

  private:
    std::shared_ptr<platform::PDFDocument> m_myPDFDocument;
    std::shared_ptr<platform::PDFView> m_myPdfView;
    std::optional<platform::AttributedString> m_attrString;
};

}  // namespace zelvo
