#include <librsvg/rsvg.h>

#include <cmath>
#include <map>
#include <mutex>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Owned.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/cairo/CairoHandles.h"

namespace platform {

std::optional<Image> Image::fromSVG(const std::string& path, double scale) {
    GError* error = nullptr;
    Owned<RsvgHandle, g_object_unref> handle(rsvg_handle_new_from_file(path.c_str(), &error));
    if (!handle) {
        g_clear_error(&error);
        return std::nullopt;
    }
    gdouble width = 0, height = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height) || width <= 0 ||
        height <= 0)
        return std::nullopt;
    int pixelWidth = int(std::ceil(width * scale)), pixelHeight = int(std::ceil(height * scale));
    Image image(pixelWidth, pixelHeight);
    cairo_t* cr = cairo_create(cairo(image.surface()));
    RsvgRectangle viewport{0, 0, double(pixelWidth), double(pixelHeight)};
    bool drawn = rsvg_handle_render_document(handle.get(), cr, &viewport, &error);
    cairo_destroy(cr);
    g_clear_error(&error);
    if (!drawn) return std::nullopt;
    cairo_surface_flush(cairo(image.surface()));
    return image;
}

std::optional<Image> Image::imageNamed(const std::string& name) {
    static std::mutex mutex;
    static std::map<std::filesystem::path, std::optional<Image>> loaded;
    const Bundle& bundle = Bundle::mainBundle();
    std::optional<std::filesystem::path> svg = bundle.pathForResource(name, "svg");
    std::optional<std::filesystem::path> png = svg ? svg : bundle.pathForResource(name, "png");
    if (!png) return std::nullopt;
    std::lock_guard lock(mutex);
    auto found = loaded.find(*png);
    if (found != loaded.end()) return found->second;
    std::optional<Image> image = svg ? fromSVG(svg->string()) : fromPNG(png->string());
    loaded.emplace(*png, image);
    return image;
}

}  // namespace platform
