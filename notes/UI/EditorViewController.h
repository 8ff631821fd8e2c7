#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "notes/UI/EditorPage.h"
#include "notes/UI/EditorToolbar.h"
#include "notes/UI/NoteSaver.h"
#include "notes/UI/PanelOutputs.h"
#include "notes/UI/ToolbarItems.h"
#include "notes/store/NoteObject.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/ViewController.h"
#include "platform/web/WebContentView.h"
#include "platform/web/WebView.h"

namespace zelvo {

class BackgroundView;

// What the editor needs from the rest of the program besides its page: the notes store, the
// clock, the desktop and the dialogs its toolbar opens. Each has a working default; tests and the
// window controller put their own in. An absent dialog is reported in the log and does nothing.
struct EditorServices {
    std::function<bool(const NoteObject&)> updateNote;  // the notes store's row update
    // Why the last update failed, for the user.
    std::function<std::string()> updateFailureReason;
    std::function<platform::Date()> now;
    // Opens an address in the user's default application (browser, mail).
    std::function<void(const std::string& url)> openURL;
    // The editor page's file; by default the bundle resource "editor.html".
    std::string editorPagePath;

    // Runs the font panel modally: the family and size (points) picked, if any.
    std::function<std::optional<std::pair<std::string, double>>()> runFontPanel;
    // Runs the colour panel titled "文字颜色" modally: the colour picked ("#rrggbb"), if any.
    std::function<std::optional<std::string>()> runColorPanel;
    // The link dialog, modal: given the selected text as its title, answers (title, content)
    // when the user confirmed.
    std::function<std::optional<std::pair<std::string, std::string>>(const std::string& title)>
        runLinkDialog;
    // The open panel for one picture: answers the chosen file's path.
    std::function<std::optional<std::string>()> chooseImage;
    // The HTML source window, modal.
    std::function<void(const std::string& html)> showSource;
};

// Zelvo's editor panel: drives the editor page (one JavaScript statement per operation, through
// its EditorPage, answers taken by callbacks) and feeds the Unicode and word-count panels. It
// learns which note to show only from NOTI_NOTE_SELECTION_CHANGED; when and what of that note is
// stored, and which note the page's content belongs to, its NoteSaver decides.
//
// Unlike a page that reads an unanswered call as "", a statement the page did not answer (not yet
// loaded, a script error) never turns into content: a save that cannot read the page is skipped
// and the note keeps what it had.
class EditorViewController : public platform::ViewController {
  public:
    // The placeholder an empty note shows: " ᠡᠨᠳᠡ ᠪᠢᠴᠢᠭᠡᠷᠡᠢ ".
    static const std::string emptyNotePlaceholder;
    static constexpr double toolbarHeight = 30;

    // With no web view given, one is made on the platform's engine once the panel's window is
    // on screen (the window does not wait for the web engine), or at the first call of webview().
    explicit EditorViewController(std::unique_ptr<platform::WebView> webView = nullptr,
                                  EditorServices services = {});
    ~EditorViewController() override;

    // The page, made now if it is still to come; null when none can be made (no display).
    platform::WebView* webview();
    // The toolbar: its buttons, their strip, and the editing state the page reports for them.
    EditorToolbar& toolbar() { return m_toolbar; }
    // The area the web view fills, in the panel view's coordinates.
    platform::WebContentView* webContentView() const { return m_webContent.get(); }

    // State.
    // Whether the page has operations under way or waiting (a switch, a save, a command).
    bool isBusy() const { return !m_editorPage.idle(); }
    bool unicodeSwitch() const { return m_unicodeSwitch; }
    bool infoSwitch() const { return m_infoSwitch; }
    bool formatHTML() const { return m_formatHTML; }
    bool resourcesLoaded() const { return m_resourcesLoaded; }
    bool editorLoaded() const { return m_editorLoaded; }
    const std::optional<std::string>& internalHTML() const { return m_saver->internalHTML(); }
    const std::optional<std::string>& n_summary() const { return m_saver->summary(); }
    const std::shared_ptr<NoteObject>& note() const { return m_saver->note(); }
    const std::string& selectedString() const { return m_selectedString; }
    PanelOutputs* mainWindowController() const { return m_mainWindowController; }
    const std::optional<std::string>& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::optional<std::string> text) { m_placeholder = std::move(text); }

