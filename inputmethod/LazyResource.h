#pragma once

#include <functional>
#include <memory>
#include <mutex>

namespace quillora {

// A resource read at its first use and kept for the life of the process (the key map, the stem
// table). A load that fails leaves it absent, so the next use tries again: a resource installed
// late is still found.
template <class T>
class LazyResource {
  public:
    using Loader = std::function<std::unique_ptr<const T>()>;

    explicit LazyResource(Loader load) : m_load(std::move(load)) {}

    // The resource, loaded now when it is absent; null when it cannot be loaded. It stays valid
    // until reset().
    const T* get() {
        std::lock_guard lock(m_mutex);
        if (!m_value) m_value = m_load();
        return m_value.get();
    }

    // Forgets the resource; for tests that switch resource folders.
    void reset() {
        std::lock_guard lock(m_mutex);
        m_value.reset();
    }

  private:
    Loader m_load;
    std::mutex m_mutex;
    std::unique_ptr<const T> m_value;
};

}  // namespace quillora
