#include "platform/web/webkit/WebKitPageView.h"

#include <memory>

#include "platform/foundation/FileURL.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/ui/gtk/ProcessEnvironment.h"
#include "platform/web/webkit/WebContext.h"
#include "platform/web/webkit/WebViewWidget.h"

namespace platform {

namespace {

std::string textOf(JSCValue* value) {
    gchar* text = jsc_value_to_string(value);
    std::string out = text ? text : "";
    g_free(text);
    return out;
}

NavigationAction::Kind kindOf(WebKitNavigationType type) {
    switch (type) {
        case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED:
            return NavigationAction::Kind::LinkClicked;
        case WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED:
        case WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED:
            return NavigationAction::Kind::FormSubmitted;
        case WEBKIT_NAVIGATION_TYPE_BACK_FORWARD:
            return NavigationAction::Kind::BackForward;
        case WEBKIT_NAVIGATION_TYPE_RELOAD:
            return NavigationAction::Kind::Reload;
        default:
            return NavigationAction::Kind::Other;
    }
}

// The first page still open: later pages join its web process rather than start one each.
WebKitWebView* firstOpenView = nullptr;

}  // namespace

std::unique_ptr<WebView> WebKitPageView::create(Size frameSize) {
    if (!gtk::openDisplay()) {
        log("WebView: no display to create a web view on");
        return nullptr;
    }
    return std::make_unique<WebKitPageView>(frameSize);
}

WebKitPageView::WebKitPageView(Size frameSize) : m_frameSize(frameSize) {
    m_contentManager =
        gtk::GObjectRef<WebKitUserContentManager>::adopt(webkit_user_content_manager_new());
    // A related view takes its context from the view it joins.
    GtkWidget* view = firstOpenView
                          ? GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager",
                                                    m_contentManager.get(), "related-view",
                                                    firstOpenView, nullptr))
                          : GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager",
                                                    m_contentManager.get(), "web-context",
                                                    webkit::sharedWebContext(), nullptr));
    m_view = gtk::GObjectRef<WebKitWebView>::adopt(WEBKIT_WEB_VIEW(view));
    m_pending = gtk::GObjectRef<GCancellable>::adopt(g_cancellable_new());
    if (!firstOpenView) firstOpenView = m_view.get();

    WebKitSettings* settings = webkit_web_view_get_settings(m_view.get());
    // Pages are the program's own; they reach the files they show through file:// URLs, never
    // other origins, and they work the same on machines without a GPU (or under Xvfb).
    webkit_settings_set_allow_file_access_from_file_urls(settings, TRUE);
    webkit_settings_set_hardware_acceleration_policy(settings,
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    webkit_settings_set_enable_developer_extras(settings, FALSE);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);

    g_signal_connect(m_view.get(), "load-changed", G_CALLBACK(onLoadChanged), this);
    g_signal_connect(m_view.get(), "load-failed", G_CALLBACK(onLoadFailed), this);
    g_signal_connect(m_view.get(), "decide-policy", G_CALLBACK(onDecidePolicy), this);
    // Ahead of the view's own handlers (the signals run theirs last): a refused key never reaches
    // the engine's queue, from which it could land in whatever the page holds later.
    g_signal_connect(m_view.get(), "key-press-event", G_CALLBACK(onKey), this);
    g_signal_connect(m_view.get(), "key-release-event", G_CALLBACK(onKey), this);
    g_signal_connect(m_view.get(), "hierarchy-changed", G_CALLBACK(onHierarchyChanged), this);
    g_signal_connect(m_view.get(), "focus-out-event", G_CALLBACK(onFocusOut), this);
    g_signal_connect_after(m_view.get(), "focus-out-event", G_CALLBACK(onFocusChanged), this);
    g_signal_connect(m_view.get(), "focus-in-event", G_CALLBACK(onFocusChanged), this);
    g_signal_connect(m_view.get(), "button-press-event", G_CALLBACK(onButton), this);
    g_signal_connect(m_view.get(), "button-release-event", G_CALLBACK(onButton), this);

    // The pages show the user's notes, which may refer to anything: nothing comes from the
    // network, whatever a page's own policy says. Until the rule is in place nothing loads.
    std::weak_ptr<int> alive = m_alive;
    webkit::whenLocalLoadsOnlyFilterCompiled([this, alive](WebKitUserContentFilter* filter) {
        if (!alive.lock()) return;
        if (filter) webkit_user_content_manager_add_filter(m_contentManager.get(), filter);
        m_filterInPlace = true;
        if (m_loadToCome) {
            std::function<void()> start = std::move(m_loadToCome);
            m_loadToCome = nullptr;
            start();
        }
    });

    m_offscreenHost = gtk_offscreen_window_new();
    gtk_container_add(GTK_CONTAINER(m_offscreenHost), view);
    setFrameSize(frameSize);
    gtk_widget_show_all(m_offscreenHost);
}

