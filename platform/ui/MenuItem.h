#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

class Menu;
class Responder;

// NSMenuItem. Its action is either a named action ("copy:") sent to the target, or to the first
// responder that answers it when there is no target; or a block of its own. Targets are not
// owned.
class MenuItem {
  public:
    MenuItem(std::string title, std::string action, std::string keyEquivalent);
    static std::unique_ptr<MenuItem> separatorItem();

    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    const std::string& action() const { return m_action; }
    void setAction(std::string action) { m_action = std::move(action); }
    // A block run in place of a named action.
    const std::function<void()>& handler() const { return m_handler; }
    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }
    const std::string& keyEquivalent() const { return m_keyEquivalent; }
    void setKeyEquivalent(std::string key) { m_keyEquivalent = std::move(key); }
    Responder* target() const { return m_target; }
    void setTarget(Responder* target) { m_target = target; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isSeparatorItem() const { return m_separator; }
    // The menu this item opens (a menu bar's items open one each); null for none.
    const std::shared_ptr<Menu>& submenu() const { return m_submenu; }
    void setSubmenu(std::shared_ptr<Menu> menu) { m_submenu = std::move(menu); }

  private:
    std::string m_title;
    std::string m_action;
    std::function<void()> m_handler;
    std::string m_keyEquivalent;
    Responder* m_target = nullptr;
    int m_tag = 0;
    bool m_enabled = true;
    bool m_separator = false;
    std::shared_ptr<Menu> m_submenu;
};

}  // namespace platform