    // Content. The answers come once the page's operations handed in before have finished.
    using Answer = EditorPage::Answer;
    void setHTML(const std::string& html);
    void updateHTML();
    // The page's HTML as notes store it; absent when the page did not answer.
    void getHTML(Answer answer);
    // The page's plain text; absent when the page did not answer.
    void getText(Answer answer);
    // "<br>" and "<hr>" in their closed forms, then the page's formatter when formatHTML is on;
    // absent when the formatter did not answer. Sent at once: for use inside an operation.
    void tidyHTML(const std::string& html, Answer answer);
    // The page's HTML with the common tags turned into blanks and line breaks.
    void getEditorContent(Answer answer);
    static std::string removeTagsFromHTML(const std::string& html);

    // Saving, as the saver decides (see NoteSaver::save and NoteSaver::shouldQuit).
    void saveNote(std::function<void(bool safe)> done = nullptr);
    void saveDocument();
    void applicationShouldTerminate(std::function<void(bool quit)> answer);

    // Events (the notification observers and the page's messages call these).
    void noteSelectionChanged(std::shared_ptr<NoteObject> note);
    void unicodeSwitchChanged(const platform::Notification& notification);
    void infoSwitchChanged(const platform::Notification& notification);
    void webViewDidFinishLoad();
    void webViewDidChangeSelection(const std::string& selectedText);
    // The page reports an edit of the note it names ("" for none).
    void webViewDidChange(const std::string& noteId);
    platform::NavigationPolicy decideNavigation(const platform::NavigationAction& action);
    // The window is closing or the program is quitting: the current note is saved first.
    void windowWillClose();
    void applicationWillTerminate();
    // The window lost the focus: a changed note is stored.
    void windowDidResignKey();

    // The bridge.
    void setPlaceholderText();
    void getSelectionText(Answer answer);
    void insertHTML(const std::string& html);
    void focusTextEditor();
    void blurTextEditor();
    void removeFormat();
    void alignLeft();
    void alignCenter();
    void alignRight();
    void alignFull();
    void setBold();
    void setItalic();
    void setSubscript();
    void setSuperscript();
    void setUnderline();
    void setStrikethrough();
    void setUnorderedList();
    void setOrderedList();
    void setHR();
    void setIndent();
    void setOutdent();
    void heading(int level);  // 1 to 6
    void heading1() { heading(1); }
    void heading2() { heading(2); }
    void paragraph();
    void undo();
    void redo();
    void bgColorChange();
    void insertLink(const std::string& url, const std::string& title);
    void updateLink(const std::string& url, const std::string& title);
    void removeLink();
    void quickLink();
    void insertImage(const std::string& url, const std::string& alt);
    void updateImage(const std::string& url, const std::string& alt);
    void setFooterHeight(float height);
    void setContentHeight(float height);

    // Dialogs and panels opened by the toolbar.
    void setContentFont();
    void textColor();
    void bgColor();
    void insertLink();
    void didClickOKButton(const std::string& title, const std::string& content);
    void insertImage();
    void showInsertImageDialogWithLink(const std::string& url, const std::string& alt);
    void showHTMLSource();

  protected:
    void loadView() override;
    void viewDidLoad() override;

  private:
    void setupSubViews();
    // Makes the page still to come, hooks it up and starts loading the editor page.
    void makePage();
    void attachPage(platform::WebView& page);
    // One statement queued behind the page's operations, its answer ignored.
    void run(const std::string& script) { m_editorPage.command(script); }
    // One statement queued behind the page's operations, and its answer.
    void ask(const std::string& script, Answer answer);
    void countWords(bool evenZero);
    // Takes the notification's object as the main window controller when none is known yet.
    void learnMainWindowController(const platform::Notification& notification);
    void registerActions();

    EditorServices m_services;
    std::shared_ptr<BackgroundView> m_baseView;
    std::shared_ptr<BackgroundView> m_fontSettingView;
    std::shared_ptr<platform::WebContentView> m_webContent;  // owns the page
    bool m_pageToCome = false;                               // the engine's page is made later
    // Lets a block queued for later see whether this controller is still there.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    std::vector<platform::NotificationCenter::Token> m_observers;

    EditorPage m_editorPage;
    class Page;
    std::unique_ptr<Page> m_page;
    std::unique_ptr<NoteSaver> m_saver;
    bool m_unicodeSwitch = false;
    bool m_infoSwitch = false;
    bool m_formatHTML = false;
    bool m_resourcesLoaded = false;
    bool m_editorLoaded = false;
    std::string m_editorURL;  // the page's own file:// address, once requested
    std::optional<std::string> m_placeholder;
    std::string m_selectedString;
    PanelOutputs* m_mainWindowController = nullptr;  // not owned: the window outlives its panels
    EditorToolbar m_toolbar{*this};
};

}  // namespace zelvo
