#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

namespace platform {

// NSNotification: a name, the object it is about (anything: a note, a flag string, a controller
// pointer) and extra information.
struct Notification {
    std::string name;
    std::any object;
    Dictionary userInfo;

    bool hasObject() const { return object.has_value(); }
    // The object as a T, or null when it holds something else.
    template <typename T>
    const T* objectAs() const {
        return std::any_cast<T>(&object);
    }
};

// NSNotificationCenter, synchronous: a post calls every matching observer before it returns,
// except observers registered for main-queue delivery, which run on the main run loop's next
// turn. Observers may add and remove observers (themselves included) while being called; one
// removed during a post is not called after its removal.
class NotificationCenter {
  public:
    enum class Delivery { PostingThread, MainQueue };
    using Block = std::function<void(const Notification&)>;
    // Names one registration; 0 is never handed out.
    using Token = uint64_t;

    static NotificationCenter& defaultCenter();

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // An empty name observes every notification.
    Token addObserver(const std::string& name, Block block,
                      Delivery delivery = Delivery::PostingThread);
    void removeObserver(Token token);

    void postNotification(const Notification& notification);
    void postNotificationName(const std::string& name, std::any object = {},
                              Dictionary userInfo = {});

  private:
    struct Observer {
        Token token;
        std::string name;
        std::shared_ptr<Block> block;
        Delivery delivery;
    };
    bool isRegistered(Token token) const;

    mutable std::mutex m_mutex;
    std::vector<Observer> m_observers;
    Token m_lastToken = 0;
};

}  // namespace platform
