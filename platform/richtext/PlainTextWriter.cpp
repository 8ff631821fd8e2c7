#include "platform/richtext/PlainTextWriter.h"

namespace platform {

std::string plainText(const RichText& text) {
    std::string out;
    for (const RichParagraph& paragraph : text.paragraphs) {
        if (paragraph.listMarker) out += "\t" + *paragraph.listMarker + "\t";
        for (const RichRun& run : paragraph.runs) {
            out += run.image ? std::string("\uFFFC") : run.text;
        }
        out += '\n';
    }
    return out;
}

}  // namespace platform
