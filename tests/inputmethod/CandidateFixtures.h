#pragma once

// Candidate lists of real Mongolian words for the candidate window's tests.

#include <string>
#include <vector>

#include "inputmethod/Candidate.h"
#include "platform/foundation/UnicodeString.h"

namespace fixtures {

// Words of clearly different lengths (standard Unicode Mongolian).
inline const std::vector<std::u16string> NineWords = {
    u"\u182A\u1820\u1836\u1820\u1837\u182F\u1820\u182F\u1820\u1820",  // bayarlalaa
    u"\u182A\u1820",                                                  // ba
    u"\u182E\u1823\u1829\u182D\u1823\u182F",                          // mongγol
    u"\u182A\u1822\u1834\u1822\u182D",                                // bičig
    u"\u1835\u1823\u1837\u1822\u182D",                                // jorig
    u"\u1832\u1820\u1837\u1820\u182D\u1820\u1828",                    // taraγan
    u"\u1823\u182F\u1823\u1828",                                      // olon
    u"\u1833\u1821\u1837\u1821",                                      // dere
    u"\u182C\u1823\u182F\u1822\u1836\u1820",                          // qoliya
};

inline quillora::Candidate candidate(const std::u16string& word) {
    return {{quillora::kCandidateWordKey, platform::utf8FromUtf16(word)}};
}

inline quillora::CandidateList candidates(const std::vector<std::u16string>& words) {
    quillora::CandidateList list;
    for (const auto& w : words) list.push_back(candidate(w));
    return list;
}

}  // namespace fixtures
