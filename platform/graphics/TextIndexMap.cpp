#include "platform/graphics/TextIndexMap.h"

namespace platform {

TextIndexMap::TextIndexMap(std::u16string_view text) {
    m_utf8.reserve(text.size() * 3);
    m_byteOfUnit.reserve(text.size() + 1);
    for (size_t i = 0; i < text.size();) {
        size_t units = 0;
        char32_t c = codePointAt(text, i, units);
        uint32_t start = static_cast<uint32_t>(m_utf8.size());
        appendUtf8(m_utf8, c);
        for (size_t k = 0; k < units; ++k) m_byteOfUnit.push_back(start);
        for (size_t b = start; b < m_utf8.size(); ++b) m_unitOfByte.push_back(uint32_t(i));
        i += units;
    }
    m_byteOfUnit.push_back(static_cast<uint32_t>(m_utf8.size()));
    m_unitOfByte.push_back(static_cast<uint32_t>(text.size()));
}

uint32_t TextIndexMap::utf8Offset(size_t utf16Index) const {
    if (utf16Index >= m_byteOfUnit.size()) return m_byteOfUnit.back();
    return m_byteOfUnit[utf16Index];
}

size_t TextIndexMap::utf16Index(size_t utf8Offset) const {
    if (utf8Offset >= m_unitOfByte.size()) return m_unitOfByte.back();
    return m_unitOfByte[utf8Offset];
}

}  // namespace platform
