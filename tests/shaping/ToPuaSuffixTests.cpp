#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ShapingText.h"

namespace {

const std::map<std::wstring, std::wstring>& table() {
    return converter().m_wordMap;
}

std::wstring lookup(const std::wstring& key) {
    const auto hit = table().find(key);
    return hit == table().end() ? L"<none>" : hit->second;
}

std::vector<std::wstring> splitAtNnbsp(std::wstring text) {
    std::vector<std::wstring> pieces;
    split(pieces, text, MN_NNBSP);
    return pieces;
}

const std::wstring kSaSa = codes({MN_SA, MN_SA});
const std::wstring kSaSaGlyphs = codes({0xE90B, 0xE90D});
const std::wstring kNnbsp = codes({MN_NNBSP});

}  // namespace

TEST(ToPuaSplit, PiecesBetweenEverySeparator) {
    using Pieces = std::vector<std::wstring>;
    EXPECT_EQ(splitAtNnbsp(L""), Pieces{L""});
    EXPECT_EQ(splitAtNnbsp(codes({MN_NNBSP})), (Pieces{L"", L""}));
    EXPECT_EQ(splitAtNnbsp(codes({MN_NNBSP, MN_NNBSP, MN_NNBSP})), (Pieces{L"", L"", L"", L""}));
    EXPECT_EQ(splitAtNnbsp(codes({MN_SA, MN_NNBSP, MN_A, MN_NNBSP, MN_NNBSP, MN_RA})),
              (Pieces{codes({MN_SA}), codes({MN_A}), L"", codes({MN_RA})}));
    EXPECT_EQ(splitAtNnbsp(codes({MN_SA, MN_RA})), Pieces{codes({MN_SA, MN_RA})});
}

TEST(ToPuaSplit, AppendsWithoutEmptyingAndLeavesTheTextAlone) {
    std::vector<std::wstring> pieces{L"kept"};
    std::wstring text = codes({MN_SA, MN_NNBSP, MN_RA});
    const std::wstring before = text;
    split(pieces, text, MN_NNBSP);
    EXPECT_EQ(pieces, (std::vector<std::wstring>{L"kept", codes({MN_SA}), codes({MN_RA})}));
    EXPECT_EQ(text, before);
}

TEST(ToPuaSuffixTable, ShapeOfTheTable) {
    ASSERT_EQ(table().size(), 62u);
    std::set<wchar_t> glyphs;
    int keysWithMvs = 0;
    for (const auto& [key, value] : table()) {
        EXPECT_GE(key.size(), 1u);
        EXPECT_LE(key.size(), 6u);
        EXPECT_GE(value.size(), 1u);
        EXPECT_LE(value.size(), key.size());
        for (wchar_t c : key) {
            if (c == MN_MVS) {
                ++keysWithMvs;
            } else {
                EXPECT_TRUE(c >= MN_A && c <= MN_CHI) << hex(c);
            }
        }
        for (wchar_t g : value) {
            EXPECT_GE(g, 0xE823);
            EXPECT_LE(g, 0xEA22);
            glyphs.insert(g);
        }
    }
    EXPECT_EQ(keysWithMvs, 1);
    EXPECT_EQ(glyphs.size(), 42u);
    EXPECT_EQ(*glyphs.begin(), wchar_t(0xE823));
    EXPECT_EQ(*glyphs.rbegin(), wchar_t(0xEA22));
}

TEST(ToPuaSuffixTable, ExactlyTheLigatureEntriesAreShorterThanTheirKeys) {
    const std::set<std::wstring> expected = {
        codes({MN_E, MN_CHA, MN_E, MN_GA, MN_E, MN_NA}),
        codes({MN_BA, MN_A, MN_NA}),
        codes({MN_BA, MN_E, MN_NA}),
        codes({MN_BA, MN_A, MN_RA}),
        codes({MN_BA, MN_E, MN_RA}),
        codes({MN_NA, MN_UE, MN_GA, MN_E, MN_NA}),
        codes({MN_NA, MN_UE, MN_GA, MN_UE, MN_DA}),
        codes({MN_DA, MN_A, MN_QA, MN_I}),
        codes({MN_DA, MN_E, MN_QA, MN_I}),
        codes({MN_DA, MN_E, MN_GA, MN_E, MN_NA}),
        codes({MN_LA, MN_U, MN_GA, MN_MVS, MN_A}),
        codes({MN_LA, MN_UE, MN_GA, MN_E}),
        codes({MN_YA, MN_UE, MN_GA, MN_E, MN_NA}),
        codes({MN_UE, MN_GA, MN_E, MN_I}),
    };
    std::set<std::wstring> shorter;
    for (const auto& [key, value] : table()) {
        if (value.size() < key.size()) {
            shorter.insert(key);
            // One glyph stands for two code points, once per entry.
            EXPECT_EQ(value.size() + 1, key.size());
        }
    }
    EXPECT_EQ(shorter, expected);
}

