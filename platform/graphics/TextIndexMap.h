#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/UnicodeString.h"

namespace platform {

// The one place where text indexes change between UTF-16 units (what callers count) and UTF-8
// bytes (what Pango counts). A lone surrogate becomes U+FFFD, so both sides stay in step.
class TextIndexMap {
  public:
    explicit TextIndexMap(std::u16string_view text);

    const std::string& utf8() const { return m_utf8; }
    size_t utf16Length() const { return m_byteOfUnit.size() - 1; }

    // The byte where the character holding the unit starts; the byte length for the end.
    uint32_t utf8Offset(size_t utf16Index) const;
    // The first unit of the character holding the byte; the unit length for the end.
    size_t utf16Index(size_t utf8Offset) const;

  private:
    std::string m_utf8;
    std::vector<uint32_t> m_byteOfUnit;  // one entry per unit, plus the end
    std::vector<uint32_t> m_unitOfByte;  // one entry per byte, plus the end
};

}  // namespace platform
