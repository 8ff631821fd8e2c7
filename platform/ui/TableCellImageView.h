#pragma once

#include <optional>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace platform {

// NSImageView inside a drawn cell: shows its image scaled into its bounds, or nothing.
class TableCellImageView : public View {
  public:
    explicit TableCellImageView(const Rect& frame = Rect()) : View(frame) {}

    const std::optional<Image>& image() const { return m_image; }
    void setImage(std::optional<Image> image);

    void drawRect(const Rect& dirtyRect) override;

  private:
    std::optional<Image> m_image;
};

}  // namespace platform