WebKitPageView::~WebKitPageView() {
    g_cancellable_cancel(m_pending.get());
    for (GdkEvent* key : m_heldInput) gdk_event_free(key);
    if (firstOpenView == m_view.get()) firstOpenView = nullptr;
    g_signal_handlers_disconnect_by_data(m_view.get(), this);
    releaseInputMethodCommits();
    watchWindow(nullptr);
    for (Channel& channel : m_channels)
        g_signal_handlers_disconnect_by_data(m_contentManager.get(), &channel);
    for (const Channel& channel : m_channels)
        webkit_user_content_manager_unregister_script_message_handler(m_contentManager.get(),
                                                                      channel.name.c_str());
    GtkWidget* widget = GTK_WIDGET(m_view.get());
    if (GtkWidget* parent = gtk_widget_get_parent(widget))
        gtk_container_remove(GTK_CONTAINER(parent), widget);
    if (m_offscreenHost) gtk_widget_destroy(m_offscreenHost);
    // The last reference goes with m_view: the widget is destroyed with it.
    gtk_widget_destroy(widget);
}

// A key the page did not take, pressed or released, comes back from WebKit as the same event,
// sent through GTK once more, and WebKit passes the next key event it sees on to GTK instead of
// the page. That event must be this one: if it never comes (held or refused here, or gone to
// another widget that took the focus meanwhile), the first key typed into the page afterwards is
// the one passed by, and lost.
gboolean WebKitPageView::onKey(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto* view = static_cast<WebKitPageView*>(self);
    if (view->isHandedBack(*event, true)) return FALSE;  // counted already; the page saw it
    if (view->holdsBack(reinterpret_cast<GdkEvent*>(event))) return TRUE;
    if (event->type == GDK_KEY_PRESS) ++view->m_keysPassed;
    // WebKit hands keys to the page one at a time: a key comes back among the last few passed.
    constexpr size_t remembered = 256;
    if (view->m_recentKeys.size() == remembered) view->m_recentKeys.pop_front();
    view->m_recentKeys.push_back(
        {event->type, event->time, event->hardware_keycode, event->keyval});
    return FALSE;
}

gboolean WebKitPageView::onButton(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto* view = static_cast<WebKitPageView*>(self);
    if (view->holdsBack(reinterpret_cast<GdkEvent*>(event))) return TRUE;
    // The double and triple presses GTK adds after the second and third are no presses of their
    // own: the page sees one per press of the button.
    if (event->type != GDK_BUTTON_PRESS) return FALSE;
    ++view->m_buttonsPassed;
    view->didPassButtonPress();
    return FALSE;
}

bool WebKitPageView::holdsBack(const GdkEvent* event) {
    if (m_passingHeld || m_held == HeldInput::Nothing) return false;
    bool key = event->type == GDK_KEY_PRESS || event->type == GDK_KEY_RELEASE;
    if (!key && m_held != HeldInput::KeysAndClicks && m_heldInput.empty()) return false;
    // A click takes the focus at once, as it would: the keys typed after it come here and wait.
    if (event->type == GDK_BUTTON_PRESS) gtk_widget_grab_focus(GTK_WIDGET(m_view.get()));
    m_heldInput.push_back(gdk_event_copy(event));
    ++m_inputEverHeld;
    return true;
}

void WebKitPageView::setHeldInput(HeldInput held) {
    m_held = held;
    passHeld(m_heldInput.size());
}

void WebKitPageView::passHeldInputEvents(size_t count) {
    HeldInput held = m_held;
    m_held = HeldInput::Nothing;
    passHeld(count);
    if (m_held == HeldInput::Nothing) m_held = held;
}

