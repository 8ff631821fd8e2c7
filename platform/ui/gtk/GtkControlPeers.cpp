// The GTK widgets behind the controls of platform/ui: each peer copies the control's state into
// its widget and hands the user's clicks and typing back to the control.
#include <algorithm>
#include <cmath>

#include "platform/ui/Button.h"
#include "platform/ui/PlainTextView.h"
#include "platform/ui/Scroller.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TextField.h"
#include "platform/ui/gtk/GtkViewPeer.h"

namespace platform::gtk {

namespace {

void setImage(GtkWidget* imageWidget, const std::optional<std::string>& name, int size) {
    GObjectRef<GdkPixbuf> pixbuf =
        name ? loadNamedImage(*name, size, size) : GObjectRef<GdkPixbuf>();
    gtk_image_set_from_pixbuf(GTK_IMAGE(imageWidget), pixbuf.get());
}

void applyControlState(GtkWidget* widget, const Control& control) {
    gtk_widget_set_sensitive(widget, control.isEnabled());
    gtk_widget_set_tooltip_text(widget,
                                control.toolTip().empty() ? nullptr : control.toolTip().c_str());
    applyFont(widget, control.font());
}

class ButtonPeer : public GtkViewPeer {
  public:
    explicit ButtonPeer(Button& button)
        : GtkViewPeer(button, button.buttonType() == Button::Type::Switch ? gtk_check_button_new()
                                                                          : gtk_button_new()),
          m_button(button) {
        m_image = gtk_image_new();
        gtk_button_set_image(GTK_BUTTON(widget()), m_image);
        gtk_button_set_always_show_image(GTK_BUTTON(widget()), TRUE);
        g_signal_connect(widget(), "clicked", G_CALLBACK(onClicked), this);
    }

  private:
    void update() override {
        applyControlState(widget(), m_button);
        gtk_button_set_label(GTK_BUTTON(widget()),
                             m_button.title().empty() ? nullptr : m_button.title().c_str());
        setImage(m_image, m_button.imageName(),
                 int(std::min(m_button.frame().width(), m_button.frame().height())) - 8);
        gtk_button_set_relief(GTK_BUTTON(widget()),
                              m_button.isBordered() ? GTK_RELIEF_NORMAL : GTK_RELIEF_NONE);
        if (m_button.buttonType() == Button::Type::Switch)
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget()), m_button.state());
    }
    static void onClicked(GtkButton*, ButtonPeer* self) {
        if (self->isUpdating()) return;
        self->m_button.performClick();
    }

    Button& m_button;
    GtkWidget* m_image;  // owned by the button widget
};

class LabelPeer : public GtkViewPeer {
  public:
    explicit LabelPeer(TextField& field) : GtkViewPeer(field, gtk_label_new("")), m_field(field) {
        gtk_label_set_line_wrap(GTK_LABEL(widget()), TRUE);
        gtk_label_set_xalign(GTK_LABEL(widget()), 0.0);
    }

  private:
    void update() override {
        applyControlState(widget(), m_field);
        gtk_label_set_text(GTK_LABEL(widget()), m_field.stringValue().c_str());
        // A turned label turns its text with it (GTK counts angles counter-clockwise too); a
        // turned label does not wrap.
        double angle = m_field.boundsRotation();
        gtk_label_set_angle(GTK_LABEL(widget()), angle);
        gtk_label_set_line_wrap(GTK_LABEL(widget()), angle == 0);
    }
    TextField& m_field;
};

class EntryPeer : public GtkViewPeer {
  public:
    explicit EntryPeer(TextField& field) : GtkViewPeer(field, gtk_entry_new()), m_field(field) {
        // The view decides the width, not the number of characters GTK would like.
        gtk_entry_set_width_chars(GTK_ENTRY(widget()), 1);
        g_signal_connect(widget(), "changed", G_CALLBACK(onChanged), this);
    }

  private:
    void update() override {
        applyControlState(widget(), m_field);
        if (m_field.stringValue() != gtk_entry_get_text(GTK_ENTRY(widget())))
            gtk_entry_set_text(GTK_ENTRY(widget()), m_field.stringValue().c_str());
        gtk_entry_set_placeholder_text(GTK_ENTRY(widget()), m_field.placeholderString().c_str());
        gtk_entry_set_has_frame(GTK_ENTRY(widget()), m_field.isBordered());
    }
    static void onChanged(GtkEditable*, EntryPeer* self) {
        if (self->isUpdating()) return;
        self->m_field.userEdited(gtk_entry_get_text(GTK_ENTRY(self->widget())));
    }
    TextField& m_field;
};

class TextViewPeer : public GtkViewPeer {
  public:
    explicit TextViewPeer(PlainTextView& view)
        : GtkViewPeer(view, gtk_scrolled_window_new(nullptr, nullptr)), m_view(view) {
        m_text = gtk_text_view_new();
        gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(m_text), GTK_WRAP_WORD_CHAR);
        gtk_container_add(GTK_CONTAINER(widget()), m_text);
        gtk_widget_show(m_text);
        g_signal_connect(gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text)), "changed",
                         G_CALLBACK(onChanged), this);
    }

  private:
    void update() override {
        applyControlState(m_text, m_view);
        gtk_text_view_set_editable(GTK_TEXT_VIEW(m_text), m_view.isEditable());
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text));
        if (currentText() != m_view.string())
            gtk_text_buffer_set_text(buffer, m_view.string().c_str(), -1);
    }
    std::string currentText() const {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text));
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
        std::string result = text ? text : "";
        g_free(text);
        return result;
    }
    static void onChanged(GtkTextBuffer*, TextViewPeer* self) {
        if (self->isUpdating()) return;
        self->m_view.userEdited(self->currentText());
    }
    PlainTextView& m_view;
    GtkWidget* m_text;  // owned by the scrolled window
};

