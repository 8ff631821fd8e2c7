#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// NSRegularExpression: a pattern in ICU's syntax, compiled once, searched in UTF-8 text. A
// compiled expression may be shared and used by several threads at once.
class RegularExpression {
  public:
    enum Options : unsigned {
        None = 0,
        CaseInsensitive = 1u << 0,
    };

    // Absent when the pattern does not compile.
    static std::optional<RegularExpression> regularExpressionWithPattern(std::string_view pattern,
                                                                         unsigned options = None);

    const std::string& pattern() const { return m_pattern; }

    // Whether the pattern matches anywhere in the text (firstMatchInString: gives a match).
    bool firstMatch(std::string_view text) const;
    // The text of each match, in order (matchesInString:).
    std::vector<std::string> matches(std::string_view text) const;
    // The text of the last match (matchesInString:'s last one), or absent when none; cheaper
    // than matches() when only the last counts.
    std::optional<std::string> lastMatch(std::string_view text) const;

  private:
    struct Compiled;
    RegularExpression(std::string pattern, std::shared_ptr<const Compiled> compiled)
        : m_pattern(std::move(pattern)), m_compiled(std::move(compiled)) {}

    std::string m_pattern;
    std::shared_ptr<const Compiled> m_compiled;
};

}  // namespace platform
