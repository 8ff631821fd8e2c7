#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "shaping/ToPua.h"

namespace {

// A made-up but plausible Mongolian text: stems of consonant-vowel syllables drawn from a
// vocabulary with a few very common words, suffixes after U+202F (mostly whole suffix words),
// the odd selector, and punctuation, digits and spaces between words.
struct SampleText {
    std::wstring whole;
    std::vector<std::wstring> words;
};

std::wstring syllables(std::mt19937& random, int count) {
    static const std::wstring consonants = {MN_NA, MN_BA,  MN_QA, MN_GA, MN_MA,  MN_LA,
                                            MN_SA, MN_SHA, MN_TA, MN_DA, MN_CHA, MN_JA,
                                            MN_YA, MN_RA,  MN_WA, MN_KA};
    static const std::wstring vowels = {MN_A, MN_E, MN_I, MN_O, MN_U, MN_OE, MN_UE, MN_EE};
    std::wstring text;
    for (int s = 0; s < count; ++s) {
        text += consonants[random() % consonants.size()];
        text += vowels[random() % vowels.size()];
        if (random() % 3 == 0) text += consonants[random() % consonants.size()];
        if (random() % 25 == 0) text += MN_FVS1;
    }
    return text;
}

SampleText makeSample(int wordCount) {
    std::mt19937 random(20240611);
    std::vector<std::wstring> vocabulary;
    for (int k = 0; k < 800; ++k) vocabulary.push_back(syllables(random, 1 + random() % 3));
    std::vector<std::wstring> suffixWords;
    for (const auto& entry : CToPua::GetInstance()->m_wordMap) suffixWords.push_back(entry.first);
    // Rank r is drawn with weight about 1 / (r + 1).
    std::vector<double> weights;
    for (size_t r = 0; r < vocabulary.size(); ++r) weights.push_back(1.0 / double(r + 1));
    std::discrete_distribution<size_t> pickStem(weights.begin(), weights.end());

    SampleText sample;
    for (int w = 0; w < wordCount; ++w) {
        std::wstring word = L" " + vocabulary[pickStem(random)];
        const unsigned suffixes = random() % 10 < 4 ? 1 + random() % 10 / 8 : 0;
        for (unsigned s = 0; s < suffixes; ++s) {
            word += MN_NNBSP;
            word += random() % 10 < 7 ? suffixWords[random() % suffixWords.size()]
                                      : syllables(random, 1);
        }
        switch (random() % 16) {
            case 0:
                word += 0x1802;
                break;
            case 1:
                word += 0x1803;
                break;
            case 2:
                word += L"!?";
                break;
            case 3:
                word += std::wstring{0x1800, MN_FVS2};
                break;
            case 4:
                word += std::wstring{L' ', 0x1811, 0x1819};
                break;
            default:
                break;
        }
        sample.whole += word;
        sample.words.push_back(std::move(word));
    }
    return sample;
}

const SampleText& sample() {
    static const SampleText text = makeSample(3000);
    return text;
}

void BM_AdvanceText(benchmark::State& state) {
    const CToPua& converter = *CToPua::GetInstance();
    const std::wstring& text = sample().whole;
    for (auto _ : state) benchmark::DoNotOptimize(converter.Advance(text));
    state.SetItemsProcessed(state.iterations() * int64_t(text.size()));
    state.SetLabel("items = code points");
}
BENCHMARK(BM_AdvanceText);

// The way the input method calls it: one committed word at a time.
void BM_AdvanceWordByWord(benchmark::State& state) {
    const CToPua& converter = *CToPua::GetInstance();
    const auto& words = sample().words;
    for (auto _ : state) {
        for (const auto& word : words) benchmark::DoNotOptimize(converter.Advance(word));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(sample().whole.size()));
    state.SetLabel("items = code points");
}
BENCHMARK(BM_AdvanceWordByWord);

}  // namespace
