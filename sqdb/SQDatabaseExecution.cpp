// Binding and the two execution cores of SQDatabase: queries, which hand out a result set, and
// updates, which run their statement to the end.
#include <sqlite3.h>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"
#include "sqdb/SQStatement.h"

using platform::Dictionary;
using platform::logf;
using platform::stringWithFormat;
using platform::Value;

// The inline paths in the headers use these codes without <sqlite3.h>.
static_assert(sqdb::detail::kOK == SQLITE_OK && sqdb::detail::kMisuse == SQLITE_MISUSE &&
              sqdb::detail::kRow == SQLITE_ROW && sqdb::detail::kDone == SQLITE_DONE &&
              sqdb::detail::kUTF8 == SQLITE_UTF8);

namespace {

const char* pathText(const std::optional<std::string>& path) {
    return path ? path->c_str() : "(null)";
}

}  // namespace

// ---- Binding ----

void SQDatabase::bindObject(const Value& object, int index, sqlite3_stmt* statement) {
    // SQLite copies texts and bytes (SQLITE_TRANSIENT): a result set steps its statement long
    // after the arguments of the call that bound them are gone.
    bindValue(object, index, statement, false);
}

int SQDatabase::bindValue(const Value& object, int index, sqlite3_stmt* statement, bool borrow) {
    using Type = Value::Type;
    switch (object.type()) {
        case Type::Null:
            return sqlite3_bind_null(statement, index);
        case Type::Bytes: {
            const platform::Bytes& bytes = *object.bytes();
            return bindBlob(statement, index, bytes.data(), bytes.size(), borrow);
        }
        case Type::Date:
            if (hasDateFormatter()) {
                // The text is made here and gone after the call: always copied.
                std::string text = *stringFromDate(*object.date());
                return bindText(statement, index, text.data(), text.size(), false);
            }
            return sqlite3_bind_double(statement, index, object.date()->timeIntervalSince1970());
        case Type::Bool:
        case Type::Char:
        case Type::UnsignedChar:
        case Type::Short:
        case Type::UnsignedShort:
        case Type::Int:
            return sqlite3_bind_int(statement, index, static_cast<int>(object.longLongValue()));
        case Type::UnsignedInt:
        case Type::Long:
        case Type::UnsignedLong:
            // Unsigned values above the signed range keep their bits (two's complement).
            return sqlite3_bind_int64(statement, index, object.longLongValue());
        case Type::Float:
        case Type::Double:
            return sqlite3_bind_double(statement, index, object.doubleValue());
        case Type::Text: {
            const std::string& text = *object.text();
            return bindText(statement, index, text.data(), text.size(), borrow);
        }
    }
    return SQLITE_OK;
}

void SQDatabase::traceArgument(int wanted, int& count, const Value& argument) {
    if (count >= wanted) return;
    ++count;
    if (argument.bytes()) {
        logf("data: %ld bytes", static_cast<long>(argument.bytes()->size()));
    } else {
        logf("obj: %s", argument.description().c_str());
    }
}

int SQDatabase::bindArguments(sqlite3_stmt* statement, int wanted, bool borrow,
                              const ArgumentSource& source) {
    const auto& [array, dictionary, list, missingKey] = source;
    // A statement left mid-way refuses its first binding: bound again once rewound.
    bool rewound = false;
    auto bind = [&](const Value& value, int index) {
        if (bindValue(value, index, statement, borrow) != SQLITE_OK && !rewound) {
            rewound = true;
            sqlite3_reset(statement);
            bindValue(value, index, statement, borrow);
        }
    };
    int count = 0;
    if (dictionary) {
        for (const auto& [key, value] : *dictionary) {
            std::string parameterName = ":" + key;
            if (m_traceExecution) {
                logf("%s = %s", parameterName.c_str(), value.description().c_str());
            }
            int index = sqlite3_bind_parameter_index(statement, parameterName.c_str());
            if (index > 0) {
                bind(value, index);
                ++count;
            } else {
                missingKey(key);
            }
        }
    } else {
        size_t nextInList = 0;
        while (count < wanted) {
            const Value* object = nullptr;
            if (array && static_cast<size_t>(count) < array->size()) {
                object = &(*array)[static_cast<size_t>(count)];
            } else if (nextInList < list.size()) {
                object = &list[nextInList++];
            } else {
                break;
            }
            if (m_traceExecution) {
                int traced = count;
                traceArgument(wanted, traced, *object);
            }
            ++count;
            bind(*object, count);
        }
    }
    // With nothing bound, nothing told whether the statement was left mid-way.
    if (count == 0) rewindIfBusy(statement);
    return count;
}

