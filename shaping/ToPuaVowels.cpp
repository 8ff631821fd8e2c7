// Vowels take one glyph each, chosen by form position and the selector after them; only medial
// I, OE and UE without a selector of their own look further, at the index and the letter before.

#include "shaping/ToPua.h"

namespace {

// Marks a cell that the vowel's context rule decides.
constexpr wchar_t BY_CONTEXT = 0;

// Forms of one vowel: [position][no selector, FVS1, FVS2, FVS3 next].
using VowelForms = wchar_t[4][4];

// Indexed by vowel - A, in the order A E I O U OE UE EE.
constexpr VowelForms kVowelForms[8] = {
    // A
    {{0xE820, 0xE821, 0xE820, 0xE820},
     {0xE822, 0xEA21, 0xE822, 0xE822},
     {0xE823, 0xE824, 0xE823, 0xE823},
     {0xE825, 0xE826, 0xE827, 0xE825}},
    // E
    {{0xE828, 0xE829, 0xE828, 0xE828},
     {0xE82A, 0xE82B, 0xE82A, 0xE82A},
     {0xE82C, 0xE82C, 0xE82C, 0xE82C},
     {0xE82D, 0xE82E, 0xE82F, 0xE82D}},
    // I
    {{0xE830, 0xE831, 0xE830, 0xE830},
     {0xE832, 0xE833, 0xE832, 0xE832},
     {BY_CONTEXT, 0xE835, 0xE836, 0xE834},
     {0xE837, 0xE837, 0xE837, 0xE837}},
    // O
    {{0xE838, 0xE839, 0xE838, 0xE838},
     {0xE83A, 0xE83B, 0xE83A, 0xE83A},
     {0xE83C, 0xE83D, 0xE83C, 0xE83C},
     {0xE83E, 0xE83F, 0xE83E, 0xE83E}},
    // U
    {{0xE840, 0xE841, 0xE840, 0xE840},
     {0xE842, 0xE843, 0xE842, 0xE842},
     {0xE844, 0xE845, 0xE844, 0xE844},
     {0xE846, 0xE847, 0xE846, 0xE846}},
    // OE
    {{0xE848, 0xE849, 0xE848, 0xE848},
     {0xE84A, 0xEA20, 0xE84A, 0xE84A},
     {BY_CONTEXT, 0xE84C, 0xE84D, BY_CONTEXT},
     {0xE84E, 0xE84F, 0xE84E, 0xE84E}},
    // UE
    {{0xE850, 0xE85F, 0xE851, 0xE850},
     {0xE852, 0xE85E, 0xE852, 0xE852},
     {BY_CONTEXT, 0xE854, 0xE855, BY_CONTEXT},
     {0xE856, 0xE857, 0xE856, 0xE856}},
    // EE
    {{0xE858, 0xE859, 0xE858, 0xE858},
     {0xE85A, 0xE85B, 0xE85A, 0xE85A},
     {0xE85C, 0xE85C, 0xE85C, 0xE85C},
     {0xE85D, 0xE85D, 0xE85D, 0xE85D}},
};

int selectorColumn(wchar_t next) {
    return CToPua::isFVS(next) ? next - MN_FVS1 + 1 : 0;
}

// Medial I after a vowel takes the form that keeps the syllable open; OE and UE count only once
// they are no longer the word's opening syllable.
wchar_t medialI(const CToPua::WordWalk& walk) {
    const wchar_t p = walk.previous;
    if (p == MN_A || p == MN_E || p == MN_O || p == MN_U) return 0xE836;
    if ((p == MN_OE || p == MN_UE) && walk.index > 2) return 0xE836;
    if (p == MN_EE) return 0xE836;
    return 0xE834;
}

wchar_t medialOe(const CToPua::WordWalk& walk) {
    return walk.index == 1 ? 0xE84C : 0xE84B;
}

wchar_t medialUe(const CToPua::WordWalk& walk) {
    if (walk.index == 1) return 0xE854;
    if (walk.index == 2 && CToPua::isFVS(walk.previous)) return 0xE854;
    return 0xE853;
}

}  // namespace

void CToPua::shapeVowel(WordWalk& walk) {
    const wchar_t vowel = walk.current;
    const wchar_t form = kVowelForms[vowel - MN_A][walk.position][selectorColumn(walk.next)];
    if (form != BY_CONTEXT) return walk.append(form);
    switch (vowel) {
        case MN_I:
            return walk.append(medialI(walk));
        case MN_OE:
            return walk.append(medialOe(walk));
        default:  // UE
            return walk.append(medialUe(walk));
    }
}
