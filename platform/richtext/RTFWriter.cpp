#include "platform/richtext/RTFWriter.h"

#include <cstdio>

#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"

namespace platform {

namespace {

constexpr int kTwipsPerCSSPixel = 15;  // 96 CSS pixels to the inch, 1440 twips
constexpr int kIndentStep = 720;       // half an inch per list or quotation level
constexpr int kMarkerWidth = 360;

// Heading sizes relative to the body, as browsers draw h1..h6.
double headingScale(int level) {
    static const double scales[] = {1.0, 2.0, 1.5, 1.17, 1.0, 0.83, 0.67};
    return level >= 1 && level <= 6 ? scales[level] : 1.0;
}

void appendHex(std::string& out, const std::vector<uint8_t>& bytes) {
    static const char digits[] = "0123456789abcdef";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 64 == 0) out += '\n';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0xF];
    }
    out += '\n';
}

void writePicture(std::string& out, const RichImage& image) {
    if (!image.isEmbeddable()) return;
    uint32_t width = image.pixelWidth, height = image.pixelHeight;
    // The page's requested size wins; one given side scales the other with the picture.
    if (image.requestedWidth && image.requestedHeight) {
        width = *image.requestedWidth;
        height = *image.requestedHeight;
    } else if (image.requestedWidth && image.pixelWidth) {
        width = *image.requestedWidth;
        height = static_cast<uint32_t>(uint64_t(image.pixelHeight) * width / image.pixelWidth);
    } else if (image.requestedHeight && image.pixelHeight) {
        height = *image.requestedHeight;
        width = static_cast<uint32_t>(uint64_t(image.pixelWidth) * height / image.pixelHeight);
    }
    out += image.format == RichImage::Format::PNG ? "{\\pict\\pngblip" : "{\\pict\\jpegblip";
    out +=
        stringWithFormat("\\picw%u\\pich%u\\picwgoal%u\\pichgoal%u", image.pixelWidth,
                         image.pixelHeight, width * kTwipsPerCSSPixel, height * kTwipsPerCSSPixel);
    appendHex(out, image.data);
    out += '}';
}

// Word processors take bold, italic and size for complex-script text (Mongolian among it) from
// the "associated" properties, which apply after \rtlch; \ltrch then sets the ordinary ones and
// keeps the run left to right. LibreOffice reads them only in this order, as Word writes them.
std::string withAssociated(const std::string& associated, const std::string& controls) {
    if (associated.empty()) return controls;
    return "\\rtlch" + associated + "\\ltrch" + controls;
}

std::string characterControls(const CharacterStyle& style) {
    std::string associated;
    if (style.bold) associated += "\\ab";
    if (style.italic) associated += "\\ai";
    std::string controls;
    if (style.bold) controls += "\\b";
    if (style.italic) controls += "\\i";
    if (style.underline) controls += "\\ul";
    if (style.strikethrough) controls += "\\strike";
    if (style.script == CharacterStyle::Script::Superscript) controls += "\\super";
    if (style.script == CharacterStyle::Script::Subscript) controls += "\\sub";
    return withAssociated(associated, controls);
}

void writeRun(std::string& out, const RichRun& run, bool inLink) {
    std::string controls = characterControls(run.style);
    // Links are drawn underlined and blue, as the page shows them.
    if (inLink) controls += run.style.underline ? "\\cf1" : "\\ul\\cf1";
    if (controls.empty()) {
        if (run.image) {
            writePicture(out, *run.image);
        } else {
            out += rtfEscaped(run.text);
        }
        return;
    }
    out += '{' + controls + ' ';
    if (run.image) {
        writePicture(out, *run.image);
    } else {
        out += rtfEscaped(run.text);
    }
    out += '}';
}

std::string fieldInstruction(const std::string& url) {
    std::string quoted;
    for (char c : url) {
        if (c == '"') {
            quoted += "%22";
        } else {
            quoted += c;
        }
    }
    return "HYPERLINK \"" + rtfEscaped(quoted) + "\"";
}

void writeParagraph(std::string& out, const RichParagraph& paragraph, const RTFOptions& options) {
    int size = static_cast<int>(options.fontSize * 2 * headingScale(paragraph.headingLevel) + 0.5);
    bool heading = paragraph.headingLevel > 0;
    out += "\\pard\\plain" +
           withAssociated(stringWithFormat("\\af0\\afs%d", size) + (heading ? "\\ab" : ""),
                          stringWithFormat("\\f0\\fs%d", size));
    int indent = kIndentStep * (paragraph.listDepth + paragraph.quoteDepth);
    if (paragraph.listDepth > 0) {
        out += stringWithFormat("\\tx%d\\fi-%d", indent, kMarkerWidth);
    }
    if (indent > 0) out += stringWithFormat("\\li%d", indent);
    if (heading) out += "\\b";
    out += ' ';
    if (paragraph.listMarker) out += rtfEscaped(*paragraph.listMarker) + "\\tab ";

    const auto& runs = paragraph.runs;
    for (size_t i = 0; i < runs.size();) {
        if (!runs[i].style.link) {
            writeRun(out, runs[i], false);
            ++i;
            continue;
        }
        const std::string& url = *runs[i].style.link;
        out += "{\\field{\\*\\fldinst{" + fieldInstruction(url) + "}}{\\fldrslt{";
        for (; i < runs.size() && runs[i].style.link == url; ++i) writeRun(out, runs[i], true);
        out += "}}}";
    }
    out += "\\par\n";
}

}  // namespace

std::string rtfEscaped(const std::string& utf8) {
    std::string out;
    std::u16string units = utf16FromUtf8(utf8);
    // A run of \uN? escapes goes in a group of its own: some readers (unrtf among them) skip
    // everything after a fallback character up to the next blank or brace, and the closing brace
    // ends that skip without changing any formatting.
    bool inUnicodeGroup = false;
    for (char16_t unit : units) {
        if (unit >= 0x80) {
            if (!inUnicodeGroup) out += '{';
            inUnicodeGroup = true;
            // RTF numbers are signed 16-bit: units above 32767 go in as negatives.
            int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : unit;
            out += "\\u" + std::to_string(value) + '?';
            continue;
        }
        if (inUnicodeGroup) out += '}';
        inUnicodeGroup = false;
        switch (unit) {
            case u'\\':
                out += "\\\\";
                break;
            case u'{':
                out += "\\{";
                break;
            case u'}':
                out += "\\}";
                break;
            case u'\t':
                out += "\\tab ";
                break;
            case u'\n':
                out += "\\line ";
                break;
            default:
                // Other control characters have no place in the text.
                if (unit >= 0x20 && unit < 0x7F) out += static_cast<char>(unit);
                break;
        }
    }
    if (inUnicodeGroup) out += '}';
    return out;
}

std::string rtfData(const RichText& text, const RTFOptions& options) {
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\n";
    out += "{\\fonttbl{\\f0\\fnil\\fcharset0 " + rtfEscaped(options.fontFamily) + ";}}\n";
    out += "{\\colortbl;\\red0\\green0\\blue238;}\n";
    for (const RichParagraph& paragraph : text.paragraphs) writeParagraph(out, paragraph, options);
    out += "}\n";
    return out;
}

}  // namespace platform
