#pragma once

#include <glib-object.h>

#include <utility>

namespace platform {

// The one owning reference to a GObject: adopting sinks a floating reference (so widgets fresh
// from their constructor are owned, not borrowed), destruction drops the reference. Copies add
// a reference. Include only from backend folders; GLib stays out of the layer's public headers.
template <typename T>
class GObjectRef {
  public:
    GObjectRef() = default;
    // Takes over one reference (a floating one is sunk into it).
    static GObjectRef adopt(T* object) {
        GObjectRef ref;
        if (object) {
            if (g_object_is_floating(object)) g_object_ref_sink(object);
            ref.m_object = object;
        }
        return ref;
    }
    // Adds a reference of its own to an object held elsewhere.
    static GObjectRef retain(T* object) {
        if (object) g_object_ref(object);
        GObjectRef ref;
        ref.m_object = object;
        return ref;
    }
    GObjectRef(const GObjectRef& other) : m_object(other.m_object) {
        if (m_object) g_object_ref(m_object);
    }
    GObjectRef(GObjectRef&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    GObjectRef& operator=(GObjectRef other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~GObjectRef() {
        if (m_object) g_object_unref(m_object);
    }

    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    void reset() { GObjectRef().swap(*this); }
    void swap(GObjectRef& other) noexcept { std::swap(m_object, other.m_object); }

  private:
    T* m_object = nullptr;
};

}  // namespace platform
