#include <gtest/gtest.h>

#include "ShapingText.h"

namespace {

wchar_t ligature(wchar_t consonant, int position, wchar_t vowel) {
    const std::wstring glyph = CToPua::getConVowel(consonant, position, vowel);
    return glyph.size() == 1 ? glyph[0] : 0;
}

wchar_t cluster(wchar_t first, wchar_t second) {
    const std::wstring glyph = CToPua::getConCon(first, second, CToPua::POS_MEDIAL);
    return glyph.size() == 1 ? glyph[0] : 0;
}

struct Letter {
    wchar_t letter, isolate, oeLast, ueLast, oeInside, ueInside;
};

const Letter kLetters[] = {
    {MN_BA, 0xE870, 0xE88C, 0xE891, 0xE9D1, 0xE9D2},
    {MN_PA, 0xE898, 0xE8B4, 0xE8B9, 0xE9D3, 0xE9D4},
    {MN_FA, 0xE938, 0xE954, 0xE959, 0xE9D9, 0xE9DA},
    {MN_KA, 0xE960, 0xE97C, 0xE981, 0xE9DB, 0xE9DC},
    {MN_KHA, 0xE988, 0xE9A4, 0xE9A9, 0xE9DD, 0xE9DE},
};

}  // namespace

TEST(ToPuaLigatureConsonants, SharedRulesOfAllFive) {
    for (const Letter& l : kLetters) {
        const wchar_t c = l.letter;
        const wchar_t initial = l.isolate + 1, medial = l.isolate + 2, final = l.isolate + 3;
        EXPECT_EQ(shapeWord({c}), codes({l.isolate})) << hex(c);
        EXPECT_EQ(shapeWord({c, MN_FVS1}), codes({l.isolate})) << hex(c);
        EXPECT_EQ(shapeWord({c, MN_SA}), codes({initial, 0xE90D})) << hex(c);
        EXPECT_EQ(shapeWord({MN_SA, c, MN_SA}), codes({0xE90B, medial, 0xE90D})) << hex(c);
        EXPECT_EQ(shapeWord({MN_SA, c, MN_FVS2}), codes({0xE90B, final})) << hex(c);
        EXPECT_EQ(shapeWord({MN_A, c, MN_FVS1, MN_A}), codes({0xE822, medial, 0xE825})) << hex(c);

        // The vowel is taken into the ligature in every position but isolate.
        EXPECT_EQ(shapeWord({c, MN_U}), codes({ligature(c, 0, MN_U)})) << hex(c);
        EXPECT_EQ(shapeWord({c, MN_U, MN_FVS1}), codes({ligature(c, 0, MN_U)})) << hex(c);
        EXPECT_EQ(shapeWord({c, MN_U, MN_FVS2}), codes({ligature(c, 1, MN_U)})) << hex(c);
        EXPECT_EQ(shapeWord({c, MN_I, MN_SA}), codes({ligature(c, 1, MN_I), 0xE90D})) << hex(c);
        EXPECT_EQ(shapeWord({MN_SA, c, MN_EE}), codes({0xE90B, ligature(c, 3, MN_EE)})) << hex(c);
        EXPECT_EQ(shapeWord({MN_SA, c, MN_O, MN_SA}), codes({0xE90B, ligature(c, 2, MN_O), 0xE90D}))
            << hex(c);

        // OE and UE with FVS1 after them have glyphs of their own in the middle of a word.
        EXPECT_EQ(shapeWord({MN_A, c, MN_OE, MN_FVS1}), codes({0xE822, l.oeLast})) << hex(c);
        EXPECT_EQ(shapeWord({MN_A, c, MN_UE, MN_FVS1}), codes({0xE822, l.ueLast})) << hex(c);
        EXPECT_EQ(shapeWord({MN_A, c, MN_OE, MN_FVS1, MN_RA}), codes({0xE822, l.oeInside, 0xE931}))
            << hex(c);
        EXPECT_EQ(shapeWord({MN_A, c, MN_UE, MN_FVS1, MN_RA}), codes({0xE822, l.ueInside, 0xE931}))
            << hex(c);
        EXPECT_EQ(shapeWord({MN_A, c, MN_OE, MN_FVS2}), codes({0xE822, ligature(c, 2, MN_OE)}))
            << hex(c);

        // Medial clusters, only with a code point after the second consonant.
        for (wchar_t second : {MN_NA, MN_MA, MN_LA}) {
            EXPECT_EQ(shapeWord({MN_A, c, second, MN_A}),
                      codes({0xE822, cluster(c, second), 0xE825}))
                << hex(c) << " " << hex(second);
        }
        // Clusters are formed in the middle of a word only, and never with its last letter; the
        // second consonant then keeps a glyph of its own.
        EXPECT_EQ(shapeWord({c, MN_NA, MN_A}), codes({initial, 0xE865, 0xE825})) << hex(c);
        EXPECT_EQ(shapeWord({MN_A, c, MN_NA}), codes({0xE822, medial, 0xE866})) << hex(c);
        EXPECT_EQ(shapeWord({MN_A, c, MN_SA, MN_A}), codes({0xE822, medial, 0xE90C, 0xE825}))
            << hex(c);
    }
}

