#pragma once

#include <memory>

#include "platform/ui/TableCellView.h"

namespace platform {
class TableCellTextField;
}

namespace zelvo {

// A row of the group list: the group's image, and a count label that stays empty.
class FileCellView : public platform::TableCellView {
  public:
    static constexpr const char* Identifier = "FileCellView";
    static constexpr double RowHeight = 64;
    static constexpr double ImageSide = 40;
    // The cell as its interface file lays it out.
    static std::shared_ptr<FileCellView> makeFromInterface();

    explicit FileCellView(const platform::Rect& frame);

    const std::shared_ptr<platform::TableCellTextField>& noteCountLabel() const {
        return m_noteCountLabel;
    }

    // The parts keep their places as the table sizes the cell.
    void setFrame(const platform::Rect& frame) override;

  private:
    void layout();

    std::shared_ptr<platform::TableCellTextField> m_noteCountLabel;
};

}  // namespace zelvo
