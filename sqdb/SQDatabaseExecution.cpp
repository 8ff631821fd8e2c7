// Binding and the two execution cores of SQDatabase: queries, which hand out a result set, and
// updates, which run their statement to the end.
#include <sqlite3.h>

#include <algorithm>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"
#include "sqdb/SQStatement.h"

using platform::Dictionary;
using platform::logf;
using platform::stringWithFormat;
using platform::Value;

// Holds the in-use flag for the length of one operation, on every way out of it.
class SQDatabase::ExecutingScope {
  public:
    explicit ExecutingScope(SQDatabase& db) : m_db(db) { m_db.m_isExecutingStatement = true; }
    ~ExecutingScope() { m_db.m_isExecutingStatement = false; }
    ExecutingScope(const ExecutingScope&) = delete;
    ExecutingScope& operator=(const ExecutingScope&) = delete;

  private:
    SQDatabase& m_db;
};

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

namespace {

// An update runs its statement and resets it before the call returns, while the caller's values
// still stand, so it can lend them to SQLite instead of having them copied.
sqlite3_destructor_type lifetime(bool borrow) {
    return borrow ? SQLITE_STATIC : SQLITE_TRANSIENT;
}

void bindText(sqlite3_stmt* statement, int index, const void* data, size_t size, bool borrow) {
    sqlite3_bind_text64(statement, index, static_cast<const char*>(data), size, lifetime(borrow),
                        SQLITE_UTF8);
}

void bindBlob(sqlite3_stmt* statement, int index, const void* data, size_t size, bool borrow) {
    // An empty data object is an empty blob, not NULL.
    sqlite3_bind_blob64(statement, index, size == 0 ? static_cast<const void*>("") : data, size,
                        lifetime(borrow));
}

}  // namespace

void SQDatabase::bindValue(const Value& object, int index, sqlite3_stmt* statement, bool borrow) {
    using Type = Value::Type;
    switch (object.type()) {
        case Type::Null:
            sqlite3_bind_null(statement, index);
            break;
        case Type::Bytes: {
            const platform::Bytes& bytes = *object.bytes();
            bindBlob(statement, index, bytes.data(), bytes.size(), borrow);
            break;
        }
        case Type::Date:
            if (hasDateFormatter()) {
                // The text is made here and gone after the call: always copied.
                std::string text = *stringFromDate(*object.date());
                bindText(statement, index, text.data(), text.size(), false);
            } else {
                sqlite3_bind_double(statement, index, object.date()->timeIntervalSince1970());
            }
            break;
        case Type::Bool:
        case Type::Char:
        case Type::UnsignedChar:
        case Type::Short:
        case Type::UnsignedShort:
        case Type::Int:
            sqlite3_bind_int(statement, index, static_cast<int>(object.longLongValue()));
            break;
        case Type::UnsignedInt:
        case Type::Long:
        case Type::UnsignedLong:
            // Unsigned values above the signed range keep their bits (two's complement).
            sqlite3_bind_int64(statement, index, object.longLongValue());
            break;
        case Type::Float:
        case Type::Double:
            sqlite3_bind_double(statement, index, object.doubleValue());
            break;
        case Type::Text: {
            const std::string& text = *object.text();
            bindText(statement, index, text.data(), text.size(), borrow);
            break;
        }
    }
}

Value SQBorrowedArgument::value() const {
    switch (m_kind) {
        case Kind::Null:
            return Value();
        case Kind::Integer:
            return Value(m_integer);
        case Kind::Real:
            return Value(m_real);
        case Kind::Text:
            return Value(std::string_view(static_cast<const char*>(m_data), m_size));
        case Kind::Blob: {
            const auto* bytes = static_cast<const uint8_t*>(m_data);
            return Value(platform::Bytes(bytes, bytes + m_size));
        }
        case Kind::Object:
            break;
    }
    return object();
}

