#include "platform/imk/ibus/EngineSession.h"

#include <ibus.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/imk/ibus/EngineHost.h"
#include "platform/imk/ibus/KeyTranslation.h"
#include "platform/ui/Menu.h"

namespace platform::imk::ibus {
namespace {

constexpr const char* kMenuPropertyPrefix = "menu.";

InputEvent inputEvent(const KeyStroke& stroke) {
    if (stroke.kind == KeyStroke::Kind::FlagsChanged) {
        return InputEvent::flagsChanged(stroke.modifierFlags, stroke.keyCode);
    }
    return InputEvent::keyDown(stroke.keyCode, utf16FromUtf8(stroke.characters),
                               stroke.modifierFlags);
}

}  // namespace

EngineSession::EngineSession(IBusEngine* engine, EngineHost* host)
    : m_engine(engine),
      m_host(host),
      m_client(engine, host ? host->mainScreenOnDesktop() : nullptr) {
    if (m_host) m_controller = m_host->makeController(&m_client);
    m_client.setCaretWaitEndedHandler([this] {
        if (m_controller) m_controller->caretRectangleChanged(&m_client);
    });
}

EngineSession::~EngineSession() {
    if (m_host) m_host->engineDeactivated(m_engine);
}

bool EngineSession::isSecret() const {
    return m_purpose == IBUS_INPUT_PURPOSE_PASSWORD || m_purpose == IBUS_INPUT_PURPOSE_PIN;
}

bool EngineSession::processKey(std::uint32_t keyval, std::uint32_t keycode, std::uint32_t state) {
    if (!m_controller || isSecret()) return false;
    std::optional<KeyStroke> stroke = translateKey(keyval, keycode, state);
    if (!stroke) return false;
    const InputEvent event = inputEvent(*stroke);
    const std::uint64_t mask = std::uint64_t{1} << static_cast<std::uint64_t>(event.type());
    if (!(m_controller->recognizedEvents(&m_client) & mask)) return false;
    if (!m_active) activate();
    logfDebug("IBus key 0x%x code %u state 0x%x -> key code %u", keyval, keycode, state,
              stroke->keyCode);
    return m_controller->handleEvent(event, &m_client);
}

void EngineSession::focusIn() {
    m_client.focusChanged();
    activate();
}

void EngineSession::activate() {
    if (!m_controller) return;
    m_active = true;
    m_host->engineActivated(m_engine);
    registerProperties();
    m_controller->activateServer(&m_client);
}

void EngineSession::focusOut() {
    deactivate();
}

void EngineSession::disable() {
    deactivate();
}

void EngineSession::deactivate() {
    if (!m_controller || !m_active) return;
    m_active = false;
    // The daemon has already cleared this context's lookup table and detached the engine.
    m_host->engineDeactivated(m_engine);
    finishDetached();
}

void EngineSession::reset() {
    // The client dropped its idea of the composition (a click in the field, the text replaced).
    // The preedit is in commit mode, so IBus or the client has put it into the field already:
    // the controller only ends its composition, and the candidates go.
    if (m_controller && m_client.hasMarkedText()) finishDetached();
}

void EngineSession::finishDetached() {
    m_client.setDetached(true);
    m_controller->deactivateServer(&m_client);
    m_client.setDetached(false);
}

void EngineSession::setCursorLocation(int x, int y, int width, int height) {
    if (m_client.setCaretLocation(x, y, width, height) && m_controller) {
        m_controller->caretRectangleChanged(&m_client);
    }
}

void EngineSession::setContentType(std::uint32_t purpose, std::uint32_t) {
    const bool wasSecret = isSecret();
    m_purpose = purpose;
    // A field that turns secret while letters are pending: finish them before the keys go by.
    if (isSecret() && !wasSecret && m_controller && m_client.hasMarkedText()) {
        m_controller->commitComposition(&m_client);
    }
}

void EngineSession::registerProperties() {
    std::shared_ptr<Menu> menu = m_controller->menu();
    IBusPropList* list = ibus_prop_list_new();
    for (std::size_t i = 0; menu && i < menu->numberOfItems(); ++i) {
        const MenuItem* item = menu->itemAtIndex(i);
        const std::string key = kMenuPropertyPrefix + std::to_string(i);
        IBusProperty* property = ibus_property_new(
            key.c_str(), item->isSeparatorItem() ? PROP_TYPE_SEPARATOR : PROP_TYPE_NORMAL,
            ibus_text_new_from_string(item->title().c_str()), nullptr, nullptr, item->isEnabled(),
            TRUE, PROP_STATE_UNCHECKED, nullptr);
        ibus_prop_list_append(list, property);
    }
    ibus_engine_register_properties(m_engine, list);
}

void EngineSession::propertyActivate(const std::string& name, std::uint32_t) {
    if (!m_controller || name.rfind(kMenuPropertyPrefix, 0) != 0) return;
    std::shared_ptr<Menu> menu = m_controller->menu();
    if (!menu) return;
    try {
        const std::size_t index = std::stoul(name.substr(std::string(kMenuPropertyPrefix).size()));
        menu->performActionForItemAtIndex(index, nullptr);
    } catch (const std::exception&) {
        logf("Unknown menu property %s", name.c_str());
    }
}

void EngineSession::candidateClicked(std::uint32_t index, std::uint32_t, std::uint32_t) {
    // A click on the framework's candidate list chooses as the digit key of that line would.
    if (!m_controller || index >= 9) return;
    static constexpr std::uint16_t kDigitKeyCodes[] = {18, 19, 20, 21, 23, 22, 26, 28, 25};
    const char16_t digit = static_cast<char16_t>(u'1' + index);
    m_controller->handleEvent(InputEvent::keyDown(kDigitKeyCodes[index], std::u16string(1, digit)),
                              &m_client);
}

}  // namespace platform::imk::ibus
