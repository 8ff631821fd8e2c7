// The editor's commands: one JavaScript statement each, every text argument escaped so that it
// reaches the page exactly and can never end the statement.
#include <initializer_list>

#include "notes/UI/EditorViewController.h"
#include "platform/foundation/Log.h"
#include "platform/web/JavaScriptString.h"

namespace zelvo {

namespace {

std::string fileURL(const std::string& path) {
    // The characters a path may hold that a URL may not.
    static const char* hex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c >= 0x80 ||
            std::string_view("/-._~!$&'()*+,;=:@").find(char(c)) != std::string_view::npos)
            url += char(c);
        else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

}  // namespace

void EditorViewController::getSelectionText(Answer answer) {
    ask(EditorPage::call("getSelectedNode"), std::move(answer));
}

void EditorViewController::insertHTML(const std::string& html) {
    run(EditorPage::call("insertHTML", {html}));
}
void EditorViewController::focusTextEditor() {
    run(EditorPage::call("focusEditor"));
}
void EditorViewController::blurTextEditor() {
    run(EditorPage::call("blurEditor"));
}
void EditorViewController::removeFormat() {
    run(EditorPage::call("removeFormating"));
}
void EditorViewController::alignLeft() {
    run(EditorPage::call("setJustifyLeft"));
}
void EditorViewController::alignCenter() {
    run(EditorPage::call("setJustifyCenter"));
}
void EditorViewController::alignRight() {
    run(EditorPage::call("setJustifyRight"));
}
void EditorViewController::alignFull() {
    run(EditorPage::call("setJustifyFull"));
}
void EditorViewController::setBold() {
    run(EditorPage::call("setBold"));
}
void EditorViewController::setItalic() {
    run(EditorPage::call("setItalic"));
}
void EditorViewController::setSubscript() {
    run(EditorPage::call("setSubscript"));
}
void EditorViewController::setSuperscript() {
    run(EditorPage::call("setSuperscript"));
}
void EditorViewController::setUnderline() {
    run(EditorPage::call("setUnderline"));
}
void EditorViewController::setStrikethrough() {
    run(EditorPage::call("setStrikeThrough"));
}
void EditorViewController::setUnorderedList() {
    run(EditorPage::call("setUnorderedList"));
}
void EditorViewController::setOrderedList() {
    run(EditorPage::call("setOrderedList"));
}
void EditorViewController::setHR() {
    run(EditorPage::call("setHorizontalRule"));
}
void EditorViewController::setIndent() {
    run(EditorPage::call("setIndent"));
}
void EditorViewController::setOutdent() {
    run(EditorPage::call("setOutdent"));
}
void EditorViewController::paragraph() {
    run(EditorPage::call("setParagraph"));
}
void EditorViewController::undo() {
    run(EditorPage::call("undo"));
}
void EditorViewController::redo() {
    run(EditorPage::call("redo"));
}
void EditorViewController::removeLink() {
    run(EditorPage::call("unlink"));
}
void EditorViewController::quickLink() {
    run(EditorPage::call("quickLink"));
}

void EditorViewController::heading(int level) {
    if (level < 1 || level > 6) return;
    run("zelvo_editor.setHeading('h" + std::to_string(level) + "');");
}

void EditorViewController::bgColorChange() {
    run(EditorPage::call("setBackgroundColor", {"#ffff66"}));
}

void EditorViewController::insertLink(const std::string& url, const std::string& title) {
    run(EditorPage::call("insertLink", {url, title}));
}

void EditorViewController::updateLink(const std::string& url, const std::string& title) {
    run(EditorPage::call("updateLink", {url, title}));
}

void EditorViewController::insertImage(const std::string& url, const std::string& alt) {
    run(EditorPage::call("insertImage", {url, alt}));
}

void EditorViewController::updateImage(const std::string& url, const std::string& alt) {
    run(EditorPage::call("updateImage", {url, alt}));
}

void EditorViewController::setFooterHeight(float height) {
    run(platform::stringWithFormat("zelvo_editor.setFooterHeight(\"%f\");", height));
}

void EditorViewController::setContentHeight(float height) {
    run(platform::stringWithFormat("zelvo_editor.contentHeight = %f;", height));
}

// ---- Dialogs and panels -----------------------------------------------------------------------

void EditorViewController::setContentFont() {
    if (!m_services.runFontPanel) {
        platform::log("-[EditorViewController setContentFont:] no font panel");
        return;
    }
    run(EditorPage::call("prepareInsert"));
    // The page is not in the toolkit's responder chain: the font picked is handed over here.
    if (auto font = m_services.runFontPanel())
        run(EditorPage::call("setFont",
                             {font->first, platform::stringWithFormat("%g", font->second)}));
}

void EditorViewController::textColor() {
    run(EditorPage::call("prepareInsert"));
    if (!m_services.runColorPanel) {
        platform::log("-[EditorViewController textColor] no colour panel");
        return;
    }
    // The colour picked reaches the selection: a colour button that changed nothing would only
    // puzzle the user.
    if (std::optional<std::string> colour = m_services.runColorPanel())
        run(EditorPage::call("setTextColor", {*colour}));
}

void EditorViewController::bgColor() {
    run(EditorPage::call("prepareInsert"));
    bgColorChange();
}

void EditorViewController::insertLink() {
    run(EditorPage::call("prepareInsert"));
    if (!m_services.runLinkDialog) {
        platform::log("-[EditorViewController insertLink] no link dialog");
        return;
    }
    if (auto answer = m_services.runLinkDialog(m_selectedString))
        didClickOKButton(answer->first, answer->second);
}

void EditorViewController::didClickOKButton(const std::string& title, const std::string& content) {
    insertLink(content, title);
}

void EditorViewController::insertImage() {
    if (!m_services.chooseImage) {
        platform::log("-[EditorViewController insertImage] no open panel");
        return;
    }
    std::optional<std::string> path = m_services.chooseImage();
    if (!path) return;
    std::string url = fileURL(*path);
    platform::logf("picUrl:%s", url.c_str());
    m_toolbar.setSelectedImage(url, url);
    showInsertImageDialogWithLink(url, url);
}

void EditorViewController::showInsertImageDialogWithLink(const std::string& url,
                                                         const std::string& alt) {
    run(EditorPage::call("prepareInsert"));
    insertImage(url, alt);
}

void EditorViewController::showHTMLSource() {
    if (!m_services.showSource) {
        platform::log("-[EditorViewController showHTMLSource:] no source window");
        return;
    }
    // A page that does not answer has no source to show; an empty window would mislead.
    getHTML([this](std::optional<std::string> html) {
        if (html) m_services.showSource(*html);
    });
}

}  // namespace zelvo
