#pragma once

#include <cairo.h>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"

// The Cairo objects behind the graphics layer's opaque handles, for the code that draws with
// Cairo itself (the graphics sources, the toolkit's view host, PDF page drawing). The handles are
// the Cairo pointers under another name: converting costs nothing and changes no reference count.
namespace platform {

inline cairo_t* cairo(NativeContext* context) {
    return reinterpret_cast<cairo_t*>(context);
}
inline NativeContext* native(cairo_t* cr) {
    return reinterpret_cast<NativeContext*>(cr);
}
inline cairo_surface_t* cairo(NativeSurface* surface) {
    return reinterpret_cast<cairo_surface_t*>(surface);
}
inline NativeSurface* native(cairo_surface_t* surface) {
    return reinterpret_cast<NativeSurface*>(surface);
}

}  // namespace platform
