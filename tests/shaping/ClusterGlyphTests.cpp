#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ShapingText.h"
#include "shaping/ToPua.h"

namespace {

constexpr wchar_t NA = 0x1828, ANG = 0x1829, BA = 0x182A, PA = 0x182B, QA = 0x182C, GA = 0x182D,
                  MA = 0x182E, LA = 0x182F, SA = 0x1830, FA = 0x1839, KA = 0x183A, KHA = 0x183B;
constexpr wchar_t EE = 0x1827;
const std::vector<wchar_t> kSeconds = {NA, QA, GA, MA, LA};
const std::vector<int> kPositions = {0, 1, 2, 3, -1, 4, 7};

std::wstring one(wchar_t c) {
    return c == 0 ? std::wstring() : std::wstring(1, c);
}

// Rows that give a glyph or nothing, by second consonant NA QA GA MA LA (0: nothing). ANG's QA
// and GA cells hold the non-medial glyph.
const std::map<wchar_t, std::vector<wchar_t>> kGlyphRows = {
    {ANG, {0xE9E3, 0xE9E4, 0xE9E5, 0xE86E, 0xE86F}}, {BA, {0xE9F0, 0xE9E6, 0xE9E7, 0xE896, 0xE897}},
    {PA, {0xE9F1, 0xE9E8, 0xE9E9, 0xE8BE, 0xE8BF}},  {GA, {0xE9F2, 0, 0, 0xE900, 0xE901}},
    {FA, {0xE9F3, 0xE9EA, 0xE9EB, 0xE95E, 0xE95F}},  {KA, {0xE9F4, 0xE9EC, 0xE9ED, 0xE986, 0xE987}},
    {KHA, {0xE9F5, 0xE9EE, 0xE9EF, 0xE9AE, 0xE9AF}},
};

}  // namespace

TEST(ClusterGlyphs, GlyphRowsCellByCell) {
    for (const auto& [first, cells] : kGlyphRows)
        for (std::size_t col = 0; col < kSeconds.size(); ++col)
            for (int p : kPositions) {
                const bool positional =
                    first == ANG && (kSeconds[col] == QA || kSeconds[col] == GA);
                if (positional && p == 2) continue;
                EXPECT_EQ(CToPua::getConCon(first, kSeconds[col], p), one(cells[col]))
                    << hex(first) << " + " << hex(kSeconds[col]) << " at " << p;
            }
}

TEST(ClusterGlyphs, AngBeforeVelarsChangesOnlyWhenMedial) {
    EXPECT_EQ(CToPua::getConCon(ANG, QA, 2), L"\uE86C");
    EXPECT_EQ(CToPua::getConCon(ANG, GA, 2), L"\uE86D");
    for (int p : {0, 1, 3, -1, 7}) {
        EXPECT_EQ(CToPua::getConCon(ANG, QA, p), L"\uE9E4") << p;
        EXPECT_EQ(CToPua::getConCon(ANG, GA, p), L"\uE9E5") << p;
    }
}

TEST(ClusterGlyphs, MaAndLaPassOtherSecondsThrough) {
    for (int p : kPositions) {
        EXPECT_EQ(CToPua::getConCon(MA, MA, p), L"\uE9E0");
        EXPECT_EQ(CToPua::getConCon(MA, LA, p), L"\uE9E1");
        EXPECT_EQ(CToPua::getConCon(LA, LA, p), L"\uE9E2");
        for (wchar_t second = 0x1800; second <= 0x18AF; ++second) {
            if (second != MA && second != LA) {
                EXPECT_EQ(CToPua::getConCon(MA, second, p), one(second)) << hex(second);
            }
            if (second != LA) {
                EXPECT_EQ(CToPua::getConCon(LA, second, p), one(second)) << hex(second);
            }
        }
    }
    EXPECT_EQ(CToPua::getConCon(MA, NA, 2), L"\u1828");
    EXPECT_EQ(CToPua::getConCon(MA, BA, 2), L"\u182A");
    EXPECT_EQ(CToPua::getConCon(MA, L' ', 2), L" ");
    EXPECT_EQ(CToPua::getConCon(LA, MA, 2), L"\u182E");
    EXPECT_EQ(CToPua::getConCon(MA, 0, 2), L"");
    EXPECT_EQ(CToPua::getConCon(LA, 0, 2), L"");
}

TEST(ClusterGlyphs, PairsWithoutAGlyphGiveNothing) {
    for (int p : kPositions) {
        EXPECT_EQ(CToPua::getConCon(GA, QA, p), L"");
        EXPECT_EQ(CToPua::getConCon(GA, GA, p), L"");
        EXPECT_EQ(CToPua::getConCon(BA, ANG, p), L"");
        EXPECT_EQ(CToPua::getConCon(BA, BA, p), L"");
        EXPECT_EQ(CToPua::getConCon(BA, PA, p), L"");
        EXPECT_EQ(CToPua::getConCon(KHA, SA, p), L"");
    }
    // Glyph rows give nothing outside their five columns.
    for (const auto& [first, cells] : kGlyphRows)
        for (wchar_t second : {wchar_t(0), wchar_t(L' '), ANG, BA, SA, KHA, wchar_t(0xE9E0)})
            EXPECT_EQ(CToPua::getConCon(first, second, 2), L"") << hex(first) << hex(second);
    // First consonants without a row, QA among them, give nothing for any second.
    std::vector<wchar_t> rowless = {0, L' ', 0xE870};
    for (wchar_t c = 0x1800; c <= 0x18AF; ++c)
        if (!kGlyphRows.count(c) && c != MA && c != LA) rowless.push_back(c);
    for (wchar_t first : rowless)
        for (wchar_t second = 0x1800; second <= 0x18AF; ++second)
            for (int p : {0, 2, 3}) ASSERT_EQ(CToPua::getConCon(first, second, p), L"");
}

TEST(ClusterGlyphs, GlyphsSitBesideTheirLettersAndInOneRun) {
    // The MA and LA clusters of the joining consonants follow their final ligature with EE.
    for (wchar_t c : {BA, PA, GA, FA, KA, KHA}) {
        const std::wstring lastLigature = CToPua::getConVowel(c, 3, EE);
        ASSERT_EQ(lastLigature.size(), 1u);
        EXPECT_EQ(CToPua::getConCon(c, MA, 2), one(lastLigature[0] + 1)) << hex(c);
        EXPECT_EQ(CToPua::getConCon(c, LA, 2), one(lastLigature[0] + 2)) << hex(c);
    }
    // Every other cluster glyph is one of the run U+E9E0..U+E9F5, each exactly once; nothing
    // but a glyph of the private-use range or the second consonant itself comes back.
    std::multiset<wchar_t> run;
    for (wchar_t first = 0x1800; first <= 0x18AF; ++first)
        for (wchar_t second : kSeconds)
            for (int p : {0, 2}) {
                const std::wstring got = CToPua::getConCon(first, second, p);
                if (got.empty() || got == one(second)) continue;
                ASSERT_EQ(got.size(), 1u);
                EXPECT_TRUE(got[0] >= 0xE801 && got[0] <= 0xEAB6) << hex(first) << hex(second);
                if (p == 0 && got[0] >= 0xE9E0 && got[0] <= 0xE9F5) run.insert(got[0]);
            }
    EXPECT_EQ(run.size(), 22u);
    for (wchar_t c = 0xE9E0; c <= 0xE9F5; ++c) EXPECT_EQ(run.count(c), 1u) << hex(c);
}
