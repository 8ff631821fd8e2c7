// Consonant + vowel ligatures. Each of the seven joining consonants owns one contiguous block of
// glyphs laid out vowel by vowel, four positional forms per vowel (five for OE and UE, whose fifth
// form, with a closing FVS1, the letter rules emit themselves). So a ligature is computed, not
// stored: block base + vowel offset + form position.

#include <array>

#include "shaping/ToPua.h"

namespace {

constexpr wchar_t kFirstVowel = 0x1820;  // A; the eight vowels run A E I O U OE UE EE
constexpr int kNoLigature = -1;

// Offsets into a block, indexed by vowel - A.
using VowelOffsets = std::array<int, 8>;
constexpr VowelOffsets kAllVowels = {0, 4, 8, 12, 16, 20, 25, 30};
// QA and GA never join the back vowels A, O and U.
constexpr VowelOffsets kFrontVowelsAndI = {kNoLigature, 0, 4, kNoLigature, kNoLigature, 8, 13, 18};

std::wstring ligature(wchar_t base, const VowelOffsets& offsets, int position, wchar_t vowel) {
    // Unsigned so that negative positions fall outside too.
    if (static_cast<unsigned>(position) > 3) return std::wstring();
    if (vowel < kFirstVowel || vowel >= kFirstVowel + static_cast<wchar_t>(offsets.size()))
        return std::wstring();
    const int offset = offsets[vowel - kFirstVowel];
    if (offset == kNoLigature) return std::wstring();
    return CToPua::GetWString(static_cast<wchar_t>(base + offset + position));
}

}  // namespace

std::wstring CToPua::getConVowel(wchar_t consonant, int position, wchar_t vowel) {
    std::wstring result;
    switch (consonant) {
        case 0x182A:
            result += getBVowel(position, vowel);
            break;  // BA
        case 0x182B:
            result += getPVowel(position, vowel);
            break;  // PA
        case 0x182C:
            result += getHVowel(position, vowel);
            break;  // QA
        case 0x182D:
            result += getGVowel(position, vowel);
            break;  // GA
        case 0x1839:
            result += getFVowel(position, vowel);
            break;  // FA
        case 0x183A:
            result += getKVowel(position, vowel);
            break;  // KA
        case 0x183B:
            result += getKHVowel(position, vowel);
            break;  // KHA
        default:
            break;
    }
    return result;
}

std::wstring CToPua::getBVowel(int position, wchar_t vowel) {
    return ligature(0xE874, kAllVowels, position, vowel);
}

std::wstring CToPua::getPVowel(int position, wchar_t vowel) {
    return ligature(0xE89C, kAllVowels, position, vowel);
}

std::wstring CToPua::getHVowel(int position, wchar_t vowel) {
    return ligature(0xE8CA, kFrontVowelsAndI, position, vowel);
}

std::wstring CToPua::getGVowel(int position, wchar_t vowel) {
    return ligature(0xE8EA, kFrontVowelsAndI, position, vowel);
}

std::wstring CToPua::getFVowel(int position, wchar_t vowel) {
    return ligature(0xE93C, kAllVowels, position, vowel);
}

std::wstring CToPua::getKVowel(int position, wchar_t vowel) {
    return ligature(0xE964, kAllVowels, position, vowel);
}

std::wstring CToPua::getKHVowel(int position, wchar_t vowel) {
    return ligature(0xE98C, kAllVowels, position, vowel);
}
