#include "platform/graphics/Image.h"

#include "platform/graphics/cairo/CairoHandles.h"

namespace platform {

Image::Image(NativeSurface* adopted)
    : m_surface(adopted, [](NativeSurface* s) { cairo_surface_destroy(cairo(s)); }) {}

Image::Image(int width, int height)
    : Image(native(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height))) {}

std::optional<Image> Image::fromPNG(const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return std::nullopt;
    }
    return Image(native(surface));
}

int Image::width() const {
    return cairo_image_surface_get_width(cairo(m_surface.get()));
}
int Image::height() const {
    return cairo_image_surface_get_height(cairo(m_surface.get()));
}

Color Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return Color::clearColor();
    cairo_surface_flush(cairo(m_surface.get()));
    const unsigned char* data = cairo_image_surface_get_data(cairo(m_surface.get()));
    int stride = cairo_image_surface_get_stride(cairo(m_surface.get()));
    int row = height() - 1 - y;
    uint32_t argb = *reinterpret_cast<const uint32_t*>(data + row * stride + x * 4);
    double a = ((argb >> 24) & 0xFF) / 255.0;
    if (a == 0) return Color::clearColor();
    // Cairo keeps the colour premultiplied by alpha.
    return Color{((argb >> 16) & 0xFF) / 255.0 / a, ((argb >> 8) & 0xFF) / 255.0 / a,
                 (argb & 0xFF) / 255.0 / a, a};
}

bool Image::writePNG(const std::string& path) const {
    return cairo_surface_write_to_png(cairo(m_surface.get()), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace platform