void WebKitPageView::passHeld(size_t count) {
    // Handed to the view as if they came now, in order. Passing a click may hold the keys again
    // (see WebView::buttonPressesPassed): those behind it keep waiting.
    for (; count > 0 && !m_heldInput.empty(); --count) {
        GdkEvent* event = m_heldInput.front();
        bool key = event->type == GDK_KEY_PRESS || event->type == GDK_KEY_RELEASE;
        if (m_held == HeldInput::KeysAndClicks || (key && m_held == HeldInput::Keys)) break;
        m_heldInput.pop_front();
        m_passingHeld = true;
        gtk_widget_event(GTK_WIDGET(m_view.get()), event);
        m_passingHeld = false;
        gdk_event_free(event);
    }
}

bool WebKitPageView::isHandedBack(const GdkEventKey& event, bool forget) {
    for (auto key = m_recentKeys.begin(); key != m_recentKeys.end(); ++key)
        if (key->type == event.type && key->time == event.time &&
            key->keycode == event.hardware_keycode && key->keyval == event.keyval) {
            if (forget) m_recentKeys.erase(key);
            return true;
        }
    return false;
}

// When the view loses the focus with letters still composed, WebKit keeps them in the page as they
// stand, and the input method commits the same letters while the view tells it that the focus has
// gone (IBus does for an engine whose preedit is in commit mode, which it must be for every other
// kind of field to keep those letters at all). The page would get them twice. The view's own
// handler runs after this one and tells the input method within its run, so the commits made then
// are held back until it is done: the letters land once, as WebKit kept them.
gboolean WebKitPageView::onFocusOut(GtkWidget*, GdkEventFocus*, gpointer self) {
    static_cast<WebKitPageView*>(self)->holdInputMethodCommits();
    return FALSE;
}

// After the view's own focus-out handling, and at every focus-in should another handler have
// ended that signal early.
gboolean WebKitPageView::onFocusChanged(GtkWidget*, GdkEventFocus*, gpointer self) {
    static_cast<WebKitPageView*>(self)->releaseInputMethodCommits();
    return FALSE;
}

void WebKitPageView::holdInputMethodCommits() {
    releaseInputMethodCommits();
    WebKitInputMethodContext* context = webkit_web_view_get_input_method_context(m_view.get());
    if (!context) return;
    m_heldContext = gtk::GObjectRef<WebKitInputMethodContext>::retain(context);
    const guint committed = g_signal_lookup("committed", WEBKIT_TYPE_INPUT_METHOD_CONTEXT);
    while (gulong handler = g_signal_handler_find(
               context, GSignalMatchType(G_SIGNAL_MATCH_ID | G_SIGNAL_MATCH_UNBLOCKED), committed,
               0, nullptr, nullptr, nullptr)) {
        g_signal_handler_block(context, handler);
        m_heldCommits.push_back(handler);
    }
}

void WebKitPageView::releaseInputMethodCommits() {
    for (gulong handler : m_heldCommits) {
        if (g_signal_handler_is_connected(m_heldContext.get(), handler))
            g_signal_handler_unblock(m_heldContext.get(), handler);
    }
    m_heldCommits.clear();
    m_heldContext = {};
}

void WebKitPageView::onHierarchyChanged(GtkWidget* widget, GtkWidget*, gpointer self) {
    GtkWidget* window = gtk_widget_get_toplevel(widget);
    static_cast<WebKitPageView*>(self)->watchWindow(GTK_IS_WINDOW(window) ? window : nullptr);
}

void WebKitPageView::watchWindow(GtkWidget* window) {
    if (window == m_window) return;
    if (m_window) {
        g_signal_handlers_disconnect_by_data(m_window, this);
        g_object_remove_weak_pointer(G_OBJECT(m_window), reinterpret_cast<gpointer*>(&m_window));
    }
    m_window = window;
    if (!m_window) return;
    g_object_add_weak_pointer(G_OBJECT(m_window), reinterpret_cast<gpointer*>(&m_window));
    // The window's "event" runs before any key handler of the window's own.
    g_signal_connect(m_window, "event", G_CALLBACK(onWindowEvent), this);
}

