// The editor's toolbar: which buttons, in which order, and where they stand.
#include <algorithm>
#include <array>
#include <string_view>

#include "notes/UI/EditorViewController.h"
#include "notes/UI/ToolbarView.h"
#include "platform/ui/Button.h"

namespace zelvo {

namespace {

struct ToolbarButtonEntry {
    const char* item;
    const char* image;
    void (EditorViewController::*action)();
};

// The 24 buttons in the order they are made when all are wanted.
const std::array<ToolbarButtonEntry, 24> toolbarButtons = {{
    {RichTextEditorToolbarFont, "Font", &EditorViewController::setContentFont},
    {RichTextEditorToolbarBold, "Bold", &EditorViewController::setBold},
    {RichTextEditorToolbarItalic, "italic", &EditorViewController::setItalic},
    {RichTextEditorToolbarSubscript, "E_X1", &EditorViewController::setSubscript},
    {RichTextEditorToolbarSuperscript, "E_X2", &EditorViewController::setSuperscript},
    {RichTextEditorToolbarStrikeThrough, "strikethrough", &EditorViewController::setStrikethrough},
    {RichTextEditorToolbarUnderline, "underline", &EditorViewController::setUnderline},
    {RichTextEditorToolbarRemoveFormat, "clearformat", &EditorViewController::removeFormat},
    {RichTextEditorToolbarUndo, "undo", &EditorViewController::undo},
    {RichTextEditorToolbarRedo, "redo", &EditorViewController::redo},
    {RichTextEditorToolbarJustifyLeft, "align-left", &EditorViewController::alignLeft},
    {RichTextEditorToolbarJustifyCenter, "align-center", &EditorViewController::alignCenter},
    {RichTextEditorToolbarJustifyRight, "align-right", &EditorViewController::alignRight},
    {RichTextEditorToolbarH1, "E_H1", &EditorViewController::heading1},
    {RichTextEditorToolbarH2, "E_H2", &EditorViewController::heading2},
    {RichTextEditorToolbarTextColor, "textColor", &EditorViewController::textColor},
    {RichTextEditorToolbarBackgroundColor, "bgColor", &EditorViewController::bgColor},
    {RichTextEditorToolbarUnorderedList, "ul", &EditorViewController::setUnorderedList},
    {RichTextEditorToolbarOrderedList, "ol", &EditorViewController::setOrderedList},
    {RichTextEditorToolbarHorizontalRule, "hr", &EditorViewController::setHR},
    {RichTextEditorToolbarInsertImage, "image", &EditorViewController::insertImage},
    {RichTextEditorToolbarInsertLink, "link", &EditorViewController::insertLink},
    {RichTextEditorToolbarRemoveLink, "unlink", &EditorViewController::removeLink},
    {RichTextEditorToolbarViewSource, "code", &EditorViewController::showHTMLSource},
}};

bool holds(const std::optional<std::vector<std::string>>& list, const char* item) {
    return list && std::find(list->begin(), list->end(), item) != list->end();
}

}  // namespace

std::shared_ptr<platform::Button> EditorViewController::makeToolbarButton(int position) {
    const ToolbarButtonEntry& entry = toolbarButtons.at(static_cast<size_t>(position));
    auto button = std::make_shared<platform::Button>();
    button->setImageName(std::string(entry.image));
    button->setBordered(false);
    button->setToolTip(entry.item);
    auto action = entry.action;
    button->setAction([this, action](platform::Control&) { (this->*action)(); });
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

std::vector<std::shared_ptr<platform::Button>> EditorViewController::itemsForToolbar() {
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

void EditorViewController::setEnabledToolbarItems(std::optional<std::vector<std::string>> items) {
    m_enabledToolbarItems = std::move(items);
    buildToolbar();
}

void EditorViewController::buildToolbar() {
    auto buttons = itemsForToolbar();
    if (buttons.empty() && !holds(m_enabledToolbarItems, RichTextEditorToolbarNone)) {
        m_enabledToolbarItems = std::vector<std::string>{RichTextEditorToolbarAll};
        buttons = itemsForToolbar();
    }
    std::vector<std::shared_ptr<platform::View>> items(buttons.begin(), buttons.end());
    for (const auto* extra : {&m_customNSButtons, &m_customBarButtonItems})
        if (*extra) items.insert(items.end(), (*extra)->begin(), (*extra)->end());
    if (!m_toolBar) return;
    // Each build makes new buttons: the previous ones go, so they do not pile up underneath.
    for (const auto& old : m_toolBar->items())
        if (old->superview() == m_toolBar.get()) old->removeFromSuperview();
    m_toolBar->setItems(items);
    for (size_t i = 0; i < items.size(); ++i) {
        items[i]->setFrame(platform::Rect(30.0 * double(i) + 10, 0, 30, 30));
        m_toolBar->addSubview(items[i]);
    }
}

void EditorViewController::addCustomToolbarItem(std::shared_ptr<platform::View> button) {
    if (!m_customNSButtons) m_customNSButtons.emplace();
    m_customNSButtons->push_back(std::move(button));
    buildToolbar();
}

void EditorViewController::addCustomToolbarItemWithButton(std::shared_ptr<platform::View> button) {
    if (!m_customBarButtonItems) m_customBarButtonItems.emplace();
    m_customBarButtonItems->push_back(std::move(button));
    buildToolbar();
}

void EditorViewController::enableToolbarItems(bool enabled) {
    if (!m_toolBar) return;
    for (const auto& item : m_toolBar->items())
        if (auto* control = dynamic_cast<platform::Control*>(item.get()))
            control->setEnabled(enabled);
}

platform::Color EditorViewController::barButtonItemDefaultColor() const {
    return m_tint.value_or(platform::Color::calibratedRGB(0, 0.478, 1.0, 1.0));
}

platform::Color EditorViewController::barButtonItemSelectedDefaultColor() const {
    return m_selectedTint.value_or(platform::Color::blackColor());
}

void EditorViewController::registerActions() {
    registerAction("saveDocument:", [this] { saveDocument(); });
    registerAction("undo:", [this] { undo(); });
    registerAction("redo:", [this] { redo(); });
}

}  // namespace zelvo
