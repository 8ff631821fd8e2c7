#include "shaping/ToPua.h"

#include <initializer_list>

CToPua* CToPua::m_pInstance = nullptr;

CToPua* CToPua::GetInstance() {
    if (m_pInstance == nullptr) {
        // Published only once the table is complete; should building throw, the next call starts
        // over.
        CToPua* instance = new CToPua();
        m_pInstance = instance;
    }
    return m_pInstance;
}

CToPua::CToPua() : m_wordMap(buildWordMap()) {}

namespace {

// The parameters up to the first 0, as one text.
std::wstring textUpToZero(std::initializer_list<wchar_t> codes) {
    std::wstring text;
    text.reserve(codes.size());
    for (wchar_t c : codes) {
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

}  // namespace

std::wstring CToPua::GetWString(wchar_t c1) {
    return textUpToZero({c1});
}

std::wstring CToPua::GetWString(wchar_t c1, wchar_t c2) {
    return textUpToZero({c1, c2});
}

std::wstring CToPua::GetWString(wchar_t c1, wchar_t c2, wchar_t c3) {
    return textUpToZero({c1, c2, c3});
}

std::wstring CToPua::GetWString(wchar_t c1, wchar_t c2, wchar_t c3, wchar_t c4) {
    return textUpToZero({c1, c2, c3, c4});
}

std::wstring CToPua::GetWString(wchar_t c1, wchar_t c2, wchar_t c3, wchar_t c4, wchar_t c5) {
    return textUpToZero({c1, c2, c3, c4, c5});
}

std::wstring CToPua::GetWString(wchar_t c1, wchar_t c2, wchar_t c3, wchar_t c4, wchar_t c5,
                                wchar_t c6) {
    return textUpToZero({c1, c2, c3, c4, c5, c6});
}