TEST(ToPuaLigatureConsonants, InitialLigatureTakesTheIsolateFormOnlyBeforeAClosingFvs1) {
    EXPECT_EQ(shapeWord({MN_BA, MN_A}), codes({0xE874}));
    EXPECT_EQ(shapeWord({MN_BA, MN_A, MN_FVS1}), codes({0xE874}));
    EXPECT_EQ(shapeWord({MN_BA, MN_OE, MN_FVS1}), codes({0xE888}));
    EXPECT_EQ(shapeWord({MN_BA, MN_A, MN_NA}), codes({0xE875, 0xE866}));
    EXPECT_EQ(shapeWord({MN_BA, MN_A, MN_FVS2}), codes({0xE875}));
    EXPECT_EQ(shapeWord({MN_BA, MN_A, MN_MVS, MN_A}), codes({0xE874, 0xE827}));
    // The consumed vowel is still the previous code point of the letter after it.
    EXPECT_EQ(shapeWord({MN_BA, MN_A, MN_I, MN_SA}), codes({0xE875, 0xE836, 0xE90D}));
}

TEST(ToPuaLigatureConsonants, FinalAndMedialLigatures) {
    EXPECT_EQ(shapeWord({MN_A, MN_BA}), codes({0xE822, 0xE873}));
    EXPECT_EQ(shapeWord({MN_A, MN_BA, MN_FVS1}), codes({0xE822, 0xE9CE}));
    EXPECT_EQ(shapeWord({MN_A, MN_BA, MN_FVS2}), codes({0xE822, 0xE873}));
    EXPECT_EQ(shapeWord({MN_A, MN_PA, MN_FVS1}), codes({0xE822, 0xE89B}));
    EXPECT_EQ(shapeWord({MN_A, MN_BA, MN_A}), codes({0xE822, 0xE877}));
    // A vowel before a closing FVS1 stays medial.
    EXPECT_EQ(shapeWord({MN_A, MN_BA, MN_A, MN_FVS1}), codes({0xE822, 0xE876}));
    EXPECT_EQ(shapeWord({MN_A, MN_BA, MN_E, MN_FVS1}), codes({0xE822, 0xE87A}));
}

TEST(ToPuaLigatureConsonants, RulesOfBaAndFaAlone) {
    EXPECT_EQ(shapeWord({MN_FA, MN_OE, MN_FVS1}), codes({0xE954}));
    EXPECT_EQ(shapeWord({MN_FA, MN_UE, MN_FVS1}), codes({0xE959}));
    EXPECT_EQ(shapeWord({MN_KA, MN_UE, MN_FVS1}), codes({ligature(MN_KA, 0, MN_UE)}));
    EXPECT_EQ(shapeWord({MN_FA, MN_OE, MN_FVS1, MN_SA}),
              codes({ligature(MN_FA, 1, MN_OE), 0xE90D}));

    EXPECT_EQ(shapeWord({MN_FA, MN_RA}), codes({0xE939, 0xE931}));
    EXPECT_EQ(shapeWord({MN_FA, MN_RA, MN_A}), codes({0xEAB6, 0xE825}));
    EXPECT_EQ(shapeWord({MN_FA, MN_RA, MN_FVS1}), codes({0xEAB6}));
    EXPECT_EQ(shapeWord({MN_A, MN_FA, MN_RA, MN_A}), codes({0xE822, 0xE93A, 0xE930, 0xE825}));
    EXPECT_EQ(shapeWord({MN_KA, MN_RA, MN_A}), codes({0xE961, 0xE930, 0xE825}));

    // BA keeps QA or GA apart before E, I, OE or UE; the others form the cluster.
    EXPECT_EQ(shapeWord({MN_A, MN_PA, MN_GA, MN_E}), codes({0xE822, 0xE9E9, 0xE82D}));
    EXPECT_EQ(shapeWord({MN_A, MN_BA, MN_GA, MN_EE}), codes({0xE822, 0xE9E7, 0xE85D}));
    EXPECT_EQ(shapeWord({MN_A, MN_BA, MN_QA, MN_A}), codes({0xE822, 0xE9E6, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_BA, MN_NA, MN_E}), codes({0xE822, 0xE9F0, 0xE82D}));
}
