#pragma once

#include <cstdint>
#include <string>

#include "platform/foundation/Range.h"

namespace zelvo {

// The tokenizer's states, which are also the kinds of the tokens it reports.
enum SourceTokenKind : uint32_t {
    SourceTokenNormal = 0,
    SourceTokenSingleQuoted = 1,
    SourceTokenDoubleQuoted = 2,
    SourceTokenLineComment = 3,
    SourceTokenBlockComment = 4,
    SourceTokenPreprocessor = 5,
};

// Receives each token: the whole string, the token's kind, its range in the whole string (UTF-16
// units), and the caller's value.
using SourceParseCallback = void (*)(const std::u16string& string, uint32_t kind,
                                     platform::Range range, void* userInfo);

// Splits the range of the string into tokens by the comment and string rules of a language:
//   0  strings only                       3  // and /* */ comments
//   1, 2  as 3, plus "#" lines             4  -- line and --[[ ]] block comments
//   5  "#" line comments
// Strings and block comments run on across lines; a quote after a backslash does not end a
// string. Nothing happens for a range beyond the string, an empty range or no callback.
void parseSource(const std::u16string& string, platform::Range range, int32_t language,
                 SourceParseCallback callback, void* userInfo);

}  // namespace zelvo
