// Stand-in for the converter proper: only the one-unit builder the glyph lookups need.

#include "shaping/ToPua.h"

std::wstring CToPua::GetWString(wchar_t c1) {
    return c1 == 0 ? std::wstring() : std::wstring(1, c1);
}
