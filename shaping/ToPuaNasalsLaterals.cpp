// NA takes variants by the selector or vowel after it; ANG, MA and LA join the consonant after
// them in a cluster, in the middle of a word only.

#include "shaping/ToPua.h"

namespace {

// Whether a consonant after the current letter can join it: it must not be the word's last
// code point, so that the letter after it is shaped by its own rules.
bool joinable(const CToPua::WordWalk& walk) {
    return walk.index < walk.lastIndex - 1;
}

void shapeNa(CToPua::WordWalk& walk) {
    const wchar_t next = walk.next;
    switch (walk.position) {
        case CToPua::POS_ISOLATE:
            return walk.append(next == MN_FVS1 ? 0xE861 : 0xE860);
        case CToPua::POS_INITIAL:
            return walk.append(next == MN_FVS1 ? 0xE863 : 0xE862);
        case CToPua::POS_FINAL:
            if (next == MN_FVS1) return walk.append(0xE867);
            if (next == MN_FVS2) return walk.append(0xEA23);
            return walk.append(walk.hasTail() ? 0xE867 : 0xE866);
        default:
            return walk.append(next == MN_FVS1 || CToPua::isVowel(next) ? 0xE865 : 0xE864);
    }
}

// ANG joins a cluster consonant only when a back vowel follows that.
bool angCluster(CToPua::WordWalk& walk) {
    return CToPua::isGNML(walk.next) && joinable(walk) && CToPua::isMVowel(walk.afterNext) &&
           walk.appendCluster(walk.next);
}

// MA and LA join only a following LA.
bool laCluster(CToPua::WordWalk& walk) {
    return walk.next == MN_LA && joinable(walk) && walk.appendCluster(MN_LA);
}

}  // namespace

void CToPua::shapeNasalLateral(WordWalk& walk) {
    if (walk.current == MN_NA) return shapeNa(walk);

    wchar_t isolate = 0;
    bool (*cluster)(WordWalk&) = nullptr;
    switch (walk.current) {
        case MN_ANG:
            isolate = 0xE868;
            cluster = angCluster;
            break;
        case MN_MA:
            isolate = 0xE902;
            cluster = laCluster;
            break;
        case MN_LA:
            isolate = 0xE906;
            cluster = laCluster;
            break;
        default:
            return walk.append(walk.current);
    }
    if (walk.position == POS_MEDIAL && cluster(walk)) return;
    walk.append(static_cast<wchar_t>(isolate + walk.position));
}
