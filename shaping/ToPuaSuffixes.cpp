#include "shaping/ToPua.h"

void split(std::vector<std::wstring>& pieces, std::wstring& text, wchar_t separator) {
    std::wstring::size_type start = 0;
    for (auto found = text.find(separator, start); found != std::wstring::npos;
         found = text.find(separator, start)) {
        pieces.push_back(text.substr(start, found - start));
        start = found + 1;
    }
    pieces.push_back(text.substr(start));
}

std::wstring CToPua::convertWords(std::wstring run) const {
    std::vector<std::wstring> pieces;
    split(pieces, run, MN_NNBSP);

    // The stem is always shaped, even where it equals a suffix word.
    std::wstring result = convertWord(pieces.front());
    for (size_t k = 1; k < pieces.size(); ++k) {
        result += GetWString(MN_NNBSP);
        const auto hit = m_wordMap.find(pieces[k]);
        result += hit != m_wordMap.end() ? hit->second : convertWord(pieces[k]);
    }
    return result;
}
