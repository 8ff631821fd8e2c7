#include "inputmethod/FrameworkCandidateList.h"

#include "platform/foundation/UnicodeString.h"
#include "platform/imk/InputServer.h"

namespace quillora {

void FrameworkCandidateList::showCandidates(const CandidateList& candidates, platform::Rect) {
    if (candidates.empty()) {
        hideCandidates();
        return;
    }
    std::vector<std::u16string> words;
    for (const Candidate& candidate : candidates) {
        auto word = candidate.find(kCandidateWordKey);
        words.push_back(word == candidate.end() ? std::u16string()
                                                : shownWord(platform::utf16FromUtf8(word->second)));
    }
    m_server.showFrameworkCandidates(words);
}

void FrameworkCandidateList::hideCandidates() {
    m_server.hideFrameworkCandidates();
}

bool FrameworkCandidateList::isHidden() const {
    return !m_server.frameworkCandidatesVisible();
}

}  // namespace quillora
