#include <gtest/gtest.h>

#include "ShapingText.h"

namespace {

std::wstring advance(const std::wstring& text) {
    return converter().Advance(text);
}

}  // namespace

TEST(ToPuaAdvanceMarks, ExclamationAndQuestionTakeOneCodePointOfLookAhead) {
    EXPECT_EQ(advance(L"!?"), codes({0xE81B}));
    EXPECT_EQ(advance(L"?!"), codes({0xE81A}));
    EXPECT_EQ(advance(L"!!"), codes({0xE81C, 0xE81C}));
    EXPECT_EQ(advance(L"??"), codes({0xE81D, 0xE81D}));
    EXPECT_EQ(advance(L"!?!"), codes({0xE81B, 0xE81C}));
    EXPECT_EQ(advance(L"?!?"), codes({0xE81A, 0xE81D}));
    EXPECT_EQ(advance(L"!"), codes({0xE81C}));
    EXPECT_EQ(advance(L"?"), codes({0xE81D}));
    EXPECT_EQ(advance(L"! ?"), codes({0xE81C, 0x20, 0xE81D}));
    EXPECT_EQ(advance(L",:;"), L",:;");
}

TEST(ToPuaAdvanceMarks, BirgaTakesAFollowingSelector) {
    EXPECT_EQ(advance(codes({0x1800, MN_FVS1})), codes({0xEA24}));
    EXPECT_EQ(advance(codes({0x1800, MN_FVS2})), codes({0xEA25}));
    EXPECT_EQ(advance(codes({0x1800, MN_FVS3})), codes({0xEA26}));
    // The taken selector starts no run: the SA after it is a word of its own.
    EXPECT_EQ(advance(codes({0x1800, MN_FVS2, MN_SA})), codes({0xEA25, 0xE90A}));
    EXPECT_EQ(advance(codes({0x1800, MN_SA})), codes({0x1800, 0xE90A}));
    // MVS is no selector: it stays in the run and counts as the word's first position.
    EXPECT_EQ(advance(codes({0x1800, MN_MVS, MN_SA})), codes({0x1800, 0xE90D}));
    EXPECT_EQ(advance(codes({0x1800})), codes({0x1800}));
    // A selector after a letter belongs to the word.
    EXPECT_EQ(advance(codes({MN_RA, MN_SA, MN_FVS1})), codes({0xE92F, 0xE9CC}));
}

TEST(ToPuaAdvanceMarks, MongolianPunctuationAndDigits) {
    EXPECT_EQ(
        advance(codes({0x1801, 0x1802, 0x1803, 0x1804, 0x1805, 0x1806, 0x1807, 0x1808, 0x1809})),
        codes({0xE801, 0xE802, 0xE803, 0xE804, 0xE805, 0xE806, 0xE807, 0x1808, 0xE809}));
    for (wchar_t d = 0; d < 10; ++d) {
        EXPECT_EQ(advance(codes({static_cast<wchar_t>(0x1810 + d)})),
                  codes({static_cast<wchar_t>(0xE810 + d)}));
    }
    EXPECT_EQ(advance(L"0123456789"), L"0123456789");
}

TEST(ToPuaAdvanceMarks, OtherCodePointsPassUnchanged) {
    EXPECT_EQ(advance(L""), L"");
    EXPECT_EQ(advance(L"abc ."), L"abc .");
    EXPECT_EQ(advance(codes({0x181A, 0x18AA, 0x200C, 0xE827, 0x10FFFF})),
              codes({0x181A, 0x18AA, 0x200C, 0xE827, 0x10FFFF}));
    EXPECT_EQ(advance(codes({0, 0x41, 0})), codes({0, 0x41, 0}));
}

TEST(ToPuaAdvanceRuns, RunMembership) {
    for (wchar_t c = MN_NIRUGU; c <= MN_MVS; ++c) EXPECT_TRUE(CToPua::isMongolian(c));
    for (wchar_t c = MN_A; c <= 0x1877; ++c) EXPECT_TRUE(CToPua::isMongolian(c));
    EXPECT_TRUE(CToPua::isMongolian(MN_NNBSP));
    EXPECT_TRUE(CToPua::isMongolian(MN_ZWJ));
    for (wchar_t c :
         {0x1800, 0x1809, 0x180F, 0x1810, 0x1819, 0x181F, 0x1878, 0x18AF, 0x200C, 0x20, 0x41, 0}) {
        EXPECT_FALSE(CToPua::isMongolian(c)) << hex(c);
    }
}

TEST(ToPuaAdvanceRuns, RunsEndAtEveryNonMember) {
    EXPECT_EQ(advance(codes({MN_SA, MN_RA})), codes({0xE90B, 0xE931}));
    EXPECT_EQ(advance(codes({0x20, MN_SA, MN_RA})), codes({0x20, 0xE90B, 0xE931}));
    EXPECT_EQ(advance(codes({MN_SA, MN_RA, 0x20, MN_SA})), codes({0xE90B, 0xE931, 0x20, 0xE90A}));
    for (wchar_t stop : {0x180F, 0x1878, 0x18AF, 0x200C}) {
        EXPECT_EQ(advance(codes({MN_SA, stop, MN_SA})), codes({0xE90A, stop, 0xE90A})) << hex(stop);
    }
    // The run is shaped before the mark after it, and a run at the end after the last mark.
    EXPECT_EQ(advance(codes({MN_SA, MN_RA, 0x1803})), codes({0xE90B, 0xE931, 0xE803}));
    EXPECT_EQ(advance(codes({0x1802, MN_SA, MN_RA})), codes({0xE802, 0xE90B, 0xE931}));
    EXPECT_EQ(advance(codes({MN_SA, 0x1811, MN_RA})), codes({0xE90A, 0xE811, 0xE92E}));
}

TEST(ToPuaAdvanceRuns, NnbspAndZwjStayInTheRun) {
    EXPECT_EQ(advance(codes({MN_SA, MN_ZWJ, MN_SA})), codes({0xE90B, 0x200D, 0xE90D}));
    EXPECT_EQ(advance(codes({MN_SA, MN_SA, MN_NNBSP, MN_A})),
              codes({0xE90B, 0xE90D, 0x202F, 0xE827}));
    EXPECT_EQ(advance(codes({0x20, MN_NNBSP, MN_E, 0x1803})),
              codes({0x20, 0x202F, 0xE82F, 0xE803}));
}

TEST(ToPuaAdvanceRuns, RepeatedWordsGiveTheSameGlyphs) {
    const std::wstring word = codes({MN_SA, MN_CHA, MN_RA, MN_NNBSP, MN_E});
    const std::wstring once = advance(word);
    EXPECT_EQ(once, codes({0xE90B, 0xE922, 0xE931, 0x202F, 0xE82F}));
    EXPECT_EQ(advance(word + L" " + word + codes({0x1803}) + word),
              once + L" " + once + codes({0xE803}) + once);
}
