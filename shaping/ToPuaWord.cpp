#include <utility>

#include "shaping/ToPua.h"

// A piece ending in one of these loses them before the walk and gets one tail glyph after it.
const wchar_t MS_MVS_A[] = {MN_MVS, MN_A, 0};
const wchar_t MS_MVS_E[] = {MN_MVS, MN_E, 0};

namespace {

constexpr wchar_t TAIL_MVS_A = 0xE827;
constexpr wchar_t TAIL_MVS_E = 0xE82F;

int lastIndexOf(const std::wstring& text) {
    return static_cast<int>(text.size()) - 1;
}

}  // namespace

CToPua::WordWalk::WordWalk(const std::wstring& word, std::wstring tail)
    : word(word),
      tail(std::move(tail)),
      lastIndex(lastIndexOf(word)),
      isolate(CToPua::isIsolate(word, lastIndex)) {}

wchar_t CToPua::WordWalk::at(int k) const {
    return k >= 0 && k <= lastIndex ? word[static_cast<size_t>(k)] : MN_OUTSIDE;
}

void CToPua::WordWalk::load() {
    current = at(index);
    next = index < lastIndex ? at(index + 1) : MN_OUTSIDE;
    afterNext = index < lastIndex - 1 ? at(index + 2) : MN_OUTSIDE;
    previous = index > 0 ? at(index - 1) : MN_OUTSIDE;
    if (isolate) {
        position = POS_ISOLATE;
    } else if (index == 0) {
        position = POS_INITIAL;
    } else if (CToPua::isFinal(next, index, lastIndex)) {
        position = POS_FINAL;
    } else {
        position = POS_MEDIAL;
    }
}

void CToPua::WordWalk::append(wchar_t glyph) {
    // Appended as the code point itself, so that U+0000 passing through is not lost.
    output.push_back(glyph);
}

std::wstring CToPua::convertWord(std::wstring piece) const {
    std::wstring tail;
    if (EndWith(piece, MS_MVS_A)) {
        tail = GetWString(TAIL_MVS_A);
    } else if (EndWith(piece, MS_MVS_E)) {
        tail = GetWString(TAIL_MVS_E);
    }
    if (!tail.empty()) piece.resize(piece.size() - 2);

    WordWalk walk(piece, tail);
    walk.output.reserve(piece.size() + tail.size());
    for (; !walk.done(); walk.step()) {
        walk.load();
        shapeCode(walk);
    }
    walk.append(walk.tail);
    return std::move(walk.output);
}

void CToPua::shapeCode(WordWalk& walk) {
    const wchar_t c = walk.current;
    switch (c) {
        case MN_FVS1:
        case MN_FVS2:
        case MN_FVS3:
        case MN_MVS:
            // Selectors and the vowel separator only steer the letters around them.
            return;
        case MN_A:
        case MN_E:
        case MN_I:
        case MN_O:
        case MN_U:
        case MN_OE:
        case MN_UE:
        case MN_EE:
            shapeVowel(walk);
            return;
        case MN_QA:
        case MN_GA:
            shapeVelar(walk);
            return;
        case MN_BA:
        case MN_PA:
        case MN_FA:
        case MN_KA:
        case MN_KHA:
            shapeLigatureConsonant(walk);
            return;
        case MN_NA:
        case MN_ANG:
        case MN_MA:
        case MN_LA:
            shapeNasalLateral(walk);
            return;
        case MN_TA:
        case MN_DA:
        case MN_JA:
        case MN_YA:
        case MN_WA:
            shapeDentalGlide(walk);
            return;
        case MN_SA:
        case MN_SHA:
        case MN_CHA:
        case MN_RA:
        case MN_TSA:
        case MN_ZA:
        case MN_HAA:
        case MN_ZRA:
        case MN_LHA:
        case MN_ZHI:
        case MN_CHI:
            shapePlainLetter(walk);
            return;
        default:
            // NIRUGU, ZWJ and everything without a rule pass through and keep their place.
            walk.append(c);
            return;
    }
}