class ImagePeer : public GtkViewPeer {
  public:
    explicit ImagePeer(ImageView& view) : GtkViewPeer(view, gtk_image_new()), m_view(view) {}

  private:
    void update() override {
        GObjectRef<GdkPixbuf> pixbuf;
        if (m_view.imageName())
            pixbuf = loadNamedImage(*m_view.imageName(), int(m_view.frame().width()),
                                    int(m_view.frame().height()), false);
        gtk_image_set_from_pixbuf(GTK_IMAGE(widget()), pixbuf.get());
    }
    ImageView& m_view;
};

// The segments are toggle buttons in a linked box, each showing its segment's image.
class SegmentedPeer : public GtkViewPeer {
  public:
    explicit SegmentedPeer(SegmentedControl& control)
        : GtkViewPeer(control, gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0)), m_control(control) {
        gtk_style_context_add_class(gtk_widget_get_style_context(widget()), "linked");
    }

  private:
    void update() override {
        applyControlState(widget(), m_control);
        int count = m_control.segmentCount();
        while (int(m_buttons.size()) > count) {
            gtk_widget_destroy(m_buttons.back());
            m_buttons.pop_back();
        }
        while (int(m_buttons.size()) < count) {
            GtkWidget* button = gtk_toggle_button_new();
            gtk_button_set_image(GTK_BUTTON(button), gtk_image_new());
            gtk_button_set_always_show_image(GTK_BUTTON(button), TRUE);
            g_object_set_data(G_OBJECT(button), "mw-segment",
                              GINT_TO_POINTER(int(m_buttons.size())));
            g_signal_connect(button, "clicked", G_CALLBACK(onClicked), this);
            gtk_box_pack_start(GTK_BOX(widget()), button, TRUE, TRUE, 0);
            gtk_widget_show(button);
            m_buttons.push_back(button);
        }
        int height = int(m_control.frame().height()) - 10;
        for (int i = 0; i < count; ++i) {
            GtkWidget* button = m_buttons[i];
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button),
                                         m_control.isSelectedForSegment(i));
            setImage(gtk_button_get_image(GTK_BUTTON(button)), m_control.imageForSegment(i),
                     height);
            if (double width = m_control.widthForSegment(i); width > 0)
                gtk_widget_set_size_request(button, int(width), -1);
        }
    }
    static void onClicked(GtkButton* button, SegmentedPeer* self) {
        if (self->isUpdating()) return;
        int segment = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "mw-segment"));
        self->m_control.clickSegment(segment);
        self->viewChanged();  // the control may have refused or chosen otherwise
    }
    SegmentedControl& m_control;
    std::vector<GtkWidget*> m_buttons;  // owned by the box
};

// A GtkScrollbar over an adjustment in the content's points, so that its steps, its page and the
// wheel turned on it are GTK's own.
class ScrollerPeer : public GtkViewPeer {
  public:
    explicit ScrollerPeer(Scroller& scroller)
        : GtkViewPeer(scroller, gtk_scrollbar_new(GTK_ORIENTATION_VERTICAL, nullptr)),
          m_scroller(scroller) {
        g_signal_connect(adjustment(), "value-changed", G_CALLBACK(onValueChanged), this);
    }

  private:
    GtkAdjustment* adjustment() const { return gtk_range_get_adjustment(GTK_RANGE(widget())); }
    void update() override {
        applyControlState(widget(), m_scroller);
        const double visible = m_scroller.visibleLength();
        const double line = m_scroller.lineScroll();
        gtk_adjustment_configure(adjustment(), m_scroller.offset(), 0, m_scroller.contentLength(),
                                 line, std::max(line, visible - line), visible);
    }
    static void onValueChanged(GtkAdjustment* adjustment, ScrollerPeer* self) {
        if (self->isUpdating()) return;
        self->m_scroller.userScrolled(gtk_adjustment_get_value(adjustment));
    }
    Scroller& m_scroller;
};

template <typename Peer, typename ViewType>
PeerMakers::mapped_type makerFor() {
    return [](View& view) -> std::unique_ptr<ViewPeer> {
        auto* typed = dynamic_cast<ViewType*>(&view);
        if (!typed) return nullptr;
        return std::make_unique<Peer>(*typed);
    };
}

}  // namespace

// GtkComboBoxPeer.cpp, GtkStyledTextPeer.cpp.
void addComboBoxPeer(PeerMakers& makers);
void addStyledTextPeer(PeerMakers& makers);

void addControlPeers(PeerMakers& makers) {
    addComboBoxPeer(makers);
    addStyledTextPeer(makers);
    makers["button"] = makerFor<ButtonPeer, Button>();
    makers["label"] = makerFor<LabelPeer, TextField>();
    makers["textField"] = makerFor<EntryPeer, TextField>();
    makers["textView"] = makerFor<TextViewPeer, PlainTextView>();
    makers["image"] = makerFor<ImagePeer, ImageView>();
    makers["segmented"] = makerFor<SegmentedPeer, SegmentedControl>();
    makers["scroller"] = makerFor<ScrollerPeer, Scroller>();
}

}  // namespace platform::gtk
