#include <gtest/gtest.h>

#include "ShapingText.h"

namespace {

// The glyph a letter takes by its own rules between two A, for words where it must not be taken
// into the glyph of the consonant before it.
wchar_t ownMedialGlyph(wchar_t letter) {
    return shapeWord({MN_A, letter, MN_A})[1];
}

}  // namespace

TEST(ToPuaVelarQa, FormsBySelector) {
    EXPECT_EQ(shapeWord({MN_QA}), codes({0xE8C0}));
    EXPECT_EQ(shapeWord({MN_QA, MN_FVS1}), codes({0xE8C1}));
    EXPECT_EQ(shapeWord({MN_QA, MN_FVS2}), codes({0xEA00}));
    EXPECT_EQ(shapeWord({MN_QA, MN_FVS3}), codes({0xEA02}));
    EXPECT_EQ(shapeWord({MN_QA, MN_FVS1, MN_SA}), codes({0xE8C3, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_QA, MN_FVS2, MN_SA}), codes({0xEA01, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_QA, MN_FVS3, MN_SA}), codes({0xEA03, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_QA, MN_A, MN_SA}), codes({0xE8C2, 0xE823, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA}), codes({0xE822, 0xE8C7}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_FVS1}), codes({0xE822, 0xE8C8}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_FVS2}), codes({0xE822, 0xE8C9}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_FVS3}), codes({0xE822, 0xE8C7}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_FVS1, MN_A}), codes({0xE822, 0xE8C5, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_FVS2, MN_A}), codes({0xE822, 0xE8C6, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_FVS3, MN_A}), codes({0xE822, 0xEA04, 0xE825}));
    // Back vowels form no ligature with a velar.
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_A}), codes({0xE822, 0xE8C4, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_SA}), codes({0xE822, 0xE8C4, 0xE90D}));
}

TEST(ToPuaVelarQa, LigaturesWithFrontVowelsAndI) {
    EXPECT_EQ(shapeWord({MN_QA, MN_E}), codes({0xE8CA}));
    EXPECT_EQ(shapeWord({MN_QA, MN_E, MN_FVS1}), codes({0xE8CA}));
    EXPECT_EQ(shapeWord({MN_QA, MN_E, MN_A}), codes({0xE8CB, 0xE825}));
    EXPECT_EQ(shapeWord({MN_QA, MN_I, MN_SA}), codes({0xE8CF, 0xE90D}));
    // At the start OE or UE + FVS1 have no closing glyph of their own.
    EXPECT_EQ(shapeWord({MN_QA, MN_OE, MN_FVS1}), codes({0xE8D2}));
    EXPECT_EQ(shapeWord({MN_QA, MN_OE, MN_FVS1, MN_A}), codes({0xE8D3, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_OE, MN_FVS1}), codes({0xE822, 0xE8D6}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_UE, MN_FVS1}), codes({0xE822, 0xE8DB}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_OE, MN_FVS1, MN_A}), codes({0xE822, 0xE9D5, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_UE, MN_FVS1, MN_A}), codes({0xE822, 0xE9D6, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_E, MN_FVS1}), codes({0xE822, 0xE8CC}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_EE}), codes({0xE822, 0xE8DF}));
}

TEST(ToPuaVelarQa, NoClusterKeepsTheFollowingConsonant) {
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_NA, MN_A}), codes({0xE822, 0xE8C4, 0xE865, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_GA, MN_A}), codes({0xE822, 0xE8C4, 0xE8E5, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_QA, MN_MA, MN_A}),
              codes({0xE822, 0xE8C4, ownMedialGlyph(MN_MA), 0xE825}));
}

TEST(ToPuaVelarGa, IsolateAndInitialForms) {
    EXPECT_EQ(shapeWord({MN_GA}), codes({0xE8E0}));
    EXPECT_EQ(shapeWord({MN_GA, MN_FVS1}), codes({0xE8E1}));
    EXPECT_EQ(shapeWord({MN_GA, MN_FVS2}), codes({0xEA1B}));
    EXPECT_EQ(shapeWord({MN_GA, MN_FVS3}), codes({0xEA1C}));
    EXPECT_EQ(shapeWord({MN_GA, MN_FVS1, MN_SA}), codes({0xE8E3, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_GA, MN_FVS2, MN_SA}), codes({0xEA1D, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_GA, MN_FVS3, MN_SA}), codes({0xEA1E, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_GA, MN_A, MN_SA}), codes({0xE8E2, 0xE823, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_GA, MN_SHA, MN_A}), codes({0xEA1E, 0xE910, 0xE825}));
    EXPECT_EQ(shapeWord({MN_GA, MN_RA}), codes({0xEA1E, 0xE931}));
    EXPECT_EQ(shapeWord({MN_GA, MN_QA, MN_A}), codes({0xEA1E, 0xE8C4, 0xE825}));
    EXPECT_EQ(shapeWord({MN_GA, MN_SA}), codes({0xE8E2, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_GA, MN_E, MN_SA}), codes({0xE8EB, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_GA, MN_I}), codes({0xE8EE}));
}

