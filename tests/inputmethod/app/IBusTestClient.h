#pragma once

#include <ibus.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/Patience.h"

// A client application's input context on the test's IBus daemon, as a GTK text field would hold
// it: it can show preedit text and wants focus changes, and it records what the engine sends.
class IBusTestClient {
  public:
    IBusTestClient() {
        ibus_init();
        m_bus = ibus_bus_new();
        if (!ibus_bus_is_connected(m_bus)) return;
        m_context = ibus_bus_create_input_context(m_bus, "mw-test");
        if (!m_context) return;
        ibus_input_context_set_capabilities(m_context, IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_FOCUS |
                                                           IBUS_CAP_LOOKUP_TABLE |
                                                           IBUS_CAP_PROPERTY);
        g_signal_connect(m_context, "commit-text", G_CALLBACK(onCommit), this);
        g_signal_connect(m_context, "update-preedit-text", G_CALLBACK(onPreedit), this);
        g_signal_connect(m_context, "hide-preedit-text", G_CALLBACK(onHidePreedit), this);
        g_signal_connect(m_context, "update-lookup-table", G_CALLBACK(onTable), this);
        g_signal_connect(m_context, "hide-lookup-table", G_CALLBACK(onHideTable), this);
        g_signal_connect(m_context, "register-properties", G_CALLBACK(onProperties), this);
    }
    ~IBusTestClient() {
        if (m_context) {
            g_signal_handlers_disconnect_by_data(m_context, this);
            ibus_proxy_destroy(IBUS_PROXY(m_context));
            g_object_unref(m_context);
        }
        if (m_bus) g_object_unref(m_bus);
    }

    bool connected() const { return m_context != nullptr; }
    IBusInputContext* context() const { return m_context; }

    // Focuses the context and switches it to the engine; true once the engine has answered
    // (it registers its input menu when it gains focus).
    bool selectEngine(const char* name) {
        ibus_input_context_focus_in(m_context);
        ibus_input_context_set_engine(m_context, name);
        return pumpUntil([this] { return !properties.empty(); }, kPatience);
    }

    // Sends a key press (and, unless it is a modifier held for a later key, its release) and
    // answers whether the engine consumed the press.
    bool press(guint keyval, guint keycode, guint state = 0) {
        const bool handled = sendKey(keyval, keycode, state);
        sendKey(keyval, keycode, state | IBUS_RELEASE_MASK);
        settle();
        return handled;
    }
    // One key event, answered asynchronously while this thread's loop turns: the engine may live
    // in this very process and answer on this loop.
    bool sendKey(guint keyval, guint keycode, guint state) {
        struct Answer {
            bool done = false;
            bool handled = false;
        } answer;
        ibus_input_context_process_key_event_async(
            m_context, keyval, keycode, state, -1, nullptr,
            [](GObject* context, GAsyncResult* result, gpointer data) {
                auto* a = static_cast<Answer*>(data);
                a->handled = ibus_input_context_process_key_event_async_finish(
                    IBUS_INPUT_CONTEXT(context), result, nullptr);
                a->done = true;
            },
            &answer);
        pumpUntil([&answer] { return answer.done; }, kPatience);
        return answer.handled;
    }
    bool type(const std::string& letters) {
        bool all = true;
        for (char c : letters) all = press(ibus_unicode_to_keyval(c), 0) && all;
        return all;
    }

    // Gives what must not come (a second commit, a stray preedit) the time to show up. Nothing
    // expected waits on it: that waits for its own condition with pumpUntil.
    void settle() {
        pumpUntil([] { return false; }, std::chrono::milliseconds(150));
    }
    bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            g_main_context_iteration(nullptr, FALSE);
            g_usleep(2000);
        }
        return done();
    }

    struct PreeditUpdate {
        std::string text;
        guint cursor;
        bool visible;
    };

    std::vector<std::string> commits;
    std::string preedit;
    bool preeditVisible = false;
    std::vector<PreeditUpdate> preeditUpdates;
    std::vector<std::string> candidates;
    bool tableVisible = false;
    std::vector<std::string> properties;
    // Called after each preedit update, as a text field redraws and reports its caret then.
    std::function<void()> preeditChanged;

  private:
    static std::string text(IBusText* text) { return text ? ibus_text_get_text(text) : ""; }
    static void onCommit(IBusInputContext*, IBusText* t, gpointer self) {
        static_cast<IBusTestClient*>(self)->commits.push_back(text(t));
    }
    static void onPreedit(IBusInputContext*, IBusText* t, guint cursor, gboolean visible,
                          gpointer self) {
        auto* client = static_cast<IBusTestClient*>(self);
        client->preedit = text(t);
        client->preeditVisible = visible;
        client->preeditUpdates.push_back({client->preedit, cursor, visible != FALSE});
        if (client->preeditChanged) client->preeditChanged();
    }
    static void onHidePreedit(IBusInputContext*, gpointer self) {
        static_cast<IBusTestClient*>(self)->preeditVisible = false;
    }
    static void onTable(IBusInputContext*, IBusLookupTable* table, gboolean visible,
                        gpointer self) {
        auto* client = static_cast<IBusTestClient*>(self);
        client->candidates.clear();
        for (guint i = 0; i < ibus_lookup_table_get_number_of_candidates(table); ++i) {
            client->candidates.push_back(text(ibus_lookup_table_get_candidate(table, i)));
        }
        client->tableVisible = visible;
    }
    static void onHideTable(IBusInputContext*, gpointer self) {
        static_cast<IBusTestClient*>(self)->tableVisible = false;
    }
    static void onProperties(IBusInputContext*, IBusPropList* list, gpointer self) {
        auto* client = static_cast<IBusTestClient*>(self);
        client->properties.clear();
        for (guint i = 0; IBusProperty* p = ibus_prop_list_get(list, i); ++i) {
            client->properties.push_back(text(ibus_property_get_label(p)));
        }
    }

    IBusBus* m_bus = nullptr;
    IBusInputContext* m_context = nullptr;
};
