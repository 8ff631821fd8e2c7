#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/foundation/SerialQueue.h"
#include "sqdb/SQDatabase.h"

// Lets several threads share one connection: every piece of work on it runs as a block on a
// private serial queue, one at a time and in arrival order, while the caller waits. Blocks get
// the connection as a pointer that is null when it could not be (re)opened. A block must not
// call back into the queue that runs it; doing so stops the process instead of hanging it.
class SQDatabaseQueue {
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
    ~SQDatabaseQueue();
    SQDatabaseQueue(const SQDatabaseQueue&) = delete;
    SQDatabaseQueue& operator=(const SQDatabaseQueue&) = delete;

    std::optional<std::string> path() const;
    void setPath(std::optional<std::string> path);
    int openFlags() const { return m_openFlags; }
    // "<SQDatabaseQueue: 0x…>"
    std::string description() const;

    void inDatabase(const SQDatabaseBlock& block);
    // Exclusive and deferred transactions. The block runs only inside a transaction that began;
    // it sets *rollback to undo its writes. A failed commit is rolled back. True when the
    // transaction ended as the block asked.
    bool inTransaction(const SQTransactionBlock& block) { return beginTransaction(false, block); }
    bool inDeferredTransaction(const SQTransactionBlock& block) {
        return beginTransaction(true, block);
    }
    bool beginTransaction(bool useDeferred, const SQTransactionBlock& block);
    // Runs the block inside a savepoint "savePoint<n>"; gives the error of the last savepoint
    // step that failed, or none. Without a connection the block is not called.
    std::optional<platform::Error> inSavePoint(const SQTransactionBlock& block);
    // Closes the connection; the next piece of work opens a new one.
    void close();

    // For use inside the queue's blocks: the connection, opened first when there is none; null
    // when it cannot be opened (logged; the next call tries again).
    SQDatabase* database();

  private:
    // Stops the process when the caller already runs on this queue.
    void checkNotReentrant(const char* operation) const;

    mutable std::mutex m_pathMutex;
    std::optional<std::string> m_path;
    const int m_openFlags;
    std::shared_ptr<SQDatabase> m_db;
    platform::SerialQueue m_queue;
};
