#pragma once

namespace platform::imk {

// The text-input highlight styles a controller asks marked-text attributes for (the values of
// kTSMHiliteRawText and its kin).
struct HighlightStyle {
    static constexpr int RawText = 2;
    static constexpr int SelectedRawText = 3;
    static constexpr int ConvertedText = 4;
    static constexpr int SelectedConvertedText = 5;
};

enum class UnderlineStyle { None = 0, Single = 1, Thick = 2 };

// How marked text is drawn in the client: an underline, thick for the selected clause, over
// one clause segment.
struct MarkAttributes {
    UnderlineStyle underline = UnderlineStyle::Single;
    int markedClauseSegment = 0;

    bool operator==(const MarkAttributes&) const = default;
};

}  // namespace platform::imk