// ---- Preparing ----

void SQDatabase::reportPreparationError(const std::string& sql) {
    if (m_logsErrors) {
        logf("DB Error: %d \"%s\"", lastErrorCode(), lastErrorMessage().c_str());
        logf("DB Query: %s", sql.c_str());
        logf("DB Path: %s", pathText(m_databasePath));
    }
    if (m_crashOnErrors) {
        stopOnError(
            stringWithFormat("DB Error: %d \"%s\"", lastErrorCode(), lastErrorMessage().c_str()));
    }
}

bool SQDatabase::statementForQuery(const std::string& sql, Prepared& prepared) {
    if (m_shouldCacheStatements) {
        prepared.cached = recentStatementForQuery(sql);
        if (!prepared.cached) {
            if (auto found = cachedStatementForQuery(sql))
                prepared.cached = rememberStatement(found);
        }
        if (prepared.cached) {
            sqlite3_stmt* handle = (*prepared.cached)->statement();
            if (handle) {
                (*prepared.cached)->setInUse(false);
                return true;
            }
            prepared.cached = nullptr;
        }
    }
    sqlite3_stmt* handle = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &handle, nullptr);
    prepared.fresh.reset(handle);
    if (rc == SQLITE_OK) return true;
    reportPreparationError(sql);
    prepared.fresh.reset();
    return false;
}

// ---- The stages of a call ----

bool SQDatabase::refuseExecution(std::optional<platform::Error>* error) {
    // Both failures hand the caller an error too, when it asks for one, so that no failure
    // passes for success (a savepoint block would otherwise report none).
    if (!m_db && !databaseExists()) {
        if (error)
            *error = misuseError(
                stringWithFormat("The SQDatabase %s is not open.", description().c_str()));
        return false;
    }
    if (m_isExecutingStatement) {
        warnInUse();
        if (error)
            *error = misuseError(
                stringWithFormat("The SQDatabase %s is currently in use.", description().c_str()));
        return false;
    }
    return true;
}

sqlite3_stmt* SQDatabase::statementForCall(const std::string& sql,
                                           std::optional<platform::Error>* error,
                                           Prepared& prepared, bool update) {
    if (m_traceExecution) {
        logf("%s %s: %s", description().c_str(), update ? "executeUpdate" : "executeQuery",
             sql.c_str());
    }
    if (!statementForQuery(sql, prepared)) {
        if (error) *error = errorWithMessage(sqlite3_errmsg(m_db));
        return nullptr;
    }
    return prepared.handle();
}

std::unique_ptr<SQResultSet> SQDatabase::finishQuery(const std::string& sql, Prepared& prepared,
                                                     int count, int wanted) {
    if (count != wanted) {
        platform::log("Error: the bind count is not correct for the # of variables (executeQuery)");
        prepared.discard();
        return nullptr;
    }

    if (prepared.cached) return openResultSet(*prepared.cached);
    auto statement = std::make_shared<SQStatement>();
    statement->setStatement(std::move(prepared.fresh));
    // A statement the cache keeps holds the text, and the set names it by the statement's own;
    // a set of a statement used once holds the text itself.
    if (m_shouldCacheStatements) setCachedStatement(statement, sql);
    auto resultSet = openResultSet(statement);
    if (!m_shouldCacheStatements) resultSet->setQuery(sql);
    return resultSet;
}

bool SQDatabase::finishUpdate(const std::string& sql, std::optional<platform::Error>* error,
                              Prepared& prepared, int count, int wanted) {
    sqlite3_stmt* handle = prepared.handle();
    if (count != wanted) {
        std::string message = stringWithFormat(
            "Error: the bind count (%d) is not correct for the # of variables in the query (%d) "
            "(%s) (executeUpdate)",
            count, wanted, sql.c_str());
        if (m_logsErrors) platform::log(message);
        if (error) *error = errorWithMessage(message);
        prepared.discard();
        return false;
    }

    return endUpdate(sql, error, prepared, sqlite3_step(handle));
}

