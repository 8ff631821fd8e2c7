#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

namespace platform {

// What one JavaScript evaluation answered.
struct JavaScriptResult {
    enum class Status { Succeeded, Failed, TimedOut };
    Status status = Status::Failed;
    // The answer as text when it was a string, a number or a boolean; absent for undefined, null,
    // objects and whenever the evaluation did not succeed. An answer of "" is present and empty.
    std::optional<std::string> value;
    // Why the evaluation failed (the exception's message), or "" when it did not.
    std::string error;

    bool succeeded() const { return status == Status::Succeeded; }
};

// A navigation the page is about to make, offered to the navigation handler before it starts.
struct NavigationAction {
    enum class Kind { LinkClicked, FormSubmitted, BackForward, Reload, Other };
    std::string url;
    Kind kind = Kind::Other;
    bool isMainFrame = true;
    // The page asked for a new window (a link with a target, window.open).
    bool opensNewWindow = false;
};

enum class NavigationPolicy { Allow, Ignore };

// How printed pages are laid out (NSPrintInfo's page settings), in points.
struct PrintSetup {
    enum class Orientation { Portrait, Landscape };
    Size paperSize{595, 842};
    Orientation orientation = Orientation::Portrait;
    // Margins, none negative (the printing system refuses those).
    double topMargin = 0, leftMargin = 0, bottomMargin = 0, rightMargin = 0;
    double scalingFactor = 1.0;
};

// The legacy WebView as the programs use it: one page, loaded from a file, driven by JavaScript
// statements, talking back through named script messages
// (window.webkit.messageHandlers.<name>.postMessage(text)), asking the program before every
// navigation, printed with a panel or to a PDF file.
//
// Main thread only. The page works in its own time: whatever asks it for something (a statement's
// answer, a printed file, a picture) returns at once, and a completion takes the result later,
// never inside the call. Nothing waits in a nested main loop but the modal print panel.
class WebView {
  public:
    using MessageHandler = std::function<void(const std::string& body)>;
    using JavaScriptCompletion = std::function<void(const JavaScriptResult& result)>;
    using LoadHandler = std::function<void()>;
    using NavigationHandler = std::function<NavigationPolicy(const NavigationAction&)>;
    // Whether the file was printed; when not, why, in the printing system's words ("Error writing
    // to file: No space left on device"), or "" when it gave no reason.
    using PrintCompletion = std::function<void(bool printed, const std::string& failure)>;
    using SnapshotCompletion = std::function<void(std::optional<Image> picture)>;

    // A web view made by the webViews maker of the Backends in use (platform::webkit::install
    // fills it), sized frameSize until a window places it; null when there is no maker or no
    // display can be opened. Main thread only.
    static std::unique_ptr<WebView> create(Size frameSize = Size{800, 600});

    virtual ~WebView() = default;
    WebView(const WebView&) = delete;
    WebView& operator=(const WebView&) = delete;

    // Starts loading the file (an absolute path) as a file:// URL.
    virtual void loadFileURL(const std::string& path) = 0;
    // Starts loading an HTML text whose relative references resolve against baseURL.
    virtual void loadHTMLString(const std::string& html, const std::string& baseURL) = 0;
    // The main frame's URL ("" before any load).
    virtual std::string url() const = 0;
    virtual bool isLoading() const = 0;
    virtual void stopLoading() = 0;
    // Whether the last load failed, once it is no longer loading.
    virtual bool loadFailed() const = 0;

    // Sends a statement to the page and returns at once; the completion takes its answer later,
    // never inside this call. Statements run in the page in the order they were sent, and
    // messages the page posted before answering are delivered before the answer. A view destroyed
    // before the answer came never calls the completion.
    virtual void evaluateJavaScript(const std::string& script, JavaScriptCompletion completion) = 0;

    // Receives the page's messages posted under `name` (the body converted to text); a second
    // handler for a name replaces the first.
    void addScriptMessageHandler(const std::string& name, MessageHandler handler);
    // Called after each finished load of the main frame.
    void setLoadFinishedHandler(LoadHandler handler) { m_loadFinished = std::move(handler); }
    // Decides every navigation; without a handler all navigations proceed.
    void setNavigationHandler(NavigationHandler handler) { m_navigation = std::move(handler); }

    // The print panel over the page's content, modal; false when the user cancelled it.
    virtual bool print() = 0;
    // The same with the pages laid out as the setup says (backends without page setup print as
    // above).
    virtual bool print(const PrintSetup& setup) {
        (void)setup;
        return print();
    }
    // Prints the page's content, its pages laid out as the setup says, into a PDF file.
    virtual void printToPDF(const std::string& path, const PrintSetup& setup,
                            PrintCompletion done) = 0;
    // What the visible part of the page shows; absent when the engine could not draw it.
    virtual void snapshot(SnapshotCompletion done) = 0;

    virtual Size frameSize() const = 0;
    virtual void setFrameSize(Size size) = 0;
    // What the view holds back from the engine: the keys typed into it, or those and its mouse
    // clicks. Held events wait in the order they came, and whatever comes after a waiting event
    // waits behind it; once no longer held, they reach the engine as if they came then. Backends
    // without keys ignore this.
    enum class HeldInput { Nothing, Keys, KeysAndClicks };
    virtual void setHeldInput(HeldInput held) { (void)held; }
    // The input events waiting (key presses and releases, button presses and releases).
    virtual size_t heldInputEvents() const { return 0; }
    // The input events ever held by this view, passed on since or not: marks in this count stay
    // put while held events are passed.
    virtual uint64_t inputEventsEverHeld() const { return 0; }
    // Passes on the first `count` of them as if typed now; the rest keep waiting.
    virtual void passHeldInputEvents(size_t count) { (void)count; }
    // Key presses handed to the engine since the current page began to load. The engine may still
    // hold some of them back: it passes one on only once the page has handled the one before.
    virtual uint64_t keysPassed() const { return 0; }
    // Mouse button presses handed to the engine since the current page began to load. The engine
    // sends them to the page on a way of their own, beside the keys': a key typed after a click
    // may reach the page before the click does, while the page is busy.
    virtual uint64_t buttonPressesPassed() const { return 0; }
    // Called after each button press handed to the engine.
    void setButtonPressHandler(std::function<void()> handler) {
        m_buttonPressed = std::move(handler);
    }

  protected:
    WebView() = default;

    // For the backends: deliver an event to the program's handlers.
    void didReceiveScriptMessage(const std::string& name, const std::string& body);
    void didFinishLoad();
    void didPassButtonPress();
    NavigationPolicy decideNavigation(const NavigationAction& action);
    // Called when a handler is added, so the backend can open the channel to the page.
    virtual void registerScriptMessageName(const std::string& name) = 0;

  private:
    std::map<std::string, MessageHandler> m_messageHandlers;
    LoadHandler m_loadFinished;
    std::function<void()> m_buttonPressed;
    NavigationHandler m_navigation;
};

}  // namespace platform
