#include "notes/UI/EditorViewController.h"

#include <algorithm>
#include <cstdlib>

#include "notes/UI/AlertWindowController.h"
#include "notes/UI/Extend/BackgroundView.h"
#include "notes/UI/NoteNotifications.h"
#include "notes/UI/SourceTextView/SourceWindowController.h"
#include "notes/UI/ToolbarView.h"
#include "notes/store/SQLite/DBUtil.h"
#include "notes/store/WordCounter.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Application.h"
#include "platform/ui/ColorPanel.h"
#include "platform/ui/FontPanel.h"
#include "platform/ui/OpenPanel.h"
#include "platform/web/WebContentView.h"

namespace zelvo {

using platform::log;
using platform::logf;
using platform::NotificationCenter;

const std::string EditorViewController::emptyNotePlaceholder =
    " \u1821\u1828\u1833\u1821 \u182A\u1822\u1834\u1822\u182D\u1821\u1837\u1821\u1822 ";

namespace {

// The notification's note, whichever way the list handed it over.
std::shared_ptr<NoteObject> noteOf(const platform::Notification& notification) {
    if (auto shared = notification.objectAs<std::shared_ptr<NoteObject>>()) return *shared;
    if (auto value = notification.objectAs<NoteObject>())
        return std::make_shared<NoteObject>(*value);
    return nullptr;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string schemeOf(const std::string& url) {
    size_t colon = url.find(':');
    if (colon == std::string::npos) return "";
    std::string scheme = url.substr(0, colon);
    for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return scheme;
}

std::string withoutFragment(const std::string& url) {
    return url.substr(0, url.find('#'));
}

// The link dialog, run modally: its title field starts with the selected text.
std::optional<std::pair<std::string, std::string>> runLinkDialog(const std::string& title) {
    struct Answer : AlertWindowControllerDelegate {
        std::optional<std::pair<std::string, std::string>> value;
        void didClickOKButton(const std::string& text, const std::string& address) override {
            value = std::pair(text, address);
        }
    } answer;
    auto dialog = std::make_shared<AlertWindowController>();
    dialog->setDelegate(&answer);
    dialog->setTitleString(title);
    platform::Application::sharedApplication().runModalForWindow(*dialog->window());
    dialog->setDelegate(nullptr);
    return answer.value;
}

// The shared colour panel, modal and continuous.
std::optional<std::string> runColorPanel() {
    platform::ColorPanel& panel = platform::ColorPanel::sharedColorPanel();
    panel.setTitle("文字颜色");
    panel.setContinuous(true);
    std::optional<platform::Color> picked = panel.runModal();
    if (!picked) return std::nullopt;
    return platform::hexString(*picked);
}

// The shared font panel.
std::optional<std::pair<std::string, double>> runFontPanel() {
    auto choice = platform::FontPanel::sharedFontPanel().runModal();
    if (!choice) return std::nullopt;
    return std::pair(choice->family, choice->pointSize);
}

// The open panel for one picture.
std::optional<std::string> chooseImage() {
    platform::OpenPanel panel;
    panel.setFloatingPanel(true);
    panel.setCanChooseFiles(true);
    panel.setCanChooseDirectories(false);
    panel.setAllowsMultipleSelection(false);
    panel.setAllowedFileTypes({"png", "PNG", "jpg", "JPG", "gif", "GIF"});
    if (panel.runModal() != platform::OpenPanel::ModalResponseOK) return std::nullopt;
    return panel.paths().front();
}

EditorServices withDefaults(EditorServices services) {
    if (!services.updateNote)
        services.updateNote = [](const NoteObject& note) { return DBUtil::updateNote(&note); };
    if (!services.updateFailureReason) services.updateFailureReason = DBUtil::lastErrorMessage;
    if (!services.now) services.now = [] { return platform::Date::now(); };
    if (!services.openURL)
        services.openURL = [](const std::string& url) {
            platform::Application::sharedApplication().openURL(url);
        };
    if (!services.runLinkDialog) services.runLinkDialog = runLinkDialog;
    if (!services.showSource) services.showSource = SourceWindowController::runForHTML;
    if (!services.chooseImage) services.chooseImage = chooseImage;
    if (!services.runColorPanel) services.runColorPanel = runColorPanel;
    if (!services.runFontPanel) services.runFontPanel = runFontPanel;
    if (services.editorPagePath.empty()) {
        auto path = platform::Bundle::mainBundle().pathForResource("editor", "html");
        if (path) services.editorPagePath = path->string();
    }
    return services;
}

}  // namespace

EditorViewController::EditorViewController(std::unique_ptr<platform::WebView> webView,
                                           EditorServices services)
    : ViewController(std::string("EditorViewController")),
      m_services(withDefaults(std::move(services))),
      m_editorPage([this] { return m_webContent->webView(); }) {
    platform::Rect content(0, 0, 800, 600 - toolbarHeight);
    m_pageToCome = !webView;
    m_webContent = std::make_shared<platform::WebContentView>(content, std::move(webView));
    m_page = std::make_unique<Page>(*this);
    m_saver = std::make_unique<NoteSaver>(
        *m_page, NoteStore{m_services.updateNote, m_services.updateFailureReason, m_services.now});
    registerActions();
}

platform::WebView* EditorViewController::webview() {
    if (m_pageToCome) makePage();
    return m_webContent->webView();
}

void EditorViewController::makePage() {
    m_pageToCome = false;
    m_webContent->setWebView(platform::WebView::create(m_webContent->frame().size));
    if (platform::WebView* page = m_webContent->webView()) {
        attachPage(*page);
    } else {
        log("-[EditorViewController setupSubViews] no web view: the editor page cannot be shown");
    }
}

EditorViewController::~EditorViewController() {
    // The observers call into this controller: none may outlive it.
    for (auto token : m_observers) NotificationCenter::defaultCenter().removeObserver(token);
    if (platform::WebView* page = m_webContent->webView()) {
        page->setLoadFinishedHandler(nullptr);
        page->setNavigationHandler(nullptr);
        page->setButtonPressHandler(nullptr);
    }
}

void EditorViewController::registerActions() {
    registerAction("saveDocument:", [this] { saveDocument(); });
    registerAction("windowDidResignKey:", [this] { windowDidResignKey(); });
    registerAction("undo:", [this] { undo(); });
    registerAction("redo:", [this] { redo(); });
}

// ---- Loading ----------------------------------------------------------------------------------

void EditorViewController::loadView() {
    const platform::Rect frame(0, 0, 800, 600);
    m_baseView = std::make_shared<BackgroundView>(frame);
    m_baseView->setAutoresizingMask(platform::View::ViewWidthSizable |
                                    platform::View::ViewHeightSizable);
    platform::Rect content(0, 0, frame.size.width, frame.size.height - toolbarHeight);
    m_fontSettingView = std::make_shared<BackgroundView>(content);
    m_fontSettingView->setAutoresizingMask(platform::View::ViewWidthSizable |
                                           platform::View::ViewHeightSizable);
    m_baseView->addSubview(m_fontSettingView);
    m_webContent->setFrame(platform::Rect(0, 0, content.size.width, content.size.height));
    m_webContent->setAutoresizingMask(platform::View::ViewWidthSizable |
                                      platform::View::ViewHeightSizable);
    m_fontSettingView->addSubview(m_webContent);
    auto strip = std::make_shared<ToolbarView>(
        platform::Rect(0, frame.size.height - toolbarHeight, frame.size.width, toolbarHeight));
    strip->setAutoresizingMask(platform::View::ViewWidthSizable | platform::View::ViewMinYMargin);
    m_baseView->addSubview(strip);
    // A toolbar wrapped into more rows takes its height from the page below it.
    strip->setHeightChangedHandler([this] {
        platform::Rect base = m_baseView->bounds();
        m_fontSettingView->setFrame(platform::Rect(
            0, 0, base.width(), std::max(0.0, base.height() - m_toolbar.view()->frame().height())));
    });
    m_toolbar.setView(std::move(strip));
    setView(m_baseView);
}

void EditorViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    setupSubViews();

