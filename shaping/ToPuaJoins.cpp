// A consonant that fuses with the code point after it: the glyph of the pair replaces both, and
// the walk steps over the second.

#include "shaping/ToPua.h"

void CToPua::WordWalk::appendVowelLigature(const Fvs1Ligatures& fvs1) {
    const wchar_t vowel = next;
    const bool vowelIsLast = index == lastIndex - 1;
    // The vowel followed by FVS1 and nothing else.
    const bool closingFvs1 = index == lastIndex - 2 && at(lastIndex) == MN_FVS1;
    int form = POS_MEDIAL;
    if (position == POS_INITIAL) {
        // Nothing but a selector after the vowel: the pair is the whole word.
        form = vowelIsLast || closingFvs1 ? POS_ISOLATE : POS_INITIAL;
    } else if (vowelIsLast) {
        form = POS_FINAL;
    } else if ((vowel == MN_OE || vowel == MN_UE) && afterNext == MN_FVS1) {
        const bool oe = vowel == MN_OE;
        append(closingFvs1 ? (oe ? fvs1.oeLast : fvs1.ueLast)
                           : (oe ? fvs1.oeInside : fvs1.ueInside));
        consume();
        return;
    }
    append(CToPua::getConVowel(current, form, vowel));
    consume();
}

bool CToPua::WordWalk::appendCluster(wchar_t second, int count) {
    const std::wstring glyph = CToPua::getConCon(current, second, POS_MEDIAL);
    // A pair without a glyph of its own is no cluster: taking the second letter in anyway would
    // drop it from the text.
    if (glyph.empty()) return false;
    append(glyph);
    consume(count);
    return true;
}
