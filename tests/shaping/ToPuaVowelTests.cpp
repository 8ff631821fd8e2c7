#include <gtest/gtest.h>

#include "ShapingText.h"

// Words are framed with SA (U+E90B initial, U+E90C medial, U+E90D final) so that the vowel under
// test stands where it should; only the vowel's glyph is new in each expectation.

TEST(ToPuaVowelSelectors, IsolateAndInitialForms) {
    EXPECT_EQ(shapeWord({MN_A}), codes({0xE820}));
    EXPECT_EQ(shapeWord({MN_A, MN_FVS1}), codes({0xE821}));
    EXPECT_EQ(shapeWord({MN_A, MN_FVS2}), codes({0xE820}));
    EXPECT_EQ(shapeWord({MN_A, MN_FVS3}), codes({0xE820}));
    // UE alone is the one vowel with an isolate variant for FVS2.
    EXPECT_EQ(shapeWord({MN_UE}), codes({0xE850}));
    EXPECT_EQ(shapeWord({MN_UE, MN_FVS1}), codes({0xE85F}));
    EXPECT_EQ(shapeWord({MN_UE, MN_FVS2}), codes({0xE851}));
    EXPECT_EQ(shapeWord({MN_UE, MN_FVS3}), codes({0xE850}));
    EXPECT_EQ(shapeWord({MN_OE, MN_FVS2}), codes({0xE848}));
    EXPECT_EQ(shapeWord({MN_EE, MN_FVS1}), codes({0xE859}));

    EXPECT_EQ(shapeWord({MN_A, MN_FVS1, MN_SA}), codes({0xEA21, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_OE, MN_FVS1, MN_SA}), codes({0xEA20, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_UE, MN_FVS1, MN_SA}), codes({0xE85E, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_E, MN_FVS1, MN_SA}), codes({0xE82B, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_I, MN_FVS2, MN_SA}), codes({0xE832, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_O, MN_SA}), codes({0xE83A, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_U, MN_FVS1, MN_SA}), codes({0xE843, 0xE90D}));
}

TEST(ToPuaVowelSelectors, FinalFormsByClosingSelector) {
    struct Row {
        wchar_t vowel;
        wchar_t plain, fvs1, fvs2, fvs3;
    };
    const Row rows[] = {
        {MN_A, 0xE825, 0xE826, 0xE827, 0xE825},  {MN_E, 0xE82D, 0xE82E, 0xE82F, 0xE82D},
        {MN_I, 0xE837, 0xE837, 0xE837, 0xE837},  {MN_O, 0xE83E, 0xE83F, 0xE83E, 0xE83E},
        {MN_U, 0xE846, 0xE847, 0xE846, 0xE846},  {MN_OE, 0xE84E, 0xE84F, 0xE84E, 0xE84E},
        {MN_UE, 0xE856, 0xE857, 0xE856, 0xE856}, {MN_EE, 0xE85D, 0xE85D, 0xE85D, 0xE85D},
    };
    for (const Row& r : rows) {
        const wchar_t v = r.vowel;
        EXPECT_EQ(shapeWord({MN_SA, v}), codes({0xE90B, r.plain})) << hex(v);
        EXPECT_EQ(shapeWord({MN_SA, v, MN_FVS1}), codes({0xE90B, r.fvs1})) << hex(v);
        EXPECT_EQ(shapeWord({MN_SA, v, MN_FVS2}), codes({0xE90B, r.fvs2})) << hex(v);
        EXPECT_EQ(shapeWord({MN_SA, v, MN_FVS3}), codes({0xE90B, r.fvs3})) << hex(v);
    }
}

TEST(ToPuaVowelSelectors, MedialFormsBySelectorInsideTheWord) {
    EXPECT_EQ(shapeWord({MN_SA, MN_A, MN_FVS1, MN_SA}), codes({0xE90B, 0xE824, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_A, MN_FVS2, MN_SA}), codes({0xE90B, 0xE823, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_E, MN_SA}), codes({0xE90B, 0xE82C, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_E, MN_FVS1, MN_SA}), codes({0xE90B, 0xE82C, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_O, MN_FVS1, MN_SA}), codes({0xE90B, 0xE83D, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_U, MN_FVS3, MN_SA}), codes({0xE90B, 0xE844, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_EE, MN_FVS1, MN_SA}), codes({0xE90B, 0xE85C, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_EE, MN_FVS1}), codes({0xE90B, 0xE85D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_OE, MN_FVS1, MN_SA}), codes({0xE90B, 0xE84C, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_OE, MN_FVS2, MN_SA}),
              codes({0xE90B, 0xE90C, 0xE84D, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_UE, MN_FVS1, MN_SA}),
              codes({0xE90B, 0xE90C, 0xE854, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_UE, MN_FVS2, MN_SA}),
              codes({0xE90B, 0xE90C, 0xE855, 0xE90D}));
}

