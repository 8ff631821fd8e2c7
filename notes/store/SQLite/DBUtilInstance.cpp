// The shared instance and the queue it carries.
#include "notes/store/SQLite/DBUtil.h"
#include "sqdb/SQDatabaseQueue.h"

namespace {

// The user default "pathDB". Nothing in either program writes it, and there is no defaults store
// under this layer to read it from, so it always reads as absent: the queue then works on an
// in-memory database, as it would for an unset default.
std::optional<std::string> storedQueuePath() {
    return std::nullopt;
}

}  // namespace

DBUtil& DBUtil::sharedDB() {
    // Never destroyed, so that it outlives every caller at exit.
    static DBUtil* const instance = new DBUtil();
    return *instance;
}

DBUtil::DBUtil() {
    setQueue(SQDatabaseQueue::databaseQueueWithPath(storedQueuePath()));
}

DBUtil::~DBUtil() = default;

void DBUtil::setQueue(std::unique_ptr<SQDatabaseQueue> queue) {
    m_queue = std::move(queue);
    if (m_queue) {
        m_queue->inDatabase([](SQDatabase* db) {
            if (db) makeDurable(*db);
        });
    }
}
