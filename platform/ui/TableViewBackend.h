#pragma once

#include <cstdint>
#include <optional>
#include <set>

namespace platform {

class TableView;

using IndexSet = std::set<int64_t>;

// How rows leave a table on screen.
enum class TableViewAnimation { None, Fade, Gap, SlideUp, SlideDown, SlideLeft, SlideRight };

// What shows a table: told after the model changed, never asked for data. The model owns its
// backend; a backend reaches back to the model only through the TableView it is given (a click on
// a row becomes TableView::userSelectRow).
class TableViewBackend {
  public:
    virtual ~TableViewBackend() = default;
    // The rows were rebuilt: their count, cell views and selection are the model's now.
    virtual void rowsReloaded(TableView& tableView) = 0;
    // The selection moved to a row, or to none.
    virtual void selectionChanged(TableView& tableView, std::optional<int64_t> row) = 0;
    // Whether rows removed with a slide animation should leave a picture of themselves behind
    // (TableView::advanceRowSlides moves it); false draws no slide.
    virtual bool slidesRemovedRows() const { return false; }
    // Rows left the table (indexes as they were before); the model has already renumbered.
    virtual void rowsRemoved(TableView& tableView, const IndexSet& rows,
                             TableViewAnimation animation) = 0;
    // A row's cell view needs drawing again (its look changed).
    virtual void rowNeedsDisplay(TableView& tableView, int64_t row) = 0;
};

}  // namespace platform
