#include "textview/TXLinkText.h"

#include "platform/graphics/TextIndexMap.h"
#include "textview/TXDescription.h"

TXLinkText::TXLinkText() : TXLinkText(u"", std::nullopt, platform::Range{0, 0}) {}

TXLinkText::TXLinkText(std::u16string text, std::optional<std::string> object,
                       platform::Range range)
    : m_text(std::move(text)), m_object(std::move(object)), m_range(range) {}

void TXLinkText::addLinkGeometry(const TXTextGeometry& geometry) {
    m_geometries.push_back(geometry);
}

std::string TXLinkText::description() const {
    std::string geometries = "(";
    for (size_t i = 0; i < m_geometries.size(); ++i) {
        geometries += (i ? ",\n    " : "\n    ") + m_geometries[i].description();
    }
    geometries += "\n)";
    return platform::utf8FromUtf16(m_text) + " " + m_object.value_or("(null)") + " " +
           TXStringFromRange(m_range) + " " + geometries;
}
