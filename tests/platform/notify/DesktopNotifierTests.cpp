#include <gio/gio.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/foundation/Log.h"
#include "platform/notify/libnotify/DesktopNotifier.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

const char* kInterface =
    "<node><interface name='org.freedesktop.Notifications'>"
    "<method name='Notify'><arg type='s' direction='in'/><arg type='u' direction='in'/>"
    "<arg type='s' direction='in'/><arg type='s' direction='in'/><arg type='s' direction='in'/>"
    "<arg type='as' direction='in'/><arg type='a{sv}' direction='in'/>"
    "<arg type='i' direction='in'/><arg type='u' direction='out'/></method>"
    "<method name='CloseNotification'><arg type='u' direction='in'/></method>"
    "<method name='GetCapabilities'><arg type='as' direction='out'/></method>"
    "<method name='GetServerInformation'><arg type='s' direction='out'/>"
    "<arg type='s' direction='out'/><arg type='s' direction='out'/>"
    "<arg type='s' direction='out'/></method>"
    "</interface></node>";

struct Received {
    std::string application, icon, summary, body;
    int urgency = -1;  // the "urgency" hint, -1 without one
    unsigned replacesId = 0;
    bool transient = false;
};

// A notification server of the test's own on the private bus, served from a thread of its own
// because libnotify waits for the answer.
class FakeNotificationServer {
  public:
    explicit FakeNotificationServer(const std::string& address) {
        m_thread = std::thread([this, address] { serve(address); });
        while (!m_ready) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ~FakeNotificationServer() {
        // Quit from inside the server's loop: a quit that came before the loop began to run
        // would be forgotten, and the join would wait for ever.
        GSource* quit = g_idle_source_new();
        g_source_set_callback(
            quit,
            [](gpointer loop) {
                g_main_loop_quit(static_cast<GMainLoop*>(loop));
                return G_SOURCE_REMOVE;
            },
            m_loop, nullptr);
        g_source_attach(quit, g_main_loop_get_context(m_loop));
        g_source_unref(quit);
        m_thread.join();
    }

    std::vector<Received> received() {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    // The ids of the notices closed, in order.
    std::vector<unsigned> closed() {
        std::lock_guard lock(m_mutex);
        return m_closed;
    }

  private:
    static void onCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                       const gchar* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                       gpointer data) {
        auto* self = static_cast<FakeNotificationServer*>(data);
        if (g_str_equal(method, "Notify")) {
            const gchar *app, *icon, *summary, *body;
            guint32 replacesId = 0;
            GVariant* hints = nullptr;
            g_variant_get(parameters, "(&su&s&s&s@as@a{sv}i)", &app, &replacesId, &icon, &summary,
                          &body, nullptr, &hints, nullptr);
            guchar urgency = 0;
            const bool hasUrgency = g_variant_lookup(hints, "urgency", "y", &urgency);
            gboolean transient = FALSE;
            g_variant_lookup(hints, "transient", "b", &transient);
            g_variant_unref(hints);
            {
                std::lock_guard lock(self->m_mutex);
                self->m_received.push_back({app, icon, summary, body, hasUrgency ? urgency : -1,
                                            replacesId, transient != FALSE});
            }
            g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", 7u));
        } else if (g_str_equal(method, "CloseNotification")) {
            guint32 id = 0;
            g_variant_get(parameters, "(u)", &id);
            {
                std::lock_guard lock(self->m_mutex);
                self->m_closed.push_back(id);
            }
            g_dbus_method_invocation_return_value(invocation, nullptr);
        } else if (g_str_equal(method, "GetCapabilities")) {
            const gchar* caps[] = {"body", nullptr};
            g_dbus_method_invocation_return_value(invocation, g_variant_new("(^as)", caps));
        } else {
            g_dbus_method_invocation_return_value(
                invocation, g_variant_new("(ssss)", "fake", "test", "1", "1.2"));
        }
    }

    void serve(const std::string& address) {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        m_loop = g_main_loop_new(context, FALSE);
        GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
            address.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kInterface, nullptr);
        GDBusInterfaceVTable vtable = {onCall, nullptr, nullptr, {}};
        g_dbus_connection_register_object(connection, "/org/freedesktop/Notifications",
                                          node->interfaces[0], &vtable, this, nullptr, nullptr);
        GVariant* reply = g_dbus_connection_call_sync(
            connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "RequestName", g_variant_new("(su)", "org.freedesktop.Notifications", 4u), nullptr,
            G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        if (reply) g_variant_unref(reply);
        m_ready = true;
        g_main_loop_run(m_loop);
        g_dbus_connection_close_sync(connection, nullptr, nullptr);
        g_object_unref(connection);
        g_dbus_node_info_unref(node);
        g_main_loop_unref(m_loop);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }

    std::thread m_thread;
    std::atomic<bool> m_ready{false};
    GMainLoop* m_loop = nullptr;
    std::mutex m_mutex;
    std::vector<Received> m_received;
    std::vector<unsigned> m_closed;
};

// One bus for the whole program: GLib keeps the first session bus it connects to.
PrivateSessionBus& bus() {
    static PrivateSessionBus instance;
    return instance;
}

// No notification server on the bus: the notice is reported as not shown, with a debugging line
// (a notice follows the keys), and the caller goes on; a second notice fails the same way rather
// than crashing on a half-made connection.
TEST(DesktopNotifier, MissingServerIsOnlyLogged) {
    bus();
    ScopedEnvironment debugging("QUILLORA_LOG", std::string("syslog"));
    platform::LogCapture capture;
    platform::DesktopNotifier notifier("Quillora");
    platform::Notice notice{"Quillora", "Switched to English mode", "Quillora", std::nullopt};
    EXPECT_FALSE(notifier.notify(notice));
    EXPECT_FALSE(notifier.notify(notice));
    ASSERT_EQ(capture.lines().size(), 2u);
    EXPECT_TRUE(capture.contains("Notice \"Quillora\" not shown"));
}

TEST(DesktopNotifier, NoticeCarriesTitleTextApplicationAndIcon) {
    FakeNotificationServer server(bus().address());
    platform::DesktopNotifier notifier("Quillora");
    platform::LogCapture capture;
    EXPECT_TRUE(notifier.notify(
        {"Quillora", "Switched to English mode", "Quillora", std::string("/x/quillora.png")}));
    auto received = server.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].application, "Quillora");
    EXPECT_EQ(received[0].summary, "Quillora");
    EXPECT_EQ(received[0].body, "Switched to English mode");
    EXPECT_EQ(received[0].icon, "/x/quillora.png");
    EXPECT_EQ(received[0].urgency, 1);  // normal: some desktops never show a low one
    EXPECT_TRUE(capture.lines().empty());
}