    NotificationCenter& center = NotificationCenter::defaultCenter();
    m_observers.push_back(center.addObserver(
        NOTI_NOTE_SELECTION_CHANGED,
        [this](const platform::Notification& notification) {
            noteSelectionChanged(noteOf(notification));
        },
        NotificationCenter::Delivery::MainQueue));
    m_observers.push_back(center.addObserver(NOTI_NOTE_UNICODE_SWITCH_CHANGED,
                                             [this](const platform::Notification& notification) {
                                                 unicodeSwitchChanged(notification);
                                             }));
    m_observers.push_back(center.addObserver(
        NOTI_NOTE_INFOS_SWITCH_CHANGED,
        [this](const platform::Notification& notification) { infoSwitchChanged(notification); }));

    m_baseView->setBackgroundColor(platform::Color::calibratedRGB(0.157, 0.173, 0.204, 1.0));
    m_fontSettingView->setBackgroundColor(platform::Color::whiteColor());
    logf("%s internalHTML:%s", "-[EditorViewController viewDidLoad]",
         m_saver->internalHTML().value_or("").c_str());
}

void EditorViewController::setupSubViews() {
    m_editorLoaded = false;
    m_formatHTML = true;
    m_toolbar.setEnabledToolbarItems(std::vector<std::string>{});
    if (m_pageToCome) {
        // Starting the web engine takes longer than showing the window: the window goes up
        // first, with the page's place empty for a moment. Two turns of the loop let the window
        // be mapped before the engine starts.
        std::weak_ptr<int> alive = m_alive;
        platform::RunLoop::mainRunLoop().performBlock([this, alive] {
            platform::RunLoop::mainRunLoop().performBlock([this, alive] {
                if (alive.lock() && m_pageToCome) makePage();
            });
        });
        return;
    }
    if (platform::WebView* page = m_webContent->webView()) {
        attachPage(*page);
    } else {
        log("-[EditorViewController setupSubViews] no web view: the editor page cannot be shown");
    }
}

void EditorViewController::attachPage(platform::WebView& page) {
    page.setLoadFinishedHandler([this] { webViewDidFinishLoad(); });
    page.setNavigationHandler(
        [this](const platform::NavigationAction& action) { return decideNavigation(action); });
    page.addScriptMessageHandler(
        "selectionChanged", [this](const std::string& text) { webViewDidChangeSelection(text); });
    page.addScriptMessageHandler("contentChanged",
                                 [this](const std::string& noteId) { webViewDidChange(noteId); });
    page.setButtonPressHandler([this] { m_editorPage.buttonPressed(); });
    if (m_resourcesLoaded) return;
    logf("baseURL-----> %s", platform::Bundle::mainBundle().bundlePath().c_str());
    if (m_services.editorPagePath.empty()) {
        log("-[EditorViewController setupSubViews] the resource \"editor.html\" is missing");
        return;
    }
    page.loadFileURL(m_services.editorPagePath);
    m_editorURL = withoutFragment(page.url());
    m_resourcesLoaded = true;
}

void EditorViewController::webViewDidFinishLoad() {
    logf("%s", "-[EditorViewController webView:didFinishLoadForFrame:]");
    m_editorLoaded = true;
    m_editorPage.pageDidLoad();
    m_saver->pageDidLoad();
    setPlaceholderText();
    m_toolbar.buildToolbar();
}

platform::NavigationPolicy EditorViewController::decideNavigation(
    const platform::NavigationAction& action) {
    logf("%s", "-[EditorViewController webView:didStartProvisionalLoadForFrame:]");
    // Only the editor page itself may be shown here: any other document in its place would be
    // read back as the note's content and saved over it.
    if (!m_editorURL.empty() && withoutFragment(action.url) == m_editorURL)
        return platform::NavigationPolicy::Allow;
    std::string scheme = schemeOf(action.url);
    if (scheme == "http" || scheme == "https" || scheme == "mailto") {
        m_services.openURL(action.url);
    } else {
        logf("-[EditorViewController webView:didStartProvisionalLoadForFrame:] refused %s",
             action.url.c_str());
    }
    return platform::NavigationPolicy::Ignore;
}

// ---- Content ----------------------------------------------------------------------------------

void EditorViewController::ask(const std::string& script, Answer answer) {
    m_editorPage.perform([this, script, answer](PageOperations::Finished finished) {
        m_editorPage.evaluate(script, [answer, finished](std::optional<std::string> value) {
            finished();
            answer(std::move(value));
        });
    });
}

void EditorViewController::setHTML(const std::string& html) {
    m_saver->showHTML(html);
}

void EditorViewController::updateHTML() {
    m_saver->showHTML(m_saver->internalHTML().value_or(""));
}

void EditorViewController::setPlaceholderText() {
    run(EditorPage::call("setPlaceholder", {m_placeholder.value_or(emptyNotePlaceholder)}));
}

void EditorViewController::getHTML(Answer answer) {
    m_editorPage.perform([this, answer](PageOperations::Finished finished) {
        m_editorPage.getHTML([this, answer, finished](std::optional<std::string> html) {
            if (!html) {
                finished();
                return answer(std::nullopt);
            }
            tidyHTML(*html, [answer, finished](std::optional<std::string> tidy) {
                finished();
                answer(std::move(tidy));
            });
        });
    });
}

void EditorViewController::tidyHTML(const std::string& html, Answer answer) {
    std::string tidy = html;
    replaceAll(tidy, "<br>", "<br />");
    replaceAll(tidy, "<hr>", "<hr />");
    if (!m_formatHTML) return answer(tidy);
    m_editorPage.styleHTML(tidy, std::move(answer));
}

void EditorViewController::getText(Answer answer) {
    ask(EditorPage::call("getText"), std::move(answer));
}

std::string EditorViewController::removeTagsFromHTML(const std::string& html) {
    std::string text = html;
    for (const char* tag : {"<p>", "<h1>", "<h2>", "<b>", "</b>", "<div>", "</div>", "&nbsp;"})
        replaceAll(text, tag, " ");
    for (const char* tag : {"</p>", "</h1>", "</h2>"}) replaceAll(text, tag, "\n");
    replaceAll(text, "<hr>", "\n-----------------\n");
    return text;
}

void EditorViewController::getEditorContent(Answer answer) {
    ask(EditorPage::call("getHTML"), [answer](std::optional<std::string> html) {
        if (!html) return answer(std::nullopt);
        std::string content = removeTagsFromHTML(*html);
        logf("%s html:%s", "-[EditorViewController getEditorContent]", content.c_str());
        answer(content);
    });
}

// ---- Saving -----------------------------------------------------------------------------------

// The page as the saver sees it.
class EditorViewController::Page : public NotePage {
  public:
    explicit Page(EditorViewController& editor) : m_editor(editor), m_page(editor.m_editorPage) {}
    bool isLoaded() const override { return m_editor.m_editorLoaded; }
    void perform(PageOperations::Operation operation) override {
        m_page.perform(std::move(operation));
    }
    void holdInput() override { m_page.holdInput(); }
    void letInputGo() override { m_page.letInputGo(); }
    uint64_t inputHeldSoFar() const override { return m_page.inputHeldSoFar(); }
    void passHeldInput(uint64_t mark) override { m_page.passHeldInput(mark); }
    void show(const std::string& html, std::optional<int32_t> noteId,
              std::function<void(bool)> done) override {
        if (html.empty()) m_page.setPlaceholder(emptyNotePlaceholder);
        m_page.setHTML(html, noteId, std::move(done));
    }
    void setEditable(bool editable, Done done) override {
        m_page.setEditable(editable, std::move(done));
    }
    void afterInputArrived(Done done) override { m_page.afterInputArrived(std::move(done)); }
    void editsSince(uint64_t seen, std::function<void(PageEdits)> done) override {
        m_page.editsSince(seen, std::move(done));
    }
    void tidyHTML(const std::string& html,
                  std::function<void(std::optional<std::string>)> done) override {
        m_editor.tidyHTML(html, std::move(done));
    }
    void pageText(std::function<void(std::optional<std::string>)> done) override {
        m_page.getText(std::move(done));
    }
    void didShowNote() override {
        if (m_editor.note() && m_editor.m_infoSwitch) m_editor.countWords(false);
    }

