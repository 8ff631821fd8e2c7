#pragma once

// A window backend for tests without a display: screens and a pointer the test sets, and hosts
// that keep a log of what their windows asked of the desktop. Installed for the length of a
// scope, so no test leaves it behind.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Backends.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowBackend.h"
#include "platform/ui/WindowHost.h"

namespace fakes {

struct HostLog {
    std::vector<std::string> calls;  // "frame", "front", "front key", "out", "display", "title"
    std::vector<platform::Rect> frames;
    bool shown = false;
};

class RecordingHost : public platform::WindowHost {
  public:
    // A host starts at its window's frame, as a real one is made at it.
    RecordingHost(std::shared_ptr<HostLog> log, const platform::Rect& frame)
        : m_log(std::move(log)) {
        m_log->frames.push_back(frame);
    }
    void setFrame(const platform::Rect& frame) override {
        m_log->calls.push_back("frame");
        m_log->frames.push_back(frame);
    }
    void orderFront(bool makeKey) override {
        m_log->calls.push_back(makeKey ? "front key" : "front");
        m_log->shown = true;
    }
    void orderOut() override {
        m_log->calls.push_back("out");
        m_log->shown = false;
    }
    void setNeedsDisplay() override { m_log->calls.push_back("display"); }
    void setTitle(const std::string&) override { m_log->calls.push_back("title"); }

  private:
    std::shared_ptr<HostLog> m_log;
};

class FakeWindowBackend : public platform::WindowBackend {
  public:
    std::vector<platform::Screen> screenList;
    std::optional<platform::Point> pointer;
    // One log per host made, in order.
    std::vector<std::shared_ptr<HostLog>> hosts;

    std::vector<platform::Screen> screens() const override { return screenList; }
    std::optional<platform::Point> mouseLocation() const override { return pointer; }
    std::unique_ptr<platform::WindowHost> createHost(platform::Window& window) override {
        hosts.push_back(std::make_shared<HostLog>());
        return std::make_unique<RecordingHost>(hosts.back(), window.frame());
    }

    // Screens whose visible frame is their frame.
    void setScreens(const std::vector<platform::Rect>& frames) {
        screenList.clear();
        for (const auto& f : frames) screenList.emplace_back(f, f);
    }
};

// Installs a fresh fake backend and puts back the one before at the end of the scope.
class ScopedFakeBackend {
  public:
    ScopedFakeBackend() : m_backend(std::make_shared<FakeWindowBackend>()) {
        m_installed->windows = m_backend;
    }
    ScopedFakeBackend(const ScopedFakeBackend&) = delete;
    ScopedFakeBackend& operator=(const ScopedFakeBackend&) = delete;

    FakeWindowBackend* operator->() const { return m_backend.get(); }
    FakeWindowBackend& operator*() const { return *m_backend; }

  private:
    std::shared_ptr<FakeWindowBackend> m_backend;
    platform::ScopedBackends m_installed;
};

}  // namespace fakes
