#include <gtest/gtest.h>

#include "ShapingText.h"

TEST(ToPuaDentalTa, FormsBySelector) {
    EXPECT_EQ(shapeWord({MN_TA}), codes({0xE912}));
    EXPECT_EQ(shapeWord({MN_TA, MN_FVS1}), codes({0xE913}));
    EXPECT_EQ(shapeWord({MN_TA, MN_FVS2}), codes({0xE912}));
    EXPECT_EQ(shapeWord({MN_TA, MN_TA, MN_TA}), codes({0xE914, 0xE915, 0xE918}));
    EXPECT_EQ(shapeWord({MN_TA, MN_TA, MN_FVS1, MN_TA}), codes({0xE914, 0xE916, 0xE918}));
    EXPECT_EQ(shapeWord({MN_TA, MN_TA, MN_FVS2, MN_TA}), codes({0xE914, 0xE917, 0xE918}));
    EXPECT_EQ(shapeWord({MN_TA, MN_TA, MN_FVS3, MN_TA}), codes({0xE914, 0xE915, 0xE918}));
    EXPECT_EQ(shapeWord({MN_TA, MN_FVS1, MN_TA}), codes({0xE914, 0xE918}));
    EXPECT_EQ(shapeWord({MN_TA, MN_TA, MN_FVS1}), codes({0xE914, 0xE918}));
}

TEST(ToPuaDentalDa, FormsBySelectorAndVowel) {
    EXPECT_EQ(shapeWord({MN_DA}), codes({0xE919}));
    EXPECT_EQ(shapeWord({MN_DA, MN_FVS1}), codes({0xE919}));
    EXPECT_EQ(shapeWord({MN_DA, MN_DA, MN_DA}), codes({0xE91A, 0xE91C, 0xE91E}));
    EXPECT_EQ(shapeWord({MN_DA, MN_FVS1, MN_DA}), codes({0xE91B, 0xE91E}));
    EXPECT_EQ(shapeWord({MN_DA, MN_DA, MN_FVS1}), codes({0xE91A, 0xE91F}));
    EXPECT_EQ(shapeWord({MN_DA, MN_DA, MN_FVS1, MN_DA}), codes({0xE91A, 0xE91D, 0xE91E}));
    EXPECT_EQ(shapeWord({MN_DA, MN_DA, MN_A}), codes({0xE91A, 0xE91D, 0xE825}));
    EXPECT_EQ(shapeWord({MN_DA, MN_DA, MN_I}), codes({0xE91A, 0xE91D, 0xE837}));
    EXPECT_EQ(shapeWord({MN_DA, MN_GA, MN_A}), codes({0xE91A, 0xE8E4, 0xE825}));
}

TEST(ToPuaPalatalJa, IsolateVariantWithTail) {
    EXPECT_EQ(shapeWord({MN_JA}), codes({0xE924}));
    EXPECT_EQ(shapeWord({MN_JA, MN_FVS1}), codes({0xE925}));
    EXPECT_EQ(shapeWord({MN_JA, MN_MVS, MN_A}), codes({0xE925, 0xE827}));
    EXPECT_EQ(shapeWord({MN_JA, MN_JA, MN_JA}), codes({0xE926, 0xE927, 0xE928}));
    EXPECT_EQ(shapeWord({MN_JA, MN_JA, MN_MVS, MN_A}), codes({0xE926, 0xE928, 0xE827}));
    EXPECT_EQ(shapeWord({MN_JA, MN_JA, MN_FVS1}), codes({0xE926, 0xE928}));
}

TEST(ToPuaGlideYa, MedialVariantBeforeASyllabicI) {
    EXPECT_EQ(shapeWord({MN_YA}), codes({0xE929}));
    EXPECT_EQ(shapeWord({MN_YA, MN_FVS1, MN_YA}), codes({0xE92B, 0xE92D}));
    EXPECT_EQ(shapeWord({MN_YA, MN_YA, MN_YA}), codes({0xE92A, 0xE92C, 0xE92D}));
    EXPECT_EQ(shapeWord({MN_YA, MN_YA, MN_FVS1, MN_YA}), codes({0xE92A, 0xEA22, 0xE92D}));

    auto yaOf = [](std::initializer_list<wchar_t> word, size_t at) {
        return shapeWord(word).at(at);
    };
    for (wchar_t v : {MN_A, MN_E, MN_O, MN_U}) {
        EXPECT_EQ(yaOf({v, MN_YA, MN_I, MN_NA}, 1), wchar_t(0xEA22)) << hex(v);
    }
    EXPECT_EQ(yaOf({MN_A, MN_YA, MN_I}, 1), wchar_t(0xE92C));
    EXPECT_EQ(yaOf({MN_A, MN_YA, MN_I, MN_FVS1, MN_NA}, 1), wchar_t(0xE92C));
    for (wchar_t p : {MN_I, MN_EE, MN_NA}) {
        EXPECT_EQ(yaOf({p, MN_YA, MN_I, MN_NA}, 1), wchar_t(0xE92C)) << hex(p);
    }
    EXPECT_EQ(yaOf({MN_A, MN_YA, MN_A, MN_NA}, 1), wchar_t(0xE92C));
    EXPECT_EQ(yaOf({MN_OE, MN_YA, MN_I, MN_NA}, 1), wchar_t(0xE92C));
    EXPECT_EQ(yaOf({MN_UE, MN_YA, MN_I, MN_NA}, 1), wchar_t(0xE92C));
    EXPECT_EQ(yaOf({MN_NA, MN_OE, MN_YA, MN_I, MN_NA}, 2), wchar_t(0xEA22));
    EXPECT_EQ(yaOf({MN_NA, MN_UE, MN_YA, MN_I, MN_NA}, 2), wchar_t(0xEA22));
    EXPECT_EQ(shapeWord({MN_A, MN_YA, MN_I, MN_NA}), codes({0xE822, 0xEA22, 0xE834, 0xE866}));
}

TEST(ToPuaGlideWa, FinalVariantWithTail) {
    EXPECT_EQ(shapeWord({MN_WA}), codes({0xE932}));
    EXPECT_EQ(shapeWord({MN_WA, MN_FVS1}), codes({0xE932}));
    EXPECT_EQ(shapeWord({MN_WA, MN_MVS, MN_A}), codes({0xE932, 0xE827}));
    EXPECT_EQ(shapeWord({MN_WA, MN_WA, MN_WA}), codes({0xE933, 0xE935, 0xE936}));
    EXPECT_EQ(shapeWord({MN_WA, MN_FVS1, MN_WA}), codes({0xE934, 0xE936}));
    EXPECT_EQ(shapeWord({MN_WA, MN_WA, MN_FVS1}), codes({0xE933, 0xE937}));
    EXPECT_EQ(shapeWord({MN_WA, MN_WA, MN_MVS, MN_A}), codes({0xE933, 0xE937, 0xE827}));
    EXPECT_EQ(shapeWord({MN_WA, MN_WA, MN_MVS, MN_E}), codes({0xE933, 0xE937, 0xE82F}));
}
