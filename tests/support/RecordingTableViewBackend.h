#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/TableView.h"

// Shows a table nowhere and keeps what it was told, in order, for tests: "reload 3",
// "select 1", "select none", "remove 0,2 slide-left", "display 1".
class RecordingTableViewBackend : public platform::TableViewBackend {
  public:
    explicit RecordingTableViewBackend(std::vector<std::string>* log) : m_log(log) {}

    void rowsReloaded(platform::TableView& table) override {
        m_log->push_back("reload " + std::to_string(table.numberOfRows()));
    }
    void selectionChanged(platform::TableView&, std::optional<int64_t> row) override {
        m_log->push_back(row ? "select " + std::to_string(*row) : "select none");
    }
    void rowsRemoved(platform::TableView&, const platform::IndexSet& rows,
                     platform::TableViewAnimation animation) override {
        std::string text = "remove ";
        for (int64_t row : rows) text += std::to_string(row) + ",";
        text.pop_back();
        text += animation == platform::TableViewAnimation::SlideLeft ? " slide-left" : " other";
        m_log->push_back(text);
    }
    void rowNeedsDisplay(platform::TableView&, int64_t row) override {
        m_log->push_back("display " + std::to_string(row));
    }

  private:
    std::vector<std::string>* m_log;
};
