#include "platform/web/JavaScriptString.h"

#include <cstdio>

namespace platform {

namespace {

void appendEscaped(std::string& out, std::string_view text) {
    out.reserve(out.size() + text.size() + text.size() / 8 + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '\\':
                out += "\\\\";
                continue;
            case '"':
                out += "\\\"";
                continue;
            case '\'':
                out += "\\'";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        if (c < 0x20 || c == 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
            out += buffer;
            continue;
        }
        // U+2028 and U+2029 end a line inside older JavaScript literals; U+0085 is a line break
        // for some tools that read the statement back.
        if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80) {
            unsigned char last = static_cast<unsigned char>(text[i + 2]);
            if (last == 0xA8 || last == 0xA9) {
                out += last == 0xA8 ? "\\u2028" : "\\u2029";
                i += 2;
                continue;
            }
        }
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x85) {
            out += "\\u0085";
            ++i;
            continue;
        }
        out += static_cast<char>(c);
    }
}

}  // namespace

std::string escapeJavaScriptString(std::string_view text) {
    std::string out;
    appendEscaped(out, text);
    return out;
}

// Appended in place: a "\"" + ... + "\"" join makes GCC 12 warn (-Wrestrict) about an overlap
// that cannot happen.
std::string quoteJavaScriptString(std::string_view text) {
    std::string out = "\"";
    appendEscaped(out, text);
    out += '"';
    return out;
}

}  // namespace platform
