#pragma once

#include "inputmethod/Candidate.h"
#include "platform/graphics/Geometry.h"

namespace quillora {

// What an input controller asks of the one candidate window of the process. The candidate
// window (a vertical list drawn by the text view) and any other presenter of a candidate list
// implement it; all controllers share the one instance their delegate gives them.
class CandidatePresenter {
  public:
    virtual ~CandidatePresenter() = default;

    // Shows the candidates numbered 1 to n next to the caret; `caretRect` is the caret's line
    // rectangle in screen coordinates (origin at the lower left of the main screen, y up), as
    // the client reports it. An empty list hides the presenter instead and keeps what it
    // showed before.
    virtual void showCandidates(const CandidateList& candidates, platform::Rect caretRect) = 0;
    virtual void hideCandidates() = 0;
    // Places what is shown by a new caret rectangle (as for showCandidates), without laying the
    // list out again. Presenters the framework places itself do nothing.
    virtual void moveToCaret(platform::Rect) {}
    // Whether the presenter is placed by the caret rectangle, so that a list must wait for the
    // caret the client reports for the marked text it was just sent; false for presenters the
    // framework places itself.
    virtual bool followsCaret() const { return false; }
    // Whether the list is off screen. The candidate window answers NO before its first hide.
    virtual bool isHidden() const = 0;
};

}  // namespace quillora
