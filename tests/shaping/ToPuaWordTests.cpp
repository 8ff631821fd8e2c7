#include <gtest/gtest.h>

#include "ShapingText.h"

namespace {

std::wstring shape(std::initializer_list<wchar_t> piece) {
    return converter().convertWord(codes(piece));
}

struct PlainForms {
    wchar_t letter;
    wchar_t isolate, initial, medial, final;
};

const PlainForms kPlainLetters[] = {
    {MN_SA, 0xE90A, 0xE90B, 0xE90C, 0xE90D},  {MN_SHA, 0xE90E, 0xE90F, 0xE910, 0xE911},
    {MN_CHA, 0xE920, 0xE921, 0xE922, 0xE923}, {MN_RA, 0xE92E, 0xE92F, 0xE930, 0xE931},
    {MN_TSA, 0xE9B0, 0xE9B1, 0xE9B2, 0xE9B3}, {MN_ZA, 0xE9B4, 0xE9B5, 0xE9B6, 0xE9B7},
    {MN_HAA, 0xE9B8, 0xE9B9, 0xE9BA, 0xE9BB}, {MN_ZRA, 0xE9BC, 0xE9BD, 0xE9BE, 0xE9BF},
    {MN_LHA, 0xE9C0, 0xE9C1, 0xE9C2, 0xE9C3}, {MN_ZHI, 0xE9C4, 0xE9C5, 0xE9C6, 0xE9C7},
    {MN_CHI, 0xE9C8, 0xE9C9, 0xE9CA, 0xE9CB},
};

}  // namespace

TEST(ToPuaWordPositions, EveryPlainLetterInEveryPosition) {
    for (const auto& f : kPlainLetters) {
        const wchar_t c = f.letter;
        EXPECT_EQ(shape({c}), codes({f.isolate})) << hex(c);
        EXPECT_EQ(shape({c, c, c}), codes({f.initial, f.medial, f.final})) << hex(c);
        // Only SA has final variants by selector.
        if (c != MN_SA) {
            EXPECT_EQ(shape({MN_RA, c, MN_FVS1}), codes({0xE92F, f.final})) << hex(c);
            EXPECT_EQ(shape({MN_RA, c, MN_FVS2}), codes({0xE92F, f.final})) << hex(c);
        }
    }
}

TEST(ToPuaWordPositions, EmptyAndOneLetterPieces) {
    EXPECT_EQ(shape({}), L"");
    EXPECT_EQ(shape({MN_SA}), codes({0xE90A}));
    EXPECT_EQ(shape({MN_SA, MN_FVS1}), codes({0xE90A}));
    EXPECT_EQ(shape({MN_RA}), codes({0xE92E}));
    EXPECT_EQ(shape({MN_SA, MN_SA, MN_SA}), codes({0xE90B, 0xE90C, 0xE90D}));
    EXPECT_EQ(shape({MN_SA, MN_RA}), codes({0xE90B, 0xE931}));
}

TEST(ToPuaWordTail, MvsAOrMvsEAtTheVeryEndBecomesOneTailGlyph) {
    EXPECT_EQ(shape({MN_RA, MN_SA, MN_MVS, MN_A}), codes({0xE92F, 0xE90D, 0xE827}));
    EXPECT_EQ(shape({MN_RA, MN_SA, MN_MVS, MN_E}), codes({0xE92F, 0xE90D, 0xE82F}));
    // After the cut SA is the word's only letter.
    EXPECT_EQ(shape({MN_SA, MN_MVS, MN_A}), codes({0xE90A, 0xE827}));
    EXPECT_EQ(shape({MN_MVS, MN_A}), codes({0xE827}));
    EXPECT_EQ(shape({MN_MVS, MN_E}), codes({0xE82F}));
    EXPECT_EQ(shape({MN_SA, MN_SA, MN_MVS, MN_A}), codes({0xE90B, 0xE90D, 0xE827}));
}

TEST(ToPuaWordTail, MvsVowelElsewhereStaysInTheWord) {
    // MVS A inside the word: MVS adds nothing, A keeps its own single glyph, SA is final.
    const std::wstring inner = shape({MN_RA, MN_MVS, MN_A, MN_SA});
    ASSERT_EQ(inner.size(), 3u);
    EXPECT_EQ(inner.front(), wchar_t(0xE92F));
    EXPECT_EQ(inner.back(), wchar_t(0xE90D));
    // Followed by a selector the pair is not at the end: no tail glyph, and SA stays medial.
    const std::wstring selected = shape({MN_RA, MN_SA, MN_MVS, MN_A, MN_FVS1});
    ASSERT_EQ(selected.size(), 3u);
    EXPECT_EQ(selected.substr(0, 2), codes({0xE92F, 0xE90C}));
    EXPECT_EQ(selected.find(wchar_t(0xE827)), std::wstring::npos);
    // MVS with another letter after it is no tail either.
    EXPECT_EQ(shape({MN_SA, MN_MVS, MN_RA}), codes({0xE90B, 0xE931}));
}

TEST(ToPuaWordSelectors, FvsAtTheEndPicksTheFinalVariant) {
    EXPECT_EQ(shape({MN_RA, MN_SA, MN_FVS1}), codes({0xE92F, 0xE9CC}));
    EXPECT_EQ(shape({MN_RA, MN_SA, MN_FVS2}), codes({0xE92F, 0xE9CD}));
    EXPECT_EQ(shape({MN_RA, MN_SA, MN_FVS3}), codes({0xE92F, 0xE90D}));
}

