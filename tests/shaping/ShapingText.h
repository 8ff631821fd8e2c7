#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

#include "shaping/ToPua.h"

// Builds a converter text from code points; unlike the converter's own builder it keeps U+0000.
inline std::wstring codes(std::initializer_list<wchar_t> points) {
    return std::wstring(points);
}

inline CToPua& converter() {
    return *CToPua::GetInstance();
}

// A code point as U+XXXX, for failure messages.
inline std::string hex(wchar_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

// One piece through the word shaper.
inline std::wstring shapeWord(std::initializer_list<wchar_t> piece) {
    return converter().convertWord(codes(piece));
}
