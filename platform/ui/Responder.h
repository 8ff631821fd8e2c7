#pragma once

#include <functional>
#include <map>
#include <string>

namespace platform {

class Event;
class MenuItem;

// NSResponder: the receiver of events and of actions named like selectors ("copy:"). Event
// methods pass the event on to the next responder unless a subclass handles it.
class Responder {
  public:
    Responder() = default;
    virtual ~Responder();
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    // The next link of the responder chain: a view's superview, a content view's window.
    virtual Responder* nextResponder() const { return nullptr; }

    virtual void mouseDown(const Event& event);
    virtual void mouseUp(const Event& event);
    virtual void mouseDragged(const Event& event);
    virtual void mouseMoved(const Event& event);
    virtual void mouseEntered(const Event& event);
    virtual void mouseExited(const Event& event);
    virtual void rightMouseDown(const Event& event);
    virtual void keyDown(const Event& event);
    virtual void scrollWheel(const Event& event);
    // Whether this responder handled a key equivalent (Command-key combination); false here.
    virtual bool performKeyEquivalent(const Event& event);

    virtual bool acceptsFirstResponder() { return false; }
    virtual bool becomeFirstResponder() { return true; }
    virtual bool resignFirstResponder() { return true; }

    // Whether a menu item whose action this responder handles is enabled; true unless a subclass
    // decides.
    virtual bool validateMenuItem(const MenuItem& item);

    // Target–action: a responder names the actions it answers and what each does.
    using ActionHandler = std::function<void()>;
    void registerAction(const std::string& action, ActionHandler handler);
    bool respondsToAction(const std::string& action) const;
    // Runs the action here when this responder answers it; whether it did.
    bool performAction(const std::string& action);
    // The first responder on the chain from `start` that answers the action, or null.
    static Responder* targetForAction(const std::string& action, Responder* start);
    // Sends the action along the chain from this responder; whether someone handled it.
    bool tryToPerform(const std::string& action);

  private:
    std::map<std::string, ActionHandler> m_actions;
};

}  // namespace platform
