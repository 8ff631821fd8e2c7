#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

#include "platform/ui/Alert.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/SavePanel.h"
#include "platform/ui/TextField.h"
#include "platform/ui/gtk/GtkApplicationBackend.h"
#include "platform/ui/gtk/GtkBackend.h"
#include "tests/support/MainLoopWait.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestOutput.h"

using namespace platform;

namespace {

// Works a dialog of the given type once it is on screen, as a user would, from the main loop: the
// work is done again on every poll until it answers true.
class DialogHand {
  public:
    DialogHand(GType type, std::function<bool(GtkDialog*)> work)
        : m_type(type), m_work(std::move(work)) {
        m_source = g_timeout_add(50, &DialogHand::poll, this);
    }
    ~DialogHand() {
        if (m_source) g_source_remove(m_source);
    }
    bool worked() const { return m_worked; }

  private:
    static gboolean poll(gpointer data) {
        auto* self = static_cast<DialogHand*>(data);
        GList* windows = gtk_window_list_toplevels();
        for (GList* item = windows; item; item = item->next) {
            if (G_TYPE_CHECK_INSTANCE_TYPE(item->data, self->m_type) &&
                gtk_widget_get_visible(GTK_WIDGET(item->data))) {
                GtkDialog* dialog = GTK_DIALOG(item->data);
                g_list_free(windows);
                if (!self->m_work(dialog)) return G_SOURCE_CONTINUE;
                self->m_worked = true;
                self->m_source = 0;
                return G_SOURCE_REMOVE;
            }
        }
        g_list_free(windows);
        return G_SOURCE_CONTINUE;
    }
    GType m_type;
    std::function<bool(GtkDialog*)> m_work;
    guint m_source = 0;
    bool m_worked = false;
};

class GtkPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!gtk_init_check(nullptr, nullptr)) GTEST_SKIP() << "no display";
        // The backend's installation puts the panels in place.
        Backends desktop;
        ASSERT_TRUE(gtk::install(desktop));
        installed.emplace(std::move(desktop));
        backend = std::make_unique<gtk::GtkApplicationBackend>("org.zelvo.PanelTest");
    }
    void TearDown() override { installed.reset(); }
    std::optional<ScopedBackends> installed;
    std::unique_ptr<gtk::GtkApplicationBackend> backend;
};

}  // namespace

