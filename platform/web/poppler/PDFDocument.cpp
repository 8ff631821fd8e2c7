// PDF documents through poppler-glib: the document object is opened once and its pages are drawn
// by Cairo into image surfaces our graphics layer takes over.
#include "platform/web/PDFDocument.h"

#include <poppler.h>

#include "platform/foundation/FileURL.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/cairo/CairoHandles.h"

namespace platform {

struct PDFDocument::Backend {
    PopplerDocument* document = nullptr;  // owned
    ~Backend() {
        if (document) g_object_unref(document);
    }
};

std::shared_ptr<PDFDocument> PDFDocument::open(const std::string& urlOrPath) {
    std::string uri = urlOrPath;
    if (uri.rfind("file:", 0) != 0) {
        std::optional<std::string> made = fileURL(urlOrPath);
        if (!made) {
            logf("PDFDocument: \"%s\" is not an absolute path", urlOrPath.c_str());
            return nullptr;
        }
        uri = *made;
    }
    GError* error = nullptr;
    PopplerDocument* document = poppler_document_new_from_file(uri.c_str(), nullptr, &error);
    if (!document) {
        logf("PDFDocument: cannot open %s: %s", uri.c_str(), error ? error->message : "unknown");
        if (error) g_error_free(error);
        return nullptr;
    }
    auto backend = std::make_unique<Backend>();
    backend->document = document;
    return std::shared_ptr<PDFDocument>(new PDFDocument(std::move(backend)));
}

PDFDocument::PDFDocument(std::unique_ptr<Backend> backend) : m_backend(std::move(backend)) {}

PDFDocument::~PDFDocument() = default;

int PDFDocument::pageCount() const {
    return poppler_document_get_n_pages(m_backend->document);
}

Size PDFDocument::pageSize(int index) const {
    if (index < 0 || index >= pageCount()) return Size{0, 0};
    PopplerPage* page = poppler_document_get_page(m_backend->document, index);
    if (!page) return Size{0, 0};
    double width = 0, height = 0;
    poppler_page_get_size(page, &width, &height);
    g_object_unref(page);
    return Size{width, height};
}

std::optional<Image> PDFDocument::renderPage(int index, double scale) const {
    if (index < 0 || index >= pageCount() || scale <= 0) return std::nullopt;
    PopplerPage* page = poppler_document_get_page(m_backend->document, index);
    if (!page) return std::nullopt;
    double width = 0, height = 0;
    poppler_page_get_size(page, &width, &height);
    int pixelsWide = std::max(1, int(width * scale + 0.5));
    int pixelsHigh = std::max(1, int(height * scale + 0.5));
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsWide, pixelsHigh);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_scale(cr, scale, scale);
    poppler_page_render(page, cr);
    cairo_destroy(cr);
    g_object_unref(page);
    cairo_surface_flush(surface);
    return Image(native(surface));
}

}  // namespace platform
