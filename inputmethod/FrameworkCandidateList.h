#pragma once

#include "inputmethod/CandidatePresenter.h"

namespace platform::imk {
class InputServer;
}

namespace quillora {

// The candidates shown by the input-method framework itself (IBus's lookup table), for a
// session with no display of Quillora's own: the same list, numbered the same way, drawn by the
// client or the desktop's panel instead of the candidate window.
class FrameworkCandidateList final : public CandidatePresenter {
  public:
    explicit FrameworkCandidateList(platform::imk::InputServer& server) : m_server(server) {}

    void showCandidates(const CandidateList& candidates, platform::Rect caretRect) override;
    void hideCandidates() override;
    bool isHidden() const override;

  private:
    platform::imk::InputServer& m_server;  // borrowed: lives as long as the process
};

}  // namespace quillora
