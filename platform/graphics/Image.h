#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

namespace platform {

// The drawing library's bitmap, opaque here; platform/graphics/cairo/CairoHandles.h converts it.
struct NativeSurface;

// A bitmap of 32-bit pixels with alpha. Copies share the pixels.
class Image {
  public:
    // A transparent image of the size in pixels.
    Image(int width, int height);
    static std::optional<Image> fromPNG(const std::string& path);
    // An SVG drawing rendered at its own size in points times `scale` pixels per point; absent
    // when the file cannot be read or has no size.
    static std::optional<Image> fromSVG(const std::string& path, double scale = 1.0);
    // NSImage imageNamed: "<name>.svg", else "<name>.png", from the main bundle's resources;
    // loaded once and shared afterwards. Absent when neither exists.
    static std::optional<Image> imageNamed(const std::string& name);

    int width() const;
    int height() const;
    Size size() const { return Size{double(width()), double(height())}; }

    // The pixel at column x of row y, rows counted from the bottom as in a context's device
    // space; transparent outside the image.
    Color pixel(int x, int y) const;

    bool writePNG(const std::string& path) const;

    // For the graphics layer.
    NativeSurface* surface() const { return m_surface.get(); }
    explicit Image(NativeSurface* adopted);

  private:
    std::shared_ptr<NativeSurface> m_surface;
};

}  // namespace platform
