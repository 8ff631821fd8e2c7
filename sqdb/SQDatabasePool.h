#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/SerialQueue.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQDatabaseProvider.h"

class SQDatabasePool;

// What a pool asks before handing a connection out and tells after making one. Both are
// optional: the defaults stand for a delegate that does not answer. They are called while the
// pool is locked, so they must not call the pool's counting, borrowing or releasing operations.
class SQDatabasePoolDelegate {
  public:
    virtual ~SQDatabasePoolDelegate() = default;
    // False keeps the open connection from being handed out; it is closed.
    virtual bool databasePoolShouldAddDatabaseToPool(SQDatabasePool& pool, SQDatabase& database) {
        (void)pool;
        (void)database;
        return true;
    }
    virtual void databasePoolDidAddDatabase(SQDatabasePool& pool, SQDatabase& database) {
        (void)pool;
        (void)database;
    }
};

// Several connections to one database, so that several threads can each work on one of their
// own. A caller borrows a connection for one block; the pool keeps it open for the next one.
// Only the two lists (idle and handed out) are locked; borrowed connections are used outside the
// lock. Blocks get the connection as a pointer that is null when none could be had; the
// transaction and savepoint forms (SQDatabaseProvider) each borrow one for the call.
class SQDatabasePool : public SQDatabaseProvider {
    struct ConstructionKey {
        explicit ConstructionKey() = default;
    };

  public:
    // No connection is made yet. The path follows SQDatabase's rule: absent is in-memory (each
    // connection its own database), empty a temporary database.
    static std::unique_ptr<SQDatabasePool> databasePoolWithPath(std::optional<std::string> path,
                                                                int flags = SQDBDefaultOpenFlags);
    static std::unique_ptr<SQDatabasePool> databasePool() {
        return databasePoolWithPath(std::nullopt);
    }
    SQDatabasePool(ConstructionKey, std::optional<std::string> path, int flags);
    ~SQDatabasePool() override;

    // Not owned.
    SQDatabasePoolDelegate* delegate() const { return m_delegate; }
    void setDelegate(SQDatabasePoolDelegate* delegate) { m_delegate = delegate; }
    // Counts idle and handed-out connections together; 0: no limit.
    uint64_t maximumNumberOfDatabasesToCreate() const { return m_maximumNumberOfDatabasesToCreate; }
    void setMaximumNumberOfDatabasesToCreate(uint64_t value) {
        m_maximumNumberOfDatabasesToCreate = value;
    }
    // description() is "<SQDatabasePool: 0x…>".

    uint64_t countOfCheckedInDatabases();
    uint64_t countOfCheckedOutDatabases();
    uint64_t countOfOpenDatabases();
    // Forgets every connection; one still borrowed stays with its borrower.
    void releaseAllDatabases();
    // Runs the block under the pool's lock.
    void executeLocked(const std::function<void()>& block);

    // An open connection for the caller alone, the one put back last when there is one; none
    // (logged) at the limit or when it cannot be opened, and none when the delegate refuses it.
    // Hand it back with pushDatabaseBackInPool().
    std::shared_ptr<SQDatabase> db();
    // Null is ignored. Throws platform::Exception "Database already in pool" for a connection
    // that is idle already.
    void pushDatabaseBackInPool(const std::shared_ptr<SQDatabase>& database);

    // The block borrows a connection for its length.
    void inDatabase(const SQDatabaseBlock& block);

  private:
    class Borrowed;

    void withDatabase(const char* operation, const std::function<void(SQDatabase*)>& work) override;

    std::vector<std::shared_ptr<SQDatabase>> m_databaseInPool;
    std::vector<std::shared_ptr<SQDatabase>> m_databaseOutPool;
    std::atomic<SQDatabasePoolDelegate*> m_delegate{nullptr};
    std::atomic<uint64_t> m_maximumNumberOfDatabasesToCreate{0};
    platform::SerialQueue m_lockQueue;
};
