#include "platform/ui/Backends.h"

#include <utility>

#include "platform/ui/WindowBackend.h"

namespace platform {

namespace {
const Backends*& installed() {
    static const Backends none;
    static const Backends* set = &none;
    return set;
}
}  // namespace

const Backends& Backends::current() {
    return *installed();
}

ScopedBackends::ScopedBackends() : ScopedBackends(Backends::current()) {}

ScopedBackends::ScopedBackends(Backends set) : m_set(std::move(set)), m_previous(installed()) {
    installed() = &m_set;
}

ScopedBackends::~ScopedBackends() {
    installed() = m_previous;
}

}  // namespace platform
