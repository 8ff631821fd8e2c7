#include "platform/foundation/SerialQueue.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace platform {
namespace {

thread_local const SerialQueue* t_currentQueue = nullptr;

}  // namespace

// Shared with the worker, so that a queue dropped by one of its own blocks stays whole until
// the worker has finished that block.
struct SerialQueue::State {
    std::string label;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> blocks;
    std::thread worker;
    bool stopping = false;

    void run(const SerialQueue* owner) {
        t_currentQueue = owner;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stopping || !blocks.empty(); });
            if (blocks.empty()) break;
            std::function<void()> block = std::move(blocks.front());
            blocks.pop_front();
            lock.unlock();
            block();
            block = nullptr;
            lock.lock();
        }
        t_currentQueue = nullptr;
    }
};

SerialQueue::SerialQueue(std::string label) : m_state(std::make_shared<State>()) {
    m_state->label = std::move(label);
}

SerialQueue::~SerialQueue() {
    std::thread worker;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stopping = true;
        worker = std::move(m_state->worker);
    }
    m_state->wake.notify_all();
    if (!worker.joinable()) return;
    if (worker.get_id() == std::this_thread::get_id()) {
        worker.detach();
    } else {
        worker.join();
    }
}

const std::string& SerialQueue::label() const {
    return m_state->label;
}

const SerialQueue* SerialQueue::current() {
    return t_currentQueue;
}

void SerialQueue::async(std::function<void()> block) {
    {
        std::lock_guard lock(m_state->mutex);
        m_state->blocks.push_back(std::move(block));
        if (!m_state->worker.joinable()) {
            m_state->worker = std::thread([state = m_state, this] { state->run(this); });
        }
    }
    m_state->wake.notify_one();
}

void SerialQueue::sync(const std::function<void()>& block) {
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    std::exception_ptr failure;
    async([&] {
        try {
            block();
        } catch (...) {
            failure = std::current_exception();
        }
        // Signalled under the lock: the waiter owns these locals and may leave right after.
        std::lock_guard lock(doneMutex);
        done = true;
        doneSignal.notify_one();
    });
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return done; });
    lock.unlock();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace platform
