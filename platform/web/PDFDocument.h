#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

namespace platform {

// PDFDocument: a PDF file opened for reading, its pages measured and drawn. Immutable once open;
// copies of the shared pointer share the document.
class PDFDocument {
  public:
    // initWithURL: the document at a file: URL or an absolute path; null when the file is
    // missing, unreadable or not a PDF (the reason goes to the log).
    static std::shared_ptr<PDFDocument> open(const std::string& urlOrPath);
    ~PDFDocument();
    PDFDocument(const PDFDocument&) = delete;
    PDFDocument& operator=(const PDFDocument&) = delete;

    int pageCount() const;
    // The page's size in points; a zero size for an index outside the document.
    Size pageSize(int index) const;
    // The page drawn on white at `scale` pixels per point; absent for an index outside the
    // document.
    std::optional<Image> renderPage(int index, double scale) const;

    struct Backend;  // the library's document, in the backend's folder

  private:
    explicit PDFDocument(std::unique_ptr<Backend> backend);
    std::unique_ptr<Backend> m_backend;
};

}  // namespace platform
