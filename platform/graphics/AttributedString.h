#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Range.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"

namespace platform {

enum class TextAlignment : uint8_t { Left = 0, Right = 1, Center = 2, Justified = 3, Natural = 4 };

enum class LineBreakMode : uint8_t {
    WordWrapping = 0,
    CharWrapping = 1,
    Clipping = 2,
    TruncatingHead = 3,
    TruncatingTail = 4,
    TruncatingMiddle = 5,
};

// How a paragraph is set; all lengths in points, 0 meaning "natural" for the line heights.
struct ParagraphStyle {
    TextAlignment alignment = TextAlignment::Natural;
    LineBreakMode lineBreakMode = LineBreakMode::WordWrapping;
    double minimumLineHeight = 0;
    double maximumLineHeight = 0;
    double lineSpacing = 0;
    double minimumLineSpacing = 0;
    double maximumLineSpacing = 0;
    double paragraphSpacing = 0;
    bool operator==(const ParagraphStyle&) const = default;
};

// The callbacks through which a run delegate reserves room for an inline object; each receives
// the delegate's reference value.
struct RunDelegateCallbacks {
    int version = 1;
    void (*dealloc)(void* refCon) = nullptr;
    double (*getAscent)(void* refCon) = nullptr;
    double (*getDescent)(void* refCon) = nullptr;
    double (*getWidth)(void* refCon) = nullptr;
};

// Reserves ascent, descent and width for the characters it is set on, which draw nothing.
class RunDelegate {
  public:
    RunDelegate(const RunDelegateCallbacks& callbacks, void* refCon)
        : m_callbacks(callbacks), m_refCon(refCon) {}
    ~RunDelegate() {
        if (m_callbacks.dealloc) m_callbacks.dealloc(m_refCon);
    }
    RunDelegate(const RunDelegate&) = delete;
    RunDelegate& operator=(const RunDelegate&) = delete;

    void* refCon() const { return m_refCon; }
    double ascent() const { return m_callbacks.getAscent ? m_callbacks.getAscent(m_refCon) : 0; }
    double descent() const { return m_callbacks.getDescent ? m_callbacks.getDescent(m_refCon) : 0; }
    double width() const { return m_callbacks.getWidth ? m_callbacks.getWidth(m_refCon) : 0; }

  private:
    RunDelegateCallbacks m_callbacks;
    void* m_refCon;
};

// The attributes of a run of characters; an unset member is an attribute the run does not have.
struct TextAttributes {
    std::optional<Font> font;
    std::optional<Color> foregroundColor;
    std::optional<ParagraphStyle> paragraphStyle;
    std::optional<std::string> link;  // a URL or any string the caller chose
    std::shared_ptr<RunDelegate> runDelegate;
    std::optional<int> verticalGlyphForm;  // 1: vertical glyph forms

    // Sets every member that `other` has, keeping the rest.
    void merge(const TextAttributes& other);
    bool operator==(const TextAttributes&) const = default;
};

enum class AttributeKey {
    Font,
    ForegroundColor,
    ParagraphStyle,
    Link,
    RunDelegate,
    VerticalGlyphForm
};

// Text in UTF-16 units with attributes over ranges of it; indexes and ranges count units.
class AttributedString {
  public:
    AttributedString() = default;
    explicit AttributedString(std::u16string text, const TextAttributes& attributes = {});

    const std::u16string& string() const { return m_text; }
    uint64_t length() const { return m_text.size(); }
    bool empty() const { return m_text.empty(); }

    // The attributes at the index and, when asked, the whole run that has exactly them. An index
    // at or past the end gives no attributes.
    TextAttributes attributesAtIndex(uint64_t index, Range* effectiveRange = nullptr) const;

    // Calls the block for every run in the range over which the one attribute keeps its value
    // (set or not); the block may stop the walk.
    void enumerateAttribute(
        AttributeKey key, Range range,
        const std::function<void(const TextAttributes&, Range, bool& stop)>& block) const;

    AttributedString attributedSubstring(Range range) const;

    // Edits. Ranges are clipped to the text.
    void addAttributes(const TextAttributes& attributes, Range range);
    void setAttributes(const TextAttributes& attributes, Range range);
    void removeAttribute(AttributeKey key, Range range);
    void replaceCharacters(Range range, const AttributedString& replacement);
    void replaceCharacters(Range range, const std::u16string& replacement);  // takes the
                                                                             // attributes at range
    void insert(const AttributedString& text, uint64_t index);
    void append(const AttributedString& text);

    bool operator==(const AttributedString&) const = default;

  private:
    struct Run {
        uint64_t length;
        TextAttributes attributes;
        bool operator==(const Run&) const = default;
    };

    // Makes a run boundary at the index and returns the number of the run starting there.
    size_t splitAt(uint64_t index);
    void coalesce();
    Range clip(Range range) const;
    template <typename Edit>
    void editRuns(Range range, Edit edit);

    std::u16string m_text;
    std::vector<Run> m_runs;  // lengths sum to the text length; no empty runs
};

}  // namespace platform
