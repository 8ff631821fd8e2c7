#pragma once

#include <vector>

#include "platform/ui/View.h"

namespace zelvo {

class SourceTextView;

// The line numbers beside the source text: every line is taken as 13 points high, whatever the
// text's real lines are, so with wrapped or taller lines the numbers drift from the text.
class SourceRulerView : public platform::View {
  public:
    static constexpr double lineHeight = 13.0;

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
    // The numbers for a dirty stretch (its top and height, from the ruler's top) with the text
    // scrolled `visibleTop` points down.
    std::vector<Label> labelsFor(double dirtyTop, double dirtyHeight, double visibleTop) const;

    void drawRect(const platform::Rect& dirtyRect) override;

  private:
    SourceTextView* m_sourceView = nullptr;
};

}  // namespace zelvo