TEST(ToPuaVowelContext, MedialIFollowsThePreviousLetter) {
    EXPECT_EQ(shapeWord({MN_A, MN_I, MN_SA}), codes({0xE822, 0xE836, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_O, MN_I, MN_SA}), codes({0xE83A, 0xE836, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_OE, MN_I, MN_SA}), codes({0xE84A, 0xE834, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_UE, MN_I, MN_SA}), codes({0xE852, 0xE834, 0xE90D}));
    // OE or UE count once the I stands at index 3 or later.
    EXPECT_EQ(shapeWord({MN_SA, MN_OE, MN_I, MN_SA}), codes({0xE90B, 0xE84C, 0xE834, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_OE, MN_I, MN_SA}),
              codes({0xE90B, 0xE90C, 0xE84B, 0xE836, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_UE, MN_I, MN_SA}),
              codes({0xE90B, 0xE90C, 0xE853, 0xE836, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_EE, MN_I, MN_SA}), codes({0xE85A, 0xE836, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_EE, MN_I, MN_SA}),
              codes({0xE90B, 0xE90C, 0xE85C, 0xE836, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_I, MN_SA}), codes({0xE90B, 0xE834, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_I, MN_I, MN_SA}), codes({0xE832, 0xE834, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_FVS1, MN_I, MN_SA}), codes({0xE90B, 0xE834, 0xE90D}));
    // A selector after the I outranks the letter before it.
    EXPECT_EQ(shapeWord({MN_A, MN_I, MN_FVS3, MN_SA}), codes({0xE822, 0xE834, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_I, MN_FVS2, MN_SA}), codes({0xE90B, 0xE836, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_I, MN_FVS1, MN_SA}), codes({0xE90B, 0xE835, 0xE90D}));
}

TEST(ToPuaVowelContext, MedialOeAndUeByIndex) {
    EXPECT_EQ(shapeWord({MN_SA, MN_OE, MN_SA}), codes({0xE90B, 0xE84C, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_OE, MN_SA}), codes({0xE90B, 0xE90C, 0xE84B, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_FVS1, MN_OE, MN_SA}), codes({0xE90B, 0xE84B, 0xE90D}));
    // FVS3 is no variant of medial OE or UE: they fall back to their context rule.
    EXPECT_EQ(shapeWord({MN_SA, MN_OE, MN_FVS3, MN_SA}), codes({0xE90B, 0xE84C, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_OE, MN_FVS3, MN_SA}),
              codes({0xE90B, 0xE90C, 0xE84B, 0xE90D}));

    EXPECT_EQ(shapeWord({MN_SA, MN_UE, MN_SA}), codes({0xE90B, 0xE854, 0xE90D}));
    for (wchar_t fvs : {MN_FVS1, MN_FVS2, MN_FVS3}) {
        EXPECT_EQ(shapeWord({MN_SA, fvs, MN_UE, MN_SA}), codes({0xE90B, 0xE854, 0xE90D}))
            << hex(fvs);
    }
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_UE, MN_SA}), codes({0xE90B, 0xE90C, 0xE853, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_FVS1, MN_UE, MN_SA}),
              codes({0xE90B, 0xE90C, 0xE853, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_SA, MN_UE, MN_FVS3, MN_SA}),
              codes({0xE90B, 0xE90C, 0xE853, 0xE90D}));
}

TEST(ToPuaVowelContext, TailAndTrailingControls) {
    // Before the separated tail a vowel is the word's last letter.
    EXPECT_EQ(shapeWord({MN_SA, MN_A, MN_MVS, MN_A}), codes({0xE90B, 0xE825, 0xE827}));
    EXPECT_EQ(shapeWord({MN_A, MN_MVS, MN_E}), codes({0xE820, 0xE82F}));
    EXPECT_EQ(shapeWord({MN_SA, MN_OE, MN_MVS, MN_E}), codes({0xE90B, 0xE84E, 0xE82F}));
    // Only a selector lets the vowel before a trailing control be final.
    EXPECT_EQ(shapeWord({MN_A, MN_ZWJ}), codes({0xE822, 0x200D}));
    EXPECT_EQ(shapeWord({MN_SA, MN_A, MN_NIRUGU}), codes({0xE90B, 0xE823, 0x180A}));
    EXPECT_EQ(shapeWord({MN_SA, MN_E, MN_MVS}), codes({0xE90B, 0xE82C}));
    // MVS inside a word appends nothing; the vowel after it is shaped as usual.
    EXPECT_EQ(shapeWord({MN_SA, MN_MVS, MN_A, MN_SA}), codes({0xE90B, 0xE823, 0xE90D}));
}
