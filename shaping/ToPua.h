#pragma once

#include <map>
#include <string>
#include <vector>

// Code points of standard Mongolian that the converter names. Letters carry their Unicode names
// without the prefix MONGOLIAN LETTER.
inline constexpr wchar_t MN_NIRUGU = 0x180A;
inline constexpr wchar_t MN_FVS1 = 0x180B;
inline constexpr wchar_t MN_FVS2 = 0x180C;
inline constexpr wchar_t MN_FVS3 = 0x180D;
inline constexpr wchar_t MN_MVS = 0x180E;
inline constexpr wchar_t MN_A = 0x1820;
inline constexpr wchar_t MN_E = 0x1821;
inline constexpr wchar_t MN_I = 0x1822;
inline constexpr wchar_t MN_O = 0x1823;
inline constexpr wchar_t MN_U = 0x1824;
inline constexpr wchar_t MN_OE = 0x1825;
inline constexpr wchar_t MN_UE = 0x1826;
inline constexpr wchar_t MN_EE = 0x1827;
inline constexpr wchar_t MN_NA = 0x1828;
inline constexpr wchar_t MN_ANG = 0x1829;
inline constexpr wchar_t MN_BA = 0x182A;
inline constexpr wchar_t MN_PA = 0x182B;
inline constexpr wchar_t MN_QA = 0x182C;
inline constexpr wchar_t MN_GA = 0x182D;
inline constexpr wchar_t MN_MA = 0x182E;
inline constexpr wchar_t MN_LA = 0x182F;
inline constexpr wchar_t MN_SA = 0x1830;
inline constexpr wchar_t MN_SHA = 0x1831;
inline constexpr wchar_t MN_TA = 0x1832;
inline constexpr wchar_t MN_DA = 0x1833;
inline constexpr wchar_t MN_CHA = 0x1834;
inline constexpr wchar_t MN_JA = 0x1835;
inline constexpr wchar_t MN_YA = 0x1836;
inline constexpr wchar_t MN_RA = 0x1837;
inline constexpr wchar_t MN_WA = 0x1838;
inline constexpr wchar_t MN_FA = 0x1839;
inline constexpr wchar_t MN_KA = 0x183A;
inline constexpr wchar_t MN_KHA = 0x183B;
inline constexpr wchar_t MN_TSA = 0x183C;
inline constexpr wchar_t MN_ZA = 0x183D;
inline constexpr wchar_t MN_HAA = 0x183E;
inline constexpr wchar_t MN_ZRA = 0x183F;
inline constexpr wchar_t MN_LHA = 0x1840;
inline constexpr wchar_t MN_ZHI = 0x1841;
inline constexpr wchar_t MN_CHI = 0x1842;
inline constexpr wchar_t MN_ZWJ = 0x200D;
inline constexpr wchar_t MN_NNBSP = 0x202F;
// What a neighbour outside the word reads as; no rule tests for it.
inline constexpr wchar_t MN_OUTSIDE = 0x0020;

// Cuts text at every separator and appends the pieces, in order, to pieces (which is not emptied
// first). k separators give k + 1 pieces, empty ones included; text is left as it was.
void split(std::vector<std::wstring>& pieces, std::wstring& text, wchar_t separator);

// Converts standard Unicode Mongolian into the presentation glyphs of the display font's private
// use area (U+E801 to U+EAB6). One instance per process; it holds nothing but the read-only table
// of whole suffix words, so every conversion is a pure function of its argument.
class CToPua {
  public:
    // Form positions of a letter, as passed to the glyph lookups.
    static constexpr int POS_ISOLATE = 0;
    static constexpr int POS_INITIAL = 1;
    static constexpr int POS_MEDIAL = 2;
    static constexpr int POS_FINAL = 3;

