#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "notes/UI/AppDelegate.h"
#include "platform/ui/Application.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "tests/notes/UI/ZelvoFolders.h"

// Zelvo on the desktop for one test: private folders, the GTK window backend installed, and the
// application delegate in place, all taken back at the end.
class ZelvoDesktopFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        backend = platform::gtk::GtkWindowBackend::create();
        ASSERT_TRUE(backend) << "no display";
        platform::WindowBackend::setShared(backend);
        app.setDelegate(&delegate);
    }
    void TearDown() override {
        app.setDelegate(nullptr);
        platform::WindowBackend::setShared(nullptr);
    }

    ZelvoFolders folders;
    std::shared_ptr<platform::gtk::GtkWindowBackend> backend;
    platform::Application& app = platform::Application::sharedApplication();
    zelvo::AppDelegate delegate;
};
