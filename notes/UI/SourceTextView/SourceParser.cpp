#include "notes/UI/SourceTextView/SourceParser.h"

namespace zelvo {

namespace {

bool hasCStyleComments(int32_t language) {
    return language >= 1 && language <= 3;
}

}  // namespace

void parseSource(const std::u16string& string, platform::Range range, int32_t language,
                 SourceParseCallback callback, void* userInfo) {
    if (range.max() > string.size() || range.length == 0 || !callback) return;
    // A private copy, so a callback that changes the text's attributes cannot disturb the walk.
    const std::u16string units = string.substr(range.location, range.length);
    const uint64_t count = units.size();
    uint32_t state = SourceTokenNormal;
    uint64_t boundary = 0;

    for (uint64_t i = 0; i < count; ++i) {
        const char16_t c = units[i];
        const bool hasNext = i + 1 < count;
        const char16_t next = hasNext ? units[i + 1] : 0;
        const uint32_t before = state;
        const bool escaped = i > 0 && units[i - 1] == u'\\';

        switch (c) {
            case u'\n':
                if (state == SourceTokenLineComment || state == SourceTokenPreprocessor) {
                    state = SourceTokenNormal;
                }
                break;
            case u'"':
                if ((state == SourceTokenNormal || state == SourceTokenDoubleQuoted) && !escaped) {
                    state =
                        state == SourceTokenNormal ? SourceTokenDoubleQuoted : SourceTokenNormal;
                }
                break;
            case u'\'':
                if ((state == SourceTokenNormal || state == SourceTokenSingleQuoted) && !escaped) {
                    state =
                        state == SourceTokenNormal ? SourceTokenSingleQuoted : SourceTokenNormal;
                }
                break;
            case u'#':
                if (state == SourceTokenNormal) {
                    if (language == 1 || language == 2) state = SourceTokenPreprocessor;
                    if (language == 5) state = SourceTokenLineComment;
                }
                break;
            case u'/':
                if (hasCStyleComments(language) &&
                    (state == SourceTokenNormal || state == SourceTokenPreprocessor) && hasNext) {
                    if (next == u'/') {
                        state = SourceTokenLineComment;
                        ++i;
                    } else if (next == u'*') {
                        state = SourceTokenBlockComment;
                        ++i;
                    }
                }
                break;
            case u'*':
                if (hasCStyleComments(language) && state == SourceTokenBlockComment &&
                    next == u'/') {
                    state = SourceTokenNormal;
                    ++i;
                }
                break;
            case u'-':
                if (language == 4 && state == SourceTokenNormal && next == u'-') {
                    if (i + 3 < count && units[i + 2] == u'[' && units[i + 3] == u'[') {
                        state = SourceTokenBlockComment;
                        i += 3;
                    } else {
                        state = SourceTokenLineComment;
                        ++i;
                    }
                }
                break;
            case u']':
                if (language == 4 && state == SourceTokenBlockComment && next == u']') {
                    state = SourceTokenNormal;
                    ++i;
                }
                break;
            default:
                break;
        }

        if (state == before || i == 0) continue;
        // Where the token that ends here stops: openers belong to the token they open, closers
        // (a quote, "*/", "]]", the newline of a "#" line) to the token they close, and a line
        // comment stops before its newline.
        uint64_t end;
        if (state == SourceTokenBlockComment) {
            end = language == 4 ? i - 3 : i - 1;
        } else if (state == SourceTokenLineComment) {
            end = c == u'#' ? i : i - 1;
        } else if (state == SourceTokenNormal && before != SourceTokenLineComment) {
            end = i + 1;
        } else {
            end = i;
        }
        callback(string, before, platform::Range{range.location + boundary, end - boundary},
                 userInfo);
        boundary = end;
    }
    if (boundary < count) {
        callback(string, state, platform::Range{range.location + boundary, count - boundary},
                 userInfo);
    }
}

}  // namespace zelvo
