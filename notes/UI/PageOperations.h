#pragma once

#include <deque>
#include <functional>
#include <memory>

namespace zelvo {

// The operations on a page, one at a time: each may wait for several of the page's answers in
// turn (a switch reads the note left, stores it, then puts the next one in), and the next starts
// only once it said it has finished. So nothing the user does meanwhile enters an operation
// halfway: it is queued behind it. Main thread only.
class PageOperations {
  public:
    // Called once by an operation when it has finished; calling it again does nothing.
    using Finished = std::function<void()>;
    using Operation = std::function<void(Finished finished)>;

    // Runs the operation once every one handed in before has finished (at once when none is
    // under way).
    void perform(Operation operation);
    bool idle() const { return !m_state->running && m_state->waiting.empty(); }

  private:
    struct State {
        std::deque<Operation> waiting;
        bool running = false;
        bool starting = false;
    };
    // Held by value: an operation may destroy the queue's owner.
    static void startNext(std::shared_ptr<State> state);

    std::shared_ptr<State> m_state = std::make_shared<State>();
};

}  // namespace zelvo