// Switching to English mode again and again: each notice takes the place of the one before (the
// id the server gave it) and is transient, so the desktop's message list keeps none of them.
TEST(DesktopNotifier, ANoticeReplacesTheOneOfTheSameNameAndLeavesNoTrace) {
    FakeNotificationServer server(bus().address());
    platform::DesktopNotifier notifier("Quillora");
    const platform::Notice notice{"Quillora", "Switched to English mode", "Quillora", {}};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(notifier.notify(notice));
    EXPECT_TRUE(notifier.notify({"Other", "text", "Other", {}}));
    auto received = server.received();
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[0].replacesId, 0u);
    EXPECT_EQ(received[1].replacesId, 7u);  // the fake server's id
    EXPECT_EQ(received[2].replacesId, 7u);
    EXPECT_EQ(received[2].body, "Switched to English mode");
    EXPECT_EQ(received[3].replacesId, 0u);  // a notice of another name is a notice of its own
    for (const Received& one : received) EXPECT_TRUE(one.transient);
}

// English mode ends: its notice is closed on the desktop at once, not left to the server's timeout;
// another name's notice, or one never shown, closes nothing.
TEST(DesktopNotifier, AWithdrawnNoticeIsClosedOnTheDesktop) {
    FakeNotificationServer server(bus().address());
    platform::DesktopNotifier notifier("Quillora");
    const platform::Notice notice{"Quillora", "Switched to English mode", "Quillora", {}};
    notifier.removeDeliveredNotice("Quillora");
    EXPECT_TRUE(notifier.notify(notice));
    notifier.removeDeliveredNotice("Other");
    notifier.removeDeliveredNotice("Quillora");
    EXPECT_EQ(server.closed(), std::vector<unsigned>{7u});
    // The next switch shows a notice of its own rather than updating the closed one.
    EXPECT_TRUE(notifier.notify(notice));
    EXPECT_EQ(server.received().back().replacesId, 0u);
}

TEST(Notifier, WithoutAnInstalledNotifierNoticesAreLogged) {
    ScopedEnvironment debugging("QUILLORA_LOG", std::string("syslog"));
    platform::LogCapture capture;
    EXPECT_FALSE(platform::Notifier::shared().notify({"Quillora", "text", "Quillora", {}}));
    EXPECT_TRUE(capture.contains("not shown"));
}

}  // namespace
