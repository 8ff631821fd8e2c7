#pragma once

#include <memory>
#include <optional>
#include <string>

#include "notes/store/NoteObject.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/ui/TableCellView.h"

class TXTextView;

namespace platform {
class TableCellImageView;
class TableCellTextField;
}  // namespace platform

namespace zelvo {

// A row of the note list: the date on its background, the group's status image, and the summary
// drawn by a text view turned by −90°, so its lines read as vertical Mongolian columns, left to
// right. The selected row shows the highlighted images and white text.
class NoteCellView : public platform::TableCellView {
  public:
    static constexpr const char* Identifier = "NoteCellView";
    static constexpr double RowHeight = 132;
    static constexpr double SummaryFontSize = 14;
    static constexpr double SummaryLineHeight = 25;
    static constexpr platform::Color SummaryColor =
        platform::Color::calibratedRGB(0.157, 0.173, 0.204, 1.0);

    // The cell as its interface file lays it out, prepared (awakeFromNib).
    static std::shared_ptr<NoteCellView> makeFromInterface();

    explicit NoteCellView(const platform::Rect& frame);
    ~NoteCellView() override;
    // initWithFrame:withSummary:, which nothing calls: the summary is not used.
    NoteCellView(const platform::Rect& frame, const std::string& summary);

    // Turns and styles the summary view, once.
    void awakeFromNib();
    bool isLoaded() const { return m_isLoaded; }

    // Normal: the normal images and the summary colour; emphasized: the highlighted images and
    // white; any other style: the normal image only.
    void setBackgroundStyle(platform::BackgroundStyle style) override;

    const std::shared_ptr<platform::TableCellTextField>& dateLabel() const { return m_dateLabel; }
    const std::shared_ptr<platform::TableCellImageView>& dateBgImageView() const {
        return m_dateBgImageView;
    }
    const std::shared_ptr<platform::TableCellImageView>& statusImageView() const {
        return m_statusImageView;
    }
    const std::shared_ptr<TXTextView>& seTextView() const { return m_seTextView; }

    using OptionalImage = std::optional<platform::Image>;
    void setNormalImage(OptionalImage image) { m_normalImage = std::move(image); }
    void setHighLightedImage(OptionalImage image) { m_highLightedImage = std::move(image); }
    void setNormalStatusImage(OptionalImage image) { m_normalStatusImage = std::move(image); }
    void setHighLightedStatusImage(OptionalImage image) {
        m_highLightedStatusImage = std::move(image);
    }
    void setNormalDateBgImage(OptionalImage image) { m_normalDateBgImage = std::move(image); }
    void setHighLightedDateBgImage(OptionalImage image) {
        m_highLightedDateBgImage = std::move(image);
    }
    const OptionalImage& normalStatusImage() const { return m_normalStatusImage; }
    const OptionalImage& normalDateBgImage() const { return m_normalDateBgImage; }
    const OptionalImage& highLightedDateBgImage() const { return m_highLightedDateBgImage; }

    const std::optional<NoteObject>& data() const { return m_data; }
    void setData(std::optional<NoteObject> data) { m_data = std::move(data); }

    void setFrame(const platform::Rect& frame) override;

  private:
    void layout();

    std::shared_ptr<platform::TableCellTextField> m_dateLabel;
    std::shared_ptr<platform::TableCellImageView> m_dateBgImageView;
    std::shared_ptr<platform::TableCellImageView> m_statusImageView;
    std::shared_ptr<TXTextView> m_seTextView;
    OptionalImage m_normalImage, m_highLightedImage;
    OptionalImage m_normalStatusImage, m_highLightedStatusImage;
    OptionalImage m_normalDateBgImage, m_highLightedDateBgImage;
    std::optional<NoteObject> m_data;
    bool m_isLoaded = false;
};

}  // namespace zelvo
