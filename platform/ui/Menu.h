#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/MenuItem.h"

namespace platform {

class Event;
class Responder;
class View;

// NSMenu: an ordered list of items that it owns. With autoenablesItems (the default) update()
// enables each item as AppKit does: an item whose target (or, without one, the first answering
// responder on the chain) handles its action is enabled unless that target's validateMenuItem
// says no; an item nobody answers is disabled.
class Menu {
  public:
    explicit Menu(std::string title = "");

    const std::string& title() const { return m_title; }
    std::size_t numberOfItems() const { return m_items.size(); }
    MenuItem* itemAtIndex(std::size_t index) const;
    MenuItem* itemWithTitle(const std::string& title) const;
    MenuItem* itemWithTag(int tag) const;
    MenuItem& addItem(std::unique_ptr<MenuItem> item);
    MenuItem& addItemWithTitle(std::string title, std::string action, std::string keyEquivalent);

    bool autoenablesItems() const { return m_autoenablesItems; }
    void setAutoenablesItems(bool flag) { m_autoenablesItems = flag; }
    // Validates every item against the responder chain from `firstResponder`.
    void update(Responder* firstResponder);
    // Runs an enabled item's block or sends its action; whether something handled it.
    bool performActionForItemAtIndex(std::size_t index, Responder* firstResponder);

    // The context menu a plain text view offers: Cut, Copy, Paste, Delete, a separator and
    // Select All, each sent to the first responder ("cut:", "copy:", "paste:", "delete:",
    // "selectAll:").
    static std::shared_ptr<Menu> textContextMenu();

    // Shows a context menu for an event in a view, validated against the view's window's first
    // responder (the view's chain when it has no window), then shown by the contextMenus presenter
    // of the Backends in use; without one nothing is shown.
    static void popUpContextMenu(const std::shared_ptr<Menu>& menu, const Event& event, View* view);
    using ContextMenuPresenter =
        std::function<void(const std::shared_ptr<Menu>&, const Event&, View*)>;

  private:
    static bool validate(const MenuItem& item, Responder* firstResponder);

    std::string m_title;
    std::vector<std::unique_ptr<MenuItem>> m_items;
    bool m_autoenablesItems = true;
};

}  // namespace platform