// A key handed back after the focus moved on goes to the view all the same (the window's
// shortcuts still see it), never to the widget that has the focus now: it was typed into the page.
gboolean WebKitPageView::onWindowEvent(GtkWidget* window, GdkEvent* event, gpointer self) {
    auto* view = static_cast<WebKitPageView*>(self);
    GtkWidget* widget = GTK_WIDGET(view->m_view.get());
    if (event->type != GDK_KEY_PRESS || gtk_window_get_focus(GTK_WINDOW(window)) == widget ||
        !gtk_widget_get_realized(widget) || !view->isHandedBack(event->key, false))
        return FALSE;
    gtk_window_activate_key(GTK_WINDOW(window), &event->key);
    gtk_widget_event(widget, event);
    return TRUE;
}

void WebKitPageView::beginLoad() {
    m_loading = true;
    m_keysPassed = 0;  // the new page counts from nothing
    m_buttonsPassed = 0;
    m_recentKeys.clear();
    m_loadFailed = false;
}

void WebKitPageView::loadFileURL(const std::string& path) {
    beginLoad();
    std::optional<std::string> uri = fileURL(path);
    if (!uri) {
        logf("WebView: cannot make a URL of \"%s\"", path.c_str());
        m_loading = false;
        m_loadFailed = true;
        return;
    }
    load(*uri, [this, address = *uri] { webkit_web_view_load_uri(m_view.get(), address.c_str()); });
}

void WebKitPageView::loadHTMLString(const std::string& html, const std::string& baseURL) {
    beginLoad();
    load(baseURL, [this, html, baseURL] {
        webkit_web_view_load_html(m_view.get(), html.c_str(),
                                  baseURL.empty() ? nullptr : baseURL.c_str());
    });
}

void WebKitPageView::load(const std::string& url, std::function<void()> start) {
    if (m_filterInPlace) return start();
    m_urlToCome = url;
    m_loadToCome = std::move(start);  // the latest request counts
}

std::string WebKitPageView::url() const {
    if (m_loadToCome) return m_urlToCome;
    const gchar* uri = webkit_web_view_get_uri(m_view.get());
    return uri ? uri : "";
}

bool WebKitPageView::isLoading() const {
    return m_loading;
}

void WebKitPageView::stopLoading() {
    if (m_loadToCome) {
        m_loadToCome = nullptr;
        m_loading = false;
        return;
    }
    webkit_web_view_stop_loading(m_view.get());
}

void WebKitPageView::onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<WebKitPageView*>(data);
    if (event == WEBKIT_LOAD_STARTED) {
        self->beginLoad();
    } else if (event == WEBKIT_LOAD_FINISHED) {
        self->m_loading = false;
        if (!self->m_loadFailed) self->didFinishLoad();
    }
}

gboolean WebKitPageView::onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                                      gpointer data) {
    auto* self = static_cast<WebKitPageView*>(data);
    self->m_loadFailed = true;
    // A navigation the program refused ends this way too; only real failures are worth a line.
    if (!g_error_matches(error, WEBKIT_POLICY_ERROR,
                         WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) &&
        !g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED))
        logf("WebView: loading %s failed: %s", uri ? uri : "(no URL)", error->message);
    return FALSE;
}

gboolean WebKitPageView::onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                        WebKitPolicyDecisionType type, gpointer data) {
    auto* self = static_cast<WebKitPageView*>(data);
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        // Content the view cannot show would become a download: never wanted here.
        auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
        if (!webkit_response_policy_decision_is_mime_type_supported(response)) {
            webkit_policy_decision_ignore(decision);
            return TRUE;
        }
        return FALSE;
    }
    auto* navigation = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(navigation);
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    NavigationAction offered;
    const gchar* uri = webkit_uri_request_get_uri(request);
    offered.url = uri ? uri : "";
    offered.kind = kindOf(webkit_navigation_action_get_navigation_type(action));
    offered.opensNewWindow = type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
    offered.isMainFrame =
        offered.opensNewWindow || webkit_navigation_action_get_frame_name(action) == nullptr;
    if (self->decideNavigation(offered) == NavigationPolicy::Allow)
        webkit_policy_decision_use(decision);
    else
        webkit_policy_decision_ignore(decision);
    return TRUE;
}

void WebKitPageView::registerScriptMessageName(const std::string& name) {
    if (!webkit_user_content_manager_register_script_message_handler(m_contentManager.get(),
                                                                     name.c_str())) {
        logf("WebView: the page's message channel \"%s\" could not be opened", name.c_str());
        return;
    }
    m_channels.push_back(Channel{this, name});
    std::string signal = "script-message-received::" + name;
    g_signal_connect(m_contentManager.get(), signal.c_str(), G_CALLBACK(onScriptMessage),
                     &m_channels.back());
}

