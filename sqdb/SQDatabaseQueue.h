#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/SerialQueue.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQDatabaseProvider.h"

// Lets several threads share one connection: every piece of work on it runs as a block on a
// private serial queue, one at a time and in arrival order, while the caller waits. Blocks get
// the connection as a pointer that is null when it could not be (re)opened. A block must not
// call back into the queue that runs it; doing so stops the process instead of hanging it.
// Transactions and savepoints (SQDatabaseProvider) run on the queue as well.
class SQDatabaseQueue : public SQDatabaseProvider {
    struct ConstructionKey {
        explicit ConstructionKey() = default;
    };

  public:
    // None when the database cannot be opened (logged). The path follows SQDatabase's rule:
    // absent is in-memory, empty a temporary database. The file system name serves the first
    // open only.
    static std::unique_ptr<SQDatabaseQueue> databaseQueueWithPath(
        std::optional<std::string> path, int flags = SQDBDefaultOpenFlags,
        const std::optional<std::string>& vfsName = std::nullopt);
    // A queue over a fresh in-memory database.
    static std::unique_ptr<SQDatabaseQueue> databaseQueue() {
        return databaseQueueWithPath(std::nullopt);
    }
    SQDatabaseQueue(ConstructionKey, std::optional<std::string> path, int flags,
                    std::shared_ptr<SQDatabase> db);
    ~SQDatabaseQueue() override;

    // description() is "<SQDatabaseQueue: 0x…>".
    void inDatabase(const SQDatabaseBlock& block);
    // Closes the connection; the next piece of work opens a new one.
    void close();

    // For use inside the queue's blocks: the connection, opened first when there is none; null
    // when it cannot be opened (logged; the next call tries again).
    SQDatabase* database();

  private:
    void withDatabase(const char* operation, const std::function<void(SQDatabase*)>& work) override;
    // Stops the process when the caller already runs on this queue.
    void checkNotReentrant(const char* operation) const;

    std::shared_ptr<SQDatabase> m_db;
    platform::SerialQueue m_queue;
};
