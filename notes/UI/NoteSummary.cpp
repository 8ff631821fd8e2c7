#include "notes/UI/NoteSummary.h"

std::u16string noteSummaryFromText(std::u16string_view text, size_t limit) {
    if (text.size() <= limit) return std::u16string(text);
    size_t end = limit;
    // The last unit kept is the first half of a pair whose second half would be cut off.
    if (end > 0 && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF && text[end] >= 0xDC00 &&
        text[end] <= 0xDFFF)
        --end;
    return std::u16string(text.substr(0, end));
}