    // The state of one iteration of the word walk in convertWord, handed to the rule of the
    // current code point. Neighbours outside the word read as MN_OUTSIDE.
    //
    // convertWord cuts the separated tail, builds one WordWalk on the remaining word, then for
    // each index: load() fills current, next, afterNext, previous and position; shapeCode()
    // dispatches on current to the rule of its letter family; step() moves on by one. A rule:
    //   - picks its branch from position (already the common position test) and the neighbours;
    //   - appends its glyph string with append() (one glyph, a lookup result, or nothing), or a
    //     ligature or cluster with the code point after it through appendVowelLigature() and
    //     appendCluster(), which consume what the glyph stands for;
    //   - when its glyph also stands for the next code point (a ligature with the vowel after it,
    //     a cluster with the consonant after it) calls consume(), or consume(2) when it takes the
    //     code point after next as well; the walk then resumes behind them, and the next
    //     iteration's previous is the last consumed code point;
    //   - may read any other place of the word with at(k), which needs no bounds test of its own;
    //   - asks hasTail() for "the piece ended in MVS A or MVS E".
    // Rules never change word, tail, lastIndex or isolate, and never move index backwards.
    struct WordWalk {
        // The word after the separated tail has been cut off; indices count code points from 0.
        const std::wstring& word;
        // The separated tail glyph (U+E827 for a piece ending MVS A, U+E82F for MVS E), or empty.
        // convertWord appends it after the whole word; rules only ask hasTail().
        const std::wstring tail;
        // Index of the word's last code point: length - 1, so -1 for an empty word.
        const int lastIndex;
        // Set when the word is one code point, or one code point and a final FVS1/FVS2/FVS3.
        const bool isolate;

        // Index of the code point being shaped. A rule moves it only through consume().
        int index = 0;
        wchar_t current = MN_OUTSIDE;
        wchar_t next = MN_OUTSIDE;       // index + 1 while index < lastIndex
        wchar_t afterNext = MN_OUTSIDE;  // index + 2 while index < lastIndex - 1
        wchar_t previous = MN_OUTSIDE;   // index - 1 while index > 0; a consumed code point counts
        // The common position test: isolate flag, else index 0 initial, else isFinal() final,
        // else medial. Every letter rule starts from it.
        int position = POS_ISOLATE;

        // Glyphs of the word so far, in walk order.
        std::wstring output;

        WordWalk(const std::wstring& word, std::wstring tail);

        // Whether the walk has passed the word's last code point.
        bool done() const { return index > lastIndex; }
        // Reads the code point at index and its neighbours and works out the position.
        void load();
        // Moves on to the code point after the current one (or after the last consumed one).
        void step() { ++index; }
        // Takes the next count code points into the current rule's glyph; the walk steps over
        // them without visiting them. Last index and isolate flag stay as they are.
        void consume(int count = 1) { index += count; }

        // The code point at k, or MN_OUTSIDE when k lies outside the word (for rules that look
        // further than the named neighbours).
        wchar_t at(int k) const;
        bool hasTail() const { return !tail.empty(); }
        void append(wchar_t glyph);
        void append(const std::wstring& glyphs) { output += glyphs; }

        // Glyphs of the current consonant + OE or UE followed by FVS1, which the ligature
        // lookups never give: with the FVS1 as the word's last code point, and with more after it.
        struct Fvs1Ligatures {
            wchar_t oeLast, ueLast, oeInside, ueInside;
        };
        // For an initial or medial consonant followed by a vowel it joins: appends the ligature
        // of the two and consumes the vowel. A closing FVS1 after the vowel picks the isolate
        // ligature initially and the fvs1 codes medially; the FVS1 itself stays in the word.
        void appendVowelLigature(const Fvs1Ligatures& fvs1);
        // Appends the medial cluster glyph of the current consonant and second, and consumes
        // count code points; appends and consumes nothing and returns false where the pair has
        // no glyph, so that the letter's later rules decide and the second keeps its own glyph.
        bool appendCluster(wchar_t second, int count = 1);
    };

    // The one converter, created on first use and never freed.
    static CToPua* GetInstance();

    CToPua(const CToPua&) = delete;
    CToPua& operator=(const CToPua&) = delete;

