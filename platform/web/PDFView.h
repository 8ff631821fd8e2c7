#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"
#include "platform/web/PDFDocument.h"

namespace platform {

// PDFView: shows a document's pages one under the other on a grey ground, each scaled to the
// view's width less a margin and centred, the first at the top.
class PDFView : public View {
  public:
    static constexpr double margin = 8;

    explicit PDFView(const Rect& frame = Rect());

    const std::shared_ptr<PDFDocument>& document() const { return m_document; }
    void setDocument(std::shared_ptr<PDFDocument> document);

    // Where the page stands in the view's coordinates (y up); a null rectangle for a page that
    // is not there.
    Rect pageRect(int index) const;

    void setFrame(const Rect& frame) override;
    void drawRect(const Rect& dirtyRect) override;

  private:
    double pageScale(int index) const;

    std::shared_ptr<PDFDocument> m_document;
    // Pages as last drawn, at the scale they were drawn at.
    struct Rendered {
        double scale = 0;
        std::optional<Image> image;
    };
    mutable std::vector<Rendered> m_rendered;
};

}  // namespace platform