TEST_F(GtkPanelTest, SavePanelShowsTheAccessoryAndTheChoiceMadeInIt) {
    TemporaryFolder folder("save-panel");
    SavePanel panel;
    panel.setNameFieldStringValue("未命名");
    panel.setCanCreateDirectories(true);
    auto accessory = std::make_shared<View>(Rect(0, 0, 230, 40));
    auto label = TextField::labelWithString("请选择文件格式: ", Rect(0, 10, 140, 20));
    auto formats = std::make_shared<ComboBox>(Rect(150, 8, 80, 25));
    formats->setEditable(false);
    formats->addItemsWithObjectValues({".txt", ".html", ".rtf", ".pdf"});
    formats->setStringValue(".txt");
    accessory->addSubview(label);
    accessory->addSubview(formats);
    panel.setAccessoryView(accessory);

    std::string name;
    bool chosen = false;
    DialogHand hand(GTK_TYPE_FILE_CHOOSER_DIALOG, [&](GtkDialog* dialog) {
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
        if (chosen) {
            // The chooser moves to a folder in its own time, and until it is there it ignores a
            // press on Save (the name has no folder yet) or saves into the folder it came from.
            gchar* current = gtk_file_chooser_get_current_folder(chooser);
            std::error_code ignored;
            const bool arrived =
                current && std::filesystem::equivalent(current, folder.path(), ignored);
            g_free(current);
            if (!arrived) return false;
            GdkWindow* shown = gtk_widget_get_window(GTK_WIDGET(dialog));
            if (GdkPixbuf* picture = gdk_pixbuf_get_from_window(
                    shown, 0, 0, gdk_window_get_width(shown), gdk_window_get_height(shown))) {
                gdk_pixbuf_save(picture, testOutputPath("zelvo-save-panel.png").c_str(), "png",
                                nullptr, nullptr);
                g_object_unref(picture);
            }
            gtk_dialog_response(dialog, GTK_RESPONSE_ACCEPT);
            return true;
        }
        gchar* current = gtk_file_chooser_get_current_name(chooser);
        name = current ? current : "";
        g_free(current);
        // The accessory's combo box is a widget of the chooser: choose ".rtf" in it.
        GtkWidget* extra = gtk_file_chooser_get_extra_widget(chooser);
        GList* children = gtk_container_get_children(GTK_CONTAINER(extra));
        for (GList* item = children; item; item = item->next)
            if (GTK_IS_COMBO_BOX(item->data))
                gtk_combo_box_set_active(GTK_COMBO_BOX(item->data), 2);
        g_list_free(children);
        gtk_file_chooser_set_current_folder(chooser, folder.path().c_str());
        gtk_file_chooser_set_current_name(chooser, "note");
        chosen = true;
        return false;
    });
    EXPECT_EQ(panel.runModal(), SavePanel::ModalResponseOK);
    EXPECT_TRUE(hand.worked());
    EXPECT_EQ(name, "未命名");
    EXPECT_EQ(panel.path(), folder.file("note"));
    EXPECT_EQ(formats->stringValue(), ".rtf");
    EXPECT_EQ(formats->peer(), nullptr) << "the accessory's widgets went with the panel";

    DialogHand cancel(GTK_TYPE_FILE_CHOOSER_DIALOG, [](GtkDialog* dialog) {
        gtk_dialog_response(dialog, GTK_RESPONSE_CANCEL);
        return true;
    });
    EXPECT_EQ(panel.runModal(), SavePanel::ModalResponseCancel);
    EXPECT_FALSE(panel.path());
}

TEST_F(GtkPanelTest, AlertShowsItsTextsAndAnswersTheButtonPressed) {
    Alert alert;
    alert.setMessageText("文件保存失败!");
    alert.setInformativeText("/no/such/folder/note.txt");
    alert.addButtonWithTitle("OK");
    alert.addButtonWithTitle("Cancel");
    std::string secondary;
    DialogHand hand(GTK_TYPE_MESSAGE_DIALOG, [&](GtkDialog* dialog) {
        gchar* text = nullptr;
        g_object_get(dialog, "secondary-text", &text, nullptr);
        secondary = text ? text : "";
        g_free(text);
        gtk_dialog_response(dialog, 1);
        return true;
    });
    EXPECT_EQ(alert.runModal(), Alert::FirstButtonReturn + 1);
    EXPECT_TRUE(hand.worked());
    EXPECT_EQ(secondary, "/no/such/folder/note.txt");
}

// A sheet returns at once, with the dialog on screen, and its answer comes later from the loop
// the program runs anyway.
TEST_F(GtkPanelTest, AlertSheetIsAnsweredLaterThroughTheButtonPressed) {
    Alert alert;
    alert.setMessageText("The note could not be saved.");
    alert.addButtonWithTitle("Don\u2019t Quit");
    alert.addButtonWithTitle("Quit Without Saving");
    DialogHand hand(GTK_TYPE_MESSAGE_DIALOG, [&](GtkDialog* dialog) {
        gtk_dialog_response(dialog, 1);
        return true;
    });
    std::optional<int> answered;
    alert.beginSheetModal([&](int response) { answered = response; });
    EXPECT_FALSE(answered);
    ASSERT_TRUE(turnTheLoopUntil([&] { return answered.has_value(); }));
    EXPECT_EQ(*answered, Alert::FirstButtonReturn + 1);
    EXPECT_TRUE(hand.worked());
}
