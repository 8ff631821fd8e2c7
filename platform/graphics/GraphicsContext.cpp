#include "platform/graphics/GraphicsContext.h"

#include <cairo-pdf.h>

#include "platform/graphics/cairo/CairoHandles.h"

namespace platform {

namespace {

thread_local GraphicsContext* currentContext = nullptr;

// Base space (y up) to a device whose origin is at the top left.
AffineTransform flipFor(double height) {
    return {1, 0, 0, -1, 0, height};
}

void setSource(cairo_t* cr, const Color& c) {
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

}  // namespace

GraphicsContext::GraphicsContext(NativeSurface* surface, Size size, bool recording)
    : m_cr(native(cairo_create(cairo(surface)))),
      m_surface(surface),
      m_size(size),
      m_baseToDevice(flipFor(size.height)),
      m_recording(recording) {
    applyMatrix(m_state.ctm);
}

GraphicsContext::GraphicsContext(NativeContext* context, Size size)
    : m_cr(native(cairo_reference(cairo(context)))), m_size(size) {
    // A toolkit hands over its context already moved to the widget's place in the window: keep
    // that, with our flip inside it.
    cairo_matrix_t given;
    cairo_get_matrix(cairo(m_cr), &given);
    AffineTransform placed{given.xx, given.yx, given.xy, given.yy, given.x0, given.y0};
    m_baseToDevice = placed.after(flipFor(size.height));
    applyMatrix(m_state.ctm);
}

GraphicsContext::~GraphicsContext() {
    if (currentContext == this) currentContext = nullptr;
    cairo_destroy(cairo(m_cr));
    if (m_surface) {
        cairo_surface_finish(cairo(m_surface));
        cairo_surface_destroy(cairo(m_surface));
    }
}

std::unique_ptr<GraphicsContext> GraphicsContext::imageContext(int width, int height) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    return std::unique_ptr<GraphicsContext>(
        new GraphicsContext(native(surface), Size{double(width), double(height)}, false));
}

std::unique_ptr<GraphicsContext> GraphicsContext::pdfContext(const std::string& path,
                                                             Size pageSize) {
    cairo_surface_t* surface =
        cairo_pdf_surface_create(path.c_str(), pageSize.width, pageSize.height);
    return std::unique_ptr<GraphicsContext>(new GraphicsContext(native(surface), pageSize, false));
}

std::unique_ptr<GraphicsContext> GraphicsContext::recordingContext(Size size) {
    cairo_rectangle_t extents{0, 0, size.width, size.height};
    cairo_surface_t* surface = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents);
    return std::unique_ptr<GraphicsContext>(new GraphicsContext(native(surface), size, true));
}

GraphicsContext* GraphicsContext::current() {
    return currentContext;
}

GraphicsContext::CurrentScope::CurrentScope(GraphicsContext& context) : m_previous(currentContext) {
    currentContext = &context;
}

GraphicsContext::CurrentScope::~CurrentScope() {
    currentContext = m_previous;
}

void GraphicsContext::applyMatrix(const AffineTransform& userToBase) {
    AffineTransform t = m_baseToDevice.after(userToBase);
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_set_matrix(cairo(m_cr), &m);
}

void GraphicsContext::saveGState() {
    m_stack.push_back(m_state);
    cairo_save(cairo(m_cr));
}

void GraphicsContext::restoreGState() {
    if (m_stack.empty()) return;  // unbalanced restore: Core Graphics ignores it too
    m_state = m_stack.back();
    m_stack.pop_back();
    cairo_restore(cairo(m_cr));
    applyMatrix(m_state.ctm);
}

void GraphicsContext::translateCTM(double tx, double ty) {
    m_state.ctm = m_state.ctm.translated(tx, ty);
    applyMatrix(m_state.ctm);
}

void GraphicsContext::scaleCTM(double sx, double sy) {
    m_state.ctm = m_state.ctm.scaled(sx, sy);
    applyMatrix(m_state.ctm);
}

void GraphicsContext::rotateCTM(double radians) {
    m_state.ctm = m_state.ctm.rotated(radians);
    applyMatrix(m_state.ctm);
}

void GraphicsContext::concatCTM(const AffineTransform& transform) {
    m_state.ctm = m_state.ctm.after(transform);
    applyMatrix(m_state.ctm);
}

void GraphicsContext::setTextPosition(double x, double y) {
    m_textMatrix.tx = x;
    m_textMatrix.ty = y;
}

