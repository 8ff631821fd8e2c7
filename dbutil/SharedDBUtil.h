#pragma once

#include <memory>
#include <string>

class SQDatabase;
class SQDatabaseQueue;

namespace dbutil {

// Every connection of a store is opened through here, so that a write reported as done survives
// a power cut; none when the file does not open.
std::shared_ptr<SQDatabase> openDurably(const std::string& path);
void makeDurable(SQDatabase& db);

// The part that Zelvo's notes store and Quillora's dictionary store have in common: both classes
// are called DBUtil and both carry a shared instance holding a database queue, and the operation
// that creates the notes tables. Kept in one place so the two programs cannot drift apart.
class QueueHolder {
  public:
    // None when the queue's database could not be opened.
    SQDatabaseQueue* queue() const { return m_queue.get(); }
    void setQueue(std::unique_ptr<SQDatabaseQueue> queue);

    // Creates the notes tables `note` and `noteFile` in the file unless they exist; true when
    // both exist afterwards. Each failure is logged under "+[DBUtil initDataBaseWithPath:]".
    static bool initDataBaseWithPath(const std::string& path);

  protected:
    // Builds the queue on the path stored under the user default "pathDB".
    QueueHolder();
    ~QueueHolder();
    QueueHolder(const QueueHolder&) = delete;
    QueueHolder& operator=(const QueueHolder&) = delete;

  private:
    std::unique_ptr<SQDatabaseQueue> m_queue;
};

// Gives each program's DBUtil its own shared instance of its own type.
template <class Store>
class SharedDBUtil : public QueueHolder {
  public:
    // Made on the first call, safely from any thread, and never destroyed, so that it outlives
    // every caller at exit.
    static Store& sharedDB() {
        static Store* const instance = new Store();
        return *instance;
    }
};

}  // namespace dbutil
