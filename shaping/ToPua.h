#pragma once

// Stand-in declaration so the glyph lookups build on their own; the converter proper replaces it.

#include <string>

class CToPua {
  public:
    static std::wstring GetWString(wchar_t c1);

    static std::wstring getConCon(wchar_t first, wchar_t second, int position);

    static std::wstring getConVowel(wchar_t consonant, int position, wchar_t vowel);
    static std::wstring getBVowel(int position, wchar_t vowel);
    static std::wstring getPVowel(int position, wchar_t vowel);
    static std::wstring getHVowel(int position, wchar_t vowel);
    static std::wstring getGVowel(int position, wchar_t vowel);
    static std::wstring getFVowel(int position, wchar_t vowel);
    static std::wstring getKVowel(int position, wchar_t vowel);
    static std::wstring getKHVowel(int position, wchar_t vowel);
};
