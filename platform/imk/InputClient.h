#pragma once

#include <cstdint>
#include <string>

#include "platform/foundation/Range.h"
#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Geometry.h"
#include "platform/imk/MarkAttributes.h"

namespace platform::imk {

// The replacement range that means "wherever the client's selection or marked text is"
// (location and length NSNotFound).
inline constexpr Range kNoRange{NotFound, NotFound};

// The text-input side of a client application as an input controller sees it. Ranges count
// UTF-16 units. Implemented by the IBus backend (preedit, commit, caret) and by the tests' fake.
//
// Contract of a real client, which the controller relies on: inserting text replaces the marked
// text (when there is any) and leaves no marked text; setting marked text replaces the previous
// marked text; an empty marked text removes it.
class InputClient {
  public:
    virtual ~InputClient() = default;

    virtual void insertText(const std::u16string& text, Range replacementRange) = 0;
    // `selectionRange` is the caret (or selection) inside the marked text; callers keep it within
    // the text.
    virtual void setMarkedText(const std::u16string& text, const MarkAttributes& attributes,
                               Range selectionRange, Range replacementRange) = 0;
    // The attributes of the character at `index` of the marked text, and in
    // `lineHeightRectangle` the rectangle of its line in screen coordinates (origin at the lower
    // left of the main screen, y up).
    virtual TextAttributes attributesForCharacterIndex(std::uint64_t index,
                                                       Rect* lineHeightRectangle) = 0;
    // Asks the client to type through the named keyboard layout while this input method is on.
    virtual void overrideKeyboardWithKeyboardNamed(const std::string& keyboardUniqueName) = 0;
    // Whether the caret rectangle is out of date: the client has marked text that it has not yet
    // drawn and reported the caret for. The controller then hears caretRectangleChanged once the
    // client has reported (or once it is clear it will not). Clients that answer with the new
    // caret at once never are, nor are those whose caret is known to stay put (the controller
    // hears caretRectangleChanged should it move after all).
    virtual bool caretRectangleIsPending() const { return false; }
};

}  // namespace platform::imk
