#include "notes/UI/UnicodeViewController.h"

#include "notes/UI/Extend/BackgroundView.h"

namespace zelvo {

using platform::View;

platform::PlainTextView* UnicodeViewController::unicodeTextView() {
    view();
    return m_unicodeTextView.get();
}

// The interface file: a white panel holding a read-only text area with a small margin.
void UnicodeViewController::loadView() {
    auto panel = std::make_shared<BackgroundView>(platform::Rect(0, 0, 600, 96));
    panel->setBackgroundColor(platform::Color::whiteColor());
    m_unicodeTextView = std::make_shared<platform::PlainTextView>(platform::Rect(4, 4, 592, 88));
    m_unicodeTextView->setEditable(false);
    m_unicodeTextView->setFont(platform::Font::fontWithName("DejaVu Sans Mono", 12));
    m_unicodeTextView->setAutoresizingMask(View::ViewWidthSizable | View::ViewHeightSizable);
    panel->addSubview(m_unicodeTextView);
    setView(panel);
}

}  // namespace zelvo
