#pragma once

#include <webkit2/webkit2.h>

#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/gtk/GObjectRef.h"
#include "platform/web/WebView.h"

namespace platform {

// The web view over WebKitGTK. Until a window takes its widget (embeddableWidget) it lives in an
// off-screen window of its own, so pages load, lay out and draw without being shown.
class WebKitPageView final : public WebView {
  public:
    // A page over WebKitGTK; null when no display can be opened.
    static std::unique_ptr<WebView> create(Size frameSize);
    explicit WebKitPageView(Size frameSize);
    ~WebKitPageView() override;

    void loadFileURL(const std::string& path) override;
    void loadHTMLString(const std::string& html, const std::string& baseURL) override;
    std::string url() const override;
    bool isLoading() const override;
    void stopLoading() override;
    bool loadFailed() const override { return m_loadFailed; }
    void evaluateJavaScript(const std::string& script, JavaScriptCompletion completion) override;
    bool print() override;
    bool print(const PrintSetup& setup) override;
    void printToPDF(const std::string& path, const PrintSetup& setup,
                    PrintCompletion done) override;
    void snapshot(SnapshotCompletion done) override;
    Size frameSize() const override { return m_frameSize; }
    void setFrameSize(Size size) override;
    void setHeldInput(HeldInput held) override;
    size_t heldInputEvents() const override { return m_heldInput.size(); }
    uint64_t inputEventsEverHeld() const override { return m_inputEverHeld; }
    void passHeldInputEvents(size_t count) override;
    uint64_t keysPassed() const override { return m_keysPassed; }
    uint64_t buttonPressesPassed() const override { return m_buttonsPassed; }

    GtkWidget* detachWidget();

  protected:
    void registerScriptMessageName(const std::string& name) override;

  private:
    static void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self);
    static gboolean onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                                 gpointer self);
    static gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static gboolean onKey(GtkWidget*, GdkEventKey*, gpointer self);
    static gboolean onButton(GtkWidget*, GdkEventButton* event, gpointer self);
    // Whether the event waits (see setHeldInput); a waiting one is kept.
    bool holdsBack(const GdkEvent* event);
    // Passes on waiting events from the first while they are no longer held, at most `count`.
    void passHeld(size_t count);
    static void onHierarchyChanged(GtkWidget* widget, GtkWidget* previous, gpointer self);
    static gboolean onFocusOut(GtkWidget*, GdkEventFocus*, gpointer self);
    static gboolean onFocusChanged(GtkWidget*, GdkEventFocus*, gpointer self);
    // While the view lets go of the focus: what the input method commits then does not reach the
    // page (see onFocusOut).
    void holdInputMethodCommits();
    void releaseInputMethodCommits();
    static gboolean onWindowEvent(GtkWidget* window, GdkEvent* event, gpointer self);
    // Whether this press is one the view handed to the engine (and the engine handed back);
    // `forget` drops it from the list.
    bool isHandedBack(const GdkEventKey& event, bool forget);
    void watchWindow(GtkWidget* window);
    static void onScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                gpointer self);
    void beginLoad();
    // Starts the load now, or once the load rule is in place.
    void load(const std::string& url, std::function<void()> start);
    bool runPrintDialog(const PrintSetup* setup);

    // Owned.
    gtk::GObjectRef<WebKitUserContentManager> m_contentManager;
    gtk::GObjectRef<WebKitWebView> m_view;
    GtkWidget* m_offscreenHost = nullptr;  // destroyed with the view
    struct Channel {
        WebKitPageView* view;
        std::string name;
    };
    std::list<Channel> m_channels;  // stable addresses: the signal handlers point at them
    Size m_frameSize;
    bool m_loading = false;
    bool m_loadFailed = false;
    // Key events typed while keys are held, in order (owned copies).
    bool m_filterInPlace = false;
    std::function<void()> m_loadToCome;
    std::string m_urlToCome;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    std::deque<GdkEvent*> m_heldInput;
    uint64_t m_inputEverHeld = 0;
    HeldInput m_held = HeldInput::Nothing;
    bool m_passingHeld = false;
    // Cancelled when the view goes: answers still to come then call nobody.
    gtk::GObjectRef<GCancellable> m_pending;
    uint64_t m_keysPassed = 0;
    uint64_t m_buttonsPassed = 0;
    // The latest key events handed to the engine, to know one it hands back.
    struct PassedKey {
        GdkEventType type;
        guint32 time;
        guint16 keycode;
        guint keyval;
    };
    std::deque<PassedKey> m_recentKeys;
    GtkWidget* m_window = nullptr;  // the view's top-level window; not owned, nulled when it goes
    // The input-method context whose commit handlers are held, and those handlers.
    gtk::GObjectRef<WebKitInputMethodContext> m_heldContext;
    std::vector<gulong> m_heldCommits;
};

}  // namespace platform
