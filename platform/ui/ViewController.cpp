#include "platform/ui/ViewController.h"

#include "platform/ui/View.h"

namespace platform {

ViewController::ViewController(std::optional<std::string> nibName)
    : m_nibName(std::move(nibName)) {}

ViewController::~ViewController() = default;

View* ViewController::view() {
    return viewPointer().get();
}

std::shared_ptr<View> ViewController::viewPointer() {
    if (!m_view && !m_loading) {
        m_loading = true;
        loadView();
        if (!m_view) m_view = std::make_shared<View>();
        m_loading = false;
        viewDidLoad();
    }
    return m_view;
}

void ViewController::setView(std::shared_ptr<View> view) {
    m_view = std::move(view);
}

void ViewController::loadView() {
    setView(std::make_shared<View>());
}

}  // namespace platform
