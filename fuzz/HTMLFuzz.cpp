// The HTML reader and both writers on any bytes: RTF is 7-bit ASCII with balanced braces, the
// plain text and the RTF carry the same characters, and the text of a <div> holding any text
// without markup comes back exactly, white space collapsed as a browser collapses it.
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/richtext/HTMLReader.h"
#include "platform/richtext/PlainTextWriter.h"
#include "platform/richtext/RTFWriter.h"
#include "tests/support/CollapsedSpace.h"

namespace {

bool startsWord(const std::string& rtf, size_t i, std::string_view word) {
    return rtf.compare(i, word.size(), word) == 0;
}

// The text an RTF reader shows: plain characters, escapes, \uN (its fallback skipped), \tab,
// \line and \par; the font and colour tables, pictures and field instructions are skipped. Also
// checks that every brace is matched.
std::u16string rtfText(const std::string& rtf) {
    std::u16string out;
    std::vector<bool> skipping{false};
    for (size_t i = 0; i < rtf.size();) {
        char c = rtf[i];
        if (c == '{') {
            bool skip = skipping.back() || startsWord(rtf, i, "{\\fonttbl") ||
                        startsWord(rtf, i, "{\\colortbl") || startsWord(rtf, i, "{\\*") ||
                        startsWord(rtf, i, "{\\pict");
            skipping.push_back(skip);
            ++i;
        } else if (c == '}') {
            FUZZ_CHECK(skipping.size() > 1);
            skipping.pop_back();
            ++i;
        } else if (c == '\\') {
            FUZZ_CHECK(i + 1 < rtf.size());
            char next = rtf[i + 1];
            if (next == '\\' || next == '{' || next == '}') {
                if (!skipping.back()) out += static_cast<char16_t>(next);
                i += 2;
                continue;
            }
            if (!std::isalpha(static_cast<unsigned char>(next))) {
                i += 2;  // a control symbol, such as \* before a destination
                continue;
            }
            size_t end = i + 1;
            while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
            std::string word = rtf.substr(i + 1, end - i - 1);
            size_t numberEnd = end;
            if (numberEnd < rtf.size() && rtf[numberEnd] == '-') ++numberEnd;
            while (numberEnd < rtf.size() &&
                   std::isdigit(static_cast<unsigned char>(rtf[numberEnd])))
                ++numberEnd;
            std::string number = rtf.substr(end, numberEnd - end);
            i = numberEnd;
            if (i < rtf.size() && rtf[i] == ' ') ++i;
            if (skipping.back()) continue;
            if (word == "u") {
                int value = std::stoi(number);
                out += static_cast<char16_t>(value < 0 ? value + 0x10000 : value);
                FUZZ_CHECK(i < rtf.size() && rtf[i] == '?');
                ++i;
            } else if (word == "tab") {
                out += u'\t';
            } else if (word == "line" || word == "par") {
                out += u'\n';
            }
        } else {
            if (!skipping.back() && c != '\n' && c != '\r') out += static_cast<char16_t>(c);
            ++i;
        }
    }
    FUZZ_CHECK(skipping.size() == 1);
    return out;
}

// The characters both writers must agree on: RTF keeps no control characters and no picture
// placeholder, and writes a list marker's leading tab differently.
std::u16string comparable(std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text) {
        if (c < 0x20 || c == 0x7F || c == u'\uFFFC') continue;
        out += c;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view html(reinterpret_cast<const char*>(data), size);
    platform::RichText rich = platform::readHTML(html);
    std::string plain = platform::plainText(rich);
    std::string rtf = platform::rtfData(rich);
    for (char c : rtf) FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
    FUZZ_CHECK(platform::validUtf8(plain) == plain);
    FUZZ_CHECK(comparable(rtfText(rtf)) == comparable(platform::utf16FromUtf8(plain)));

    // The same bytes as the text of a division: only markup and references taken out.
    std::string text;
    for (char c : platform::validUtf8(html)) {
        if (c != '<' && c != '&') text += c;
    }
    std::string expected = collapsedSpace(text);
    std::string read = platform::plainText(platform::readHTML("<div>" + text + "</div>"));
    FUZZ_CHECK(read == (expected.empty() ? "" : expected + "\n"));
    return 0;
}
