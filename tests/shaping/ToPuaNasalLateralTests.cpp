#include <gtest/gtest.h>

#include "ShapingText.h"

TEST(ToPuaNasalNa, FormsBySelectorVowelAndTail) {
    EXPECT_EQ(shapeWord({MN_NA}), codes({0xE860}));
    EXPECT_EQ(shapeWord({MN_NA, MN_FVS1}), codes({0xE861}));
    EXPECT_EQ(shapeWord({MN_NA, MN_FVS2}), codes({0xE860}));
    EXPECT_EQ(shapeWord({MN_NA, MN_FVS1, MN_A}), codes({0xE863, 0xE825}));
    EXPECT_EQ(shapeWord({MN_NA, MN_FVS2, MN_A}), codes({0xE862, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_NA}), codes({0xE822, 0xE866}));
    EXPECT_EQ(shapeWord({MN_A, MN_NA, MN_FVS1}), codes({0xE822, 0xE867}));
    EXPECT_EQ(shapeWord({MN_A, MN_NA, MN_FVS2}), codes({0xE822, 0xEA23}));
    EXPECT_EQ(shapeWord({MN_A, MN_NA, MN_FVS3}), codes({0xE822, 0xE866}));
    EXPECT_EQ(shapeWord({MN_A, MN_NA, MN_MVS, MN_A}), codes({0xE822, 0xE867, 0xE827}));
    EXPECT_EQ(shapeWord({MN_A, MN_NA, MN_MVS, MN_E}), codes({0xE822, 0xE867, 0xE82F}));
    // Alone before the tail NA is isolate, which has no tail variant.
    EXPECT_EQ(shapeWord({MN_NA, MN_MVS, MN_A}), codes({0xE860, 0xE827}));

    for (wchar_t v : {MN_A, MN_I, MN_EE}) {
        EXPECT_EQ(shapeWord({MN_A, MN_NA, v, MN_SA}).substr(0, 2), codes({0xE822, 0xE865}))
            << hex(v);
    }
    EXPECT_EQ(shapeWord({MN_A, MN_NA, MN_FVS1, MN_SA}), codes({0xE822, 0xE865, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_A, MN_NA, MN_FVS2, MN_SA}), codes({0xE822, 0xE864, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_A, MN_NA, MN_SA}), codes({0xE822, 0xE864, 0xE90D}));
    EXPECT_EQ(shapeWord({MN_A, MN_NA, MN_MVS, MN_SA}), codes({0xE822, 0xE864, 0xE90D}));
}

TEST(ToPuaNasalAng, ClusterBeforeAConsonantWithABackVowel) {
    EXPECT_EQ(shapeWord({MN_ANG}), codes({0xE868}));
    EXPECT_EQ(shapeWord({MN_ANG, MN_GA, MN_A}), codes({0xE869, 0xE8E5, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_ANG}), codes({0xE822, 0xE86B}));
    EXPECT_EQ(shapeWord({MN_A, MN_ANG, MN_GA, MN_A}), codes({0xE822, 0xE86D, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_ANG, MN_QA, MN_O}), codes({0xE822, 0xE86C, 0xE83E}));
    EXPECT_EQ(shapeWord({MN_A, MN_ANG, MN_NA, MN_U}), codes({0xE822, 0xE9E3, 0xE846}));
    EXPECT_EQ(shapeWord({MN_A, MN_ANG, MN_MA, MN_A}), codes({0xE822, 0xE86E, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_ANG, MN_LA, MN_A}), codes({0xE822, 0xE86F, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_ANG, MN_GA, MN_E}), codes({0xE822, 0xE86A, 0xE8ED}));
    EXPECT_EQ(shapeWord({MN_A, MN_ANG, MN_NA}), codes({0xE822, 0xE86A, 0xE866}));
    EXPECT_EQ(shapeWord({MN_A, MN_ANG, MN_SA, MN_A}), codes({0xE822, 0xE86A, 0xE90C, 0xE825}));
}

TEST(ToPuaLateralMaLa, ClustersWithAFollowingLa) {
    EXPECT_EQ(shapeWord({MN_MA}), codes({0xE902}));
    EXPECT_EQ(shapeWord({MN_LA, MN_FVS1}), codes({0xE906}));
    EXPECT_EQ(shapeWord({MN_A, MN_MA, MN_LA, MN_A}), codes({0xE822, 0xE9E1, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_MA, MN_LA}), codes({0xE822, 0xE904, 0xE909}));
    EXPECT_EQ(shapeWord({MN_MA, MN_LA, MN_A}), codes({0xE903, 0xE908, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_MA, MN_MA, MN_A}), codes({0xE822, 0xE904, 0xE904, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_LA, MN_LA, MN_LA, MN_A}),
              codes({0xE822, 0xE9E2, 0xE908, 0xE825}));
    EXPECT_EQ(shapeWord({MN_A, MN_LA, MN_LA}), codes({0xE822, 0xE908, 0xE909}));
    EXPECT_EQ(shapeWord({MN_A, MN_MA}), codes({0xE822, 0xE905}));
    EXPECT_EQ(shapeWord({MN_A, MN_LA, MN_FVS1}), codes({0xE822, 0xE909}));
    // The LA consumed into the cluster may stand before a closing selector.
    EXPECT_EQ(shapeWord({MN_A, MN_MA, MN_LA, MN_FVS1}), codes({0xE822, 0xE9E1}));
}
