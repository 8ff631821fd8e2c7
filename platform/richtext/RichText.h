#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The attributed text an HTML page turns into when it is read as a document: what the programs
// need to write it again as plain text or RTF. A small model, not a layout: paragraphs of styled
// runs, with just enough about each paragraph (heading, list item) to write it.

// A picture taken from an <img>: its encoded bytes when they could be had, and the sizes.
struct RichImage {
    enum class Format { Unknown, PNG, JPEG };
    Format format = Format::Unknown;
    std::vector<uint8_t> data;  // empty when the source could not be read
    // The picture's own pixels (from the file's header); 0 when unknown.
    uint32_t pixelWidth = 0;
    uint32_t pixelHeight = 0;
    // The size the page asks for (width/height attributes, CSS pixels); absent when not given.
    std::optional<uint32_t> requestedWidth;
    std::optional<uint32_t> requestedHeight;
    std::string source;  // the src attribute as written
    std::string alt;

    bool isEmbeddable() const { return format != Format::Unknown && !data.empty(); }
    bool operator==(const RichImage&) const = default;
};

struct CharacterStyle {
    enum class Script { Baseline, Superscript, Subscript };
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    Script script = Script::Baseline;
    std::optional<std::string> link;  // the href of an enclosing <a>

    bool operator==(const CharacterStyle&) const = default;
};

// A run of text in one style, or one picture. Text is UTF-8; a "\n" inside it is a line break
// within the paragraph (<br>), not a paragraph end.
struct RichRun {
    std::string text;
    CharacterStyle style;
    std::optional<RichImage> image;

    bool operator==(const RichRun&) const = default;
};

struct RichParagraph {
    int headingLevel = 0;  // 1 to 6 for <h1>..<h6>, else 0
    // The marker of a list item ("•", "3."), on the item's first paragraph only.
    std::optional<std::string> listMarker;
    int listDepth = 0;   // how many lists enclose the paragraph
    int quoteDepth = 0;  // how many <blockquote>s enclose it
    std::vector<RichRun> runs;

    bool operator==(const RichParagraph&) const = default;
};

struct RichText {
    std::vector<RichParagraph> paragraphs;
};

}  // namespace platform