void WebKitPageView::onScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                     gpointer data) {
    auto* channel = static_cast<Channel*>(data);
    JSCValue* value = webkit_javascript_result_get_js_value(result);
    channel->view->didReceiveScriptMessage(channel->name, textOf(value));
}

namespace {

struct Evaluation {
    WebView::JavaScriptCompletion completion;
};

}  // namespace

void WebKitPageView::evaluateJavaScript(const std::string& script,
                                        JavaScriptCompletion completion) {
    webkit_web_view_evaluate_javascript(
        m_view.get(), script.data(), static_cast<gssize>(script.size()), nullptr, nullptr,
        m_pending.get(),
        [](GObject* source, GAsyncResult* async, gpointer data) {
            std::unique_ptr<Evaluation> evaluation(static_cast<Evaluation*>(data));
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), async, &error);
            JavaScriptResult result;
            if (!value) {
                // The view went first: nobody is there to take the answer.
                bool gone = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
                result.error = error ? error->message : "no answer";
                if (error) g_error_free(error);
                if (gone) return;
            } else {
                result.status = JavaScriptResult::Status::Succeeded;
                if (jsc_value_is_string(value) || jsc_value_is_number(value) ||
                    jsc_value_is_boolean(value))
                    result.value = textOf(value);
                g_object_unref(value);
            }
            if (evaluation->completion) evaluation->completion(result);
        },
        new Evaluation{std::move(completion)});
}

namespace {

// A page setup of GTK's for ours: a paper of the setup's size, its orientation and margins.
gtk::GObjectRef<GtkPageSetup> pageSetupFor(const PrintSetup& setup) {
    auto pageSetup = gtk::GObjectRef<GtkPageSetup>::adopt(gtk_page_setup_new());
    GtkPaperSize* paper = gtk_paper_size_new_custom("custom", "custom", setup.paperSize.width,
                                                    setup.paperSize.height, GTK_UNIT_POINTS);
    gtk_page_setup_set_paper_size(pageSetup.get(), paper);
    gtk_paper_size_free(paper);
    gtk_page_setup_set_orientation(pageSetup.get(),
                                   setup.orientation == PrintSetup::Orientation::Landscape
                                       ? GTK_PAGE_ORIENTATION_LANDSCAPE
                                       : GTK_PAGE_ORIENTATION_PORTRAIT);
    gtk_page_setup_set_top_margin(pageSetup.get(), setup.topMargin, GTK_UNIT_POINTS);
    gtk_page_setup_set_left_margin(pageSetup.get(), setup.leftMargin, GTK_UNIT_POINTS);
    gtk_page_setup_set_bottom_margin(pageSetup.get(), setup.bottomMargin, GTK_UNIT_POINTS);
    gtk_page_setup_set_right_margin(pageSetup.get(), setup.rightMargin, GTK_UNIT_POINTS);
    return pageSetup;
}

}  // namespace

bool WebKitPageView::print() {
    return runPrintDialog(nullptr);
}

bool WebKitPageView::print(const PrintSetup& setup) {
    return runPrintDialog(&setup);
}

bool WebKitPageView::runPrintDialog(const PrintSetup* setup) {
    gtk::GObjectRef<WebKitPrintOperation> operation =
        gtk::GObjectRef<WebKitPrintOperation>::adopt(webkit_print_operation_new(m_view.get()));
    if (setup) {
        webkit_print_operation_set_page_setup(operation.get(), pageSetupFor(*setup).get());
        auto settings = gtk::GObjectRef<GtkPrintSettings>::adopt(gtk_print_settings_new());
        gtk_print_settings_set_scale(settings.get(), setup->scalingFactor * 100.0);
        webkit_print_operation_set_print_settings(operation.get(), settings.get());
    }
    GtkWidget* toplevel = gtk_widget_get_toplevel(GTK_WIDGET(m_view.get()));
    GtkWindow* parent =
        GTK_IS_WINDOW(toplevel) && toplevel != m_offscreenHost ? GTK_WINDOW(toplevel) : nullptr;
    return webkit_print_operation_run_dialog(operation.get(), parent) ==
           WEBKIT_PRINT_OPERATION_RESPONSE_PRINT;
}