void GraphicsContext::appendPath(const Path& path) {
    cairo_new_path(cairo(m_cr));
    for (const Path::Element& e : path.elements()) {
        const Point* p = e.points;
        switch (e.op) {
            case Path::Op::Move:
                cairo_move_to(cairo(m_cr), p[0].x, p[0].y);
                break;
            case Path::Op::Line:
                cairo_line_to(cairo(m_cr), p[0].x, p[0].y);
                break;
            case Path::Op::Curve:
                cairo_curve_to(cairo(m_cr), p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
                break;
            case Path::Op::Close:
                cairo_close_path(cairo(m_cr));
                break;
        }
    }
}

void GraphicsContext::record(DrawingRecord::Kind kind, const Rect& deviceRect, const Color& color) {
    if (m_recording) m_records.push_back({kind, deviceRect, color, {}});
}

void GraphicsContext::fillRect(const Rect& rect) {
    fillPath(Path::rect(rect));
}

void GraphicsContext::fillPath(const Path& path) {
    appendPath(path);
    setSource(cairo(m_cr), m_state.fillColor);
    cairo_fill(cairo(m_cr));
    record(DrawingRecord::Kind::Fill, m_state.ctm.apply(path.boundingBox()), m_state.fillColor);
}

void GraphicsContext::strokeRect(const Rect& rect) {
    strokePath(Path::rect(rect));
}

void GraphicsContext::strokePath(const Path& path) {
    appendPath(path);
    setSource(cairo(m_cr), m_state.strokeColor);
    cairo_set_line_width(cairo(m_cr), m_state.lineWidth);
    cairo_stroke(cairo(m_cr));
    double half = m_state.lineWidth / 2;
    Rect box = path.boundingBox();
    if (!box.isNull()) box = box.insetBy(-half, -half);
    record(DrawingRecord::Kind::Stroke, m_state.ctm.apply(box), m_state.strokeColor);
}

void GraphicsContext::clipToRect(const Rect& rect) {
    clipToPath(Path::rect(rect));
}

void GraphicsContext::clipToPath(const Path& path) {
    appendPath(path);
    cairo_clip(cairo(m_cr));
}

void GraphicsContext::drawImage(const Image& image, const Rect& rect, double fraction) {
    if (image.width() <= 0 || image.height() <= 0 || rect.isEmpty()) return;
    Rect r = rect.standardized();
    cairo_save(cairo(m_cr));
    // Image rows run downwards: the first row goes to the top of the rectangle.
    applyMatrix(m_state.ctm.translated(r.minX(), r.maxY())
                    .scaled(r.width() / image.width(), -r.height() / image.height()));
    cairo_set_source_surface(cairo(m_cr), cairo(image.surface()), 0, 0);
    cairo_paint_with_alpha(cairo(m_cr), fraction);
    cairo_restore(cairo(m_cr));
    applyMatrix(m_state.ctm);
    record(DrawingRecord::Kind::Image, m_state.ctm.apply(r), Color::blackColor());
}

Image GraphicsContext::makeImage() const {
    int w = static_cast<int>(m_size.width), h = static_cast<int>(m_size.height);
    Image image(w, h);
    if (m_surface) {
        cairo_surface_flush(cairo(m_surface));
        cairo_t* cr = cairo_create(cairo(image.surface()));
        cairo_set_source_surface(cr, cairo(m_surface), 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    return image;
}

void GraphicsContext::showPage() {
    cairo_show_page(cairo(m_cr));
}

NativeContext* GraphicsContext::prepareTextDrawing() {
    cairo_save(cairo(m_cr));
    // Text space has y up; Pango draws glyphs with y down.
    applyMatrix(m_state.ctm.after(m_textMatrix).scaled(1, -1));
    setSource(cairo(m_cr), Color::blackColor());
    cairo_move_to(cairo(m_cr), 0, 0);
    return m_cr;
}

void GraphicsContext::recordText(const Rect& textSpaceRect, std::u16string text) {
    if (!m_recording) return;
    Rect device = m_state.ctm.after(m_textMatrix).apply(textSpaceRect);
    m_records.push_back({DrawingRecord::Kind::Text, device, Color::blackColor(), std::move(text)});
}

void GraphicsContext::finishTextDrawing() {
    cairo_restore(cairo(m_cr));
    applyMatrix(m_state.ctm);
}

}  // namespace platform
