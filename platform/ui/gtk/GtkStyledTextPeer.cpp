// The styled text view on the desktop: a GtkTextView in a scrolled window, its colours as text
// tags. GTK counts characters where the view counts UTF-16 units; the peer converts at the edge.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/foundation/UnicodeString.h"
#include "platform/ui/StyledTextView.h"
#include "platform/ui/gtk/GtkViewPeer.h"

namespace platform::gtk {

namespace {

// Characters (code points) before a UTF-16 position, and the reverse.
int characterOffset(const std::u16string& text, uint64_t unit) {
    int characters = 0;
    for (uint64_t i = 0; i < unit && i < text.size(); ++i)
        if (!isLowSurrogate(text[i]) || i == 0 || !isHighSurrogate(text[i - 1])) ++characters;
    return characters;
}

std::string colorName(const Color& color) {
    char name[16];
    std::snprintf(name, sizeof name, "#%02x%02x%02x", int(color.red * 255 + 0.5),
                  int(color.green * 255 + 0.5), int(color.blue * 255 + 0.5));
    return name;
}

class StyledTextPeer : public GtkViewPeer {
  public:
    explicit StyledTextPeer(StyledTextView& view)
        : GtkViewPeer(view, gtk_scrolled_window_new(nullptr, nullptr)), m_view(view) {
        m_text = gtk_text_view_new();
        gtk_text_view_set_monospace(GTK_TEXT_VIEW(m_text), TRUE);
        gtk_container_add(GTK_CONTAINER(widget()), m_text);
        gtk_widget_show(m_text);
        GtkTextBuffer* buffer = this->buffer();
        g_signal_connect(buffer, "insert-text", G_CALLBACK(beforeInsert), this);
        g_signal_connect_after(buffer, "insert-text", G_CALLBACK(afterInsert), this);
        g_signal_connect(buffer, "delete-range", G_CALLBACK(beforeDelete), this);
        g_signal_connect_after(buffer, "delete-range", G_CALLBACK(afterDelete), this);
        g_signal_connect(buffer, "mark-set", G_CALLBACK(onMarkSet), this);
        g_signal_connect(m_text, "key-press-event", G_CALLBACK(onKeyPress), this);
        GtkAdjustment* vertical =
            gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(widget()));
        g_signal_connect(vertical, "value-changed", G_CALLBACK(onScrolled), this);
        // The text's layout settles after it is shown: the lines' places change with it.
        g_signal_connect(vertical, "changed", G_CALLBACK(onScrollRangeChanged), this);
        g_signal_connect(widget(), "scroll-event", G_CALLBACK(onWheel), this);
        m_view.setLineBoxSource([this] { return lineBoxes(); });
    }

    ~StyledTextPeer() override {
        m_view.setLineBoxSource(nullptr);
        if (m_flushScheduled) g_idle_remove_by_data(this);
    }

  private:
    GtkTextBuffer* buffer() const { return gtk_text_view_get_buffer(GTK_TEXT_VIEW(m_text)); }

    std::u16string bufferText() const {
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(buffer(), &start, &end);
        gchar* text = gtk_text_buffer_get_text(buffer(), &start, &end, TRUE);
        std::u16string units = utf16FromUtf8(text ? text : "");
        g_free(text);
        return units;
    }

    GtkTextIter iterAt(uint64_t unit) const {
        GtkTextIter iter;
        gtk_text_buffer_get_iter_at_offset(buffer(), &iter, characterOffset(m_view.text(), unit));
        return iter;
    }

    GtkTextTag* tagFor(const Color& color, bool background) {
        std::string name = (background ? "bg" : "fg") + colorName(color);
        GtkTextTagTable* table = gtk_text_buffer_get_tag_table(buffer());
        if (GtkTextTag* tag = gtk_text_tag_table_lookup(table, name.c_str())) return tag;
        return gtk_text_buffer_create_tag(buffer(), name.c_str(),
                                          background ? "background" : "foreground",
                                          colorName(color).c_str(), nullptr);
    }

    void applySpans(const std::vector<StyledTextView::Span>& spans, bool background) {
        for (const auto& span : spans) {
            GtkTextIter start = iterAt(span.range.location);
            GtkTextIter end = iterAt(span.range.max());
            gtk_text_buffer_apply_tag(buffer(), tagFor(span.color, background), &start, &end);
        }
    }

