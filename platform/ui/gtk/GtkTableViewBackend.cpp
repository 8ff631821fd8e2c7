#include "platform/ui/gtk/GtkTableViewBackend.h"

#include <gtk/gtk.h>

#include "platform/ui/TableView.h"

namespace platform::gtk {

GtkTableViewBackend::~GtkTableViewBackend() {
    stop();
}

// The host redraws whatever the model marks; nothing more to do for these.
void GtkTableViewBackend::rowsReloaded(TableView&) {}
void GtkTableViewBackend::selectionChanged(TableView&, std::optional<int64_t>) {}
void GtkTableViewBackend::rowNeedsDisplay(TableView&, int64_t) {}

bool GtkTableViewBackend::slidesRemovedRows() const {
    GtkSettings* settings = gtk_settings_get_default();
    gboolean animate = TRUE;
    if (settings) g_object_get(settings, "gtk-enable-animations", &animate, nullptr);
    return animate;
}

void GtkTableViewBackend::rowsRemoved(TableView& tableView, const IndexSet&, TableViewAnimation) {
    if (!tableView.hasRowSlides()) return;
    m_table = &tableView;
    m_start = g_get_monotonic_time();
    tableView.advanceRowSlides(0);
    if (!m_timer) m_timer = g_timeout_add(16, &GtkTableViewBackend::onTick, this);
}

gboolean GtkTableViewBackend::onTick(gpointer data) {
    auto* self = static_cast<GtkTableViewBackend*>(data);
    double progress = double(g_get_monotonic_time() - self->m_start) / (SlideSeconds * 1e6);
    self->m_table->advanceRowSlides(progress);
    if (progress < 1) return G_SOURCE_CONTINUE;
    self->m_timer = 0;
    return G_SOURCE_REMOVE;
}

void GtkTableViewBackend::stop() {
    if (m_timer) g_source_remove(m_timer);
    m_timer = 0;
}

}  // namespace platform::gtk
