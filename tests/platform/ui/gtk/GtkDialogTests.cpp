#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "platform/ui/Alert.h"
#include "platform/ui/PopUpButton.h"
#include "platform/ui/SavePanel.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "tests/support/TemporaryFolder.h"

namespace {

// Finds the shown dialog of a GTK type among the toplevels.
GtkWidget* shownDialog(GType type) {
    GList* toplevels = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* l = toplevels; l; l = l->next)
        if (G_TYPE_CHECK_INSTANCE_TYPE(l->data, type) &&
            gtk_widget_get_visible(GTK_WIDGET(l->data)))
            found = GTK_WIDGET(l->data);
    g_list_free(toplevels);
    return found;
}

// Acts on the dialog once it is up (gtk_dialog_run is blocking the test meanwhile), a moment after
// it is mapped: a file chooser answers only once it has read its folder, as a person would see.
void whenShown(GType type, std::function<void(GtkWidget*)> act) {
    struct Job {
        GType type;
        std::function<void(GtkWidget*)> act;
    };
    g_timeout_add_full(
        G_PRIORITY_DEFAULT, 200,
        [](gpointer data) -> gboolean {
            auto* job = static_cast<Job*>(data);
            GtkWidget* dialog = shownDialog(job->type);
            if (!dialog || !gtk_widget_get_mapped(dialog)) return G_SOURCE_CONTINUE;
            job->act(dialog);
            return G_SOURCE_REMOVE;
        },
        new Job{type, std::move(act)}, [](gpointer data) { delete static_cast<Job*>(data); });
}

class GtkDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        backend = platform::gtk::GtkWindowBackend::create();
        ASSERT_TRUE(backend) << "no display";
    }
    std::shared_ptr<platform::gtk::GtkWindowBackend> backend;
};

TEST_F(GtkDialogTest, SavePanelShowsItsAccessoryAndReturnsTheChosenPath) {
    TemporaryFolder folder("gtk-panel");
    auto accessory = std::make_shared<platform::View>(platform::Rect(0, 0, 200, 40));
    auto formats = std::make_shared<platform::PopUpButton>(platform::Rect(10, 5, 150, 30));
    formats->addItemsWithTitles({".txt", ".html"});
    accessory->addSubview(formats);
    auto panel = platform::SavePanel::savePanel();
    panel->setDirectory(folder.path().string());
    panel->setNameFieldStringValue("note");
    panel->setAccessoryView(accessory);
    bool sawCombo = false;
    gchar* name = nullptr;
    whenShown(GTK_TYPE_FILE_CHOOSER_DIALOG, [&](GtkWidget* dialog) {
        GtkWidget* extra = gtk_file_chooser_get_extra_widget(GTK_FILE_CHOOSER(dialog));
        GList* children = extra ? gtk_container_get_children(GTK_CONTAINER(extra)) : nullptr;
        sawCombo = children && GTK_IS_COMBO_BOX(children->data);
        if (sawCombo) gtk_combo_box_set_active(GTK_COMBO_BOX(children->data), 1);
        g_list_free(children);
        name = gtk_file_chooser_get_current_name(GTK_FILE_CHOOSER(dialog));
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    });
    EXPECT_EQ(panel->runModal(), platform::SavePanel::ModalResponseOK);
    EXPECT_EQ(panel->url(), std::optional<std::string>((folder.path() / "note").string()));
    EXPECT_TRUE(sawCombo);
    EXPECT_STREQ(name, "note");
    g_free(name);
    // The choice made in the accessory reached the control.
    EXPECT_EQ(formats->titleOfSelectedItem(), std::optional<std::string>(".html"));
}

TEST_F(GtkDialogTest, AlertAnswersTheButtonThePersonPressed) {
    platform::Alert alert;
    alert.setMessageText("Remove?");
    alert.addButtonWithTitle("Remove");
    alert.addButtonWithTitle("Keep");
    whenShown(GTK_TYPE_MESSAGE_DIALOG,
              [](GtkWidget* dialog) { gtk_dialog_response(GTK_DIALOG(dialog), 1); });
    EXPECT_EQ(alert.runModal(), platform::Alert::AlertFirstButtonReturn + 1);
}

}  // namespace
