#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "ShapingText.h"

// Properties that hold for every word, checked over all short words of a few alphabets.

namespace {

std::wstring letterRange() {
    std::wstring letters;
    for (wchar_t c = MN_A; c <= MN_CHI; ++c) letters += c;
    return letters;
}

const std::wstring kSelectors = codes({MN_FVS1, MN_FVS2, MN_FVS3});
// The letters with contextual rules, and the selectors that steer them most.
const std::wstring kContextual =
    codes({MN_A,  MN_E,  MN_I,  MN_OE, MN_UE, MN_EE, MN_NA, MN_ANG, MN_BA,   MN_QA,
           MN_GA, MN_MA, MN_LA, MN_SA, MN_DA, MN_YA, MN_FA, MN_RA,  MN_FVS1, MN_FVS3});

// Calls visit for every word of 1 to maxLength code points of alphabet.
void forEachWord(const std::wstring& alphabet, int maxLength,
                 const std::function<void(const std::wstring&)>& visit) {
    std::wstring word;
    std::function<void()> extend = [&] {
        if (!word.empty()) visit(word);
        if (static_cast<int>(word.size()) == maxLength) return;
        for (wchar_t c : alphabet) {
            word.push_back(c);
            extend();
            word.pop_back();
        }
    };
    extend();
}

bool inRange(wchar_t c, wchar_t from, wchar_t to) {
    return c >= from && c <= to;
}

// Glyphs that stand for two letters: a consonant with its vowel, or two consonants.
bool isLigature(wchar_t g) {
    return inRange(g, 0xE874, 0xE895) || inRange(g, 0xE89C, 0xE8BD) || inRange(g, 0xE8CA, 0xE8DF) ||
           inRange(g, 0xE8EA, 0xE8FF) || inRange(g, 0xE93C, 0xE95D) || inRange(g, 0xE964, 0xE985) ||
           inRange(g, 0xE98C, 0xE9AD) || inRange(g, 0xE9D1, 0xE9DE);
}

bool isCluster(wchar_t g) {
    return inRange(g, 0xE86C, 0xE86F) || inRange(g, 0xE896, 0xE897) || inRange(g, 0xE8BE, 0xE8BF) ||
           inRange(g, 0xE900, 0xE901) || inRange(g, 0xE95E, 0xE95F) || inRange(g, 0xE986, 0xE987) ||
           inRange(g, 0xE9AE, 0xE9AF) || inRange(g, 0xE9E0, 0xE9F5) || g == 0xEAB6;
}

// Consonant + OE or UE + FVS1 with the FVS1 as the word's last code point.
const std::set<wchar_t> kClosingOeUe = {0xE88C, 0xE891, 0xE8B4, 0xE8B9, 0xE8D6, 0xE8DB, 0xE8F6,
                                        0xE8FB, 0xE954, 0xE959, 0xE97C, 0xE981, 0xE9A4, 0xE9A9};

bool endsWithOeUeFvs1(const std::wstring& word) {
    const size_t n = word.size();
    return n >= 3 && word[n - 1] == MN_FVS1 && (word[n - 2] == MN_OE || word[n - 2] == MN_UE);
}

bool hasInnerOeUeFvs1(const std::wstring& word) {
    for (size_t k = 0; k + 2 < word.size(); ++k)
        if ((word[k] == MN_OE || word[k] == MN_UE) && word[k + 1] == MN_FVS1) return true;
    return false;
}

void expectGlyphsInRange(const std::wstring& word) {
    for (wchar_t g : converter().convertWord(word)) {
        const bool passThrough = g == MN_NIRUGU || g == MN_ZWJ;
        ASSERT_TRUE(inRange(g, 0xE801, 0xEAB6) || passThrough)
            << hex(g) << " from a word starting " << hex(word[0]);
    }
}

// No letter may vanish or be doubled: the glyphs of a word of letters and selectors stand for
// exactly its letters.
void expectEveryLetterShownOnce(const std::wstring& word) {
    const std::wstring glyphs = converter().convertWord(word);
    size_t letters = 0;
    for (wchar_t c : word) letters += inRange(c, MN_A, MN_CHI) ? 1 : 0;
    size_t shown = 0;
    for (wchar_t g : glyphs) shown += isLigature(g) || isCluster(g) ? 2 : 1;
    std::string spelled;
    for (wchar_t c : word) spelled += hex(c) + " ";
    ASSERT_EQ(shown, letters) << spelled;

    if (inRange(word[0], MN_A, MN_CHI)) {
        // Clusters only join consonants inside a word, FA + RA only at its start.
        ASSERT_FALSE(isCluster(glyphs.front()) && glyphs.front() != 0xEAB6) << spelled;
        for (size_t k = 1; k < glyphs.size(); ++k) ASSERT_NE(glyphs[k], wchar_t(0xEAB6)) << spelled;
    }
    for (wchar_t g : glyphs) {
        if (kClosingOeUe.count(g)) {
            ASSERT_TRUE(endsWithOeUeFvs1(word)) << spelled;
        }
        if (inRange(g, 0xE9D1, 0xE9DE)) {
            ASSERT_TRUE(hasInnerOeUeFvs1(word)) << spelled;
        }
    }
}

}  // namespace

