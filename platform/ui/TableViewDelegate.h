#pragma once

#include <cstdint>
#include <memory>

namespace platform {

class TableColumn;
class TableView;
class View;

// Where a table gets its row count.
class TableViewDataSource {
  public:
    virtual ~TableViewDataSource() = default;
    virtual int64_t numberOfRowsInTableView(TableView& tableView) = 0;
};

// What a table asks of its controller: the view of a cell, and the notice after its selection
// changed (a click, a key, a programmatic selection, or rows that left the table).
class TableViewDelegate {
  public:
    virtual ~TableViewDelegate() = default;
    // tableView:viewForTableColumn:row:; null leaves the cell empty.
    virtual std::shared_ptr<View> tableView(TableView& tableView, const TableColumn& column,
                                            int64_t row) = 0;
    virtual void tableViewSelectionDidChange(TableView& tableView) = 0;
};

}  // namespace platform
