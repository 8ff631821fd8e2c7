// The combo box on the desktop: GTK's combo box of texts, with an entry when it is editable.
#include "platform/ui/ComboBox.h"
#include "platform/ui/gtk/GtkViewPeer.h"

namespace platform::gtk {

namespace {

class ComboBoxPeer : public GtkViewPeer {
  public:
    explicit ComboBoxPeer(ComboBox& box)
        : GtkViewPeer(box, box.isEditable() ? gtk_combo_box_text_new_with_entry()
                                            : gtk_combo_box_text_new()),
          m_box(box),
          m_editable(box.isEditable()) {
        g_signal_connect(widget(), "changed", G_CALLBACK(onChanged), this);
    }

  private:
    void update() override {
        GtkComboBoxText* combo = GTK_COMBO_BOX_TEXT(widget());
        gtk_widget_set_sensitive(widget(), m_box.isEnabled());
        applyFont(widget(), m_box.font());
        if (m_items != m_box.objectValues()) {
            gtk_combo_box_text_remove_all(combo);
            for (const std::string& item : m_box.objectValues())
                gtk_combo_box_text_append_text(combo, item.c_str());
            m_items = m_box.objectValues();
        }
        int active = -1;
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i] == m_box.stringValue()) active = static_cast<int>(i);
        gtk_combo_box_set_active(GTK_COMBO_BOX(combo), active);
        if (m_editable) {
            GtkWidget* entry = gtk_bin_get_child(GTK_BIN(combo));
            gtk_entry_set_text(GTK_ENTRY(entry), m_box.stringValue().c_str());
        }
    }
    static void onChanged(GtkComboBox* combo, ComboBoxPeer* self) {
        if (self->isUpdating()) return;
        gchar* text = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(combo));
        std::string chosen = text ? text : "";
        g_free(text);
        // A non-editable box between choices (no active item) keeps its text.
        if (!text && !self->m_editable) return;
        self->m_box.userEdited(chosen);
    }

    ComboBox& m_box;
    bool m_editable;
    std::vector<std::string> m_items;
};

}  // namespace

void addComboBoxPeer(PeerMakers& makers) {
    makers["comboBox"] = [](View& view) -> std::unique_ptr<ViewPeer> {
        auto* box = dynamic_cast<ComboBox*>(&view);
        if (!box) return nullptr;
        return std::make_unique<ComboBoxPeer>(*box);
    };
}

}  // namespace platform::gtk
