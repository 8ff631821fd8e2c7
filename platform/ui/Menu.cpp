#include "platform/ui/Menu.h"

#include "platform/ui/Backends.h"
#include "platform/ui/Responder.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace platform {

Menu::Menu(std::string title) : m_title(std::move(title)) {}

MenuItem* Menu::itemAtIndex(std::size_t index) const {
    return index < m_items.size() ? m_items[index].get() : nullptr;
}

MenuItem* Menu::itemWithTitle(const std::string& title) const {
    for (const auto& item : m_items)
        if (item->title() == title) return item.get();
    return nullptr;
}

MenuItem* Menu::itemWithTag(int tag) const {
    for (const auto& item : m_items)
        if (item->tag() == tag) return item.get();
    return nullptr;
}

MenuItem& Menu::addItem(std::unique_ptr<MenuItem> item) {
    m_items.push_back(std::move(item));
    return *m_items.back();
}

MenuItem& Menu::addItemWithTitle(std::string title, std::string action, std::string keyEquivalent) {
    return addItem(
        std::make_unique<MenuItem>(std::move(title), std::move(action), std::move(keyEquivalent)));
}

bool Menu::validate(const MenuItem& item, Responder* firstResponder) {
    if (item.isSeparatorItem()) return false;
    if (item.handler()) return !item.target() || item.target()->validateMenuItem(item);
    if (item.action().empty()) return false;
    Responder* target = item.target();
    if (target ? !target->respondsToAction(item.action())
               : !(target = Responder::targetForAction(item.action(), firstResponder)))
        return false;
    return target->validateMenuItem(item);
}

void Menu::update(Responder* firstResponder) {
    if (!m_autoenablesItems) return;
    for (const auto& item : m_items) item->setEnabled(validate(*item, firstResponder));
}

bool Menu::performActionForItemAtIndex(std::size_t index, Responder* firstResponder) {
    MenuItem* item = itemAtIndex(index);
    if (!item || !item->isEnabled() || item->isSeparatorItem()) return false;
    if (std::function<void()> handler = item->handler()) {
        handler();
        return true;
    }
    if (Responder* target = item->target()) return target->performAction(item->action());
    Responder* target = Responder::targetForAction(item->action(), firstResponder);
    return target && target->performAction(item->action());
}

std::shared_ptr<Menu> Menu::textContextMenu() {
    auto menu = std::make_shared<Menu>();
    menu->addItemWithTitle("Cut", "cut:", "x");
    menu->addItemWithTitle("Copy", "copy:", "c");
    menu->addItemWithTitle("Paste", "paste:", "v");
    menu->addItemWithTitle("Delete", "delete:", "");
    menu->addItem(MenuItem::separatorItem());
    menu->addItemWithTitle("Select All", "selectAll:", "a");
    return menu;
}

void Menu::popUpContextMenu(const std::shared_ptr<Menu>& menu, const Event& event, View* view) {
    if (!menu) return;
    Responder* chainStart = view;
    if (view && view->window()) chainStart = view->window()->firstResponder();
    menu->update(chainStart);
    if (const ContextMenuPresenter& show = Backends::current().contextMenus)
        show(menu, event, view);
}

}  // namespace platform
