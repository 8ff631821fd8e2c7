#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/AboutPanel.h"
#include "platform/ui/Backends.h"
#include "platform/ui/PreferencePanel.h"
#include "platform/ui/gtk/GtkPanels.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestOutput.h"

namespace {

void settle() {
    for (int i = 0; i < 20; ++i) {
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
        g_usleep(5000);
    }
}

GtkWindow* toplevelTitled(const std::string& title) {
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* found = nullptr;
    for (GList* w = windows; w; w = w->next) {
        const char* t = gtk_window_get_title(GTK_WINDOW(w->data));
        if (t && title == t) found = GTK_WINDOW(w->data);
    }
    g_list_free(windows);
    return found;
}

GtkWidget* descendantNamed(GtkWidget* widget, const std::string& name) {
    if (name == gtk_widget_get_name(widget)) return widget;
    if (!GTK_IS_CONTAINER(widget)) return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* c = children; c && !found; c = c->next) {
        found = descendantNamed(GTK_WIDGET(c->data), name);
    }
    g_list_free(children);
    return found;
}

class GtkPanels : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY") || !gtk_init_check(nullptr, nullptr)) {
            GTEST_SKIP() << "needs the private X server of xvfb-run";
        }
        installed.emplace();
        (*installed)->preferencePanels = platform::gtk::makePreferencePanel;
        (*installed)->aboutPanels = platform::gtk::makeAboutPanel;
    }
    void TearDown() override { installed.reset(); }
    std::optional<platform::ScopedBackends> installed;
};

// The user's clicks reach the action; the program setting a box (showing the stored state) must
// not, or opening the panel would write the preference back.
TEST_F(GtkPanels, CheckBoxActsForTheUserOnlyAndShowsTheProgramsState) {
    std::vector<bool> toggles;
    platform::PreferencePanel panel("Quillora Preferences test");
    panel.addCheckBox("isPUA", "Private-use glyph codes", [&](bool on) { toggles.push_back(on); });
    panel.addFontChooser("fontName", "Candidate font", [](const std::string&, double) {});
    panel.setCheckBoxState("isPUA", true);
    panel.setFont("fontName", "Noto Sans Mongolian", 22);
    panel.makeKeyAndOrderFront();
    settle();

    GtkWindow* window = toplevelTitled("Quillora Preferences test");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(window)));
    GtkWidget* box = descendantNamed(GTK_WIDGET(window), "isPUA");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(box)));
    const std::string png = testOutputPath("quillora-preferences.png").string();
    ChildProcess shot({"import", "-window", "root", "-crop", "500x200+0+0", png});
    for (int i = 0; i < 300 && shot.running(); ++i) settle();

    gtk_button_clicked(GTK_BUTTON(box));
    settle();
    EXPECT_EQ(toggles, std::vector<bool>{false});
    EXPECT_FALSE(panel.checkBoxState("isPUA"));

    panel.setCheckBoxState("isPUA", true);  // another program turned it on
    settle();
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(box)));
    EXPECT_EQ(toggles.size(), 1u);

    // Closing the window hides the panel; it comes back as it was.
    gtk_window_close(window);
    settle();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(window)));
    panel.makeKeyAndOrderFront();
    settle();
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(window)));
    panel.orderOut();
    settle();
}

TEST_F(GtkPanels, AboutPanelShowsNameAndVersion) {
    platform::AboutPanel panel(
        {"Quillora", "1.0.0", "Traditional Mongolian input method.", "", std::nullopt});
    panel.makeKeyAndOrderFront();
    settle();
    GtkAboutDialog* dialog = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next) {
        if (GTK_IS_ABOUT_DIALOG(w->data)) dialog = GTK_ABOUT_DIALOG(w->data);
    }
    g_list_free(windows);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(dialog)));
    EXPECT_STREQ(gtk_about_dialog_get_program_name(dialog), "Quillora");
    EXPECT_STREQ(gtk_about_dialog_get_version(dialog), "1.0.0");
}

}  // namespace
