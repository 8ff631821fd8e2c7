#include "inputmethod/wordbuilder/Util.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "inputmethod/MongolianConverter/MongolianConverter.h"
#include "platform/foundation/RegularExpression.h"
#include "platform/foundation/UnicodeString.h"

namespace quillora::wordbuilder {

namespace {

using platform::RegularExpression;

// The expressions are constant, so each is compiled once for the process.
struct Expressions {
    RegularExpression dagbar = compile("^\\*.*");
    RegularExpression ehi = compile("^\\^.*");
    RegularExpression tugs = compile(".*\\^$");
    RegularExpression hags = compile(".*\\*$");
    RegularExpression salanh = compile("^S.*");
    RegularExpression vowel = compile("([aeqvou])", RegularExpression::CaseInsensitive);
    // Without vowel letters the class comes from these. In ICU's syntax "^" here is the
    // start-of-text anchor and "*" repeats the letter before it, so "(gF^)" and "(g^)" never
    // match and "(gG*)" matches any "g"; they are kept as they are, since they decide the class
    // of every vowel-less piece.
    RegularExpression front[2] = {compile("(gF^)"), compile("(gG*)")};
    RegularExpression back[3] = {compile("(gD)"), compile("(gF*)"), compile("(g^)")};

    static RegularExpression compile(const char* pattern, unsigned options = 0) {
        return *RegularExpression::regularExpressionWithPattern(pattern, options);
    }
};

const Expressions& expressions() {
    static const Expressions shared;
    return shared;
}

// NSString's integerValue: blanks, an optional sign, then the leading digits; 0 without digits.
int32_t leadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value =
            std::min<int64_t>(value * 10 + (text[i] - '0'), std::numeric_limits<int32_t>::max());
    }
    return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<std::string> Util::key2char(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    std::string result;
    for (char32_t c : platform::utf32FromUtf8(*text)) {
        const std::string character = platform::utf8FromCodePoint(c);
        auto mapped = MongolianConverter::Convert_English_To_Mongolian(character);
        result += mapped ? *mapped : character;
    }
    return result;
}

Word Util::parseWord(std::string_view token) {
    std::string_view marked = token.substr(0, token.find('_'));
    Word word;
    word.setIsDagbar(isDagbar(marked));
    word.setIsEhi(isEhi(marked));
    word.setIsTugs(isTugs(marked));
    word.setIsHags(isHags(marked));
    word.setIsSalanh(isSalanh(marked));
    if (size_t separator = token.find('_'); separator != std::string_view::npos) {
        std::string_view rest = token.substr(separator + 1);
        word.setSex(leadingInteger(rest.substr(0, rest.find('_'))));
        word.setIsNeedValidateSex(true);
    } else {
        word.setSex(getSex(marked));
    }
    word.setKeyWord(getRealKeyword(marked));
    return word;
}

bool Util::isDagbar(std::string_view text) {
    return expressions().dagbar.firstMatch(text);
}

bool Util::isSalanh(std::string_view text) {
    return expressions().salanh.firstMatch(text);
}

bool Util::isEhi(std::string_view text) {
    return expressions().ehi.firstMatch(text);
}

bool Util::isTugs(std::string_view text) {
    return expressions().tugs.firstMatch(text);
}

bool Util::isHags(std::string_view text) {
    return expressions().hags.firstMatch(text);
}

int32_t Util::getSex(std::string_view text) {
    const Expressions& e = expressions();
    if (auto last = e.vowel.lastMatch(text)) {
        return *last == "a" || *last == "q" || *last == "v" ? 1 : 2;
    }
    for (const auto& expression : e.front) {
        if (expression.firstMatch(text)) return 2;
    }
    for (const auto& expression : e.back) {
        if (expression.firstMatch(text)) return 1;
    }
    return 0;
}

std::string Util::getRealKeyword(std::string_view text) {
    std::string letters;
    for (char c : text) {
        if (c != '*' && c != '^') letters += c;
    }
    return letters;
}

bool Util::validate(const Word& a, const Word& b) {
    if (!a.hasLetters() && b.isDagbar()) return false;
    if (b.isNeedValidateSex() && a.sex() * b.sex() == 2) return false;
    if (a.isHags() && !b.hasLetters()) return false;
    if (a.isTugs() && b.hasLetters()) return false;
    if (a.hasLetters() && b.isEhi()) return false;
    return true;
}

}  // namespace quillora::wordbuilder