int SQDatabase::bindBorrowed(sqlite3_stmt* statement, int wanted,
                             std::span<const SQBorrowedArgument> list, bool borrow) {
    const int count = static_cast<int>(std::min(list.size(), static_cast<size_t>(wanted)));
    if (m_traceExecution) {
        for (const SQBorrowedArgument& argument : list.first(static_cast<size_t>(count))) {
            Value traced = argument.value();
            if (traced.bytes()) {
                logf("data: %ld bytes", static_cast<long>(traced.bytes()->size()));
            } else {
                logf("obj: %s", traced.description().c_str());
            }
        }
    }
    for (int index = 1; index <= count; ++index) {
        const SQBorrowedArgument& argument = list[static_cast<size_t>(index - 1)];
        using Kind = SQBorrowedArgument::Kind;
        switch (argument.kind()) {
            case Kind::Null:
                sqlite3_bind_null(statement, index);
                break;
            case Kind::Integer:
                sqlite3_bind_int64(statement, index, argument.integer());
                break;
            case Kind::Real:
                sqlite3_bind_double(statement, index, argument.real());
                break;
            case Kind::Text:
                bindText(statement, index, argument.data(), argument.size(), borrow);
                break;
            case Kind::Blob:
                bindBlob(statement, index, argument.data(), argument.size(), borrow);
                break;
            case Kind::Object:
                bindValue(argument.object(), index, statement, borrow);
                break;
        }
    }
    return count;
}

int SQDatabase::bindArguments(sqlite3_stmt* statement, int wanted, const Arguments* array,
                              const Dictionary* dictionary, std::span<const Value> list,
                              bool borrow,
                              const std::function<void(const std::string& key)>& missingKey) {
    int count = 0;
    if (dictionary) {
        for (const auto& [key, value] : *dictionary) {
            std::string parameterName = ":" + key;
            if (m_traceExecution) {
                logf("%s = %s", parameterName.c_str(), value.description().c_str());
            }
            int index = sqlite3_bind_parameter_index(statement, parameterName.c_str());
            if (index > 0) {
                bindValue(value, index, statement, borrow);
                ++count;
            } else {
                missingKey(key);
            }
        }
        return count;
    }
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
            if (object->bytes()) {
                logf("data: %ld bytes", static_cast<long>(object->bytes()->size()));
            } else {
                logf("obj: %s", object->description().c_str());
            }
        }
        ++count;
        bindValue(*object, count, statement, borrow);
    }
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

struct SQDatabase::Prepared {
    // The cache's statement, held among the recent ones (no count of owners is touched on the
    // way); or a fresh statement.
    const std::shared_ptr<SQStatement>* cached = nullptr;
    SQStatementHandle fresh;

    sqlite3_stmt* handle() const { return cached ? (*cached)->statement() : fresh.get(); }
    // After a failure before the statement ran: a cached statement stays in the cache, rewound;
    // a fresh one is finalized as it goes.
    void discard() {
        if (cached) (*cached)->reset();
        fresh.reset();
    }
};

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
                // Statements go back into the cache rewound; only one left mid-way (by someone
                // working the handle directly) needs it again.
                if (sqlite3_stmt_busy(handle)) sqlite3_reset(handle);
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

// ---- Queries ----