    // The text of the parameters in order, up to and without the first that is 0.
    static std::wstring GetWString(wchar_t c1);
    static std::wstring GetWString(wchar_t c1, wchar_t c2);
    static std::wstring GetWString(wchar_t c1, wchar_t c2, wchar_t c3);
    static std::wstring GetWString(wchar_t c1, wchar_t c2, wchar_t c3, wchar_t c4);
    static std::wstring GetWString(wchar_t c1, wchar_t c2, wchar_t c3, wchar_t c4, wchar_t c5);
    static std::wstring GetWString(wchar_t c1, wchar_t c2, wchar_t c3, wchar_t c4, wchar_t c5,
                                   wchar_t c6);

    // Converts a whole committed text: runs of Mongolian code points are shaped, punctuation and
    // digits mapped, everything else passed through.
    std::wstring Advance(std::wstring text) const;
    // Whether c belongs to a run of Mongolian code points.
    static bool isMongolian(wchar_t c);
    // Converts one run: the stem is shaped, each piece after U+202F is taken from the suffix word
    // table when it holds the piece whole, else shaped.
    std::wstring convertWords(std::wstring run) const;
    // Shapes one word letter by letter.
    std::wstring convertWord(std::wstring piece) const;

    // Letter classes.
    static bool isFVS(wchar_t c);
    static bool isMVowel(wchar_t c);
    static bool isFMVowel(wchar_t c);
    static bool isVowel(wchar_t c);
    static bool isGNML(wchar_t c);
    // Whether the letter at index i takes its final form.
    static bool isFinal(wchar_t next, int i, int lastIndex);
    // Whether the word is shaped as one isolated letter.
    static bool isIsolate(const std::wstring& word, int lastIndex);
    static bool StartWith(const std::wstring& text, wchar_t c);
    static bool StartWith(const std::wstring& text, const std::wstring& prefix);
    static bool EndWith(const std::wstring& text, wchar_t c);
    static bool EndWith(const std::wstring& text, const std::wstring& suffix);

    // Glyph lookups for consonant clusters and consonant+vowel ligatures by form position; each
    // returns one glyph or the empty text.
    static std::wstring getConCon(wchar_t first, wchar_t second, int position);
    static std::wstring getConVowel(wchar_t consonant, int position, wchar_t vowel);
    static std::wstring getBVowel(int position, wchar_t vowel);
    static std::wstring getPVowel(int position, wchar_t vowel);
    static std::wstring getHVowel(int position, wchar_t vowel);
    static std::wstring getGVowel(int position, wchar_t vowel);
    static std::wstring getFVowel(int position, wchar_t vowel);
    static std::wstring getKVowel(int position, wchar_t vowel);
    static std::wstring getKHVowel(int position, wchar_t vowel);

    // Whole suffix words and the glyphs that stand for them; filled once, then only read.
    const std::map<std::wstring, std::wstring> m_wordMap;

  private:
    CToPua();

    static std::map<std::wstring, std::wstring> buildWordMap();
    // Appends what a code point outside the runs gives; returns whether it took the look-ahead.
    static bool mapPunctuation(wchar_t c, wchar_t lookAhead, std::wstring& result);

    // The rule of the walk's current code point, by letter family. Each appends its glyphs to
    // walk.output and may consume code points after the current one.
    static void shapeCode(WordWalk& walk);
    static void shapeVowel(WordWalk& walk);              // A, E, I, O, U, OE, UE, EE
    static void shapeVelar(WordWalk& walk);              // QA, GA
    static void shapeLigatureConsonant(WordWalk& walk);  // BA, PA, FA, KA, KHA
    static void shapeNasalLateral(WordWalk& walk);       // NA, ANG, MA, LA
    static void shapeDentalGlide(WordWalk& walk);        // TA, DA, JA, YA, WA
    static void shapePlainLetter(WordWalk& walk);        // SA, SHA, CHA, RA, TSA ... CHI

    static CToPua* m_pInstance;
};
