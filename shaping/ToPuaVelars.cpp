// QA and GA join a following front vowel or I in a ligature. GA besides follows vowel harmony:
// after a front vowel, or after an I with a front vowel a few places away, it takes its
// front-vowel forms.

#include "shaping/ToPua.h"

namespace {

constexpr CToPua::WordWalk::Fvs1Ligatures kQaFvs1 = {0xE8D6, 0xE8DB, 0xE9D5, 0xE9D6};
constexpr CToPua::WordWalk::Fvs1Ligatures kGaFvs1 = {0xE8F6, 0xE8FB, 0xE9D7, 0xE9D8};

// GA's medial and final forms in a front-vowel word, and otherwise.
constexpr wchar_t GA_MEDIAL_FRONT = 0xEA1F;
constexpr wchar_t GA_MEDIAL_BACK = 0xE8E4;
constexpr wchar_t GA_FINAL_FRONT = 0xE8E9;
constexpr wchar_t GA_FINAL_BACK = 0xE8E7;

bool joinsVelar(wchar_t c) {
    return CToPua::isFMVowel(c) || c == MN_I;
}

// Glyph of the letter alone by the selector after it: none, FVS1, FVS2, FVS3.
wchar_t bySelector(wchar_t next, const wchar_t (&forms)[4]) {
    return CToPua::isFVS(next) ? forms[next - MN_FVS1 + 1] : forms[0];
}

bool frontVowelAmong(const CToPua::WordWalk& walk, int from, int to) {
    for (int k = from; k <= to; ++k)
        if (CToPua::isFMVowel(walk.at(k))) return true;
    return false;
}

// An I before GA is neutral; the syllables before it decide. The letter just before the I is
// not among them.
bool frontVowelBefore(const CToPua::WordWalk& walk) {
    return frontVowelAmong(walk, walk.index - 6, walk.index - 3);
}

bool frontVowelAfter(const CToPua::WordWalk& walk) {
    return frontVowelAmong(walk, walk.index + 2, walk.index + 4);
}

void shapeQa(CToPua::WordWalk& walk) {
    const wchar_t next = walk.next;
    switch (walk.position) {
        case CToPua::POS_ISOLATE:
            return walk.append(bySelector(next, {0xE8C0, 0xE8C1, 0xEA00, 0xEA02}));
        case CToPua::POS_INITIAL:
            if (joinsVelar(next)) return walk.appendVowelLigature(kQaFvs1);
            return walk.append(bySelector(next, {0xE8C2, 0xE8C3, 0xEA01, 0xEA03}));
        case CToPua::POS_FINAL:
            return walk.append(bySelector(next, {0xE8C7, 0xE8C8, 0xE8C9, 0xE8C7}));
        default:
            if (CToPua::isFVS(next))
                return walk.append(bySelector(next, {0xE8C4, 0xE8C5, 0xE8C6, 0xEA04}));
            if (joinsVelar(next)) return walk.appendVowelLigature(kQaFvs1);
            // QA has no cluster glyphs: the consonant after it keeps its own.
            if (CToPua::isGNML(next) && walk.index < walk.lastIndex - 1 && walk.appendCluster(next))
                return;
            return walk.append(0xE8C4);
    }
}

void shapeGaFinal(CToPua::WordWalk& walk) {
    if (walk.next == MN_FVS1) return walk.append(0xE8E8);
    if (walk.next == MN_FVS2) return walk.append(GA_FINAL_FRONT);
    if (walk.hasTail()) return walk.append(0xE8E8);
    if (CToPua::isFMVowel(walk.previous)) return walk.append(GA_FINAL_FRONT);
    if (walk.previous == MN_I && frontVowelBefore(walk)) return walk.append(GA_FINAL_FRONT);
    walk.append(GA_FINAL_BACK);
}

void shapeGaMedial(CToPua::WordWalk& walk) {
    const wchar_t next = walk.next;
    const wchar_t afterNext = walk.afterNext;
    if (next == MN_FVS1) return walk.append(0xE8E5);
    if (next == MN_FVS2) return walk.append(0xE8E6);
    if (next == MN_FVS3) {
        // The selector stands inside the word, so the code point after it is the word's.
        if (CToPua::isGNML(afterNext) && walk.appendCluster(afterNext, 2)) return;
        return walk.append(GA_MEDIAL_FRONT);
    }
    if (CToPua::isMVowel(next)) {
        const bool afterSaOrDa = walk.previous == MN_SA || walk.previous == MN_DA;
        return walk.append(afterSaOrDa ? GA_MEDIAL_BACK : 0xE8E5);
    }
    if (joinsVelar(next)) return walk.appendVowelLigature(kGaFvs1);
    if (CToPua::isGNML(next) && walk.index < walk.lastIndex - 1 &&
        (CToPua::isFMVowel(afterNext) || CToPua::isFMVowel(walk.previous))) {
        // A velar that opens a syllable with E, OE or UE is shaped by its own rules.
        const bool velarSyllable = (next == MN_GA || next == MN_QA) &&
                                   (afterNext == MN_E || afterNext == MN_OE || afterNext == MN_UE);
        if (velarSyllable) return walk.append(GA_MEDIAL_FRONT);
        if (walk.appendCluster(next)) return;
    }
    if (CToPua::isFMVowel(walk.previous)) return walk.append(GA_MEDIAL_FRONT);
    if (walk.previous == MN_I && (frontVowelBefore(walk) || frontVowelAfter(walk)))
        return walk.append(GA_MEDIAL_FRONT);
    walk.append(GA_MEDIAL_BACK);
}

void shapeGa(CToPua::WordWalk& walk) {
    const wchar_t next = walk.next;
    switch (walk.position) {
        case CToPua::POS_ISOLATE:
            return walk.append(bySelector(next, {0xE8E0, 0xE8E1, 0xEA1B, 0xEA1C}));
        case CToPua::POS_INITIAL:
            if (CToPua::isFVS(next))
                return walk.append(bySelector(next, {0xE8E2, 0xE8E3, 0xEA1D, 0xEA1E}));
            if (joinsVelar(next)) return walk.appendVowelLigature(kGaFvs1);
            if (next == MN_QA || next == MN_SHA || next == MN_RA) return walk.append(0xEA1E);
            return walk.append(0xE8E2);
        case CToPua::POS_FINAL:
            return shapeGaFinal(walk);
        default:
            return shapeGaMedial(walk);
    }
}

}  // namespace

void CToPua::shapeVelar(WordWalk& walk) {
    if (walk.current == MN_QA) return shapeQa(walk);
    shapeGa(walk);
}
