#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Path.h"

namespace platform {

// The drawing library's context, opaque here; platform/graphics/cairo/CairoHandles.h converts it.
struct NativeContext;

// One drawing operation as a recording context keeps it: the box it covers in device space
// (the context's base space: origin at the lower left, y up, one unit per pixel or point).
struct DrawingRecord {
    enum class Kind { Fill, Stroke, Text, Image };
    Kind kind;
    Rect deviceRect;
    Color color;          // fill or stroke colour; black for text and images
    std::u16string text;  // the characters of a text draw
};

// A drawing destination with Core Graphics rules: a current transformation matrix from user
// space to the base space (y up), a stack of graphics states, a text matrix that is not part of
// the saved state, and fill and stroke settings.
class GraphicsContext {
  public:
    // An ARGB bitmap of the size in pixels, cleared to transparent.
    static std::unique_ptr<GraphicsContext> imageContext(int width, int height);
    // A PDF document of pages of the size in points; the file is complete when the context is
    // destroyed.
    static std::unique_ptr<GraphicsContext> pdfContext(const std::string& path, Size pageSize);
    // Keeps a record of every fill, stroke, text and image draw, for tests; it also renders, so
    // makeImage() shows what was drawn.
    static std::unique_ptr<GraphicsContext> recordingContext(Size size);

    // Over a toolkit's context whose device space has the origin at the top left, `size` large (a
    // window's drawing area); the context is referenced, not taken over.
    GraphicsContext(NativeContext* context, Size size);
    ~GraphicsContext();
    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    // The context views draw into: set for the length of a scope.
    static GraphicsContext* current();
    class CurrentScope {
      public:
        explicit CurrentScope(GraphicsContext& context);
        ~CurrentScope();
        CurrentScope(const CurrentScope&) = delete;
        CurrentScope& operator=(const CurrentScope&) = delete;

      private:
        GraphicsContext* m_previous;
    };

    Size size() const { return m_size; }

    void saveGState();
    void restoreGState();

    void translateCTM(double tx, double ty);
    void scaleCTM(double sx, double sy);
    void rotateCTM(double radians);  // counter-clockwise
    void concatCTM(const AffineTransform& transform);
    AffineTransform ctm() const { return m_state.ctm; }

    void setTextMatrix(const AffineTransform& matrix) { m_textMatrix = matrix; }
    AffineTransform textMatrix() const { return m_textMatrix; }
    void setTextPosition(double x, double y);
    Point textPosition() const { return {m_textMatrix.tx, m_textMatrix.ty}; }

    void setFillColor(const Color& color) { m_state.fillColor = color; }
    Color fillColor() const { return m_state.fillColor; }
    void setStrokeColor(const Color& color) { m_state.strokeColor = color; }
    Color strokeColor() const { return m_state.strokeColor; }
    void setLineWidth(double width) { m_state.lineWidth = width; }
    double lineWidth() const { return m_state.lineWidth; }

    void fillRect(const Rect& rect);
    void fillPath(const Path& path);
    void strokeRect(const Rect& rect);
    void strokePath(const Path& path);
    // Narrows the clip of the current graphics state.
    void clipToRect(const Rect& rect);
    void clipToPath(const Path& path);
    // Draws the image upright into the rectangle, with the opacity.
    void drawImage(const Image& image, const Rect& rect, double fraction = 1.0);

    // What was drawn so far, as a bitmap of the context's size (not for PDF contexts).
    Image makeImage() const;
    // Ends the current PDF page and starts the next.
    void showPage();

    const std::vector<DrawingRecord>& records() const { return m_records; }
    bool isRecording() const { return m_recording; }
    void clearRecords() { m_records.clear(); }

    // For the text layer: the library's context with the matrix for the text drawn at the text
    // position (glyph space y down, as Pango has it), and the record of such a draw.
    NativeContext* prepareTextDrawing();
    void recordText(const Rect& textSpaceRect, std::u16string text);
    void finishTextDrawing();

  private:
    GraphicsContext(NativeSurface* surface, Size size, bool recording);
    void applyMatrix(const AffineTransform& userToBase);
    void appendPath(const Path& path);
    void record(DrawingRecord::Kind kind, const Rect& deviceRect, const Color& color);

    struct State {
        AffineTransform ctm;
        Color fillColor = Color::blackColor();
        Color strokeColor = Color::blackColor();
        double lineWidth = 1.0;
    };

    NativeContext* m_cr = nullptr;
    NativeSurface* m_surface = nullptr;  // owned when the context made it
    Size m_size;
    AffineTransform m_baseToDevice;
    State m_state;
    std::vector<State> m_stack;
    AffineTransform m_textMatrix;
    bool m_recording = false;
    std::vector<DrawingRecord> m_records;
};

}  // namespace platform
