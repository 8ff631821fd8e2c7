#pragma once

#include <cstddef>
#include <memory>
#include <utility>

#include "inputmethod/Candidate.h"

namespace quillora {

// The candidate list of the process (`wordArray`): at most nine candidates, shared by every
// input controller and shown by the one candidate window. A search replaces it wholesale; it is
// never changed in place and never emptied between compositions, so the last list built stays
// until the next search. Main thread only.
class WordArray {
  public:
    static WordArray& shared() {
        static WordArray instance;
        return instance;
    }

    // The list as it stands; holders keep it valid even after a later replace().
    std::shared_ptr<const CandidateList> list() const { return m_list; }
    std::size_t count() const { return m_list->size(); }
    void replace(CandidateList list) {
        m_list = std::make_shared<const CandidateList>(std::move(list));
    }

  private:
    WordArray() : m_list(std::make_shared<const CandidateList>()) {}

    std::shared_ptr<const CandidateList> m_list;
};

}  // namespace quillora
