// The editor's commands: one JavaScript statement each, every text argument escaped so that it
// reaches the page exactly and can never end the statement.
#include <initializer_list>

#include "notes/UI/EditorViewController.h"
#include "platform/foundation/Log.h"
#include "platform/web/JavaScriptString.h"

namespace zelvo {

namespace {

// "zelvo_editor.<function>("<argument>", ...);"
std::string call(const std::string& function, std::initializer_list<std::string> arguments = {}) {
    std::string statement = "zelvo_editor." + function + "(";
    bool first = true;
    for (const std::string& argument : arguments) {
        if (!first) statement += ", ";
        statement += platform::quoteJavaScriptString(argument);
        first = false;
    }
    return statement + ");";
}

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

std::optional<std::string> EditorViewController::getSelectionText() {
    platform::JavaScriptResult answer = evaluate(call("getSelectedNode"));
    return answer.succeeded() ? answer.value : std::nullopt;
}

void EditorViewController::insertHTML(const std::string& html) {
    run(call("insertHTML", {html}));
}
void EditorViewController::focusTextEditor() {
    run(call("focusEditor"));
}
void EditorViewController::blurTextEditor() {
    run(call("blurEditor"));
}
void EditorViewController::removeFormat() {
    run(call("removeFormating"));
}
void EditorViewController::alignLeft() {
    run(call("setJustifyLeft"));
}
void EditorViewController::alignCenter() {
    run(call("setJustifyCenter"));
}
void EditorViewController::alignRight() {
    run(call("setJustifyRight"));
}
void EditorViewController::alignFull() {
    run(call("setJustifyFull"));
}
void EditorViewController::setBold() {
    run(call("setBold"));
}
void EditorViewController::setItalic() {
    run(call("setItalic"));
}
void EditorViewController::setSubscript() {
    run(call("setSubscript"));
}
void EditorViewController::setSuperscript() {
    run(call("setSuperscript"));
}
void EditorViewController::setUnderline() {
    run(call("setUnderline"));
}
void EditorViewController::setStrikethrough() {
    run(call("setStrikeThrough"));
}
void EditorViewController::setUnorderedList() {
    run(call("setUnorderedList"));
}
void EditorViewController::setOrderedList() {
    run(call("setOrderedList"));
}
void EditorViewController::setHR() {
    run(call("setHorizontalRule"));
}
void EditorViewController::setIndent() {
    run(call("setIndent"));
}
void EditorViewController::setOutdent() {
    run(call("setOutdent"));
}
void EditorViewController::paragraph() {
    run(call("setParagraph"));
}
void EditorViewController::undo() {
    run(call("undo"));
}
void EditorViewController::redo() {
    run(call("redo"));
}
void EditorViewController::removeLink() {
    run(call("unlink"));
}
void EditorViewController::quickLink() {
    run(call("quickLink"));
}

void EditorViewController::heading(int level) {
    if (level < 1 || level > 6) return;
    run("zelvo_editor.setHeading('h" + std::to_string(level) + "');");
}

void EditorViewController::bgColorChange() {
    run(call("setBackgroundColor", {"#ffff66"}));
}

void EditorViewController::insertLink(const std::string& url, const std::string& title) {
    run(call("insertLink", {url, title}));
}

void EditorViewController::updateLink(const std::string& url, const std::string& title) {
    run(call("updateLink", {url, title}));
}

void EditorViewController::insertImage(const std::string& url, const std::string& alt) {
    run(call("insertImage", {url, alt}));
}

void EditorViewController::updateImage(const std::string& url, const std::string& alt) {
    run(call("updateImage", {url, alt}));
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
    run(call("prepareInsert"));
    // The page is not in the toolkit's responder chain: the font picked is handed over here.
    if (auto font = m_services.runFontPanel())
        run(call("setFont", {font->first, platform::stringWithFormat("%g", font->second)}));
}

void EditorViewController::textColor() {
    run(call("prepareInsert"));
    if (!m_services.runColorPanel) {
        platform::log("-[EditorViewController textColor] no colour panel");
        return;
    }
    // The colour picked reaches the selection: a colour button that changed nothing would only
    // puzzle the user.
    if (std::optional<std::string> colour = m_services.runColorPanel())
        run(call("setTextColor", {*colour}));
}

void EditorViewController::bgColor() {
    run(call("prepareInsert"));
    bgColorChange();
}

void EditorViewController::insertLink() {
    run(call("prepareInsert"));
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
    m_selectedImageURL = url;
    m_selectedImageAlt = url;
    showInsertImageDialogWithLink(url, url);
}

void EditorViewController::showInsertImageDialogWithLink(const std::string& url,
                                                         const std::string& alt) {
    run(call("prepareInsert"));
    insertImage(url, alt);
}

void EditorViewController::showHTMLSource() {
    if (!m_services.showSource) {
        platform::log("-[EditorViewController showHTMLSource:] no source window");
        return;
    }
    // A page that does not answer has no source to show; an empty window would mislead.
    if (std::optional<std::string> html = getHTML()) m_services.showSource(*html);
}

}  // namespace zelvo
