#include "sqdb/SQDatabasePool.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/foundation/Exception.h"
#include "platform/foundation/Log.h"

namespace {

// Savepoint names of every pool of the process; the queue and the connection count their own.
std::atomic<unsigned long> g_savePointIndex{0};

using DatabaseList = std::vector<std::shared_ptr<SQDatabase>>;

bool holds(const DatabaseList& list, const std::shared_ptr<SQDatabase>& database) {
    return std::find(list.begin(), list.end(), database) != list.end();
}

void remove(DatabaseList& list, const std::shared_ptr<SQDatabase>& database) {
    list.erase(std::remove(list.begin(), list.end(), database), list.end());
}

}  // namespace

// A connection taken from the pool for one block and put back at its end, also when the block
// throws.
class SQDatabasePool::Borrowed {
  public:
    explicit Borrowed(SQDatabasePool& pool) : m_pool(pool), m_database(pool.db()) {}
    ~Borrowed() noexcept(false) { m_pool.pushDatabaseBackInPool(m_database); }
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;
    SQDatabase* get() const { return m_database.get(); }

  private:
    SQDatabasePool& m_pool;
    std::shared_ptr<SQDatabase> m_database;
};

std::unique_ptr<SQDatabasePool> SQDatabasePool::databasePoolWithPath(
    std::optional<std::string> path, int flags) {
    return std::make_unique<SQDatabasePool>(ConstructionKey(), std::move(path), flags);
}

SQDatabasePool::SQDatabasePool(ConstructionKey, std::optional<std::string> path, int flags)
    : SQDatabaseProvider("SQDatabasePool", g_savePointIndex, std::move(path), flags),
      m_lockQueue(platform::stringWithFormat("sqdb.%s", description().c_str())) {}

SQDatabasePool::~SQDatabasePool() {
    m_delegate = nullptr;
}

void SQDatabasePool::executeLocked(const std::function<void()>& block) {
    m_lockQueue.sync(block);
}

uint64_t SQDatabasePool::countOfCheckedInDatabases() {
    uint64_t count = 0;
    executeLocked([&] { count = m_databaseInPool.size(); });
    return count;
}

uint64_t SQDatabasePool::countOfCheckedOutDatabases() {
    uint64_t count = 0;
    executeLocked([&] { count = m_databaseOutPool.size(); });
    return count;
}

uint64_t SQDatabasePool::countOfOpenDatabases() {
    uint64_t count = 0;
    executeLocked([&] { count = m_databaseInPool.size() + m_databaseOutPool.size(); });
    return count;
}

void SQDatabasePool::releaseAllDatabases() {
    executeLocked([&] {
        m_databaseInPool.clear();
        m_databaseOutPool.clear();
    });
}

std::shared_ptr<SQDatabase> SQDatabasePool::db() {
    std::shared_ptr<SQDatabase> handedOut;
    executeLocked([&] {
        std::shared_ptr<SQDatabase> database;
        bool isNew = false;
        if (!m_databaseInPool.empty()) {
            database = m_databaseInPool.back();
            m_databaseInPool.pop_back();
        } else {
            uint64_t limit = m_maximumNumberOfDatabasesToCreate;
            uint64_t total = m_databaseInPool.size() + m_databaseOutPool.size();
            if (limit != 0 && total >= limit) {
                platform::logf("Maximum number of databases (%ld) has already been reached!",
                               static_cast<long>(total));
                return;
            }
            database = SQDatabase::databaseWithPath(path());
            isNew = true;
        }
        // A connection that cannot be handed out is dropped rather than kept in either list,
        // where it would count toward the limit while nobody could use it.
        if (!database->openWithFlags(openFlags())) {
            std::optional<std::string> where = path();
            platform::logf("Could not open up the database at path %s",
                           where ? where->c_str() : "(null)");
            return;
        }
        SQDatabasePoolDelegate* delegate = m_delegate;
        if (delegate && !delegate->databasePoolShouldAddDatabaseToPool(*this, *database)) {
            database->close();
            return;
        }
        m_databaseOutPool.push_back(database);
        if (isNew && delegate) delegate->databasePoolDidAddDatabase(*this, *database);
        handedOut = std::move(database);
    });
    return handedOut;
}

void SQDatabasePool::pushDatabaseBackInPool(const std::shared_ptr<SQDatabase>& database) {
    if (!database) return;
    executeLocked([&] {
        if (holds(m_databaseInPool, database)) {
            throw platform::Exception(
                "Database already in pool",
                "The SQDatabase being put back into the pool is already present in the pool");
        }
        m_databaseInPool.push_back(database);
        remove(m_databaseOutPool, database);
    });
}

void SQDatabasePool::inDatabase(const SQDatabaseBlock& block) {
    withDatabase("inDatabase:", [&](SQDatabase* db) {
        if (block) block(db);
    });
}

void SQDatabasePool::withDatabase(const char*, const std::function<void(SQDatabase*)>& work) {
    Borrowed borrowed(*this);
    work(borrowed.get());
}