TEST(ToPuaSuffixTable, SelectedEntries) {
    EXPECT_EQ(lookup(codes({MN_A})), codes({0xE827}));
    EXPECT_EQ(lookup(codes({MN_E})), codes({0xE82F}));
    EXPECT_EQ(lookup(codes({MN_U, MN_U})), codes({0xE843, 0xE846}));
    EXPECT_EQ(lookup(codes({MN_UE, MN_UE})), codes({0xE85E, 0xE856}));
    EXPECT_EQ(lookup(codes({MN_LA, MN_U, MN_GA, MN_MVS, MN_A})),
              codes({0xE907, 0xE844, 0xE8E8, 0xE827}));
    EXPECT_EQ(lookup(codes({MN_BA, MN_A, MN_NA})), codes({0xE875, 0xE866}));
    EXPECT_EQ(lookup(codes({MN_BA, MN_E, MN_NA})), codes({0xE875, 0xE866}));
    EXPECT_EQ(lookup(codes({MN_TA, MN_U, MN_RA})), codes({0xE914, 0xE844, 0xE931}));
    EXPECT_EQ(lookup(codes({MN_TA, MN_UE, MN_RA})), codes({0xE914, 0xE844, 0xE931}));
    EXPECT_EQ(lookup(codes({MN_DA, MN_U, MN_NA, MN_I})), codes({0xE91B, 0xE844, 0xE865, 0xE837}));
    EXPECT_EQ(lookup(codes({MN_DA, MN_UE, MN_NA, MN_I})), codes({0xE91B, 0xE853, 0xE865, 0xE837}));
    EXPECT_EQ(lookup(codes({MN_A, MN_CHA, MN_A, MN_GA, MN_A, MN_NA})),
              codes({0xEA21, 0xE922, 0xE823, 0xE8E5, 0xE823, 0xE866}));
    EXPECT_EQ(lookup(codes({MN_UE, MN_GA, MN_E, MN_I})), codes({0xE852, 0xE8EC, 0xE837}));
}

TEST(ToPuaSuffixTable, MedialUeTakesTwoGlyphsAcrossTheTable) {
    const std::wstring withOwnGlyph[] = {codes({MN_NA, MN_UE, MN_GA, MN_E, MN_NA}),
                                         codes({MN_NA, MN_UE, MN_GA, MN_UE, MN_DA}),
                                         codes({MN_DA, MN_UE, MN_NA, MN_I})};
    for (const auto& key : withOwnGlyph) EXPECT_EQ(lookup(key).at(1), wchar_t(0xE853));
    const std::wstring withGlyphOfU[] = {
        codes({MN_DA, MN_UE, MN_RA}), codes({MN_LA, MN_UE, MN_GA, MN_E}),
        codes({MN_TA, MN_UE, MN_NA, MN_I}), codes({MN_TA, MN_UE, MN_RA}),
        codes({MN_YA, MN_UE, MN_GA, MN_E, MN_NA})};
    for (const auto& key : withGlyphOfU) EXPECT_EQ(lookup(key).at(1), wchar_t(0xE844));
}

TEST(ToPuaSuffixTable, OnlyWholeKeysMatch) {
    EXPECT_EQ(lookup(codes({MN_A, MN_FVS1})), L"<none>");
    EXPECT_EQ(lookup(L""), L"<none>");
    EXPECT_EQ(lookup(codes({MN_BA, MN_A})), L"<none>");
    EXPECT_EQ(lookup(codes({MN_ZWJ, MN_A})), L"<none>");
}

TEST(ToPuaConvertWords, StemIsShapedEvenWhenItIsASuffixWord) {
    EXPECT_EQ(converter().convertWords(kSaSa), kSaSaGlyphs);
    const std::wstring a = codes({MN_A});
    EXPECT_EQ(converter().convertWords(a), converter().convertWord(a));
    EXPECT_NE(converter().convertWords(a), lookup(a));
}

TEST(ToPuaConvertWords, SuffixesComeFromTheTableOrAreShaped) {
    EXPECT_EQ(converter().convertWords(kSaSa + kNnbsp + codes({MN_A})),
              kSaSaGlyphs + kNnbsp + codes({0xE827}));
    // Not in the table: shaped letter by letter.
    EXPECT_EQ(converter().convertWords(kSaSa + kNnbsp + codes({MN_RA, MN_SA})),
              kSaSaGlyphs + kNnbsp + codes({0xE92F, 0xE90D}));
    // A key with a selector added misses and goes to the word shaper.
    const std::wstring selected = codes({MN_A, MN_FVS1});
    EXPECT_EQ(converter().convertWords(kSaSa + kNnbsp + selected),
              kSaSaGlyphs + kNnbsp + converter().convertWord(selected));
    // Each suffix is looked up by itself.
    EXPECT_EQ(
        converter().convertWords(kSaSa + kNnbsp + codes({MN_U, MN_U}) + kNnbsp + codes({MN_E})),
        kSaSaGlyphs + kNnbsp + codes({0xE843, 0xE846}) + kNnbsp + codes({0xE82F}));
}

TEST(ToPuaConvertWords, EmptyPiecesKeepEveryNnbsp) {
    EXPECT_EQ(converter().convertWords(kNnbsp), kNnbsp);
    EXPECT_EQ(converter().convertWords(kNnbsp + kNnbsp), kNnbsp + kNnbsp);
    EXPECT_EQ(converter().convertWords(L""), L"");
    EXPECT_EQ(converter().convertWords(kNnbsp + codes({MN_A})), kNnbsp + codes({0xE827}));
    EXPECT_EQ(converter().convertWords(kSaSa + kNnbsp), kSaSaGlyphs + kNnbsp);
    EXPECT_EQ(converter().convertWords(kSaSa + kNnbsp + kNnbsp + codes({MN_E})),
              kSaSaGlyphs + kNnbsp + kNnbsp + codes({0xE82F}));
}
