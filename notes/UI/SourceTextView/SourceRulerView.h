#pragma once

#include <vector>

#include "platform/ui/StyledTextView.h"
#include "platform/ui/View.h"

namespace zelvo {

class SourceTextView;

// The line numbers beside the source text: one number per line of the text, each level with the
// line it numbers as the text view lays its lines out (a line in a taller fallback face moves the
// numbers under it down with it).
class SourceRulerView : public platform::View {
  public:
    explicit SourceRulerView(const platform::Rect& frame = platform::Rect());

    double requiredThickness() const { return 38.0; }
    SourceTextView* sourceView() const { return m_sourceView; }
    void setSourceView(SourceTextView* view);  // not owned

    // One number to draw: its value and where its line's top is, in points from the ruler's top.
    struct Label {
        unsigned long number;
        double x;
        double top;
        bool operator==(const Label&) const = default;
    };
    // The numbers that meet a dirty stretch (its top and height, from the ruler's top) for lines
    // laid out as given, with the text scrolled `visibleTop` points down; a number of height
    // `numberHeight` is centred on its line.
    std::vector<Label> labelsFor(const std::vector<platform::StyledTextView::LineBox>& lines,
                                 double dirtyTop, double dirtyHeight, double visibleTop,
                                 double numberHeight) const;

    void drawRect(const platform::Rect& dirtyRect) override;

  private:
    SourceTextView* m_sourceView = nullptr;
};

}  // namespace zelvo
