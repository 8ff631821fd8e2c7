#include "platform/foundation/RegularExpression.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace platform {

struct RegularExpression::Compiled {
    std::unique_ptr<icu::RegexPattern> pattern;
};

namespace {

std::string utf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

}  // namespace

std::optional<RegularExpression> RegularExpression::regularExpressionWithPattern(
    std::string_view pattern, unsigned options) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    uint32_t flags = (options & CaseInsensitive) ? UREGEX_CASE_INSENSITIVE : 0;
    auto compiled = std::make_shared<Compiled>();
    compiled->pattern.reset(icu::RegexPattern::compile(
        icu::UnicodeString::fromUTF8(icu::StringPiece(pattern.data(), pattern.size())), flags,
        parseError, status));
    if (U_FAILURE(status) || !compiled->pattern) return std::nullopt;
    return RegularExpression(std::string(pattern), std::move(compiled));
}

bool RegularExpression::firstMatch(std::string_view text) const {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString input =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), text.size()));
    std::unique_ptr<icu::RegexMatcher> matcher(m_compiled->pattern->matcher(input, status));
    return U_SUCCESS(status) && matcher->find(status) && U_SUCCESS(status);
}

std::vector<std::string> RegularExpression::matches(std::string_view text) const {
    std::vector<std::string> found;
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString input =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), text.size()));
    std::unique_ptr<icu::RegexMatcher> matcher(m_compiled->pattern->matcher(input, status));
    if (U_FAILURE(status)) return found;
    while (matcher->find(status) && U_SUCCESS(status)) {
        found.push_back(utf8(matcher->group(status)));
        if (U_FAILURE(status)) break;
    }
    return found;
}

std::optional<std::string> RegularExpression::lastMatch(std::string_view text) const {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString input =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), text.size()));
    std::unique_ptr<icu::RegexMatcher> matcher(m_compiled->pattern->matcher(input, status));
    if (U_FAILURE(status)) return std::nullopt;
    int32_t start = -1;
    int32_t end = -1;
    while (matcher->find(status) && U_SUCCESS(status)) {
        start = matcher->start(status);
        end = matcher->end(status);
    }
    if (start < 0 || U_FAILURE(status)) return std::nullopt;
    return utf8(input.tempSubStringBetween(start, end));
}

}  // namespace platform
