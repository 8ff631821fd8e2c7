#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/imk/InputController.h"
#include "platform/imk/ibus/IBusInputClient.h"

namespace platform::imk::ibus {

class EngineHost;

// Everything one IBus engine object (one client input context) carries: its client, its
// controller, and what the context said about itself (its content purpose).
class EngineSession {
  public:
    EngineSession(IBusEngine* engine, EngineHost* host);
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;

    bool processKey(std::uint32_t keyval, std::uint32_t keycode, std::uint32_t state);
    void focusIn();
    void focusOut();
    // Another engine takes over the context, which keeps its focus.
    void disable();
    void reset();
    void setCursorLocation(int x, int y, int width, int height);
    void setContentType(std::uint32_t purpose, std::uint32_t hints);
    void propertyActivate(const std::string& name, std::uint32_t state);
    void candidateClicked(std::uint32_t index, std::uint32_t button, std::uint32_t state);

  private:
    // The context's keys reach the controller from now on.
    void activate();
    // Ends the composition after IBus took the preedit away from the context (see
    // IBusInputClient::setDetached).
    void deactivate();
    // The controller's deactivation with the client detached: its state ends, nothing is sent.
    void finishDetached();
    void registerProperties();
    // Password and PIN fields get their keys untouched: nothing is composed, shown or logged.
    bool isSecret() const;

    IBusEngine* m_engine;  // borrowed: the engine owns this session
    EngineHost* m_host;    // borrowed: lives as long as the process
    IBusInputClient m_client;
    std::unique_ptr<InputController> m_controller;
    std::uint32_t m_purpose = 0;
    bool m_active = false;
};

}  // namespace platform::imk::ibus
