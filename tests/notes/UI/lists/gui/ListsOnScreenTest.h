#pragma once

#include <memory>
#include <optional>

#include "../ListsTestSupport.h"
#include "platform/ui/Backends.h"
#include "platform/ui/gtk/GtkTableViewBackend.h"
#include "platform/ui/gtk/GtkWindowBackend.h"

// The lists on the test's display: GTK windows and tables, skipped where there is no display.
class ListsOnScreenTest : public ListsTest {
  protected:
    void SetUp() override {
        backend = platform::gtk::GtkWindowBackend::create();
        if (!backend) GTEST_SKIP() << "no display (run under xvfb-run -a)";
        installed.emplace();
        (*installed)->windows = backend;
        (*installed)->tables = [] {
            return std::make_unique<platform::gtk::GtkTableViewBackend>();
        };
    }
    void TearDown() override { installed.reset(); }

    std::shared_ptr<platform::gtk::GtkWindowBackend> backend;
    std::optional<platform::ScopedBackends> installed;
};
