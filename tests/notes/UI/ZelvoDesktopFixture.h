#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <utility>

#include "notes/UI/AppDelegate.h"
#include "platform/ui/Application.h"
#include "platform/ui/Backends.h"
#include "platform/ui/gtk/GtkBackend.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "platform/web/webkit/WebKitBackend.h"
#include "tests/notes/UI/ZelvoFolders.h"

// Zelvo on the desktop for one test: private folders, the GTK and WebKit backends installed as the
// program installs them, and the application delegate in place, taken back at the end.
class ZelvoDesktopFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::Backends desktop;
        ASSERT_TRUE(platform::gtk::install(desktop)) << "no display";
        platform::webkit::install(desktop);
        backend = dynamic_cast<platform::gtk::GtkWindowBackend*>(desktop.windows.get());
        ASSERT_TRUE(backend);
        installed.emplace(std::move(desktop));
        app.setDelegate(&delegate);
    }
    void TearDown() override {
        app.setDelegate(nullptr);
        installed.reset();
    }

    ZelvoFolders folders;
    std::optional<platform::ScopedBackends> installed;
    platform::gtk::GtkWindowBackend* backend = nullptr;  // borrowed: the installed one
    platform::Application& app = platform::Application::sharedApplication();
    zelvo::AppDelegate delegate;
};
