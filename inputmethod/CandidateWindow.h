#pragma once

#include <memory>
#include <optional>
#include <string>

#include "inputmethod/Candidate.h"
#include "inputmethod/CandidatePresenter.h"
#include "inputmethod/CandidateView.h"
#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Window.h"
#include "textview/TXTextView.h"

namespace quillora {

// The floating, borderless window that lists the current candidates, numbered 1 to at most 9.
// Its content is one text view turned by −90°, so each numbered line reads as a vertical column
// of Mongolian, the first at the left. It sits just below the caret, on the caret's screen. One
// per process, held by the application delegate; main thread only.
class CandidateWindow : public CandidatePresenter {
  public:
    // The size of the candidate font until the preferences set theirs.
    static constexpr double DefaultFontSize = 22.0;
    // The distance between the columns.
    static constexpr double LineHeight = 30.0;

    CandidateWindow();
    ~CandidateWindow() override;
    CandidateWindow(const CandidateWindow&) = delete;
    CandidateWindow& operator=(const CandidateWindow&) = delete;

    // Lays the list out, places the window by the caret rectangle (screen coordinates) and shows
    // it without taking the focus. An empty list hides the window and keeps the stored list.
    void showCandidates(const CandidateList& candidates, platform::Rect caretRect) override;
    void hideCandidates() override;
    void moveToCaret(platform::Rect caretRect) override;
    bool followsCaret() const override { return true; }
    // Starts as NO, although nothing is on screen before the first show.
    bool isHidden() const override { return m_isHidden; }
    void setIsHidden(bool hidden) { m_isHidden = hidden; }

    // Whether the word begins with U+202F (narrow no-break space), which joins a suffix to the
    // word before it: such a candidate is numbered without the blank. An empty word does not.
    bool startWith202F(const std::u16string& word) const;

    // The numbered lines of a list with the given attributes: "k. word", or "k.-word" for a
    // suffix piece (see shownWord), every line but the last followed by a blank and a line feed.
    static platform::AttributedString candidateString(const CandidateList& candidates,
                                                      const platform::TextAttributes& attributes);

    // The font the window starts with: the Mongolian display font (the system font without
    // it). The preferences keep its family and size until the user chooses others.
    static platform::Font defaultFont();
    const platform::Font& font() const { return m_font; }
    // Used for measuring and given to the text view.
    void setFont(const platform::Font& font);
    platform::Color bgColor() const { return m_view->bgColor(); }
    void setBgColor(const platform::Color& color) { m_view->setBgColor(color); }
    void setRadius(float radius) { m_view->setRadius(radius); }
    platform::Color fgColor() const { return m_fgColor; }
    void setFgColor(const platform::Color& color) { m_fgColor = color; }
    platform::Color hlColor() const { return m_hlColor; }
    void setHlColor(const platform::Color& color) { m_hlColor = color; }
    // The list last shown.
    const CandidateList& wordArray() const { return m_wordArray; }
    void setWordArray(CandidateList list) { m_wordArray = std::move(list); }
    const std::shared_ptr<TXTextView>& seCandidataView() const { return m_seCandidataView; }
    void setSeCandidataView(std::shared_ptr<TXTextView> view) {
        m_seCandidataView = std::move(view);
        m_measuredText.reset();
    }

    // The attributes of the candidate text as measured.
    const platform::TextAttributes& attributes() const { return m_attr; }
    platform::Window& window() const { return *m_window; }
    const std::shared_ptr<CandidateView>& backgroundView() const { return m_view; }

  private:
    // The window's frame for the list on show by the caret.
    platform::Rect frameAt(platform::Rect caretRect) const;

    // Owned. The window holds the text view as its content view as well.
    std::unique_ptr<platform::Window> m_window;
    std::shared_ptr<CandidateView> m_view;
    platform::TextAttributes m_attr;
    platform::Color m_fgColor = platform::Color::whiteColor();
    platform::Color m_hlColor = platform::Color::blueColor();
    platform::Font m_font;
    CandidateList m_wordArray;
    platform::Size m_shownSize;  // the measured text of the list on show
    // The text m_shownSize was measured for and the view shows.
    std::optional<platform::AttributedString> m_measuredText;
    std::shared_ptr<TXTextView> m_seCandidataView;
    bool m_isHidden = false;
};

}  // namespace quillora