  private:
    EditorViewController& m_editor;
    EditorPage& m_page;
};

void EditorViewController::saveNote(std::function<void(bool)> done) {
    m_saver->save(std::move(done));
}

void EditorViewController::applicationShouldTerminate(std::function<void(bool)> answer) {
    m_saver->shouldQuit(std::move(answer));
}

void EditorViewController::saveDocument() {
    saveNote();
}

void EditorViewController::windowWillClose() {
    saveNote();
}

void EditorViewController::applicationWillTerminate() {
    saveNote();
}

void EditorViewController::windowDidResignKey() {
    m_saver->windowDidResignKey();
}

void EditorViewController::noteSelectionChanged(std::shared_ptr<NoteObject> note) {
    m_saver->select(std::move(note));
}

// ---- Panels -----------------------------------------------------------------------------------

void EditorViewController::countWords(bool evenZero) {
    if (!m_mainWindowController) return;
    getText([this, evenZero](std::optional<std::string> text) {
        if (!text || !m_mainWindowController) return;
        WordCounter counter(platform::utf16FromUtf8(*text));
        counter.count();
        logf("%d words, %d chars\n", counter.words(), counter.characters());
        if (evenZero || counter.words() > 0)
            m_mainWindowController->setWordCountOfInfos(std::to_string(counter.words()));
    });
}

void EditorViewController::learnMainWindowController(const platform::Notification& notification) {
    if (m_mainWindowController) return;
    if (auto outputs = notification.objectAs<PanelOutputs*>()) m_mainWindowController = *outputs;
}

void EditorViewController::unicodeSwitchChanged(const platform::Notification& notification) {
    learnMainWindowController(notification);
    if (!m_mainWindowController) return;
    m_unicodeSwitch = m_mainWindowController->unicodeExpanded();
    // A selection made while the panel was closed is shown as soon as it opens: the page's own
    // answer, else the last one it reported.
    if (m_unicodeSwitch)
        getSelectionText([this](std::optional<std::string> text) {
            webViewDidChangeSelection(text.value_or(m_selectedString));
        });
}

void EditorViewController::infoSwitchChanged(const platform::Notification& notification) {
    learnMainWindowController(notification);
    if (m_mainWindowController && m_mainWindowController->infoExpanded()) {
        m_infoSwitch = true;
        countWords(false);
    } else {
        m_infoSwitch = false;
    }
}

void EditorViewController::webViewDidChangeSelection(const std::string& selectedText) {
    logf("-------------- %s -------------\n\n",
         "-[EditorViewController webViewDidChangeSelection:]");
    m_selectedString = selectedText;
    if (m_unicodeSwitch && m_mainWindowController && !selectedText.empty())
        m_mainWindowController->setUnicodeString(selectedText);
}

void EditorViewController::webViewDidChange(const std::string& noteId) {
    std::optional<int32_t> id;
    if (!noteId.empty() && noteId != "null") id = int32_t(std::strtol(noteId.c_str(), nullptr, 10));
    m_saver->pageDidChange(id);
    if (m_infoSwitch) countWords(true);
}

}  // namespace zelvo
