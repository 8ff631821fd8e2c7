#pragma once

#include <memory>

namespace platform {

// The owner of a C library's handle: `Release` (the library's own free or unref function) runs
// once, on every path, when the owner goes. Header-only and free of any library's headers, so
// each layer names its handles' release functions where it includes their library.
template <auto Release>
struct Releaser {
    template <typename T>
    void operator()(T* handle) const {
        Release(handle);
    }
};
template <typename T, auto Release>
using Owned = std::unique_ptr<T, Releaser<Release>>;

}  // namespace platform
