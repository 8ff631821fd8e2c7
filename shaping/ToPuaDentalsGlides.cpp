// TA, DA, JA, YA and WA never join their neighbours: each appends one glyph of its own, picked by
// position, the selector after it and one piece of context per letter.

#include "shaping/ToPua.h"

namespace {

wchar_t ta(const CToPua::WordWalk& walk) {
    switch (walk.position) {
        case CToPua::POS_ISOLATE:
            return walk.next == MN_FVS1 ? 0xE913 : 0xE912;
        case CToPua::POS_INITIAL:
            return 0xE914;
        case CToPua::POS_FINAL:
            return 0xE918;
        default:
            if (walk.next == MN_FVS1) return 0xE916;
            if (walk.next == MN_FVS2) return 0xE917;
            return 0xE915;
    }
}

wchar_t da(const CToPua::WordWalk& walk) {
    switch (walk.position) {
        case CToPua::POS_ISOLATE:
            return 0xE919;
        case CToPua::POS_INITIAL:
            return walk.next == MN_FVS1 ? 0xE91B : 0xE91A;
        case CToPua::POS_FINAL:
            return walk.next == MN_FVS1 ? 0xE91F : 0xE91E;
        default:
            return walk.next == MN_FVS1 || CToPua::isVowel(walk.next) ? 0xE91D : 0xE91C;
    }
}

wchar_t ja(const CToPua::WordWalk& walk) {
    switch (walk.position) {
        case CToPua::POS_ISOLATE:
            return walk.next == MN_FVS1 || walk.hasTail() ? 0xE925 : 0xE924;
        case CToPua::POS_INITIAL:
            return 0xE926;
        case CToPua::POS_FINAL:
            return 0xE928;
        default:
            return 0xE927;
    }
}

// YA before an I that opens a syllable after a vowel: the vowel at the word's start counts
// only when it is not OE or UE.
bool yaBeforeSyllabicI(const CToPua::WordWalk& walk) {
    if (walk.next != MN_I || walk.index >= walk.lastIndex - 1 || CToPua::isFVS(walk.afterNext))
        return false;
    const wchar_t p = walk.previous;
    if (p == MN_A || p == MN_E || p == MN_O || p == MN_U) return true;
    return (p == MN_OE || p == MN_UE) && walk.index > 1;
}

wchar_t ya(const CToPua::WordWalk& walk) {
    switch (walk.position) {
        case CToPua::POS_ISOLATE:
            return 0xE929;
        case CToPua::POS_INITIAL:
            return walk.next == MN_FVS1 ? 0xE92B : 0xE92A;
        case CToPua::POS_FINAL:
            return 0xE92D;
        default:
            return walk.next == MN_FVS1 || yaBeforeSyllabicI(walk) ? 0xEA22 : 0xE92C;
    }
}

wchar_t wa(const CToPua::WordWalk& walk) {
    switch (walk.position) {
        case CToPua::POS_ISOLATE:
            return 0xE932;
        case CToPua::POS_INITIAL:
            return walk.next == MN_FVS1 ? 0xE934 : 0xE933;
        case CToPua::POS_FINAL:
            return walk.next == MN_FVS1 || walk.hasTail() ? 0xE937 : 0xE936;
        default:
            return 0xE935;
    }
}

}  // namespace

void CToPua::shapeDentalGlide(WordWalk& walk) {
    switch (walk.current) {
        case MN_TA:
            return walk.append(ta(walk));
        case MN_DA:
            return walk.append(da(walk));
        case MN_JA:
            return walk.append(ja(walk));
        case MN_YA:
            return walk.append(ya(walk));
        case MN_WA:
            return walk.append(wa(walk));
        default:
            return walk.append(walk.current);
    }
}
