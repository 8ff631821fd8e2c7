#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/richtext/RichText.h"

namespace platform {

// Turns the events of a walk over an HTML document (blocks opening and closing, text, breaks,
// pictures) into paragraphs the way a browser lays them out: white space collapses to one blank
// and vanishes at the edges of a block, nested blocks do not make empty lines, a <br> that ends a
// block makes no line of its own, and an empty block makes no paragraph unless a <br> holds it
// open. Knows nothing of the parser that drives it.
class RichTextBuilder {
  public:
    // Any block element (p, div, pre, tr...): the paragraph in progress ends.
    void beginBlock();
    void endBlock();
    void beginHeading(int level);
    void endHeading();
    void beginQuote();
    void endQuote();
    // `start` is the number of an ordered list's first item.
    void beginList(bool ordered, int start = 1);
    void endList();
    void beginListItem();
    void endListItem();

    // Text as it stands in the document; `preformatted` keeps its white space and line ends.
    void text(std::string_view text, const CharacterStyle& style, bool preformatted = false);
    void lineBreak(const CharacterStyle& style);
    // Between the cells of a table row.
    void cellSeparator(const CharacterStyle& style);
    void image(RichImage image, const CharacterStyle& style);

    // The paragraphs made so far; the builder starts again empty.
    RichText finish();

  private:
    struct ListState {
        bool ordered;
        int next;
    };

    RichParagraph& paragraph();
    void append(std::string_view text, const CharacterStyle& style);
    void closeParagraph();
    // A collapsed blank is written only once content follows it, in the style of its own text.
    void flushPendingSpace();
    // A list item whose marker no text has taken yet still shows the marker on a line of its own.
    void flushPendingMarker();
    std::string nextMarker();

    RichText m_text;
    std::optional<RichParagraph> m_open;
    bool m_openHasContent = false;
    bool m_pendingSpace = false;
    CharacterStyle m_pendingSpaceStyle;
    std::optional<std::string> m_pendingMarker;
    std::vector<ListState> m_lists;
    int m_headingLevel = 0;
    int m_quoteDepth = 0;
};

}  // namespace platform
