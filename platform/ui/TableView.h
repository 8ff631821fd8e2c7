#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/ui/Scroller.h"
#include "platform/ui/TableColumn.h"
#include "platform/ui/TableViewBackend.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/View.h"

namespace platform {

// NSTableView, view based, single selection, headless: rows of equal height from the top, one
// cell view per row and column made by the delegate for the rows in sight. It scrolls as a list
// on the desktop does (the scroll view AppKit puts around a table is part of it here): a scroll
// bar along its right edge while the rows do not fit, beside the rows, a wheel notch of three
// rows, and the arrow keys, Home, End, Page Up and Page Down moving the selection and bringing it
// into sight. Like AppKit it keeps
// the selected index, not the selected object, when its data is reloaded; an index that no longer
// exists is dropped, and that counts as a selection change. Every change of the selected row
// reaches the delegate's tableViewSelectionDidChange; selecting the row that is already selected
// changes nothing. The backend shows the table (GTK on screen, a recording in tests).
//
// A reload asked for while the delegate is being told of a selection change is put off to the
// next turn of the main run loop (several coalesce into one), so a toolkit never rebuilds its rows
// from inside its own selection handler; the completions given run right after the rows are
// rebuilt, in order.
class TableView : public View {
  public:
    explicit TableView(const Rect& frame = Rect());
    ~TableView() override;

    // Neither is owned: the controller that owns the table clears them before it goes.
    TableViewDataSource* dataSource() const { return m_dataSource; }
    void setDataSource(TableViewDataSource* dataSource) { m_dataSource = dataSource; }
    TableViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(TableViewDelegate* delegate) { m_delegate = delegate; }

    TableViewBackend* backend() const { return m_backend.get(); }
    void setBackend(std::unique_ptr<TableViewBackend> backend);
    // A new table gets its backend from the tables maker of the Backends in use, if any.

    void addTableColumn(TableColumn column);
    const std::vector<TableColumn>& tableColumns() const { return m_columns; }
    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double height);

    // Cells by identifier: makeViewWithIdentifier hands back a cell the table no longer shows, else
    // one made by the factory registered for the identifier (the interface file of the cell);
    // null when there is neither.
    using CellFactory = std::function<std::shared_ptr<View>()>;
    void registerCellFactory(const std::string& identifier, CellFactory factory);
    std::shared_ptr<View> makeViewWithIdentifier(const std::string& identifier, const void* owner);

    int64_t numberOfRows() const { return m_numberOfRows; }
    void reloadData(std::function<void()> completion = nullptr);
    bool isReloadPending() const { return m_reloadPending; }
    // Whether the rows are being rebuilt just now (a selection lost to a reload is told then).
    bool isReloading() const { return m_reloading; }

    // The selected row, -1 when none.
    int64_t selectedRow() const { return m_selectedRow; }
    // Single selection: the first index of the set is selected (none for an empty set, when not
    // extending); indexes beyond the rows are ignored.
    void selectRowIndexes(const IndexSet& indexes, bool byExtendingSelection);
    void deselectAll();
    // A click or a key on screen chose a row (or none).
    void userSelectRow(std::optional<int64_t> row);
    // Whether the delegate is being told of a selection change just now.
    bool isNotifyingSelection() const { return m_notifyingSelection > 0; }

    // Rows leave at once, later rows move up; a selected row that leaves clears the selection.
    void removeRowsAtIndexes(const IndexSet& rows, TableViewAnimation animation);

    // Rows removed with a slide leave a picture on top of the table that slides out of sight as
    // `progress` goes from 0 to 1 (the backend drives it); at 1 the pictures are gone.
    void advanceRowSlides(double progress);
    bool hasRowSlides() const { return m_slideOverlay != nullptr; }

    // The cell view of a row and column, made when `makeIfNecessary` and the row is in range.
    std::shared_ptr<View> viewAtColumn(int64_t column, int64_t row, bool makeIfNecessary);
    // The rectangle of a row in the table's coordinates (row 0 on top).
    Rect rectOfRow(int64_t row) const;
    // The row under a point of the table, -1 when none.
    int64_t rowAtPoint(Point point) const;
    // The rows with some part in sight.
    std::pair<int64_t, int64_t> visibleRowRange() const;
    // How far the rows are scrolled up, in points; clamped to the rows.
    double scrollOffset() const { return m_scrollOffset; }
    void setScrollOffset(double offset);
    void scrollRowToVisible(int64_t row);

    void setFrame(const Rect& frame) override;
    void drawRect(const Rect& dirtyRect) override;
    // The cells only show their rows: a click anywhere on the table is the table's.
    View* hitTest(Point point) override;
    // The scroll bar; hidden while every row is in sight.
    Scroller* verticalScroller() const { return m_scroller.get(); }
    static constexpr int RowsPerWheelNotch = 3;

    // A click selects the row under it; Up and Down move the selection by a row, Page Up and
    // Page Down by the rows in sight (and the rows with it), Home and End to the first and last.
    void mouseDown(const Event& event) override;
    void keyDown(const Event& event) override;
    // The wheel moves the rows, by points or by notches (RowsPerWheelNotch, a screenful at most);
    // at either end the event goes on up the chain.
    void scrollWheel(const Event& event) override;
    bool acceptsFirstResponder() override { return true; }

    // The colours of a selected row and of the table's own background.
    static Color selectionColor();
    static Color backgroundColor();

  private:
    struct Row {
        std::vector<std::shared_ptr<View>> cells;  // one per column, null where none was given
    };

    void reloadNow();
    void runReloadCompletions();
    void changeSelection(int64_t row);
    void notifySelectionDidChange();
    void layoutRows();
    void makeVisibleRows();
    void releaseRow(int64_t row);
    void applyStyle(int64_t row);
    void recycle(const std::shared_ptr<View>& cell);
    void leaveSlidePictures(const IndexSet& rows, TableViewAnimation animation);
    // Shows, places and fills the scroll bar after the rows, their height or the frame changed.
    void updateScroller();
    double rowsWidth() const;
    // Moves the selection by a number of rows (from the top row in sight when none is selected),
    // scrolling by `scroll` points first.
    void moveSelection(int64_t rows, double scroll);

    TableViewDataSource* m_dataSource = nullptr;
    TableViewDelegate* m_delegate = nullptr;
    std::unique_ptr<TableViewBackend> m_backend;
    std::vector<TableColumn> m_columns;
    double m_rowHeight = 17;
    std::map<std::string, CellFactory> m_factories;
    std::map<std::string, std::vector<std::shared_ptr<View>>> m_reusable;
    int64_t m_numberOfRows = 0;
    int64_t m_selectedRow = -1;
    std::map<int64_t, Row> m_rows;  // the rows that have cells, by index
    double m_scrollOffset = 0;
    int m_notifyingSelection = 0;
    bool m_reloadPending = false;
    bool m_reloading = false;
    std::vector<std::function<void()>> m_reloadCompletions;
    std::shared_ptr<View> m_slideOverlay;  // top subview showing rows that slide away
    std::shared_ptr<Scroller> m_scroller;  // a subview
    // Guards blocks queued on the run loop against a table that is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace platform
