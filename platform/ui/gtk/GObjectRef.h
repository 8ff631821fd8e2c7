#pragma once

#include <glib-object.h>

#include <utility>

namespace platform::gtk {

// The one owner of a GObject reference. Adopting sinks a floating reference (a fresh widget) or
// takes over a full one (what a *_new of a plain GObject returns); `retain` adds a reference to
// an object someone else keeps. The reference goes with the owner.
template <typename T>
class GObjectRef {
  public:
    GObjectRef() = default;
    static GObjectRef adopt(T* object) {
        GObjectRef ref;
        if (object && g_object_is_floating(object)) g_object_ref_sink(object);
        ref.m_object = object;
        return ref;
    }
    static GObjectRef retain(T* object) {
        GObjectRef ref;
        if (object) g_object_ref_sink(object);
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

  private:
    T* m_object = nullptr;
};

}  // namespace platform::gtk
