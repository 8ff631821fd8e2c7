#include "platform/foundation/NotificationCenter.h"

#include <algorithm>
#include <memory>

#include "platform/foundation/RunLoop.h"

namespace platform {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const std::string& name, Block block,
                                                          Delivery delivery) {
    std::lock_guard lock(m_mutex);
    Token token = ++m_lastToken;
    m_observers.push_back({token, name, std::make_shared<Block>(std::move(block)), delivery});
    return token;
}

void NotificationCenter::removeObserver(Token token) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_observers, [token](const Observer& o) { return o.token == token; });
}

bool NotificationCenter::isRegistered(Token token) const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_observers.begin(), m_observers.end(),
                       [token](const Observer& o) { return o.token == token; });
}

void NotificationCenter::postNotification(const Notification& notification) {
    // Observers run without the lock, from a copy, so they may register and remove freely.
    std::vector<Observer> matching;
    {
        std::lock_guard lock(m_mutex);
        for (const Observer& observer : m_observers) {
            if (observer.name.empty() || observer.name == notification.name) {
                matching.push_back(observer);
            }
        }
    }
    for (const Observer& observer : matching) {
        if (!isRegistered(observer.token)) continue;
        if (observer.delivery == Delivery::PostingThread) {
            (*observer.block)(notification);
            continue;
        }
        RunLoop::mainRunLoop().performBlock([this, observer, notification] {
            if (isRegistered(observer.token)) (*observer.block)(notification);
        });
    }
}

void NotificationCenter::postNotificationName(const std::string& name, std::any object,
                                              Dictionary userInfo) {
    postNotification({name, std::move(object), std::move(userInfo)});
}

}  // namespace platform
