#pragma once

#include <string>

#include "platform/richtext/RichText.h"

namespace platform {

struct RTFOptions {
    std::string fontFamily = "DejaVu Sans";
    int fontSize = 12;  // points, for body text; headings are larger
};

// A rich text as an RTF document (ASCII only): every character beyond ASCII as \uN? with its
// UTF-16 units (a character outside the basic plane as its two surrogates, units above 32767 as
// the negative numbers RTF wants), braces and backslashes escaped; bold, italic, underline,
// strike-through, super- and subscript, links as HYPERLINK fields, headings in larger bold type,
// list items with their marker and a hanging indent, quotations indented, line breaks as \line,
// and PNG and JPEG pictures embedded as \pict. Pictures of other kinds, or whose bytes could not be
// read, are left out.
std::string rtfData(const RichText& text, const RTFOptions& options = {});

// Text in RTF's escaped form, as rtfData writes it (exposed for the tests of the escaping).
std::string rtfEscaped(const std::string& utf8);

}  // namespace platform
