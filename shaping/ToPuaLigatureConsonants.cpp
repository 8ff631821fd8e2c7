// BA, PA, FA, KA and KHA share one rule set: a following vowel joins them in a ligature, and in
// the middle of a word a following NA, QA, GA, MA or LA in a cluster. BA and FA add a few rules
// of their own.

#include "shaping/ToPua.h"

namespace {

struct LigatureLetter {
    wchar_t letter;
    // Initial, medial and final follow it; the ligature block starts after them.
    wchar_t isolate;
    CToPua::WordWalk::Fvs1Ligatures fvs1;
};

constexpr LigatureLetter kLetters[] = {
    {MN_BA, 0xE870, {0xE88C, 0xE891, 0xE9D1, 0xE9D2}},
    {MN_PA, 0xE898, {0xE8B4, 0xE8B9, 0xE9D3, 0xE9D4}},
    {MN_FA, 0xE938, {0xE954, 0xE959, 0xE9D9, 0xE9DA}},
    {MN_KA, 0xE960, {0xE97C, 0xE981, 0xE9DB, 0xE9DC}},
    {MN_KHA, 0xE988, {0xE9A4, 0xE9A9, 0xE9DD, 0xE9DE}},
};

constexpr wchar_t BA_FINAL_FVS1 = 0xE9CE;
constexpr wchar_t FA_RA_INITIAL = 0xEAB6;

const LigatureLetter* letterOf(wchar_t c) {
    for (const LigatureLetter& l : kLetters)
        if (l.letter == c) return &l;
    return nullptr;
}

bool isOeOrUe(wchar_t c) {
    return c == MN_OE || c == MN_UE;
}

// FA before a word-closing OE or UE + FVS1 takes the closing form even at the start of a word.
bool faClosingOeUe(const CToPua::WordWalk& walk) {
    return walk.current == MN_FA && isOeOrUe(walk.next) && walk.index == walk.lastIndex - 2 &&
           walk.at(walk.lastIndex) == MN_FVS1;
}

// BA keeps QA or GA apart when they open a syllable with E, I, OE or UE.
bool baKeepsVelarApart(const CToPua::WordWalk& walk) {
    const wchar_t v = walk.afterNext;
    return walk.current == MN_BA && (walk.next == MN_QA || walk.next == MN_GA) &&
           (v == MN_E || v == MN_I || v == MN_OE || v == MN_UE);
}

}  // namespace

void CToPua::shapeLigatureConsonant(WordWalk& walk) {
    const LigatureLetter* letter = letterOf(walk.current);
    if (letter == nullptr) return walk.append(walk.current);
    const LigatureLetter& l = *letter;

    switch (walk.position) {
        case POS_ISOLATE:
            return walk.append(l.isolate);
        case POS_INITIAL:
            if (isVowel(walk.next)) {
                if (faClosingOeUe(walk)) {
                    walk.append(walk.next == MN_OE ? l.fvs1.oeLast : l.fvs1.ueLast);
                    return walk.consume();
                }
                return walk.appendVowelLigature(l.fvs1);
            }
            if (walk.current == MN_FA && walk.next == MN_RA && walk.lastIndex != walk.index + 1) {
                walk.append(FA_RA_INITIAL);
                return walk.consume();
            }
            return walk.append(static_cast<wchar_t>(l.isolate + POS_INITIAL));
        case POS_FINAL:
            if (walk.current == MN_BA && walk.next == MN_FVS1) return walk.append(BA_FINAL_FVS1);
            return walk.append(static_cast<wchar_t>(l.isolate + POS_FINAL));
        default:
            if (isVowel(walk.next)) return walk.appendVowelLigature(l.fvs1);
            if (isGNML(walk.next) && walk.index < walk.lastIndex - 1 && !baKeepsVelarApart(walk) &&
                walk.appendCluster(walk.next))
                return;
            return walk.append(static_cast<wchar_t>(l.isolate + POS_MEDIAL));
    }
}
