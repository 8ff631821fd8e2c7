// Transactions and savepoints of SQDatabase.
#include <sqlite3.h>

#include <atomic>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"

std::string SQDBEscapeSavePointName(const std::string& savepointName) {
    std::string escaped;
    escaped.reserve(savepointName.size());
    for (char c : savepointName) {
        escaped += c;
        if (c == '\'') escaped += '\'';
    }
    return escaped;
}

bool SQDatabase::transactionStatement(const std::string& sql, bool inTransactionAfter) {
    bool ok = executeUpdate(sql);
    if (ok) m_inTransaction = inTransactionAfter;
    return ok;
}

bool SQDatabase::beginTransaction() {
    static const std::string sql = "begin exclusive transaction";
    return transactionStatement(sql, true);
}

bool SQDatabase::beginDeferredTransaction() {
    static const std::string sql = "begin deferred transaction";
    return transactionStatement(sql, true);
}

bool SQDatabase::commit() {
    static const std::string sql = "commit transaction";
    return transactionStatement(sql, false);
}

bool SQDatabase::rollback() {
    static const std::string sql = "rollback transaction";
    return transactionStatement(sql, false);
}

bool SQDatabase::savePointStatement(const char* command, const std::string& name,
                                    std::optional<platform::Error>* error) {
    std::string sql = std::string(command) + " '" + SQDBEscapeSavePointName(name) + "';";
    return executeUpdate(sql, error, nullptr, nullptr, {});
}

bool SQDatabase::startSavePointWithName(const std::string& name,
                                        std::optional<platform::Error>* error) {
    return savePointStatement("savepoint", name, error);
}

bool SQDatabase::releaseSavePointWithName(const std::string& name,
                                          std::optional<platform::Error>* error) {
    return savePointStatement("release savepoint", name, error);
}

bool SQDatabase::rollbackToSavePointWithName(const std::string& name,
                                             std::optional<platform::Error>* error) {
    return savePointStatement("rollback transaction to savepoint", name, error);
}

std::optional<platform::Error> SQDatabase::inSavePoint(const SavePointBlock& block) {
    // One numbering for every connection of the process.
    static std::atomic<unsigned long> savePointIndex{0};
    std::string name =
        platform::stringWithFormat("dbSavePoint%ld", static_cast<long>(savePointIndex++));
    return SQDBRunSavePoint(this, name, block);
}

std::optional<platform::Error> SQDBRunSavePoint(SQDatabase* db, const std::string& name,
                                                const SQDatabase::SavePointBlock& body) {
    std::optional<platform::Error> error;
    if (!db || !db->startSavePointWithName(name, &error)) return error;
    bool shouldRollback = false;
    if (body) body(&shouldRollback);
    if (shouldRollback) db->rollbackToSavePointWithName(name, &error);
    db->releaseSavePointWithName(name, &error);
    return error;
}

bool SQDBRunTransaction(SQDatabase* db, bool useDeferred, const SQDatabase::SavePointBlock& body) {
    if (!db) return false;
    bool began = useDeferred ? db->beginDeferredTransaction() : db->beginTransaction();
    if (!began) return false;
    bool shouldRollback = false;
    if (body) body(&shouldRollback);
    if (shouldRollback) return db->rollback();
    if (db->commit()) return true;
    // A transaction left open would hold its writes and locks until some later statement.
    db->rollback();
    return false;
}
