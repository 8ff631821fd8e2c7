#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The plain-text summary the note list shows for a note: its first 300 UTF-16 units. A cut never
// splits a surrogate pair (UTF-8 cannot store half of one): it falls before the pair instead.
inline constexpr size_t NoteSummaryLength = 300;
std::u16string noteSummaryFromText(std::u16string_view text, size_t limit = NoteSummaryLength);