template <typename Bind>
std::unique_ptr<SQResultSet> SQDatabase::runQuery(const std::string& sql, const Bind& bind) {
    if (!m_db && !databaseExists()) return nullptr;
    if (m_isExecutingStatement) {
        warnInUse();
        return nullptr;
    }
    ExecutingScope scope(*this);
    if (m_traceExecution) logf("%s executeQuery: %s", description().c_str(), sql.c_str());

    Prepared prepared;
    if (!statementForQuery(sql, prepared)) return nullptr;
    sqlite3_stmt* handle = prepared.handle();

    int count = bind(handle, sqlite3_bind_parameter_count(handle), [](const std::string& key) {
        logf("Could not find index for %s", key.c_str());
    });
    if (count != sqlite3_bind_parameter_count(handle)) {
        platform::log("Error: the bind count is not correct for the # of variables (executeQuery)");
        prepared.discard();
        return nullptr;
    }

    std::shared_ptr<SQStatement> statement = prepared.cached ? *prepared.cached : nullptr;
    if (!statement) {
        statement = std::make_shared<SQStatement>();
        statement->setStatement(std::move(prepared.fresh));
        if (m_shouldCacheStatements) setCachedStatement(statement, sql);
    }
    auto resultSet = SQResultSet::resultSetWithStatement(statement, shared_from_this());
    // A cached statement holds this very text: shared, not copied for every query.
    if (statement->query() == sql) {
        resultSet->setQuery(statement->sharedQuery());
    } else {
        resultSet->setQuery(sql);
    }
    m_openResultSets.push_back(resultSet.get());
    statement->setUseCount(statement->useCount() + 1);
    return resultSet;
}

std::unique_ptr<SQResultSet> SQDatabase::executeQuery(const std::string& sql,
                                                      const Arguments* array,
                                                      const Dictionary* dictionary,
                                                      std::span<const Value> list) {
    return runQuery(sql, [&](sqlite3_stmt* handle, int wanted, const auto& missingKey) {
        return bindArguments(handle, wanted, array, dictionary, list, false, missingKey);
    });
}

// The result set steps later, when the caller's arguments may be gone: they are copied, once.
std::unique_ptr<SQResultSet> SQDatabase::executeQueryBorrowing(
    const std::string& sql, std::span<const SQBorrowedArgument> list) {
    return runQuery(sql, [&](sqlite3_stmt* handle, int wanted, const auto&) {
        return bindBorrowed(handle, wanted, list, false);
    });
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

template <typename Bind>
bool SQDatabase::runUpdate(const std::string& sql, std::optional<platform::Error>* error,
                           const Bind& bind) {
    // These two failures hand the caller an error too, so that no failure passes for success
    // (a savepoint block would otherwise report none).
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
    ExecutingScope scope(*this);
    if (m_traceExecution) logf("%s executeUpdate: %s", description().c_str(), sql.c_str());

    Prepared prepared;
    if (!statementForQuery(sql, prepared)) {
        if (error) *error = errorWithMessage(sqlite3_errmsg(m_db));
        return false;
    }
    sqlite3_stmt* handle = prepared.handle();

    const int wanted = sqlite3_bind_parameter_count(handle);
    int count = bind(handle, wanted, [&](const std::string& key) {
        std::string message = stringWithFormat("Could not find index for %s", key.c_str());
        if (m_logsErrors) platform::log(message);
        if (error) *error = errorWithMessage(message);
    });
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

    int rc = sqlite3_step(handle);
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
    if (closeRc != SQLITE_OK && m_logsErrors) {
        logf("Unknown error finalizing or resetting statement (%d: %s)", closeRc,
             sqlite3_errmsg(m_db));
        logf("DB Query: %s", sql.c_str());
    }
    return rc == SQLITE_DONE || rc == SQLITE_OK;
}

// The statement has run and is rewound before these return: the caller's values are lent to
// SQLite, not copied.
bool SQDatabase::executeUpdate(const std::string& sql, std::optional<platform::Error>* error,
                               const Arguments* array, const Dictionary* dictionary,
                               std::span<const Value> list) {
    return runUpdate(sql, error, [&](sqlite3_stmt* handle, int wanted, const auto& missingKey) {
        return bindArguments(handle, wanted, array, dictionary, list, true, missingKey);
    });
}

bool SQDatabase::executeUpdateBorrowing(const std::string& sql,
                                        std::optional<platform::Error>* error,
                                        std::span<const SQBorrowedArgument> list) {
    return runUpdate(sql, error, [&](sqlite3_stmt* handle, int wanted, const auto&) {
        return bindBorrowed(handle, wanted, list, true);
    });
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
