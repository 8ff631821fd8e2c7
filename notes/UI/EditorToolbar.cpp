#include "notes/UI/EditorToolbar.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "notes/UI/EditorViewController.h"
#include "notes/UI/ToolbarView.h"
#include "platform/foundation/UTF8.h"
#include "platform/ui/Button.h"

namespace zelvo {

namespace {

struct ToolbarButtonEntry {
    const char* item;
    const char* image;
    const char* label;  // the tooltip
    void (EditorViewController::*action)();
};

// The 24 buttons in the order they are made when all are wanted.
const std::array<ToolbarButtonEntry, 24> toolbarButtons = {{
    {RichTextEditorToolbarFont, "Font", "Font", &EditorViewController::setContentFont},
    {RichTextEditorToolbarBold, "Bold", "Bold", &EditorViewController::setBold},
    {RichTextEditorToolbarItalic, "italic", "Italic", &EditorViewController::setItalic},
    {RichTextEditorToolbarSubscript, "E_X1", "Subscript", &EditorViewController::setSubscript},
    {RichTextEditorToolbarSuperscript, "E_X2", "Superscript",
     &EditorViewController::setSuperscript},
    {RichTextEditorToolbarStrikeThrough, "strikethrough", "Strikethrough",
     &EditorViewController::setStrikethrough},
    {RichTextEditorToolbarUnderline, "underline", "Underline", &EditorViewController::setUnderline},
    {RichTextEditorToolbarRemoveFormat, "clearformat", "Clear formatting",
     &EditorViewController::removeFormat},
    {RichTextEditorToolbarUndo, "undo", "Undo", &EditorViewController::undo},
    {RichTextEditorToolbarRedo, "redo", "Redo", &EditorViewController::redo},
    {RichTextEditorToolbarJustifyLeft, "align-left", "Align left",
     &EditorViewController::alignLeft},
    {RichTextEditorToolbarJustifyCenter, "align-center", "Centre",
     &EditorViewController::alignCenter},
    {RichTextEditorToolbarJustifyRight, "align-right", "Align right",
     &EditorViewController::alignRight},
    {RichTextEditorToolbarH1, "E_H1", "Heading 1", &EditorViewController::heading1},
    {RichTextEditorToolbarH2, "E_H2", "Heading 2", &EditorViewController::heading2},
    {RichTextEditorToolbarTextColor, "textColor", "Text colour", &EditorViewController::textColor},
    {RichTextEditorToolbarBackgroundColor, "bgColor", "Highlight", &EditorViewController::bgColor},
    {RichTextEditorToolbarUnorderedList, "ul", "Bulleted list",
     &EditorViewController::setUnorderedList},
    {RichTextEditorToolbarOrderedList, "ol", "Numbered list",
     &EditorViewController::setOrderedList},
    {RichTextEditorToolbarHorizontalRule, "hr", "Horizontal rule", &EditorViewController::setHR},
    {RichTextEditorToolbarInsertImage, "image", "Insert image", &EditorViewController::insertImage},
    {RichTextEditorToolbarInsertLink, "link", "Insert link", &EditorViewController::insertLink},
    {RichTextEditorToolbarRemoveLink, "unlink", "Remove link", &EditorViewController::removeLink},
    {RichTextEditorToolbarViewSource, "code", "HTML source", &EditorViewController::showHTMLSource},
}};

bool holds(const std::optional<std::vector<std::string>>& list, const char* item) {
    return list && std::find(list->begin(), list->end(), item) != list->end();
}

}  // namespace

std::shared_ptr<platform::Button> EditorToolbar::makeToolbarButton(int position) {
    const ToolbarButtonEntry& entry = toolbarButtons.at(static_cast<size_t>(position));
    auto button = std::make_shared<platform::Button>();
    button->setImageName(std::string(entry.image));
    button->setBordered(false);
    button->setToolTip(entry.label);
    auto action = entry.action;
    EditorViewController& target = m_target;
    button->setAction([&target, action](platform::Control&) { (target.*action)(); });
    std::string_view item = entry.item;
    if (item == RichTextEditorToolbarFont) button->setTitle("");
    if (item == RichTextEditorToolbarStrikeThrough) {
        // The glyph U+E610 exists only in the "iconfont" face; without that face the title would
        // show an empty box, so the picture stands alone.
        if (auto iconFont = platform::Font::fontWithName("iconfont", 18)) {
            button->setFont(iconFont);
            button->setTitle("\uE610");
        }
    }
    if (item == RichTextEditorToolbarViewSource) button->setFrame(platform::Rect(0, 0, 40, 40));
    return button;
}

std::vector<std::shared_ptr<platform::Button>> EditorToolbar::itemsForToolbar() {
    std::vector<std::shared_ptr<platform::Button>> items;
    if (!m_enabledToolbarItems || holds(m_enabledToolbarItems, RichTextEditorToolbarNone))
        return items;
    if (holds(m_enabledToolbarItems, RichTextEditorToolbarAll)) {
        for (size_t position = 0; position < toolbarButtons.size(); ++position)
            items.push_back(makeToolbarButton(static_cast<int>(position)));
        return items;
    }
    // A custom list, in its own order. A name without a button, or one named twice, takes no
    // place: the row has no gaps.
    std::vector<std::string> seen;
    for (const std::string& item : *m_enabledToolbarItems) {
        if (std::find(seen.begin(), seen.end(), item) != seen.end()) continue;
        seen.push_back(item);
        for (size_t position = 0; position < toolbarButtons.size(); ++position)
            if (item == toolbarButtons[position].item)
                items.push_back(makeToolbarButton(static_cast<int>(position)));
    }
    return items;
}

void EditorToolbar::setEnabledToolbarItems(std::optional<std::vector<std::string>> items) {
    m_enabledToolbarItems = std::move(items);
    buildToolbar();
}

void EditorToolbar::buildToolbar() {
    auto buttons = itemsForToolbar();
    if (buttons.empty() && !holds(m_enabledToolbarItems, RichTextEditorToolbarNone)) {
        m_enabledToolbarItems = std::vector<std::string>{RichTextEditorToolbarAll};
        buttons = itemsForToolbar();
    }
    std::vector<std::shared_ptr<platform::View>> items(buttons.begin(), buttons.end());
    for (const auto* extra : {&m_customNSButtons, &m_customBarButtonItems})
        if (*extra) items.insert(items.end(), (*extra)->begin(), (*extra)->end());
    if (!m_view) return;
    // Each build makes new buttons: the previous ones go, so they do not pile up underneath.
    for (const auto& old : m_view->items())
        if (old->superview() == m_view.get()) old->removeFromSuperview();
    m_view->setItems(items);
    for (const auto& item : items) m_view->addSubview(item);
    m_view->layoutItems();
}

void EditorToolbar::addCustomToolbarItem(std::shared_ptr<platform::View> button) {
    if (!m_customNSButtons) m_customNSButtons.emplace();
    m_customNSButtons->push_back(std::move(button));
    buildToolbar();
}

void EditorToolbar::addCustomToolbarItemWithButton(std::shared_ptr<platform::View> button) {
    if (!m_customBarButtonItems) m_customBarButtonItems.emplace();
    m_customBarButtonItems->push_back(std::move(button));
    buildToolbar();
}

void EditorToolbar::enableToolbarItems(bool enabled) {
    if (!m_view) return;
    for (const auto& item : m_view->items())
        if (auto* control = dynamic_cast<platform::Control*>(item.get()))
            control->setEnabled(enabled);
}

platform::Color EditorToolbar::barButtonItemDefaultColor() const {
    return m_tint.value_or(platform::Color::calibratedRGB(0, 0.478, 1.0, 1.0));
}

platform::Color EditorToolbar::barButtonItemSelectedDefaultColor() const {
    return m_selectedTint.value_or(platform::Color::blackColor());
}

std::optional<std::string> EditorToolbar::stringByDecodingURLFormat(const std::string& text) {
    auto hexValue = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] == '%') {
            int high = i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
            int low = high >= 0 ? hexValue(text[i + 2]) : -1;
            if (low < 0) return std::nullopt;
            decoded += char(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    if (!platform::utf8::isValid(decoded)) return std::nullopt;
    return decoded;
}

void EditorToolbar::updateToolBarWithButtonName(const std::string& names) {
    // Cleared once for the whole list, so the selected link or image holds whatever the order
    // of the states the page reports.
    m_selectedLinkURL.reset();
    m_selectedLinkTitle.reset();
    m_selectedImageURL.reset();
    m_selectedImageAlt.reset();
    auto after = [](const std::string& item, std::string_view prefix) {
        return item.rfind(prefix, 0) == 0 ? std::optional(item.substr(prefix.size()))
                                          : std::nullopt;
    };
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= names.size()) {
        size_t comma = std::min(names.find(',', start), names.size());
        std::string item = names.substr(start, comma - start);
        start = comma + 1;
        if (auto url = after(item, "link:")) {
            m_selectedLinkURL = url;
            items.push_back("link");
        } else if (auto title = after(item, "link-title:")) {
            m_selectedLinkTitle = stringByDecodingURLFormat(*title);
        } else if (auto image = after(item, "image:")) {
            m_selectedImageURL = image;
            items.push_back("image");
        } else if (auto alt = after(item, "image-alt:")) {
            m_selectedImageAlt = stringByDecodingURLFormat(*alt);
        } else {
            items.push_back(item);
        }
    }
    m_editorItemsEnabled = std::move(items);
}

}  // namespace zelvo