    std::vector<StyledTextView::LineBox> lineBoxes() const {
        std::vector<StyledTextView::LineBox> boxes;
        GtkTextIter line;
        gtk_text_buffer_get_start_iter(buffer(), &line);
        do {
            gint y = 0, height = 0;
            gtk_text_view_get_line_yrange(GTK_TEXT_VIEW(m_text), &line, &y, &height);
            boxes.push_back({double(y), double(height)});
        } while (gtk_text_iter_forward_line(&line));
        // A text ending in a line feed has an empty last line the iterator does not stop at.
        GtkTextIter end;
        gtk_text_buffer_get_end_iter(buffer(), &end);
        if (gtk_text_iter_get_line(&end) >= gint(boxes.size())) {
            gint y = 0, height = 0;
            gtk_text_view_get_line_yrange(GTK_TEXT_VIEW(m_text), &end, &y, &height);
            boxes.push_back({double(y), double(height)});
        }
        return boxes;
    }

    // GTK sets its own step whenever the text's size changes; the view's line scroll wins.
    void applyLineScroll() {
        std::optional<double> step = m_view.lineScroll();
        if (!step) return;
        for (GtkAdjustment* adjustment :
             {gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(widget())),
              gtk_scrolled_window_get_hadjustment(GTK_SCROLLED_WINDOW(widget()))})
            if (gtk_adjustment_get_step_increment(adjustment) != *step)
                gtk_adjustment_set_step_increment(adjustment, *step);
    }

    void update() override {
        applyLineScroll();
        gtk_widget_set_sensitive(m_text, m_view.isEnabled());
        applyFont(m_text, m_view.font());
        gtk_text_view_set_editable(GTK_TEXT_VIEW(m_text), m_view.isEditable());
        gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(m_text),
                                    m_view.wrapsLines() ? GTK_WRAP_WORD_CHAR : GTK_WRAP_NONE);
        gtk_scrolled_window_set_policy(
            GTK_SCROLLED_WINDOW(widget()),
            m_view.wrapsLines() ? GTK_POLICY_NEVER : GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
        bool replaced = false;
        if (m_edits.empty() && bufferText() != m_view.text()) {
            std::string utf8 = utf8FromUtf16(m_view.text());
            gtk_text_buffer_set_text(buffer(), utf8.c_str(), -1);
            replaced = true;
        }
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(buffer(), &start, &end);
        gtk_text_buffer_remove_all_tags(buffer(), &start, &end);
        applySpans(m_view.foregroundSpans(), false);
        applySpans(m_view.backgroundSpans(), true);
        Range selection = m_view.selectedRange();
        GtkTextIter from = iterAt(selection.location), to = iterAt(selection.max());
        gtk_text_buffer_select_range(buffer(), &to, &from);
        if (replaced)
            gtk_text_view_scroll_mark_onscreen(GTK_TEXT_VIEW(m_text),
                                               gtk_text_buffer_get_insert(buffer()));
    }

    // UTF-16 units of the buffer's text before the iterator.
    uint64_t unitsBefore(const GtkTextIter* iter) const {
        GtkTextIter start;
        gtk_text_buffer_get_start_iter(buffer(), &start);
        gchar* text = gtk_text_buffer_get_text(buffer(), &start, iter, TRUE);
        uint64_t units = utf16FromUtf8(text ? text : "").size();
        g_free(text);
        return units;
    }

    // Edits reach the view once GTK has finished with them: changing tags inside the buffer's
    // own signals would spoil the iterators GTK still holds.
    void queueEdit(Range range, std::u16string replacement) {
        m_edits.push_back({range, std::move(replacement)});
        if (!m_flushScheduled) {
            m_flushScheduled = true;
            g_idle_add(flushEdits, this);
        }
    }
    static gboolean flushEdits(gpointer data) {
        auto* self = static_cast<StyledTextPeer*>(data);
        self->m_flushScheduled = false;
        auto edits = std::move(self->m_edits);
        self->m_edits.clear();
        for (auto& [range, replacement] : edits)
            self->m_view.userReplacedCharacters(range, replacement);
        return G_SOURCE_REMOVE;
    }

