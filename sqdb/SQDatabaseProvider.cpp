#include "sqdb/SQDatabaseProvider.h"

#include <utility>

#include "platform/foundation/Log.h"

SQDatabaseProvider::SQDatabaseProvider(const char* className,
                                       std::atomic<unsigned long>& savePointIndex,
                                       std::optional<std::string> path, int flags)
    : m_className(className),
      m_savePointIndex(savePointIndex),
      m_path(std::move(path)),
      m_openFlags(flags) {}

std::optional<std::string> SQDatabaseProvider::path() const {
    std::lock_guard lock(m_pathMutex);
    return m_path;
}

void SQDatabaseProvider::setPath(std::optional<std::string> path) {
    std::lock_guard lock(m_pathMutex);
    m_path = std::move(path);
}

std::string SQDatabaseProvider::description() const {
    return platform::stringWithFormat("<%s: %p>", m_className, static_cast<const void*>(this));
}

bool SQDatabaseProvider::beginTransaction(bool useDeferred, const SQTransactionBlock& block) {
    bool ended = false;
    withDatabase(useDeferred ? "inDeferredTransaction:" : "inTransaction:", [&](SQDatabase* db) {
        ended = SQDBRunTransaction(db, useDeferred, [&](bool* rollback) {
            if (block) block(db, rollback);
        });
    });
    return ended;
}

std::optional<platform::Error> SQDatabaseProvider::inSavePoint(const SQTransactionBlock& block) {
    std::optional<platform::Error> error;
    withDatabase("inSavePoint:", [&](SQDatabase* db) {
        // Numbered where the work runs: on the queue, names are handed out in the order the
        // savepoints start.
        std::string name = platform::stringWithFormat(
            "savePoint%ld", static_cast<long>(m_savePointIndex.fetch_add(1)));
        error = SQDBRunSavePoint(db, name, [&](bool* rollback) {
            if (block) block(db, rollback);
        });
    });
    return error;
}
