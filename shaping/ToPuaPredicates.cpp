// The converter's yes-or-no questions: letter classes, a letter's place in the word, and how a
// text starts or ends.

#include "shaping/ToPua.h"

bool CToPua::isFVS(wchar_t c) {
    return c == MN_FVS1 || c == MN_FVS2 || c == MN_FVS3;
}

bool CToPua::isMVowel(wchar_t c) {
    return c == MN_A || c == MN_O || c == MN_U;
}

bool CToPua::isFMVowel(wchar_t c) {
    return c == MN_E || c == MN_OE || c == MN_UE || c == MN_EE;
}

bool CToPua::isVowel(wchar_t c) {
    return isMVowel(c) || isFMVowel(c) || c == MN_I;
}

bool CToPua::isGNML(wchar_t c) {
    return c == MN_NA || c == MN_QA || c == MN_GA || c == MN_MA || c == MN_LA;
}

bool CToPua::isFinal(wchar_t next, int i, int lastIndex) {
    if (i == lastIndex) return true;
    // A selector at the very end picks the final variant of the letter before it.
    return i == lastIndex - 1 && isFVS(next);
}

bool CToPua::isIsolate(const std::wstring& word, int lastIndex) {
    if (lastIndex == 0) return true;
    // Index 1 is read only when the word is known to hold it.
    return lastIndex == 1 && word.size() > 1 && isFVS(word[1]);
}

bool CToPua::StartWith(const std::wstring& text, wchar_t c) {
    return !text.empty() && text.front() == c;
}

bool CToPua::StartWith(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool CToPua::EndWith(const std::wstring& text, wchar_t c) {
    return !text.empty() && text.back() == c;
}

bool CToPua::EndWith(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