    static void beforeInsert(GtkTextBuffer*, GtkTextIter* location, gchar*, gint,
                             StyledTextPeer* self) {
        self->m_pendingStart = self->unitsBefore(location);
    }
    static void afterInsert(GtkTextBuffer*, GtkTextIter*, gchar* text, gint length,
                            StyledTextPeer* self) {
        if (self->isUpdating() || !self->m_pendingStart) return;
        uint64_t start = *std::exchange(self->m_pendingStart, std::nullopt);
        self->queueEdit(Range{start, 0}, utf16FromUtf8(std::string_view(text, length)));
    }
    static void beforeDelete(GtkTextBuffer*, GtkTextIter* start, GtkTextIter* end,
                             StyledTextPeer* self) {
        uint64_t from = self->unitsBefore(start);
        uint64_t to = self->unitsBefore(end);
        self->m_pendingDelete = Range{std::min(from, to), from > to ? from - to : to - from};
    }
    static void afterDelete(GtkTextBuffer*, GtkTextIter*, GtkTextIter*, StyledTextPeer* self) {
        if (self->isUpdating() || !self->m_pendingDelete) return;
        Range range = *std::exchange(self->m_pendingDelete, std::nullopt);
        self->queueEdit(range, u"");
    }
    static void onMarkSet(GtkTextBuffer* buffer, GtkTextIter*, GtkTextMark* mark,
                          StyledTextPeer* self) {
        if (self->isUpdating()) return;
        if (mark != gtk_text_buffer_get_insert(buffer) &&
            mark != gtk_text_buffer_get_selection_bound(buffer))
            return;
        GtkTextIter insert, bound;
        gtk_text_buffer_get_iter_at_mark(buffer, &insert, gtk_text_buffer_get_insert(buffer));
        gtk_text_buffer_get_iter_at_mark(buffer, &bound,
                                         gtk_text_buffer_get_selection_bound(buffer));
        uint64_t a = self->unitsBefore(&insert);
        uint64_t b = self->unitsBefore(&bound);
        self->m_view.userSelected(Range{std::min(a, b), a > b ? a - b : b - a});
    }
    static gboolean onKeyPress(GtkWidget*, GdkEventKey* event, StyledTextPeer* self) {
        GdkModifierType modifiers =
            GdkModifierType(event->state & (GDK_CONTROL_MASK | GDK_SHIFT_MASK | GDK_MOD1_MASK));
        const char* selector = nullptr;
        if ((event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter) &&
            modifiers == 0)
            selector = "insertNewline:";
        else if (modifiers == GDK_CONTROL_MASK && event->keyval == GDK_KEY_bracketright)
            selector = "shiftRight:";
        else if (modifiers == GDK_CONTROL_MASK && event->keyval == GDK_KEY_bracketleft)
            selector = "shiftLeft:";
        else if (modifiers == GDK_CONTROL_MASK && (event->keyval == GDK_KEY_z))
            selector = "undo:";
        else if (modifiers == (GDK_CONTROL_MASK | GDK_SHIFT_MASK) &&
                 (event->keyval == GDK_KEY_Z || event->keyval == GDK_KEY_z))
            selector = "redo:";
        if (!selector || !self->m_view.isEditable()) return FALSE;
        return self->m_view.userCommand(selector) ? TRUE : FALSE;
    }
    static void onScrolled(GtkAdjustment* adjustment, StyledTextPeer* self) {
        self->m_view.userScrolled(gtk_adjustment_get_value(adjustment));
    }
    static void onScrollRangeChanged(GtkAdjustment* adjustment, StyledTextPeer* self) {
        self->applyLineScroll();
        self->m_view.userScrolled(gtk_adjustment_get_value(adjustment));
    }
    // A wheel notch moves three lines of the view's line scroll, as desktops scroll text.
    static gboolean onWheel(GtkWidget*, GdkEventScroll* event, StyledTextPeer* self) {
        std::optional<double> step = self->m_view.lineScroll();
        if (!step || (event->state & GDK_CONTROL_MASK)) return FALSE;
        double lines = 0;
        if (event->direction == GDK_SCROLL_UP) lines = -1;
        if (event->direction == GDK_SCROLL_DOWN) lines = 1;
        if (event->direction == GDK_SCROLL_SMOOTH) lines = event->delta_y;
        if (lines == 0) return FALSE;
        GtkAdjustment* vertical =
            gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(self->widget()));
        double top = gtk_adjustment_get_value(vertical) + lines * 3 * *step;
        double last = gtk_adjustment_get_upper(vertical) - gtk_adjustment_get_page_size(vertical);
        gtk_adjustment_set_value(
            vertical, std::clamp(top, gtk_adjustment_get_lower(vertical), std::max(last, 0.0)));
        return TRUE;
    }

    StyledTextView& m_view;
    GtkWidget* m_text;  // owned by the scrolled window
    std::optional<uint64_t> m_pendingStart;
    std::optional<Range> m_pendingDelete;
    std::vector<std::pair<Range, std::u16string>> m_edits;
    bool m_flushScheduled = false;
};

}  // namespace

void addStyledTextPeer(PeerMakers& makers) {
    makers["styledText"] = [](View& view) -> std::unique_ptr<ViewPeer> {
        auto* text = dynamic_cast<StyledTextView*>(&view);
        if (!text) return nullptr;
        return std::make_unique<StyledTextPeer>(*text);
    };
}

}  // namespace platform::gtk