TEST(ToPuaVelarGa, FinalFormsByHarmonyAndTail) {
    EXPECT_EQ(shapeWord({MN_E, MN_GA}), codes({0xE82A, 0xE8E9}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA}), codes({0xE822, 0xE8E7}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_MVS, MN_A}), codes({0xE822, 0xE8E8, 0xE827}));
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_MVS, MN_E}), codes({0xE82A, 0xE8E8, 0xE82F}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS1}), codes({0xE822, 0xE8E8}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS2}), codes({0xE822, 0xE8E9}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS1, MN_MVS, MN_A}), codes({0xE822, 0xE8E8, 0xE827}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS2, MN_MVS, MN_A}), codes({0xE822, 0xE8E9, 0xE827}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS3}), codes({0xE822, 0xE8E7}));
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_FVS3}), codes({0xE82A, 0xE8E9}));
}

TEST(ToPuaVelarGa, SearchesAroundANeutralI) {
    // Backward: three to six places before GA; the letter before the I does not count.
    EXPECT_EQ(shapeWord({MN_E, MN_LA, MN_I, MN_GA}), codes({0xE82A, 0xE908, 0xE834, 0xE8E9}));
    EXPECT_EQ(shapeWord({MN_E, MN_I, MN_GA}), codes({0xE82A, 0xE836, 0xE8E7}));
    EXPECT_EQ(shapeWord({MN_E, MN_SA, MN_SA, MN_SA, MN_SA, MN_I, MN_GA}).back(), wchar_t(0xE8E9));
    EXPECT_EQ(shapeWord({MN_E, MN_SA, MN_SA, MN_SA, MN_SA, MN_SA, MN_I, MN_GA}).back(),
              wchar_t(0xE8E7));
    EXPECT_EQ(shapeWord({MN_A, MN_SA, MN_I, MN_GA}).back(), wchar_t(0xE8E7));
    EXPECT_EQ(shapeWord({MN_E, MN_SA, MN_SA, MN_I, MN_GA, MN_SA}),
              codes({0xE82A, 0xE90C, 0xE90C, 0xE834, 0xEA1F, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_E, MN_I, MN_GA, MN_SA}),
              codes({0xE90B, 0xE82C, 0xE836, 0xE8E4, 0xE90D}));
    // Forward, in the middle of a word: two to four places after GA.
    EXPECT_EQ(shapeWord({MN_I, MN_GA, MN_SA, MN_E}), codes({0xE832, 0xEA1F, 0xE90C, 0xE82D}));
    EXPECT_EQ(shapeWord({MN_I, MN_GA, MN_SA, MN_SA, MN_SA, MN_E})[1], wchar_t(0xEA1F));
    EXPECT_EQ(shapeWord({MN_I, MN_GA, MN_SA, MN_SA, MN_SA, MN_SA, MN_E})[1], wchar_t(0xE8E4));
    EXPECT_EQ(shapeWord({MN_I, MN_GA, MN_SA, MN_A})[1], wchar_t(0xE8E4));
}

TEST(ToPuaVelarGa, MedialFormsAndLigatures) {
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_A}), codes({0xE822, 0xE8E5, 0xE825}));
    EXPECT_EQ(shapeWord({MN_SA, MN_GA, MN_A}), codes({0xE90B, 0xE8E4, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS1, MN_A}), codes({0xE822, 0xE8E5, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS2, MN_A}), codes({0xE822, 0xE8E6, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS3, MN_A}), codes({0xE822, 0xEA1F, 0xE825}));
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_SA, MN_A}), codes({0xE82A, 0xEA1F, 0xE90C, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_SA, MN_A}), codes({0xE822, 0xE8E4, 0xE90C, 0xE825}));
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_MVS, MN_A, MN_SA}),
              codes({0xE82A, 0xEA1F, 0xE823, 0xE90D}));

    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_I, MN_SA}), codes({0xE822, 0xE8F0, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_OE, MN_FVS1}), codes({0xE822, 0xE8F6}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_UE, MN_FVS1}), codes({0xE822, 0xE8FB}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_OE, MN_FVS1, MN_SA}), codes({0xE822, 0xE9D7, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_UE, MN_FVS1, MN_SA}), codes({0xE822, 0xE9D8, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_A, MN_BA, MN_GA, MN_E}), codes({0xE822, 0xE872, 0xE8ED}));
}

TEST(ToPuaVelarGa, ClustersInAFrontVowelWord) {
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_NA, MN_E}), codes({0xE822, 0xE9F2, 0xE82D}));
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_LA, MN_A}), codes({0xE82A, 0xE901, 0xE825}));
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_MA, MN_A}), codes({0xE82A, 0xE900, 0xE825}));
    // Neither side front: the consonant after GA keeps its own glyph.
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_NA, MN_A}),
              codes({0xE822, 0xE8E4, ownMedialGlyph(MN_NA), 0xE825}));
    // A velar syllable with E after GA is left to its own rules.
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_GA, MN_E}), codes({0xE82A, 0xEA1F, 0xE8ED}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS3, MN_LA, MN_A}), codes({0xE822, 0xE901, 0xE825}));
}

TEST(ToPuaVelarGa, VelarPairsWithoutAClusterGlyphLoseNoLetter) {
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_QA, MN_EE}), codes({0xE82A, 0xEA1F, 0xE8DF}));
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_GA, MN_A}), codes({0xE82A, 0xEA1F, 0xE8E5, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_GA, MN_FVS3, MN_GA, MN_A}),
              codes({0xE822, 0xEA1F, 0xE8E5, 0xE825}));
    EXPECT_EQ(shapeWord({MN_E, MN_GA, MN_FVS3, MN_QA, MN_E}), codes({0xE82A, 0xEA1F, 0xE8CD}));
}