TEST(ToPuaWordSelectors, FvsInsideTheWordLeavesTheLetterMedial) {
    EXPECT_EQ(shape({MN_RA, MN_SA, MN_FVS1, MN_RA}), codes({0xE92F, 0xE90C, 0xE931}));
    // Two selectors at the end: the letter before them is not final.
    EXPECT_EQ(shape({MN_RA, MN_SA, MN_FVS1, MN_FVS2}), codes({0xE92F, 0xE90C}));
    // A selector alone, or one after a selector, appends nothing.
    EXPECT_EQ(shape({MN_FVS1}), L"");
    EXPECT_EQ(shape({MN_MVS}), L"");
    EXPECT_EQ(shape({MN_SA, MN_FVS1, MN_FVS2}), codes({0xE90B}));
}

TEST(ToPuaWordPassThrough, ControlsAndUnknownCodePointsKeepTheirPlace) {
    EXPECT_EQ(shape({MN_ZWJ, MN_SA}), codes({0x200D, 0xE90D}));
    EXPECT_EQ(shape({MN_ZWJ, MN_SA, MN_RA}), codes({0x200D, 0xE90C, 0xE931}));
    EXPECT_EQ(shape({MN_RA, MN_SA, MN_ZWJ}), codes({0xE92F, 0xE90C, 0x200D}));
    EXPECT_EQ(shape({MN_SA, MN_NIRUGU, MN_SA}), codes({0xE90B, 0x180A, 0xE90D}));
    EXPECT_EQ(shape({MN_SA, 0x1843}), codes({0xE90B, 0x1843}));
    EXPECT_EQ(shape({0x1877, MN_SA, 0x180F}), codes({0x1877, 0xE90C, 0x180F}));
    EXPECT_EQ(shape({MN_NIRUGU}), codes({0x180A}));
    EXPECT_EQ(shape({0x41}), codes({0x41}));
}

TEST(ToPuaWordPassThrough, NulIsKeptNotDropped) {
    EXPECT_EQ(shape({0}), codes({0}));
    EXPECT_EQ(shape({MN_SA, 0, MN_SA}), codes({0xE90B, 0, 0xE90D}));
}

TEST(ToPuaWordWalk, NeighboursReadAsSpaceOutsideTheWord) {
    const std::wstring word = codes({MN_SA, MN_RA, MN_CHA});
    CToPua::WordWalk walk(word, L"");
    EXPECT_EQ(walk.lastIndex, 2);
    EXPECT_FALSE(walk.isolate);
    EXPECT_FALSE(walk.hasTail());

    // previous, current, next, after next, position at each index
    const wchar_t expected[3][5] = {
        {MN_OUTSIDE, MN_SA, MN_RA, MN_CHA, CToPua::POS_INITIAL},
        {MN_SA, MN_RA, MN_CHA, MN_OUTSIDE, CToPua::POS_MEDIAL},
        {MN_RA, MN_CHA, MN_OUTSIDE, MN_OUTSIDE, CToPua::POS_FINAL},
    };
    for (const auto& row : expected) {
        ASSERT_FALSE(walk.done());
        walk.load();
        EXPECT_EQ(walk.previous, row[0]) << walk.index;
        EXPECT_EQ(walk.current, row[1]) << walk.index;
        EXPECT_EQ(walk.next, row[2]) << walk.index;
        EXPECT_EQ(walk.afterNext, row[3]) << walk.index;
        EXPECT_EQ(walk.position, int(row[4])) << walk.index;
        walk.step();
    }
    EXPECT_TRUE(walk.done());

    EXPECT_EQ(walk.at(-1), MN_OUTSIDE);
    EXPECT_EQ(walk.at(3), MN_OUTSIDE);
    EXPECT_EQ(walk.at(1), MN_RA);
}

TEST(ToPuaWordWalk, ConsumedCodePointsAreSkippedButStayInTheWord) {
    const std::wstring word = codes({MN_SA, MN_RA, MN_CHA, MN_SHA, MN_FVS1});
    CToPua::WordWalk walk(word, CToPua::GetWString(0xE827));
    EXPECT_TRUE(walk.hasTail());
    walk.load();
    walk.consume();  // RA
    walk.step();
    walk.load();
    EXPECT_EQ(walk.index, 2);
    EXPECT_EQ(walk.current, MN_CHA);
    EXPECT_EQ(walk.previous, MN_RA);
    EXPECT_EQ(walk.position, CToPua::POS_MEDIAL);
    EXPECT_EQ(walk.lastIndex, 4);
    EXPECT_FALSE(walk.isolate);
    // The letter before a closing selector is final.
    walk.step();
    walk.load();
    EXPECT_EQ(walk.position, CToPua::POS_FINAL);
    // Consuming past the end finishes the walk.
    walk.consume(2);
    walk.step();
    EXPECT_TRUE(walk.done());
}

TEST(ToPuaWordWalk, EmptyWordIsDoneAtOnce) {
    const std::wstring word;
    CToPua::WordWalk walk(word, L"");
    EXPECT_EQ(walk.lastIndex, -1);
    EXPECT_FALSE(walk.isolate);
    EXPECT_TRUE(walk.done());
}

TEST(ToPuaWordWalk, IsolateFlagHoldsForTheWholeWalk) {
    const std::wstring word = codes({MN_SA, MN_FVS1});
    CToPua::WordWalk walk(word, L"");
    EXPECT_TRUE(walk.isolate);
    walk.load();
    EXPECT_EQ(walk.position, CToPua::POS_ISOLATE);
    walk.step();
    walk.load();
    EXPECT_EQ(walk.previous, MN_SA);
    EXPECT_EQ(walk.position, CToPua::POS_ISOLATE);
}
