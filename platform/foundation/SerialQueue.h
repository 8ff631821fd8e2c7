#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

// A serial dispatch queue: blocks run one at a time, in the order they were handed in, on a
// worker thread of the queue's own (started at the first block). Any thread may hand in blocks.
// A block must not call sync() of the queue that runs it: it would wait for itself.
class SerialQueue {
  public:
    explicit SerialQueue(std::string label);
    // Runs what is still queued, then stops the worker.
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& label() const;

    // Queues the block and returns at once.
    void async(std::function<void()> block);
    // Queues the block and waits until it has run; an exception it throws reaches the caller.
    void sync(const std::function<void()>& block);

    // Whether the calling code runs as a block of this queue.
    bool isCurrent() const { return current() == this; }
    // The queue whose block the calling thread runs, or null.
    static const SerialQueue* current();

  private:
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace platform
