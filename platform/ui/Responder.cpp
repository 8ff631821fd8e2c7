#include "platform/ui/Responder.h"

namespace platform {

Responder::~Responder() = default;

namespace {
// What NSResponder does with an event it does not handle: hand it to the next responder.
template <void (Responder::*Method)(const Event&)>
void passOn(const Responder& responder, const Event& event) {
    if (Responder* next = responder.nextResponder()) (next->*Method)(event);
}
}  // namespace

void Responder::mouseDown(const Event& e) {
    passOn<&Responder::mouseDown>(*this, e);
}
void Responder::mouseUp(const Event& e) {
    passOn<&Responder::mouseUp>(*this, e);
}
void Responder::mouseDragged(const Event& e) {
    passOn<&Responder::mouseDragged>(*this, e);
}
void Responder::mouseMoved(const Event& e) {
    passOn<&Responder::mouseMoved>(*this, e);
}
void Responder::mouseEntered(const Event& e) {
    passOn<&Responder::mouseEntered>(*this, e);
}
void Responder::mouseExited(const Event& e) {
    passOn<&Responder::mouseExited>(*this, e);
}
void Responder::rightMouseDown(const Event& e) {
    passOn<&Responder::rightMouseDown>(*this, e);
}
void Responder::keyDown(const Event& e) {
    passOn<&Responder::keyDown>(*this, e);
}

void Responder::scrollWheel(const Event& e) {
    passOn<&Responder::scrollWheel>(*this, e);
}

bool Responder::performKeyEquivalent(const Event&) {
    return false;
}

bool Responder::validateMenuItem(const MenuItem&) {
    return true;
}

void Responder::registerAction(const std::string& action, ActionHandler handler) {
    m_actions[action] = std::move(handler);
}

bool Responder::respondsToAction(const std::string& action) const {
    return m_actions.count(action) != 0;
}

bool Responder::performAction(const std::string& action) {
    auto it = m_actions.find(action);
    if (it == m_actions.end()) return false;
    // A copy, so the handler may replace or drop its own registration while it runs.
    ActionHandler handler = it->second;
    if (handler) handler();
    return true;
}

Responder* Responder::targetForAction(const std::string& action, Responder* start) {
    for (Responder* r = start; r; r = r->nextResponder())
        if (r->respondsToAction(action)) return r;
    return nullptr;
}

bool Responder::tryToPerform(const std::string& action) {
    Responder* target = targetForAction(action, this);
    return target && target->performAction(action);
}

}  // namespace platform
