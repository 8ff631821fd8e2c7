#include "inputmethod/CandidateWindow.h"

#include <algorithm>
#include <utility>

#include "inputmethod/CandidatePlacement.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/graphics/TextFramesetter.h"
#include "textview/TXDescription.h"

namespace quillora {

using platform::Color;
using platform::Font;
using platform::Rect;

namespace {

// The word of a candidate, as string formatting shows a missing one.
std::u16string wordOf(const Candidate& candidate) {
    auto it = candidate.find(kCandidateWordKey);
    return platform::utf16FromUtf8(it == candidate.end() ? "(null)" : it->second);
}

}  // namespace

CandidateWindow::CandidateWindow()
    : m_window(std::make_unique<platform::Window>(Rect(), platform::WindowStyleMask::Borderless)),
      m_font(defaultFont()) {
    m_attr.foregroundColor = Color::whiteColor();
    m_attr.font = m_font;

    // Above everything, screen savers included, as a list the typist must see.
    m_window->setAlphaValue(1.0);
    m_window->setLevel(platform::WindowLevel::ScreenSaver + 1);
    m_window->setHasShadow(true);
    m_window->setOpaque(false);

    Rect contentFrame = m_window->contentView()->frame();
    m_view = std::make_shared<CandidateView>(contentFrame);
    m_seCandidataView = std::make_shared<TXTextView>(contentFrame);
    m_window->setContentView(m_seCandidataView);
    m_seCandidataView->setFont(m_font);
    m_seCandidataView->rotateByAngle(-90.0);
    m_seCandidataView->setLineHeight(LineHeight);
    m_seCandidataView->setTextColor(Color::blackColor());
}

CandidateWindow::~CandidateWindow() = default;

Font CandidateWindow::defaultFont() {
    if (auto font = Font::fontWithName(Font::DisplayFontFamily, DefaultFontSize)) return *font;
    return Font::systemFont(DefaultFontSize);
}

bool CandidateWindow::startWith202F(const std::u16string& word) const {
    return isSuffixPiece(word);
}

platform::AttributedString CandidateWindow::candidateString(
    const CandidateList& candidates, const platform::TextAttributes& attributes) {
    std::u16string text;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        std::u16string word = wordOf(candidates[i]);
        text += platform::utf16FromUtf8(std::to_string(i + 1));
        text += isSuffixPiece(word) ? u"." : u". ";
        text += shownWord(word);
        if (i + 1 < candidates.size()) text += u" \n";
    }
    return platform::AttributedString(std::move(text), attributes);
}

void CandidateWindow::showCandidates(const CandidateList& candidates, Rect caretRect) {
    if (candidates.empty()) {
        hideCandidates();
        return;
    }
    m_wordArray = candidates;
    m_attr.foregroundColor = m_fgColor;
    m_attr.verticalGlyphForm = 1;

    platform::AttributedString text = candidateString(candidates, m_attr);
    // A key that leaves the list as it was (the longer key finds the same words) keeps the
    // measured size and the view's text: shaping them again is most of a show.
    if (!m_measuredText || *m_measuredText != text) {
        platform::Size size = platform::boundingSizeOfAttributedString(text);
        // The view draws every line LineHeight high whatever the font's own height: with a small
        // font the measured height would cut the last columns off, so never leave less room
        // than that.
        size.height = std::max(size.height, LineHeight * static_cast<double>(candidates.size()));
        if (platform::isDebugLogging()) platform::logDebug("当前的宽度：" + TXStringFromSize(size));
        if (m_seCandidataView) m_seCandidataView->setText(text.string());
        m_shownSize = size;
        m_measuredText = std::move(text);
    }
    // A window already on screen where it belongs is left alone: moving or showing it again
    // would only redraw what is there (a new text has asked for its own drawing).
    const Rect frame = frameAt(caretRect);
    const bool shown = !m_isHidden && m_window->isVisible();
    if (!shown || frame != m_window->frame()) m_window->setFrame(frame, true);
    if (platform::isDebugLogging()) {
        platform::logDebug("后：最终的大小：" + TXStringFromRect(m_window->frame()));
    }
    if (!shown) m_window->orderFront();
    m_isHidden = false;
}

void CandidateWindow::moveToCaret(Rect caretRect) {
    if (m_isHidden || m_wordArray.empty()) return;
    const Rect frame = frameAt(caretRect);
    if (frame != m_window->frame()) m_window->setFrame(frame, true);
}

Rect CandidateWindow::frameAt(Rect caretRect) const {
    Rect placed = tuningFrameForScreen(m_shownSize, caretRect, m_wordArray.size());
    if (platform::isDebugLogging())
        platform::logDebug("前：最终的大小：" + TXStringFromRect(placed));
    // The text is turned by −90°: its width runs down the screen.
    return Rect(placed.origin.x, placed.origin.y, placed.size.height, placed.size.width);
}

void CandidateWindow::hideCandidates() {
    m_isHidden = true;
    m_window->orderOut();
}

void CandidateWindow::setFont(const Font& font) {
    m_font = font;
    m_measuredText.reset();
    m_attr.font = font;
    if (m_seCandidataView) m_seCandidataView->setFont(font);
}

}  // namespace quillora
