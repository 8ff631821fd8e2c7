// The two ways SQLite calls back into SQDatabase: the row callback of a script and user-defined
// SQL functions.
#include <sqlite3.h>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"

namespace {

int SQDBExecuteBulkSQLCallback(void* context, int columns, char** values, char** names) {
    const auto& block = *static_cast<const SQDatabase::ResultBlock*>(context);
    platform::Dictionary row;
    for (int i = 0; i < columns; ++i) {
        row[names[i]] = values[i] ? platform::Value(values[i]) : platform::Value();
    }
    return block(row);
}

void SQDBBlockSQLiteCallBackFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    auto* block = static_cast<SQDatabase::FunctionBlock*>(sqlite3_user_data(context));
    if (block && *block) (*block)(context, argc, argv);
}

}  // namespace

bool SQDatabase::executeStatements(const std::string& sql, const ResultBlock& block) {
    // SQLite would take a closed connection's missing handle as misuse at best.
    if (!databaseExists()) return false;
    char* errorMessage = nullptr;
    int rc = sqlite3_exec(m_db, sql.c_str(), block ? &SQDBExecuteBulkSQLCallback : nullptr,
                          block ? const_cast<ResultBlock*>(&block) : nullptr, &errorMessage);
    if (errorMessage) {
        if (m_logsErrors) platform::logf("Error inserting batch: %s", errorMessage);
        sqlite3_free(errorMessage);
    }
    return rc == SQLITE_OK;
}

void SQDatabase::makeFunctionNamed(const std::string& name, int maximumArguments,
                                   FunctionBlock block) {
    // SQLite would use the missing handle of a closed connection without checking it.
    if (!databaseExists()) return;
    m_openFunctions.push_back(std::make_unique<FunctionBlock>(std::move(block)));
    sqlite3_create_function(m_db, name.c_str(), maximumArguments, SQLITE_UTF8,
                            m_openFunctions.back().get(), &SQDBBlockSQLiteCallBackFunction, nullptr,
                            nullptr);
}
