#pragma once

#include <glib.h>

#include <optional>

#include "platform/ui/TableViewBackend.h"

namespace platform::gtk {

// Shows a table in a window on the GTK desktop. The table is part of the window's view tree, so
// the view host draws its rows and cells and hands it the clicks and keys; what this adds is the
// motion GTK would give a list: rows removed with a slide leave to the left over a fifth of a
// second on the main loop, unless the desktop has animations turned off.
class GtkTableViewBackend : public TableViewBackend {
  public:
    static constexpr double SlideSeconds = 0.2;

    GtkTableViewBackend() = default;
    ~GtkTableViewBackend() override;
    GtkTableViewBackend(const GtkTableViewBackend&) = delete;
    GtkTableViewBackend& operator=(const GtkTableViewBackend&) = delete;

    void rowsReloaded(TableView& tableView) override;
    void selectionChanged(TableView& tableView, std::optional<int64_t> row) override;
    bool slidesRemovedRows() const override;
    void rowsRemoved(TableView& tableView, const IndexSet& rows,
                     TableViewAnimation animation) override;
    void rowNeedsDisplay(TableView& tableView, int64_t row) override;

    bool isSliding() const { return m_timer != 0; }

  private:
    static gboolean onTick(gpointer self);
    void stop();

    // Borrowed: the table owns this backend, so it outlives every tick.
    TableView* m_table = nullptr;
    guint m_timer = 0;
    gint64 m_start = 0;
};

}  // namespace platform::gtk
