#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Error.h"
#include "sqdb/SQDatabase.h"

// What the queue and the pool have in common: the path and flags their connections are opened
// with, their description, and the transaction and savepoint forms of a block. Each provider
// supplies the connection its own way (the queue its one connection on its serial queue, the
// pool one borrowed for the call) through withDatabase().
class SQDatabaseProvider {
  public:
    virtual ~SQDatabaseProvider() = default;
    SQDatabaseProvider(const SQDatabaseProvider&) = delete;
    SQDatabaseProvider& operator=(const SQDatabaseProvider&) = delete;

    std::optional<std::string> path() const;
    void setPath(std::optional<std::string> path);
    int openFlags() const { return m_openFlags; }
    // "<ClassName: 0x…>"
    std::string description() const;

    // Exclusive and deferred transactions. The block runs inside a transaction begun on the
    // connection (null when none could be had: the steps then do nothing); it sets *rollback to
    // undo its writes. A failed commit is rolled back. True when the transaction ended as the
    // block asked.
    bool inTransaction(const SQTransactionBlock& block) { return beginTransaction(false, block); }
    bool inDeferredTransaction(const SQTransactionBlock& block) {
        return beginTransaction(true, block);
    }
    bool beginTransaction(bool useDeferred, const SQTransactionBlock& block);
    // Runs the block inside a savepoint "savePoint<n>", numbered by the provider's class; gives
    // the error of the last savepoint step that failed, or none. Without a connection the block
    // is not called.
    std::optional<platform::Error> inSavePoint(const SQTransactionBlock& block);

  protected:
    // savePointIndex: the process-wide savepoint counter of the subclass, which numbers its own.
    SQDatabaseProvider(const char* className, std::atomic<unsigned long>& savePointIndex,
                       std::optional<std::string> path, int flags);

    // Runs work with a connection, null when none could be had; operation names the public call
    // that asked ("inTransaction:", "inDeferredTransaction:", "inSavePoint:").
    virtual void withDatabase(const char* operation,
                              const std::function<void(SQDatabase*)>& work) = 0;

  private:
    const char* const m_className;
    std::atomic<unsigned long>& m_savePointIndex;
    mutable std::mutex m_pathMutex;
    std::optional<std::string> m_path;
    const int m_openFlags;
};
