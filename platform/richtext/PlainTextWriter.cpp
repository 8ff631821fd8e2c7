#include "platform/richtext/PlainTextWriter.h"

#include "platform/foundation/UnicodeString.h"

namespace platform {

std::string plainText(const RichText& text) {
    std::string out;
    for (const RichParagraph& paragraph : text.paragraphs) {
        if (paragraph.listMarker) out += "\t" + *paragraph.listMarker + "\t";
        for (const RichRun& run : paragraph.runs) {
            // Each run is made well-formed on its own, as the RTF writer reads it: bytes of two
            // runs never join into a character that neither holds.
            out += run.image ? std::string("\uFFFC") : validUtf8(run.text);
        }
        out += '\n';
    }
    return out;
}

}  // namespace platform
