#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "notes/UI/AppDelegate.h"
#include "platform/ui/Application.h"
#include "platform/ui/gtk/GtkBackend.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "platform/web/webkit/WebKitBackend.h"
#include "tests/notes/UI/ZelvoFolders.h"

// Zelvo on the desktop for one test: private folders, the GTK and WebKit backends installed as the
// program installs them, and the application delegate in place, taken back at the end.
class ZelvoDesktopFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::gtk::install()) << "no display";
        platform::webkit::install();
        backend = dynamic_cast<platform::gtk::GtkWindowBackend*>(platform::WindowBackend::shared());
        ASSERT_TRUE(backend);
        app.setDelegate(&delegate);
    }
    void TearDown() override {
        app.setDelegate(nullptr);
        platform::WindowBackend::setShared(nullptr);
    }

    ZelvoFolders folders;
    platform::gtk::GtkWindowBackend* backend = nullptr;  // borrowed: the installed one
    platform::Application& app = platform::Application::sharedApplication();
    zelvo::AppDelegate delegate;
};
