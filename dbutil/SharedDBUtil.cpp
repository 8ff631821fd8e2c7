#include "dbutil/SharedDBUtil.h"

#include <optional>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQDatabaseQueue.h"

namespace dbutil {

namespace {

const char* const kCreateNoteTable =
    "CREATE TABLE IF NOT EXISTS 'note' ('n_id' INTEGER PRIMARY KEY AUTOINCREMENT  NOT "
    "NULL,'n_title' VARCHAR(200),'n_summary' VARCHAR(500),'n_date' Date,'n_text' TEXT,'n_author' "
    "VARCHAR(100),'n_group' VARCHAR(100),'n_isRecent' INTEGER)";
const char* const kCreateNoteFileTable =
    "CREATE TABLE IF NOT EXISTS 'noteFile' ('f_id' INTEGER PRIMARY KEY AUTOINCREMENT  NOT "
    "NULL,'f_title' VARCHAR(100),'f_summary' VARCHAR(200),'f_date' Date,'f_author' "
    "VARCHAR(100),'f_flag' VARCHAR(100),'f_noteCount' INTEGER ,'f_imageName' "
    "VARCHAR(100),'f_order' INTEGER)";

// The user default "pathDB". Nothing in either program writes it, so it always reads as absent:
// the queue then works on an in-memory database, as it would for an unset default.
std::optional<std::string> storedQueuePath() {
    return std::nullopt;
}

}  // namespace

std::shared_ptr<SQDatabase> openDurably(const std::string& path) {
    auto db = SQDatabase::databaseWithPath(path);
    if (!db->open()) return nullptr;
    makeDurable(*db);
    return db;
}

// With the rollback journal, a commit is only final once the journal's deletion has reached the
// disk: under FULL the folder is not synced after it, and a power cut can bring the journal back
// and roll a note that was reported saved away. EXTRA syncs the folder after the deletion. WAL
// would be durable under FULL too, but it leaves two companion files beside the notes file and
// keeps them in step through shared memory, for a store whose every call opens and closes its
// own connection.
void makeDurable(SQDatabase& db) {
    db.executeUpdate("PRAGMA synchronous=EXTRA");
}

QueueHolder::QueueHolder() {
    setQueue(SQDatabaseQueue::databaseQueueWithPath(storedQueuePath()));
}

QueueHolder::~QueueHolder() = default;

void QueueHolder::setQueue(std::unique_ptr<SQDatabaseQueue> queue) {
    m_queue = std::move(queue);
    if (m_queue) {
        m_queue->inDatabase([](SQDatabase* db) {
            if (db) makeDurable(*db);
        });
    }
}

bool QueueHolder::initDataBaseWithPath(const std::string& path) {
    const char* operation = "+[DBUtil initDataBaseWithPath:]";
    auto db = openDurably(path);
    if (!db) {
        platform::logf("%s 数据库打开失败。", operation);
        return false;
    }
    bool created = false;
    if (!db->executeUpdate(kCreateNoteTable)) {
        platform::logf("%s 创建note表失败!", operation);
    } else if (!db->executeUpdate(kCreateNoteFileTable)) {
        platform::logf("%s 创建noteFile表失败!", operation);
    } else {
        created = true;
    }
    db->close();
    return created;
}

}  // namespace dbutil
