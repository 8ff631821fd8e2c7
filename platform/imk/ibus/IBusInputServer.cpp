#include <ibus.h>

#include <memory>

#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/imk/InputServer.h"
#include "platform/imk/ibus/EngineHost.h"
#include "platform/imk/ibus/IBusBackend.h"
#include "platform/ui/gtk/GObjectRef.h"

namespace platform::imk {
namespace {

using platform::gtk::GObjectRef;

// The IBus backend of the server: one bus connection, one factory making engine objects of our
// type, and the component that tells the daemon about them.
class IBusInputServer final : public InputServer, public ibus::EngineHost {
  public:
    explicit IBusInputServer(Options options) : m_options(std::move(options)) {}
    ~IBusInputServer() override {
        if (m_bus) g_signal_handlers_disconnect_by_data(m_bus.get(), this);
        // The bus outlives this server, and so would the engines its factory made: their sessions
        // tell this host when they end, so they end now, while it is here.
        if (m_factory) ibus_object_destroy(IBUS_OBJECT(m_factory.get()));
        ibus::setEngineHost(nullptr);
    }

    bool start() {
        ibus_init();
        m_bus = GObjectRef<IBusBus>::adopt(ibus_bus_new());
        if (!m_bus || !ibus_bus_is_connected(m_bus.get())) {
            log("IBus is not reachable: no input-method daemon on this session");
            return false;
        }
        g_signal_connect(m_bus.get(), "disconnected", G_CALLBACK(onDisconnected), this);
        ibus::setEngineHost(this);
        m_factory =
            GObjectRef<IBusFactory>::adopt(ibus_factory_new(ibus_bus_get_connection(m_bus.get())));
        ibus_factory_add_engine(m_factory.get(), m_options.engineName.c_str(),
                                ibus::inputEngineType());
        const std::string name = componentName();
        if (m_options.startedByFramework) {
            if (ibus_bus_request_name(m_bus.get(), name.c_str(), 0) == 0) {
                logf("IBus refused the name %s", name.c_str());
                return false;
            }
        } else if (!ibus_bus_register_component(m_bus.get(), makeComponent(name))) {
            logf("IBus refused the component %s", name.c_str());
            return false;
        }
        logf("IBus engine \"%s\" registered as %s", m_options.engineName.c_str(), name.c_str());
        return true;
    }

    // InputServer
    void showFrameworkCandidates(const std::vector<std::u16string>& candidates) override {
        if (!m_active) return;
        IBusLookupTable* table = ibus_lookup_table_new(9, 0, FALSE, TRUE);
        for (std::size_t i = 0; i < candidates.size() && i < 9; ++i) {
            ibus_lookup_table_append_candidate(
                table, ibus_text_new_from_string(utf8FromUtf16(candidates[i]).c_str()));
            const std::string label = std::to_string(i + 1);
            ibus_lookup_table_set_label(table, i, ibus_text_new_from_string(label.c_str()));
        }
        ibus_lookup_table_set_orientation(table, IBUS_ORIENTATION_VERTICAL);
        ibus_engine_update_lookup_table(m_active, table, TRUE);
        m_tableVisible = true;
    }
    void hideFrameworkCandidates() override {
        if (m_active && m_tableVisible) ibus_engine_hide_lookup_table(m_active);
        m_tableVisible = false;
    }
    bool frameworkCandidatesVisible() const override { return m_tableVisible; }
    void setDisconnectedHandler(std::function<void()> handler) override {
        m_disconnected = std::move(handler);
    }

    // EngineHost
    std::unique_ptr<InputController> makeController(InputClient* client) override {
        return m_options.makeController ? m_options.makeController(client) : nullptr;
    }
    std::function<std::optional<Rect>()> mainScreenOnDesktop() override {
        return m_options.mainScreenOnDesktop;
    }
    void engineActivated(IBusEngine* engine) override {
        if (m_active != engine) m_tableVisible = false;
        m_active = engine;
    }
    void engineDeactivated(IBusEngine* engine) override {
        // The daemon clears the lookup table of a context that loses its engine or its focus; a
        // hide sent now would reach whichever context the engine serves next.
        if (m_active != engine) return;
        m_active = nullptr;
        m_tableVisible = false;
    }

  private:
    // The D-Bus name of the component carries the connection name under the program's
    // identifier, so both show in `ibus list-engine`'s origin and in the log.
    std::string componentName() const {
        return m_options.bundleIdentifier + "." + m_options.connectionName;
    }

    IBusComponent* makeComponent(const std::string& name) const {
        const Options& o = m_options;
        IBusComponent* component = ibus_component_new(name.c_str(), o.engineLongName.c_str(), "",
                                                      "GPL", "", "", "", o.engineName.c_str());
        ibus_component_add_engine(
            component, ibus_engine_desc_new(o.engineName.c_str(), o.engineLongName.c_str(),
                                            o.engineLongName.c_str(), o.language.c_str(), "GPL", "",
                                            o.iconPath.c_str(), "us"));
        return component;
    }

    static void onDisconnected(IBusBus*, gpointer data) {
        auto* self = static_cast<IBusInputServer*>(data);
        log("IBus closed the connection");
        if (self->m_disconnected) self->m_disconnected();
    }

    Options m_options;
    // owned
    GObjectRef<IBusBus> m_bus;
    GObjectRef<IBusFactory> m_factory;
    std::function<void()> m_disconnected;
    // borrowed: the engine of the context that has focus, cleared when it loses it or goes
    IBusEngine* m_active = nullptr;
    bool m_tableVisible = false;
};

}  // namespace

std::unique_ptr<InputServer> ibus::install(InputServer::Options options) {
    auto server = std::make_unique<IBusInputServer>(std::move(options));
    if (!server->start()) return nullptr;
    return server;
}

}  // namespace platform::imk
