// Consonant clusters: two consonants side by side that the font draws as one glyph. The table is
// small and irregular, so it is kept as it stands rather than computed.

#include <array>

#include "shaping/ToPua.h"

namespace {

constexpr wchar_t kAng = 0x1829;
constexpr wchar_t kQa = 0x182C;
constexpr wchar_t kGa = 0x182D;
constexpr int kMedial = 2;

// Cell contents besides a glyph code.
constexpr wchar_t kNone = 0;  // no glyph: empty result
constexpr wchar_t kSame = 1;  // the second consonant passes through as it is

// Columns: the consonants that can stand second in a cluster, then every other code point.
constexpr std::array<wchar_t, 5> kSeconds = {0x1828, kQa, kGa, 0x182E, 0x182F};  // NA QA GA MA LA
constexpr std::size_t kOtherColumn = kSeconds.size();

struct ClusterRow {
    wchar_t first;
    std::array<wchar_t, kSeconds.size() + 1> cells;
};

constexpr ClusterRow kRows[] = {
    // first          NA      QA      GA      MA      LA      other
    {kAng, /* ANG */ {0xE9E3, 0xE9E4, 0xE9E5, 0xE86E, 0xE86F, kNone}},
    {0x182A, /* BA */ {0xE9F0, 0xE9E6, 0xE9E7, 0xE896, 0xE897, kNone}},
    {0x182B, /* PA */ {0xE9F1, 0xE9E8, 0xE9E9, 0xE8BE, 0xE8BF, kNone}},
    {kGa, /* GA */ {0xE9F2, kNone, kNone, 0xE900, 0xE901, kNone}},
    {0x182E, /* MA */ {kSame, kSame, kSame, 0xE9E0, 0xE9E1, kSame}},
    {0x182F, /* LA */ {kSame, kSame, kSame, kSame, 0xE9E2, kSame}},
    {0x1839, /* FA */ {0xE9F3, 0xE9EA, 0xE9EB, 0xE95E, 0xE95F, kNone}},
    {0x183A, /* KA */ {0xE9F4, 0xE9EC, 0xE9ED, 0xE986, 0xE987, kNone}},
    {0x183B, /* KHA */ {0xE9F5, 0xE9EE, 0xE9EF, 0xE9AE, 0xE9AF, kNone}},
};

std::size_t columnOf(wchar_t second) {
    for (std::size_t i = 0; i < kSeconds.size(); ++i)
        if (kSeconds[i] == second) return i;
    return kOtherColumn;
}

}  // namespace

std::wstring CToPua::getConCon(wchar_t first, wchar_t second, int position) {
    // Only ANG's clusters with QA and GA change shape with the position: medially they join the
    // run that follows ANG's own forms.
    if (first == kAng && position == kMedial) {
        if (second == kQa) return GetWString(0xE86C);
        if (second == kGa) return GetWString(0xE86D);
    }
    for (const ClusterRow& row : kRows) {
        if (row.first != first) continue;
        const wchar_t cell = row.cells[columnOf(second)];
        if (cell == kNone) return std::wstring();
        return GetWString(cell == kSame ? second : cell);
    }
    return std::wstring();
}
