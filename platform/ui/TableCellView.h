#pragma once

#include <memory>

#include "platform/ui/View.h"

namespace platform {

class TableCellImageView;
class TableCellTextField;

// NSBackgroundStyle: the look a table gives a cell for the row's state; Emphasized is a selected
// row.
enum class BackgroundStyle : int { Normal = 0, Emphasized = 1, Raised = 2, Lowered = 3 };

// NSTableCellView: a cell of a view-based table, with an optional image view and text field the
// table's owner fills. The table sets the background style as the row's selection changes.
class TableCellView : public View {
  public:
    explicit TableCellView(const Rect& frame = Rect());
    ~TableCellView() override;

    // The identifier the cell was made with; a table reuses cells of the same identifier.
    const std::string& identifier() const { return m_identifier; }
    void setIdentifier(std::string identifier) { m_identifier = std::move(identifier); }

    const std::shared_ptr<TableCellImageView>& imageView() const { return m_imageView; }
    void setImageView(std::shared_ptr<TableCellImageView> view) { m_imageView = std::move(view); }
    const std::shared_ptr<TableCellTextField>& textField() const { return m_textField; }
    void setTextField(std::shared_ptr<TableCellTextField> field) { m_textField = std::move(field); }

    BackgroundStyle backgroundStyle() const { return m_backgroundStyle; }
    virtual void setBackgroundStyle(BackgroundStyle style);

  private:
    std::string m_identifier;
    std::shared_ptr<TableCellImageView> m_imageView;
    std::shared_ptr<TableCellTextField> m_textField;
    BackgroundStyle m_backgroundStyle = BackgroundStyle::Normal;
};

}  // namespace platform
