#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "notes/UI/ToolbarItems.h"
#include "platform/graphics/Color.h"

namespace platform {
class Button;
class View;
}  // namespace platform

namespace zelvo {

class EditorViewController;
class ToolbarView;

// The editor's toolbar: which buttons it shows, in which order, and the editing state the page
// reports for them (the selected link and image). Every button sends its command to the editor
// it is made for; the strip that holds and paints the buttons is its ToolbarView.
class EditorToolbar {
  public:
    explicit EditorToolbar(EditorViewController& target) : m_target(target) {}

    // The strip the buttons go into; until there is one a build only chooses the buttons.
    ToolbarView* view() const { return m_view.get(); }
    void setView(std::shared_ptr<ToolbarView> view) { m_view = std::move(view); }

    const std::optional<std::vector<std::string>>& enabledToolbarItems() const {
        return m_enabledToolbarItems;
    }
    void setEnabledToolbarItems(std::optional<std::vector<std::string>> items);
    void buildToolbar();
    std::vector<std::shared_ptr<platform::Button>> itemsForToolbar();
    void addCustomToolbarItem(std::shared_ptr<platform::View> button);
    void addCustomToolbarItemWithButton(std::shared_ptr<platform::View> button);
    void enableToolbarItems(bool enabled);
    void setToolbarItemTintColor(std::optional<platform::Color> color) { m_tint = color; }
    void setToolbarItemSelectedTintColor(std::optional<platform::Color> color) {
        m_selectedTint = color;
    }
    platform::Color barButtonItemDefaultColor() const;
    platform::Color barButtonItemSelectedDefaultColor() const;

    // Takes the page's comma-separated state names: "link:", "link-title:", "image:" and
    // "image-alt:" items give the selected link and image (titles and alternative texts decoded),
    // which are cleared when the list holds none; the rest, with "link" and "image" for the
    // addresses, becomes editorItemsEnabled.
    void updateToolBarWithButtonName(const std::string& names);
    // "+" as a blank, then percent escapes as UTF-8; absent for a broken escape or bytes that are
    // not UTF-8.
    static std::optional<std::string> stringByDecodingURLFormat(const std::string& text);
    const std::vector<std::string>& editorItemsEnabled() const { return m_editorItemsEnabled; }
    const std::optional<std::string>& selectedLinkURL() const { return m_selectedLinkURL; }
    const std::optional<std::string>& selectedLinkTitle() const { return m_selectedLinkTitle; }
    const std::optional<std::string>& selectedImageURL() const { return m_selectedImageURL; }
    const std::optional<std::string>& selectedImageAlt() const { return m_selectedImageAlt; }
    // A picture chosen for insertion becomes the selected image.
    void setSelectedImage(const std::string& url, const std::string& alt) {
        m_selectedImageURL = url;
        m_selectedImageAlt = alt;
    }

  private:
    std::shared_ptr<platform::Button> makeToolbarButton(int position);

    EditorViewController& m_target;
    std::shared_ptr<ToolbarView> m_view;
    std::optional<std::vector<std::string>> m_enabledToolbarItems;
    std::optional<std::vector<std::shared_ptr<platform::View>>> m_customNSButtons;
    std::optional<std::vector<std::shared_ptr<platform::View>>> m_customBarButtonItems;
    std::optional<platform::Color> m_tint, m_selectedTint;
    std::vector<std::string> m_editorItemsEnabled;
    std::optional<std::string> m_selectedLinkURL, m_selectedLinkTitle;
    std::optional<std::string> m_selectedImageURL, m_selectedImageAlt;
};

}  // namespace zelvo
