#pragma once

#include <cstdint>
#include <memory>

class TXTextView;
class TXLinkText;

// What a text view tells its delegate. Every message is optional: the view sends one only when
// respondsToSelector answers yes for it, so a delegate overrides the messages it wants and says
// so there.
class TXTextViewDelegate {
  public:
    enum class Selector {
        textViewDidChangeSelection,
        textViewDidEndSelecting,
        textViewClickedOnLink,
        textViewLongPressedOnLink,
        textViewShouldEndEditing,
        textViewDidEndEditing,
        textViewDidChange,
    };

    virtual ~TXTextViewDelegate() = default;

    // Whether this delegate implements the message; none by default.
    virtual bool respondsToSelector(Selector) const { return false; }

    virtual void textViewDidChangeSelection(TXTextView&) {}
    virtual void textViewDidEndSelecting(TXTextView&) {}
    // The link under the pointer and the string index there; the answers are not used.
    virtual bool textViewClickedOnLink(TXTextView&, const std::shared_ptr<TXLinkText>&, int64_t) {
        return false;
    }
    virtual bool textViewLongPressedOnLink(TXTextView&, const std::shared_ptr<TXLinkText>&,
                                           int64_t) {
        return false;
    }
    virtual bool textViewShouldEndEditing(TXTextView&) { return true; }
    virtual void textViewDidEndEditing(TXTextView&) {}
    virtual void textViewDidChange(TXTextView&) {}
};
