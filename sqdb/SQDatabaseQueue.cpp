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
    : SQDatabaseProvider("SQDatabaseQueue", g_savePointIndex, std::move(path), flags),
      m_db(std::move(db)),
      m_queue(platform::stringWithFormat("sqdb.%s", description().c_str())) {}

SQDatabaseQueue::~SQDatabaseQueue() {
    // The connection is used on the queue only, so it is dropped there too.
    m_queue.sync([this] { m_db.reset(); });
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
    if (!db->openWithFlags(openFlags())) {
        platform::logf("SQDatabaseQueue could not reopen database for path %s",
                       describePath(currentPath).c_str());
        return nullptr;
    }
    m_db = std::move(db);
    return m_db.get();
}

void SQDatabaseQueue::inDatabase(const SQDatabaseBlock& block) {
    withDatabase("inDatabase:", [&](SQDatabase* db) {
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

void SQDatabaseQueue::withDatabase(const char* operation,
                                   const std::function<void(SQDatabase*)>& work) {
    checkNotReentrant(operation);
    m_queue.sync([&] { work(database()); });
}

void SQDatabaseQueue::close() {
    checkNotReentrant("close");
    m_queue.sync([this] {
        if (m_db) m_db->close();
        m_db.reset();
    });
}