TEST(ToPuaShapingStructure, EveryGlyphIsPrivateUseOrAPassThrough) {
    const std::wstring alphabet = letterRange() + kSelectors + codes({MN_MVS, MN_NIRUGU, MN_ZWJ});
    forEachWord(alphabet, 3, expectGlyphsInRange);
    forEachWord(kContextual + codes({MN_MVS}), 4, expectGlyphsInRange);
}

TEST(ToPuaShapingStructure, EveryLetterIsShownExactlyOnce) {
    forEachWord(letterRange() + kSelectors, 3, expectEveryLetterShownOnce);
    forEachWord(kContextual, 4, expectEveryLetterShownOnce);
    forEachWord(
        codes({MN_A, MN_E, MN_I, MN_OE, MN_QA, MN_GA, MN_NA, MN_BA, MN_LA, MN_FVS1, MN_FVS3}), 5,
        expectEveryLetterShownOnce);
}

TEST(ToPuaShapingStructure, WordsThroughTheConversionEntry) {
    const CToPua& c = converter();
    // A stem with a ligature and a suffix from the table, a full stop.
    EXPECT_EQ(c.Advance(codes({0x20, MN_BA, MN_A, MN_GA, MN_A, MN_NNBSP, MN_A, 0x1803})),
              codes({0x20, 0xE875, 0xE8E5, 0xE825, 0x202F, 0xE827, 0xE803}));
    // Velar pairs without a cluster glyph keep both letters end to end.
    EXPECT_EQ(
        c.Advance(codes({0x20, MN_E, MN_GA, MN_QA, MN_EE, 0x20, MN_A, MN_QA, MN_NA, MN_A, 0x1802})),
        codes({0x20, 0xE82A, 0xEA1F, 0xE8DF, 0x20, 0xE822, 0xE8C4, 0xE865, 0xE825, 0xE802}));
    // A suffix the table lacks is shaped as a word of its own.
    EXPECT_EQ(c.Advance(codes({0x20, MN_GA, MN_E, MN_RA, MN_NNBSP, MN_TA, MN_A, MN_YA, '!', '?'})),
              codes({0x20, 0xE8EB, 0xE931, 0x202F, 0xE914, 0xE823, 0xE92D, 0xE81B}));
    // A word that recurs gives the same glyphs each time, and the tail glyph ends the word.
    const std::wstring word = codes({MN_NA, MN_OE, MN_KA, MN_OE, MN_RA, MN_MVS, MN_E});
    const std::wstring glyphs = codes({0xE862, 0xE84C, 0xE97A, 0xE931, 0xE82F});
    EXPECT_EQ(c.Advance(L" " + word + L" " + word), L" " + glyphs + L" " + glyphs);
}
