#include "shaping/ToPua.h"

bool CToPua::isMongolian(wchar_t c) {
    return (c >= MN_NIRUGU && c <= MN_MVS) || (c >= MN_A && c <= 0x1877) || c == MN_NNBSP ||
           c == MN_ZWJ;
}

std::wstring CToPua::Advance(std::wstring text) const {
    std::wstring result;
    std::wstring run;
    // A run that recurs within the text is shaped once.
    std::map<std::wstring, std::wstring> wordCache;

    auto flush = [&] {
        if (run.empty()) return;
        auto cached = wordCache.find(run);
        if (cached == wordCache.end()) {
            cached = wordCache.emplace(run, convertWords(run)).first;
        }
        result += cached->second;
        run.clear();
    };

    const size_t n = text.size();
    result.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const wchar_t c = text[i];
        if (isMongolian(c)) {
            run.push_back(c);
            continue;
        }
        flush();
        const wchar_t lookAhead = i + 1 < n ? text[i + 1] : MN_OUTSIDE;
        if (mapPunctuation(c, lookAhead, result)) ++i;
    }
    flush();
    return result;
}
