#include "notes/UI/InfoViewController.h"

#include "notes/UI/Extend/BackgroundView.h"

namespace zelvo {

using platform::View;

platform::TextField* InfoViewController::wordCountLabel() {
    view();
    return m_wordCountLabel.get();
}

// The interface file: a light strip 40 points wide holding one label along its height.
void InfoViewController::loadView() {
    auto panel = std::make_shared<BackgroundView>(platform::Rect(0, 0, 40, 600));
    panel->setBackgroundColor(platform::Color::calibratedRGB(0.96, 0.96, 0.96));
    m_wordCountLabel = platform::TextField::labelWithString("", platform::Rect(2, 4, 36, 592));
    m_wordCountLabel->setFont(platform::Font::systemFont(platform::Font::labelFontSize()));
    m_wordCountLabel->setAutoresizingMask(View::ViewWidthSizable | View::ViewHeightSizable);
    panel->addSubview(m_wordCountLabel);
    setView(panel);
}

}  // namespace zelvo