void WebKitPageView::printToPDF(const std::string& path, const PrintSetup& setup,
                                PrintCompletion done) {
    std::optional<std::string> uri = fileURL(path);
    if (!uri) return done(false, "");
    gtk::GObjectRef<GtkPrintSettings> settings =
        gtk::GObjectRef<GtkPrintSettings>::adopt(gtk_print_settings_new());
    gtk_print_settings_set_printer(settings.get(), "Print to File");
    gtk_print_settings_set(settings.get(), GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    gtk_print_settings_set(settings.get(), GTK_PRINT_SETTINGS_OUTPUT_URI, uri->c_str());
    gtk_print_settings_set_scale(settings.get(), setup.scalingFactor * 100.0);

    // The operation keeps itself until it has finished: the outcome holds the last reference.
    WebKitPrintOperation* operation = webkit_print_operation_new(m_view.get());
    webkit_print_operation_set_page_setup(operation, pageSetupFor(setup).get());
    webkit_print_operation_set_print_settings(operation, settings.get());
    struct Outcome {
        WebKitPrintOperation* operation;
        PrintCompletion done;
        bool failed = false;
        std::string reason;
    };
    auto* outcome = new Outcome{operation, std::move(done), false, ""};
    g_signal_connect(operation, "failed",
                     G_CALLBACK(+[](WebKitPrintOperation*, GError* error, gpointer data) {
                         logf("WebView: printing failed: %s", error ? error->message : "");
                         auto* outcome = static_cast<Outcome*>(data);
                         outcome->failed = true;
                         if (error && error->message) outcome->reason = error->message;
                     }),
                     outcome);
    g_signal_connect(operation, "finished", G_CALLBACK(+[](WebKitPrintOperation*, gpointer data) {
                         std::unique_ptr<Outcome> outcome(static_cast<Outcome*>(data));
                         g_signal_handlers_disconnect_by_data(outcome->operation, data);
                         // Released once this signal is over.
                         g_idle_add(
                             [](gpointer operation) -> gboolean {
                                 g_object_unref(operation);
                                 return G_SOURCE_REMOVE;
                             },
                             outcome->operation);
                         if (outcome->done) outcome->done(!outcome->failed, outcome->reason);
                     }),
                     outcome);
    webkit_print_operation_print(operation);
}

void WebKitPageView::snapshot(SnapshotCompletion done) {
    webkit_web_view_get_snapshot(
        m_view.get(), WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, m_pending.get(),
        [](GObject* source, GAsyncResult* async, gpointer data) {
            std::unique_ptr<SnapshotCompletion> done(static_cast<SnapshotCompletion*>(data));
            GError* error = nullptr;
            cairo_surface_t* surface =
                webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), async, &error);
            if (error) {
                bool gone = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
                if (!gone) logf("WebView: no snapshot: %s", error->message);
                g_error_free(error);
                if (gone) return;  // nobody is there to take it
            }
            (*done)(surface ? std::optional<Image>(Image(native(surface))) : std::nullopt);
        },
        new SnapshotCompletion(std::move(done)));
}

void WebKitPageView::setFrameSize(Size size) {
    m_frameSize = size;
    int width = static_cast<int>(size.width);
    int height = static_cast<int>(size.height);
    gtk_widget_set_size_request(GTK_WIDGET(m_view.get()), width, height);
    if (m_offscreenHost) gtk_window_resize(GTK_WINDOW(m_offscreenHost), width, height);
}

GtkWidget* WebKitPageView::detachWidget() {
    GtkWidget* widget = GTK_WIDGET(m_view.get());
    if (m_offscreenHost && gtk_widget_get_parent(widget) == m_offscreenHost) {
        gtk_container_remove(GTK_CONTAINER(m_offscreenHost), widget);
        gtk_widget_destroy(m_offscreenHost);
        m_offscreenHost = nullptr;
        // Inside a window the window's layout decides the size.
        gtk_widget_set_size_request(widget, -1, -1);
    }
    return widget;
}

GtkWidget* embeddableWidget(WebView& view) {
    auto* page = dynamic_cast<WebKitPageView*>(&view);
    return page ? page->detachWidget() : nullptr;
}

}  // namespace platform
