#include "notes/UI/PageOperations.h"

namespace zelvo {

void PageOperations::perform(Operation operation) {
    m_state->waiting.push_back(std::move(operation));
    startNext(m_state);
}

void PageOperations::startNext(std::shared_ptr<State> state) {
    // An operation that finished at once is followed by the loop below, not by a deeper call.
    if (state->starting) return;
    state->starting = true;
    while (!state->running && !state->waiting.empty()) {
        Operation operation = std::move(state->waiting.front());
        state->waiting.pop_front();
        state->running = true;
        std::weak_ptr<State> weak = state;
        auto called = std::make_shared<bool>(false);
        operation([weak, called] {
            if (*called) return;
            *called = true;
            std::shared_ptr<State> still = weak.lock();
            if (!still) return;  // the queue is gone with its page
            still->running = false;
            startNext(still);
        });
    }
    state->starting = false;
}

}  // namespace zelvo
