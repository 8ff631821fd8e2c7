#include <gtest/gtest.h>

#include "ShapingText.h"

TEST(ToPuaLetterClasses, SelectorsAreTheThreeFreeVariationSelectorsOnly) {
    EXPECT_TRUE(CToPua::isFVS(MN_FVS1));
    EXPECT_TRUE(CToPua::isFVS(MN_FVS2));
    EXPECT_TRUE(CToPua::isFVS(MN_FVS3));
    EXPECT_FALSE(CToPua::isFVS(MN_MVS));
    EXPECT_FALSE(CToPua::isFVS(0x180F));
    EXPECT_FALSE(CToPua::isFVS(MN_NIRUGU));
}

TEST(ToPuaLetterClasses, VowelClassesOverTheWholeBlock) {
    const std::wstring back = codes({MN_A, MN_O, MN_U});
    const std::wstring front = codes({MN_E, MN_OE, MN_UE, MN_EE});
    const std::wstring clusterSeconds = codes({MN_NA, MN_QA, MN_GA, MN_MA, MN_LA});
    for (wchar_t c = 0x1800; c <= 0x18AF; ++c) {
        const bool isBack = back.find(c) != std::wstring::npos;
        const bool isFront = front.find(c) != std::wstring::npos;
        EXPECT_EQ(CToPua::isMVowel(c), isBack) << hex(c);
        EXPECT_EQ(CToPua::isFMVowel(c), isFront) << hex(c);
        EXPECT_EQ(CToPua::isVowel(c), isBack || isFront || c == MN_I) << hex(c);
        EXPECT_EQ(CToPua::isGNML(c), clusterSeconds.find(c) != std::wstring::npos) << hex(c);
    }
    // I is a vowel of neither harmony class.
    EXPECT_TRUE(CToPua::isVowel(MN_I));
    EXPECT_FALSE(CToPua::isMVowel(MN_I));
    EXPECT_FALSE(CToPua::isFMVowel(MN_I));
    EXPECT_FALSE(CToPua::isGNML(MN_ANG));
    EXPECT_FALSE(CToPua::isGNML(MN_BA));
}

TEST(ToPuaLetterClasses, FinalIsTheLastCodePointOrTheOneBeforeAClosingSelector) {
    EXPECT_TRUE(CToPua::isFinal(MN_OUTSIDE, 4, 4));
    EXPECT_TRUE(CToPua::isFinal(MN_A, 4, 4));
    EXPECT_TRUE(CToPua::isFinal(MN_FVS2, 3, 4));
    EXPECT_FALSE(CToPua::isFinal(MN_MVS, 3, 4));
    EXPECT_FALSE(CToPua::isFinal(MN_A, 3, 4));
    EXPECT_FALSE(CToPua::isFinal(MN_ZWJ, 3, 4));
    EXPECT_FALSE(CToPua::isFinal(MN_FVS1, 2, 4));
    // Signed comparison: index 0 of an empty word is past its end, not before its last selector.
    EXPECT_FALSE(CToPua::isFinal(MN_FVS1, 0, -1));
    EXPECT_TRUE(CToPua::isFinal(MN_FVS1, -2, -1));
}

TEST(ToPuaLetterClasses, IsolateIsOneCodePointWithAtMostOneSelector) {
    EXPECT_TRUE(CToPua::isIsolate(codes({MN_SA}), 0));
    EXPECT_TRUE(CToPua::isIsolate(codes({MN_SA, MN_FVS1}), 1));
    EXPECT_FALSE(CToPua::isIsolate(codes({MN_SA, MN_MVS}), 1));
    EXPECT_FALSE(CToPua::isIsolate(codes({MN_SA, MN_FVS1, MN_FVS2}), 2));
    EXPECT_FALSE(CToPua::isIsolate(L"", -1));
    // The first code point is not examined.
    EXPECT_TRUE(CToPua::isIsolate(codes({MN_ZWJ}), 0));
    EXPECT_TRUE(CToPua::isIsolate(codes({MN_MVS, MN_FVS3}), 1));
    // A last index that overstates the word never reads past it.
    EXPECT_FALSE(CToPua::isIsolate(codes({MN_SA}), 1));
}

TEST(ToPuaLetterClasses, StartAndEndTests) {
    EXPECT_FALSE(CToPua::EndWith(codes({MN_A}), codes({MN_MVS, MN_A})));
    EXPECT_FALSE(CToPua::EndWith(L"", MN_A));
    EXPECT_TRUE(CToPua::EndWith(codes({MN_SA}), L""));
    EXPECT_TRUE(CToPua::EndWith(L"", L""));
    EXPECT_TRUE(CToPua::EndWith(codes({MN_SA, MN_MVS, MN_A}), codes({MN_MVS, MN_A})));
    EXPECT_FALSE(CToPua::EndWith(codes({MN_SA, MN_MVS, MN_A, MN_FVS1}), codes({MN_MVS, MN_A})));
    EXPECT_TRUE(CToPua::EndWith(codes({MN_SA, MN_RA}), MN_RA));
    EXPECT_FALSE(CToPua::EndWith(codes({MN_SA, MN_RA}), MN_SA));

    EXPECT_FALSE(CToPua::StartWith(L"", MN_A));
    EXPECT_TRUE(CToPua::StartWith(codes({MN_A, MN_SA}), MN_A));
    EXPECT_FALSE(CToPua::StartWith(codes({MN_A, MN_SA}), MN_SA));
    EXPECT_TRUE(CToPua::StartWith(codes({MN_A}), L""));
    EXPECT_TRUE(CToPua::StartWith(codes({MN_A, MN_SA}), codes({MN_A, MN_SA})));
    EXPECT_FALSE(CToPua::StartWith(codes({MN_A}), codes({MN_A, MN_SA})));
    EXPECT_FALSE(CToPua::StartWith(codes({MN_SA, MN_A}), codes({MN_A})));
}
