#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "ShapingText.h"
#include "shaping/ToPua.h"

namespace {

constexpr wchar_t A = 0x1820, E = 0x1821, I = 0x1822, O = 0x1823, U = 0x1824, OE = 0x1825,
                  UE = 0x1826, EE = 0x1827;
constexpr wchar_t BA = 0x182A, PA = 0x182B, QA = 0x182C, GA = 0x182D, FA = 0x1839, KA = 0x183A,
                  KHA = 0x183B;
const std::vector<wchar_t> kVowels = {A, E, I, O, U, OE, UE, EE};

struct Joiner {
    const char* name;
    wchar_t consonant;
    wchar_t base;
    bool frontOnly;  // joins E, I, OE, UE, EE only
    wchar_t blockFirst, blockLast;
    wchar_t oeFvs1Last, ueFvs1Last;  // fifth codes, emitted by the letter rules, never by a lookup
};

const std::vector<Joiner> kJoiners = {
    {"BA", BA, 0xE874, false, 0xE874, 0xE895, 0xE88C, 0xE891},
    {"PA", PA, 0xE89C, false, 0xE89C, 0xE8BD, 0xE8B4, 0xE8B9},
    {"QA", QA, 0xE8CA, true, 0xE8CA, 0xE8DF, 0xE8D6, 0xE8DB},
    {"GA", GA, 0xE8EA, true, 0xE8EA, 0xE8FF, 0xE8F6, 0xE8FB},
    {"FA", FA, 0xE93C, false, 0xE93C, 0xE95D, 0xE954, 0xE959},
    {"KA", KA, 0xE964, false, 0xE964, 0xE985, 0xE97C, 0xE981},
    {"KHA", KHA, 0xE98C, false, 0xE98C, 0xE9AD, 0xE9A4, 0xE9A9},
};

// Offset of a vowel inside a block, or -1 where the consonant does not join it.
int offsetOf(const Joiner& j, wchar_t vowel) {
    static const int all[] = {0, 4, 8, 12, 16, 20, 25, 30};
    static const int front[] = {-1, 0, 4, -1, -1, 8, 13, 18};
    return (j.frontOnly ? front : all)[vowel - A];
}

std::wstring one(wchar_t c) {
    return std::wstring(1, c);
}

bool isGlyphCode(const std::wstring& s) {
    return s.size() == 1 && s[0] >= 0xE801 && s[0] <= 0xEAB6;
}

}  // namespace

TEST(LigatureGlyphs, EveryTripleIsBasePlusOffsetPlusPosition) {
    int count = 0;
    for (const Joiner& j : kJoiners) {
        for (wchar_t v : kVowels) {
            for (int p = 0; p < 4; ++p) {
                SCOPED_TRACE(std::string(j.name) + " vowel " + std::to_string(v - A) + " pos " +
                             std::to_string(p));
                const int offset = offsetOf(j, v);
                const std::wstring got = CToPua::getConVowel(j.consonant, p, v);
                if (offset < 0) {
                    EXPECT_EQ(got, L"");
                } else {
                    EXPECT_EQ(got, one(static_cast<wchar_t>(j.base + offset + p)));
                    ++count;
                }
            }
        }
    }
    EXPECT_EQ(count, 200);
}

TEST(LigatureGlyphs, GlyphsFillEachBlockButTheClosingSelectorForms) {
    std::set<wchar_t> all;
    for (const Joiner& j : kJoiners) {
        SCOPED_TRACE(j.name);
        std::set<wchar_t> got;
        for (wchar_t v : kVowels)
            for (int p = 0; p < 4; ++p)
                if (auto s = CToPua::getConVowel(j.consonant, p, v); !s.empty()) got.insert(s[0]);
        std::set<wchar_t> expected;
        for (wchar_t c = j.blockFirst; c <= j.blockLast; ++c)
            if (c != j.oeFvs1Last && c != j.ueFvs1Last) expected.insert(c);
        EXPECT_EQ(got, expected);
        all.insert(got.begin(), got.end());
    }
    EXPECT_EQ(all.size(), 200u);
    EXPECT_EQ(*all.begin(), 0xE874);
    EXPECT_EQ(*all.rbegin(), 0xE9AD);
    for (wchar_t c = 0xE9D1; c <= 0xE9DE; ++c) EXPECT_EQ(all.count(c), 0u) << hex(c);
}

TEST(LigatureGlyphs, WorkedExamples) {
    EXPECT_EQ(CToPua::getConVowel(BA, 0, A), L"\uE874");
    EXPECT_EQ(CToPua::getConVowel(BA, 1, A), L"\uE875");
    EXPECT_EQ(CToPua::getConVowel(BA, 2, A), L"\uE876");
    EXPECT_EQ(CToPua::getConVowel(BA, 3, A), L"\uE877");
    EXPECT_EQ(CToPua::getConVowel(KHA, 3, EE), L"\uE9AD");
    EXPECT_EQ(CToPua::getConVowel(QA, 1, E), L"\uE8CB");
    EXPECT_EQ(CToPua::getConVowel(GA, 3, EE), L"\uE8FF");
}

TEST(LigatureGlyphs, VelarsDoNotJoinBackVowels) {
    for (wchar_t c : {QA, GA})
        for (wchar_t v : {A, O, U})
            for (int p = 0; p < 4; ++p) EXPECT_EQ(CToPua::getConVowel(c, p, v), L"");
}

TEST(LigatureGlyphs, PositionsOutsideTheFourFormsGiveNothing) {
    for (const Joiner& j : kJoiners)
        for (wchar_t v : kVowels)
            for (int p : {-1, -4, 4, 7, INT_MIN, INT_MAX})
                EXPECT_EQ(CToPua::getConVowel(j.consonant, p, v), L"") << j.name << " " << p;
}

TEST(LigatureGlyphs, OtherConsonantsAndNonVowelsGiveNothing) {
    std::set<wchar_t> joiners;
    for (const Joiner& j : kJoiners) joiners.insert(j.consonant);
    std::vector<wchar_t> others = {0, L' ', 0xE874, static_cast<wchar_t>(-1)};
    for (wchar_t c = 0x1800; c <= 0x18AF; ++c)
        if (!joiners.count(c)) others.push_back(c);
    for (wchar_t c : others)
        for (wchar_t v : kVowels)
            for (int p = 0; p < 4; ++p) EXPECT_EQ(CToPua::getConVowel(c, p, v), L"") << hex(c);

    const wchar_t NA = 0x1828, FVS1 = 0x180B;
    for (const Joiner& j : kJoiners)
        for (wchar_t v : {NA, FVS1, L' ', wchar_t(0), wchar_t(0x181F), static_cast<wchar_t>(-1)})
            for (int p = 0; p < 4; ++p)
                EXPECT_EQ(CToPua::getConVowel(j.consonant, p, v), L"") << j.name << hex(v);
}

TEST(LigatureGlyphs, EveryResultIsOneGlyphOfThePrivateUseRange) {
    for (wchar_t c = 0x1800; c <= 0x18AF; ++c)
        for (wchar_t v = 0x1800; v <= 0x18AF; ++v)
            for (int p = -2; p <= 5; ++p) {
                const std::wstring got = CToPua::getConVowel(c, p, v);
                if (!got.empty()) {
                    ASSERT_TRUE(isGlyphCode(got)) << hex(c) << " " << hex(v);
                }
            }
}
