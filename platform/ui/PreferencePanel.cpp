#include "platform/ui/PreferencePanel.h"

#include "platform/ui/Backends.h"

namespace platform {
PreferencePanel::PreferencePanel(std::string title) : m_title(std::move(title)) {
    if (const auto& make = Backends::current().preferencePanels) m_backend = make();
}

PreferencePanel::~PreferencePanel() = default;

void PreferencePanel::addCheckBox(std::string identifier, std::string label,
                                  std::function<void(bool)> action) {
    Control control;
    control.kind = Control::Kind::CheckBox;
    control.identifier = std::move(identifier);
    control.label = std::move(label);
    control.toggled = std::move(action);
    m_controls.push_back(std::move(control));
}

void PreferencePanel::addFontChooser(
    std::string identifier, std::string label,
    std::function<void(const std::string& family, double size)> action) {
    Control control;
    control.kind = Control::Kind::FontChooser;
    control.identifier = std::move(identifier);
    control.label = std::move(label);
    control.fontChosen = std::move(action);
    m_controls.push_back(std::move(control));
}

PreferencePanel::Control* PreferencePanel::find(const std::string& identifier) {
    for (auto& control : m_controls) {
        if (control.identifier == identifier) return &control;
    }
    return nullptr;
}

const PreferencePanel::Control* PreferencePanel::control(const std::string& identifier) const {
    return const_cast<PreferencePanel*>(this)->find(identifier);
}

void PreferencePanel::setCheckBoxState(const std::string& identifier, bool on) {
    Control* control = find(identifier);
    if (!control) return;
    control->state = on;
    if (m_backend) m_backend->controlChanged(*control);
}

bool PreferencePanel::checkBoxState(const std::string& identifier) const {
    const Control* found = control(identifier);
    return found && found->state;
}

void PreferencePanel::setFont(const std::string& identifier, const std::string& family,
                              double size) {
    Control* control = find(identifier);
    if (!control) return;
    control->fontFamily = family;
    control->fontSize = size;
    if (m_backend) m_backend->controlChanged(*control);
}

void PreferencePanel::userToggled(const std::string& identifier, bool on) {
    Control* control = find(identifier);
    if (!control) return;
    control->state = on;
    if (control->toggled) control->toggled(on);
}

void PreferencePanel::userChoseFont(const std::string& identifier, const std::string& family,
                                    double size) {
    Control* control = find(identifier);
    if (!control) return;
    control->fontFamily = family;
    control->fontSize = size;
    if (control->fontChosen) control->fontChosen(family, size);
}

void PreferencePanel::makeKeyAndOrderFront() {
    m_visible = true;
    if (m_backend) m_backend->show(*this);
}

void PreferencePanel::orderOut() {
    m_visible = false;
    if (m_backend) m_backend->hide();
}

}  // namespace platform
