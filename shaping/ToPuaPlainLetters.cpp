#include "shaping/ToPua.h"

namespace {

// Isolate glyph of each plain letter; initial, medial and final follow it in that order.
wchar_t isolateGlyph(wchar_t letter) {
    switch (letter) {
        case MN_SA:
            return 0xE90A;
        case MN_SHA:
            return 0xE90E;
        case MN_CHA:
            return 0xE920;
        case MN_RA:
            return 0xE92E;
        case MN_TSA:
            return 0xE9B0;
        case MN_ZA:
            return 0xE9B4;
        case MN_HAA:
            return 0xE9B8;
        case MN_ZRA:
            return 0xE9BC;
        case MN_LHA:
            return 0xE9C0;
        case MN_ZHI:
            return 0xE9C4;
        case MN_CHI:
            return 0xE9C8;
        default:
            return 0;
    }
}

constexpr wchar_t SA_FINAL_FVS1 = 0xE9CC;
constexpr wchar_t SA_FINAL_FVS2 = 0xE9CD;

}  // namespace

void CToPua::shapePlainLetter(WordWalk& walk) {
    const wchar_t isolate = isolateGlyph(walk.current);
    if (isolate == 0) {
        walk.append(walk.current);
        return;
    }
    if (walk.current == MN_SA && walk.position == POS_FINAL) {
        if (walk.next == MN_FVS1) return walk.append(SA_FINAL_FVS1);
        if (walk.next == MN_FVS2) return walk.append(SA_FINAL_FVS2);
    }
    walk.append(static_cast<wchar_t>(isolate + walk.position));
}
