#include "platform/ui/gtk/GtkApplicationBackend.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/ui/gtk/DesktopApplication.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/ProcessEnvironment.h"

namespace platform::gtk {

GtkApplicationBackend::GtkApplicationBackend(std::string applicationId)
    : m_applicationId(std::move(applicationId)) {}

GtkApplicationBackend::~GtkApplicationBackend() {
    if (m_app) g_signal_handlers_disconnect_by_data(m_app.get(), this);
}

GObjectRef<GtkApplication> GtkApplicationBackend::makeApplication(GApplicationFlags flags) {
    auto app =
        GObjectRef<GtkApplication>::adopt(gtk_application_new(m_applicationId.c_str(), flags));
    g_signal_connect(app.get(), "activate", G_CALLBACK(onActivate), this);
    g_signal_connect(app.get(), "command-line", G_CALLBACK(onCommandLine), this);
    g_signal_connect(app.get(), "window-removed", G_CALLBACK(onWindowRemoved), this);
    return app;
}

std::unique_ptr<ApplicationBackend> makeDesktopApplication(const std::string& applicationId) {
    return std::make_unique<GtkApplicationBackend>(applicationId);
}

int GtkApplicationBackend::run(int argc, char** argv) {
    // Windows show the program's icon (installed under the program's name).
    gtk_window_set_default_icon_name(Bundle::mainBundle().programName().c_str());
    // A second start hands its command line over, environment included, so that the running
    // one can tell whether it asked for something else.
    const auto flags =
        GApplicationFlags(G_APPLICATION_HANDLES_COMMAND_LINE | G_APPLICATION_SEND_ENVIRONMENT);
    m_app = makeApplication(flags);
    GError* error = nullptr;
    if (!g_application_register(G_APPLICATION(m_app.get()), nullptr, &error)) {
        platform::logf("Zelvo runs without claiming its name: %s", error ? error->message : "");
        g_clear_error(&error);
        g_signal_handlers_disconnect_by_data(m_app.get(), this);
        m_app = makeApplication(GApplicationFlags(flags | G_APPLICATION_NON_UNIQUE));
    }
    return g_application_run(G_APPLICATION(m_app.get()), argc, argv);
}

void GtkApplicationBackend::onActivate(GApplication* app, GtkApplicationBackend* self) {
    if (self->m_launched) {
        Application::sharedApplication().reopen();
        return;
    }
    self->m_launched = true;
    // Windows come and go; the application stays until it is told to quit.
    g_application_hold(app);
    self->m_held = true;
    Application::sharedApplication().finishLaunching();
}

int GtkApplicationBackend::onCommandLine(GApplication* app, GApplicationCommandLine* commandLine,
                                         GtkApplicationBackend* self) {
    if (!self->m_launched || !g_application_command_line_get_is_remote(commandLine)) {
        onActivate(app, self);
        return 0;
    }
    SecondLaunch launch;
    if (const gchar* folder = g_application_command_line_get_cwd(commandLine))
        launch.workingDirectory = folder;
    if (const gchar* const* environment = g_application_command_line_get_environ(commandLine)) {
        for (const gchar* const* entry = environment; *entry; ++entry) {
            std::string pair = *entry;
            const size_t equals = pair.find('=');
            if (equals != std::string::npos)
                launch.environment[pair.substr(0, equals)] = pair.substr(equals + 1);
        }
    }
    std::optional<std::string> message = Application::sharedApplication().reopen(launch);
    if (!message) return 0;
    g_application_command_line_printerr(commandLine, "%s\n", message->c_str());
    return 1;
}

void GtkApplicationBackend::onWindowRemoved(GtkApplication* app, GtkWindow*,
                                            GtkApplicationBackend* self) {
    if (gtk_application_get_windows(app) != nullptr) return;
    if (Application::sharedApplication().lastWindowClosed()) self->terminate();
}

void GtkApplicationBackend::terminate() {
    if (!m_app) return;
    if (m_held) {
        g_application_release(G_APPLICATION(m_app.get()));
        m_held = false;
    }
    g_application_quit(G_APPLICATION(m_app.get()));
}

void GtkApplicationBackend::mainMenuChanged() {
    for (GtkViewHost* host : GtkViewHost::hosts()) host->updateMenuBar();
}

void GtkApplicationBackend::menuBarVisibilityChanged() {
    mainMenuChanged();
}

bool GtkApplicationBackend::openURL(const std::string& url) {
    return openWithDefaultApplication(url);
}

}  // namespace platform::gtk