bool SQDatabase::endUpdate(const std::string& sql, std::optional<platform::Error>* error,
                           Prepared& prepared, int rc) {
    sqlite3_stmt* handle = prepared.handle();
    if (rc == SQLITE_ROW) {
        std::string message = stringWithFormat(
            "A executeUpdate is being called with a query string '%s'", sql.c_str());
        if (m_logsErrors) {
            platform::log(message);
            logf("DB Query: %s", sql.c_str());
        }
        if (error) *error = errorWithMessage(message);
    } else if (rc != SQLITE_DONE) {
        if (error) *error = errorWithMessage(sqlite3_errmsg(m_db));
        if (m_logsErrors) {
            const char* format =
                rc == SQLITE_ERROR    ? "Error calling sqlite3_step (%d: %s) SQLITE_ERROR"
                : rc == SQLITE_MISUSE ? "Error calling sqlite3_step (%d: %s) SQLITE_MISUSE"
                                      : "Unknown error calling sqlite3_step (%d: %s) eu";
            platform::log(stringWithFormat(format, rc, sqlite3_errmsg(m_db)));
            logf("DB Query: %s", sql.c_str());
        }
    }

    SQStatement* statement = prepared.cached ? prepared.cached->get() : nullptr;
    if (m_shouldCacheStatements && !statement) {
        auto made = std::make_shared<SQStatement>();
        made->setStatement(std::move(prepared.fresh));
        statement = made.get();
        setCachedStatement(std::move(made), sql);
    }
    int closeRc = SQLITE_OK;
    if (statement) {
        statement->setUseCount(statement->useCount() + 1);
        closeRc = sqlite3_reset(handle);
    } else {
        closeRc = sqlite3_finalize(prepared.fresh.release());
    }
    if (closeRc != SQLITE_OK) reportResetFailure(sql, closeRc);
    return rc == SQLITE_DONE || rc == SQLITE_OK;
}

void SQDatabase::reportResetFailure(const std::string& sql, int rc) {
    if (!m_logsErrors) return;
    logf("Unknown error finalizing or resetting statement (%d: %s)", rc, sqlite3_errmsg(m_db));
    logf("DB Query: %s", sql.c_str());
}

// ---- Queries ----

std::unique_ptr<SQResultSet> SQDatabase::executeQuery(const std::string& sql,
                                                      const Arguments* array,
                                                      const Dictionary* dictionary,
                                                      std::span<const Value> list) {
    // The result set steps later, when the caller's arguments may be gone: SQLite copies.
    const std::function<void(const std::string&)> missingKey = [](const std::string& key) {
        logf("Could not find index for %s", key.c_str());
    };
    return runCall<std::unique_ptr<SQResultSet>>(
        sql, nullptr, false, ArgumentSource{array, dictionary, list, missingKey});
}

std::unique_ptr<SQResultSet> SQDatabase::executeQuery(const std::string& sql,
                                                      const Arguments& arguments) {
    return executeQuery(sql, &arguments, nullptr, {});
}

std::unique_ptr<SQResultSet> SQDatabase::executeQuery(const std::string& sql,
                                                      const Arguments& values,
                                                      std::optional<platform::Error>* error) {
    auto resultSet = executeQuery(sql, &values, nullptr, {});
    if (!resultSet && error) *error = lastError();
    return resultSet;
}

std::unique_ptr<SQResultSet> SQDatabase::executeQueryWithVAList(const std::string& sql,
                                                                std::span<const Value> list) {
    return executeQuery(sql, nullptr, nullptr, list);
}

std::unique_ptr<SQResultSet> SQDatabase::executeQuery(const std::string& sql,
                                                      const Dictionary& arguments) {
    return executeQuery(sql, nullptr, &arguments, {});
}

// ---- Updates ----

// The statement has run and is rewound before these return: the caller's values are lent to
// SQLite, not copied.
bool SQDatabase::executeUpdate(const std::string& sql, std::optional<platform::Error>* error,
                               const Arguments* array, const Dictionary* dictionary,
                               std::span<const Value> list) {
    const std::function<void(const std::string&)> missingKey = [&](const std::string& key) {
        std::string message = stringWithFormat("Could not find index for %s", key.c_str());
        if (m_logsErrors) platform::log(message);
        if (error) *error = errorWithMessage(message);
    };
    return runCall<bool>(sql, error, true, ArgumentSource{array, dictionary, list, missingKey});
}

bool SQDatabase::executeUpdate(const std::string& sql, const Arguments& arguments) {
    return executeUpdate(sql, nullptr, &arguments, nullptr, {});
}

bool SQDatabase::executeUpdate(const std::string& sql, const Arguments& values,
                               std::optional<platform::Error>* error) {
    return executeUpdate(sql, error, &values, nullptr, {});
}

bool SQDatabase::executeUpdate(const std::string& sql, const Dictionary& arguments) {
    return executeUpdate(sql, nullptr, nullptr, &arguments, {});
}

bool SQDatabase::executeUpdateWithVAList(const std::string& sql, std::span<const Value> list) {
    return executeUpdate(sql, nullptr, nullptr, nullptr, list);
}
