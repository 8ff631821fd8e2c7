// Conveniences of SQDatabase built on the engine and the query operations.
#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"

bool SQDatabase::validateSQL(const std::string& sql, std::optional<platform::Error>* error) {
    if (!databaseExists()) {
        if (error) {
            *error = platform::Error::errorWithDomain(
                platform::CocoaErrorDomain, SQLITE_MISUSE,
                platform::stringWithFormat("The SQDatabase %s is not open.",
                                           description().c_str()));
        }
        return false;
    }
    sqlite3_stmt* statement = nullptr;
    bool valid = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK;
    if (!valid && error) {
        *error = platform::Error::errorWithDomain(platform::CocoaErrorDomain, lastErrorCode(),
                                                  lastErrorMessage());
    }
    sqlite3_finalize(statement);
    return valid;
}
