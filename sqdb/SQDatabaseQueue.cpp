#include "sqdb/SQDatabaseQueue.h"

#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/foundation/Log.h"
#include "sqdb/SQResultSet.h"

namespace {

// Savepoint names of every queue of the process; the pool and the connection count their own.
std::atomic<unsigned long> g_savePointIndex{0};

std::string describePath(const std::optional<std::string>& path) {
    return path ? *path : std::string("(null)");
}

}  // namespace

std::unique_ptr<SQDatabaseQueue> SQDatabaseQueue::databaseQueueWithPath(
    std::optional<std::string> path, int flags, const std::optional<std::string>& vfsName) {
    auto db = SQDatabase::databaseWithPath(path);
    if (!db->openWithFlags(flags, vfsName)) {
        platform::logf("Could not create database queue for path %s", describePath(path).c_str());
        return nullptr;
    }
    return std::make_unique<SQDatabaseQueue>(ConstructionKey(), std::move(path), flags,
                                             std::move(db));
}

SQDatabaseQueue::SQDatabaseQueue(ConstructionKey, std::optional<std::string> path, int flags,
                                 std::shared_ptr<SQDatabase> db)
    : m_path(std::move(path)),
      m_openFlags(flags),
      m_db(std::move(db)),
      m_queue(platform::stringWithFormat("sqdb.%s", description().c_str())) {}

SQDatabaseQueue::~SQDatabaseQueue() {
    // The connection is used on the queue only, so it is dropped there too.
    m_queue.sync([this] { m_db.reset(); });
}

std::optional<std::string> SQDatabaseQueue::path() const {
    std::lock_guard lock(m_pathMutex);
    return m_path;
}

void SQDatabaseQueue::setPath(std::optional<std::string> path) {
    std::lock_guard lock(m_pathMutex);
    m_path = std::move(path);
}

std::string SQDatabaseQueue::description() const {
    return platform::stringWithFormat("<SQDatabaseQueue: %p>", static_cast<const void*>(this));
}

void SQDatabaseQueue::checkNotReentrant(const char* operation) const {
    if (!m_queue.isCurrent()) return;
    std::string message = platform::stringWithFormat(
        "%s was called reentrantly on the same queue, which would lead to a deadlock", operation);
    // An assertion: it must reach the terminal whatever the log is set to.
    std::fprintf(stderr, "%s\n", message.c_str());
    platform::log(message);
    std::abort();
}

SQDatabase* SQDatabaseQueue::database() {
    if (m_db) return m_db.get();
    std::optional<std::string> currentPath = path();
    auto db = SQDatabase::databaseWithPath(currentPath);
    if (!db->openWithFlags(m_openFlags)) {
        platform::logf("SQDatabaseQueue could not reopen database for path %s",
                       describePath(currentPath).c_str());
        return nullptr;
    }
    m_db = std::move(db);
    return m_db.get();
}

void SQDatabaseQueue::inDatabase(const SQDatabaseBlock& block) {
    checkNotReentrant("inDatabase:");
    m_queue.sync([&] {
        SQDatabase* db = database();
        if (block) block(db);
        if (db && db->hasOpenResultSets()) {
            platform::log(
                "Warning: there is at least one open result set around after performing "
                "[SQDatabaseQueue inDatabase:]");
            std::vector<SQResultSet*> open(db->openResultSets().begin(),
                                           db->openResultSets().end());
            for (SQResultSet* resultSet : open) {
                platform::logf("query: '%s'", resultSet->query().c_str());
            }
        }
    });
}

bool SQDatabaseQueue::beginTransaction(bool useDeferred, const SQTransactionBlock& block) {
    checkNotReentrant(useDeferred ? "inDeferredTransaction:" : "inTransaction:");
    bool ended = false;
    m_queue.sync([&] {
        SQDatabase* db = database();
        ended = SQDBRunTransaction(db, useDeferred, [&](bool* rollback) {
            if (block) block(db, rollback);
        });
    });
    return ended;
}

std::optional<platform::Error> SQDatabaseQueue::inSavePoint(const SQTransactionBlock& block) {
    checkNotReentrant("inSavePoint:");
    std::optional<platform::Error> error;
    m_queue.sync([&] {
        std::string name = platform::stringWithFormat(
            "savePoint%ld", static_cast<long>(g_savePointIndex.fetch_add(1)));
        SQDatabase* db = database();
        error = SQDBRunSavePoint(db, name, [&](bool* rollback) {
            if (block) block(db, rollback);
        });
    });
    return error;
}

void SQDatabaseQueue::close() {
    checkNotReentrant("close");
    m_queue.sync([this] {
        if (m_db) m_db->close();
        m_db.reset();
    });
}
