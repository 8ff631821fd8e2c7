#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/foundation/Date.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"
#include "sqdb/SQLiteCalls.h"
#include "sqdb/SQResultSet.h"
#include "sqdb/SQStatement.h"

// SQLite's own types, for those who work with the engine directly; they include <sqlite3.h>.
struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_context;
struct sqlite3_value;

// What may stand in a statement's argument list: anything that makes a platform::Value.
template <typename T>
concept SQArgument = std::constructible_from<platform::Value, T>;

// One connection to one SQLite database. Made by databaseWithPath() and shared: every result set
// it hands out keeps it alive until the set is closed. Not for use by several threads at once;
// the in-use flag catches re-entry on one thread (a statement started from inside a user
// function while another statement of the same connection runs).
class SQDatabase : public std::enable_shared_from_this<SQDatabase> {
    struct ConstructionKey {
        explicit ConstructionKey() = default;
    };

  public:
    using Arguments = std::vector<platform::Value>;
    using CachedStatements = std::map<std::string, std::set<std::shared_ptr<SQStatement>>>;
    using FunctionBlock = std::function<void(sqlite3_context*, int, sqlite3_value**)>;
    using ResultBlock = std::function<int(const platform::Dictionary&)>;
    using SavePointBlock = std::function<void(bool* rollback)>;

    // An absent path is an in-memory database, an empty one a private temporary database,
    // anything else a file path. The connection is not opened.
    static std::shared_ptr<SQDatabase> databaseWithPath(std::optional<std::string> path);
    // An in-memory database.
    static std::shared_ptr<SQDatabase> database() { return databaseWithPath(std::nullopt); }
    SQDatabase(ConstructionKey, std::optional<std::string> path);
    ~SQDatabase();
    SQDatabase(const SQDatabase&) = delete;
    SQDatabase& operator=(const SQDatabase&) = delete;

    const std::optional<std::string>& databasePath() const { return m_databasePath; }
    // What SQLite is given: ":memory:", "" (temporary) or the file path.
    std::string sqlitePath() const;
    sqlite3* sqliteHandle() const { return m_db; }
    // "<SQDatabase: 0x…>"
    std::string description() const;

    bool logsErrors() const { return m_logsErrors; }
    void setLogsErrors(bool value) { m_logsErrors = value; }
    // Debugging switch: misuse and preparation errors stop the process.
    bool crashOnErrors() const { return m_crashOnErrors; }
    void setCrashOnErrors(bool value) { m_crashOnErrors = value; }
    bool traceExecution() const { return m_traceExecution; }
    void setTraceExecution(bool value) { m_traceExecution = value; }
    // A mark for code that hands connections out; nothing here reads it.
    bool checkedOut() const { return m_checkedOut; }
    void setCheckedOut(bool value) { m_checkedOut = value; }

    // ---- Opening and closing ----
    bool open();
    bool openWithFlags(int flags) { return openWithFlags(flags, std::nullopt); }
    bool openWithFlags(int flags, const std::optional<std::string>& vfsName);
    // Closes cached statements and open result sets, then the connection; a statement left
    // unfinalized by someone else is finalized and the close tried once more. False when SQLite
    // still would not close (the handle is then released as soon as SQLite can).
    bool close();
    bool goodConnection();

    // ---- Busy handling ----
    double maxBusyRetryTimeInterval() const { return m_maxBusyRetryTimeInterval; }
    // Seconds to keep retrying a locked database; 0 or less: fail at once.
    void setMaxBusyRetryTimeInterval(double timeout);
    // Obsolete; they only log.
    int busyRetryTimeout();
    void setBusyRetryTimeout(int timeout);

    // ---- Open result sets ----
    bool hasOpenResultSets() const { return !m_openResultSets.empty(); }
    // The result sets handed out and not closed yet (not owned).
    const std::vector<SQResultSet*>& openResultSets() const { return m_openResultSets; }
    void closeOpenResultSets();
    void resultSetDidClose(SQResultSet* resultSet) {
        // The latest set is the one most often closed first.
        if (!m_openResultSets.empty() && m_openResultSets.back() == resultSet) {
            m_openResultSets.pop_back();
        } else {
            forgetResultSet(resultSet);
        }
    }

    // ---- Statement cache ----
    bool shouldCacheStatements() const { return m_shouldCacheStatements; }
    void setShouldCacheStatements(bool value);
    const std::optional<CachedStatements>& cachedStatements() const { return m_cachedStatements; }
    void setCachedStatements(std::optional<CachedStatements> statements);
    // A cached statement for exactly this text that no result set is reading, or none.
    std::shared_ptr<SQStatement> cachedStatementForQuery(const std::string& query);
    void setCachedStatement(std::shared_ptr<SQStatement> statement, const std::string& query);
    void clearCachedStatements();

    // ---- Open and in-use checks ----
    bool databaseExists();
    void warnInUse();
    bool isExecutingStatement() const { return m_isExecutingStatement; }

    // ---- Errors ----
    std::string lastErrorMessage() const;
    int lastErrorCode() const;
    // True for SQLite's error codes 1-99 (not for 100 "row" and 101 "done").
    bool hadError() const;
    platform::Error errorWithMessage(const std::string& message) const;
    platform::Error lastError() const;

    int64_t lastInsertRowId();
    int changes();

    // ---- Dates ----
    // Without a formatter dates are stored as seconds since 1970; with one, as its text.
    bool hasDateFormatter() const { return m_dateFormat.has_value(); }
    void setDateFormat(std::optional<platform::DateFormatter> format) {
        m_dateFormat = std::move(format);
    }
    std::optional<platform::Date> dateFromString(const std::string& text) const;
    std::optional<std::string> stringFromDate(const platform::Date& date) const;
    // A formatter for the pattern in UTC with the "en_US" locale.
    static platform::DateFormatter storeableDateFormat(const std::string& format);

    // ---- Keys: the database is never encrypted; all answer false ----
    bool setKey(const std::string& key);
    bool rekey(const std::string& key);
    bool setKeyWithData(const platform::Bytes& keyData);
    bool rekeyWithData(const platform::Bytes& keyData);

    // ---- Versions ----
    static std::string SQDBUserVersion();
    static int32_t SQDBVersion();
    static std::string sqliteLibVersion();
    static bool isSQLiteThreadSafe();

    // ---- Binding ----
    void bindObject(const platform::Value& object, int index, sqlite3_stmt* statement);
    // Turns a printf-style format into SQL with "?" parameters and the arguments they take.
    // "%@" takes an object (a null one writes NULL into the text), %c %s %d %i %u %hi %hu %qi
    // %qu %ld %lu %lld %llu %f %g take numbers and texts; "%%" is one "%". An argument the list
    // lacks still gives its "?", so the statement then fails on its bind count.
    static void extractSQL(std::string_view format, std::span<const platform::Value> arguments,
                           std::string& sql, Arguments& boundArguments);

    // ---- Queries: a result set to step with next(), or none ----
    template <SQArgument... Args>
    std::unique_ptr<SQResultSet> executeQuery(const std::string& sql, Args&&... args) {
        // The result set steps later, when the caller's arguments may be gone: SQLite copies.
        return runCall<std::unique_ptr<SQResultSet>>(sql, nullptr, false,
                                                     std::forward<Args>(args)...);
    }
    template <SQArgument... Args>
    std::unique_ptr<SQResultSet> executeQueryWithFormat(std::string_view format, Args&&... args) {
        std::string sql;
        Arguments arguments;
        extractSQL(format, argumentList(std::forward<Args>(args)...), sql, arguments);
        return executeQuery(sql, arguments);
    }
    std::unique_ptr<SQResultSet> executeQuery(const std::string& sql, const Arguments& arguments);
    std::unique_ptr<SQResultSet> executeQuery(const std::string& sql, const Arguments& values,
                                              std::optional<platform::Error>* error);
    std::unique_ptr<SQResultSet> executeQueryWithVAList(const std::string& sql,
                                                        std::span<const platform::Value> list);
    std::unique_ptr<SQResultSet> executeQuery(const std::string& sql,
                                              const platform::Dictionary& arguments);
    // The core all of them end in: a dictionary, when given, is used alone; otherwise the array
    // is taken first and the list after it.
    std::unique_ptr<SQResultSet> executeQuery(const std::string& sql, const Arguments* array,
                                              const platform::Dictionary* dictionary,
                                              std::span<const platform::Value> list);

    // ---- Updates: true when the statement ran to its end ----
    template <SQArgument... Args>
    bool executeUpdate(const std::string& sql, Args&&... args) {
        return updateWithArguments(sql, nullptr, std::forward<Args>(args)...);
    }
    template <SQArgument... Args>
    bool executeUpdateWithFormat(std::string_view format, Args&&... args) {
        std::string sql;
        Arguments arguments;
        extractSQL(format, argumentList(std::forward<Args>(args)...), sql, arguments);
        return executeUpdate(sql, arguments);
    }
    template <SQArgument... Args>
    bool executeUpdateWithErrorAndBindings(const std::string& sql,
                                           std::optional<platform::Error>* error, Args&&... args) {
        return updateWithArguments(sql, error, std::forward<Args>(args)...);
    }
    template <SQArgument... Args>
    bool update(const std::string& sql, std::optional<platform::Error>* error, Args&&... args) {
        return executeUpdateWithErrorAndBindings(sql, error, std::forward<Args>(args)...);
    }
    bool executeUpdate(const std::string& sql, const Arguments& arguments);
    bool executeUpdate(const std::string& sql, const Arguments& values,
                       std::optional<platform::Error>* error);
    bool executeUpdate(const std::string& sql, const platform::Dictionary& arguments);
    bool executeUpdateWithVAList(const std::string& sql, std::span<const platform::Value> list);
    // The core all of them end in; the error, when asked for, receives every failure.
    bool executeUpdate(const std::string& sql, std::optional<platform::Error>* error,
                       const Arguments* array, const platform::Dictionary* dictionary,
                       std::span<const platform::Value> list);

    // ---- Scripts: several statements separated by ";" ----
    bool executeStatements(const std::string& sql) { return executeStatements(sql, nullptr); }
    // The block sees each result row (column name -> text or null); non-zero stops the script.
    bool executeStatements(const std::string& sql, const ResultBlock& block);

    // ---- Transactions ----
    bool beginTransaction();
    bool beginDeferredTransaction();
    bool commit();
    bool rollback();
    bool inTransaction() const { return m_inTransaction; }

    // ---- Savepoints ----
    bool startSavePointWithName(const std::string& name, std::optional<platform::Error>* error);
    bool releaseSavePointWithName(const std::string& name, std::optional<platform::Error>* error);
    bool rollbackToSavePointWithName(const std::string& name,
                                     std::optional<platform::Error>* error);
    // Runs the block inside a savepoint "dbSavePoint<n>"; a block that sets *rollback undoes its
    // changes. Gives the error of the last savepoint step that failed, or none.
    std::optional<platform::Error> inSavePoint(const SavePointBlock& block);

    // ---- User functions ----
    // Registers a scalar SQL function; the block sets the result through the context. The block
    // lives as long as the connection.
    void makeFunctionNamed(const std::string& name, int maximumArguments, FunctionBlock block);

    // ---- Single values: column 0 of the first row; NULL, no row and failure read alike ----
    template <SQArgument... Args>
    std::optional<std::string> stringForQuery(const std::string& sql, Args&&... args) {
        return stringForQueryArguments(sql, argumentList(std::forward<Args>(args)...));
    }
    template <SQArgument... Args>
    int intForQuery(const std::string& sql, Args&&... args) {
        return intForQueryArguments(sql, argumentList(std::forward<Args>(args)...));
    }
    template <SQArgument... Args>
    int64_t longForQuery(const std::string& sql, Args&&... args) {
        return longForQueryArguments(sql, argumentList(std::forward<Args>(args)...));
    }
    template <SQArgument... Args>
    bool boolForQuery(const std::string& sql, Args&&... args) {
        return boolForQueryArguments(sql, argumentList(std::forward<Args>(args)...));
    }
    template <SQArgument... Args>
    double doubleForQuery(const std::string& sql, Args&&... args) {
        return doubleForQueryArguments(sql, argumentList(std::forward<Args>(args)...));
    }
    template <SQArgument... Args>
    std::optional<platform::Bytes> dataForQuery(const std::string& sql, Args&&... args) {
        return dataForQueryArguments(sql, argumentList(std::forward<Args>(args)...));
    }
    template <SQArgument... Args>
    std::optional<platform::Date> dateForQuery(const std::string& sql, Args&&... args) {
        return dateForQueryArguments(sql, argumentList(std::forward<Args>(args)...));
    }
    std::optional<std::string> stringForQueryArguments(const std::string& sql,
                                                       std::span<const platform::Value> list);
    int intForQueryArguments(const std::string& sql, std::span<const platform::Value> list);
    int64_t longForQueryArguments(const std::string& sql, std::span<const platform::Value> list);
    bool boolForQueryArguments(const std::string& sql, std::span<const platform::Value> list);
    double doubleForQueryArguments(const std::string& sql, std::span<const platform::Value> list);
    std::optional<platform::Bytes> dataForQueryArguments(const std::string& sql,
                                                         std::span<const platform::Value> list);
    std::optional<platform::Date> dateForQueryArguments(const std::string& sql,
                                                        std::span<const platform::Value> list);

    // ---- Tables, columns and schema ----
    // Tables only (not views), of the main database, ignoring case.
    bool tableExists(const std::string& tableName);
    // Every table, index, view and trigger of the main and the temporary database but SQLite's
    // own: columns type, name, tbl_name, rootpage, sql. The caller steps and closes it.
    std::unique_ptr<SQResultSet> getSchema();
    // One row per column of the table (cid, name, type, notnull, dflt_value, pk); no rows for a
    // table that does not exist.
    std::unique_ptr<SQResultSet> getTableSchema(const std::string& tableName);
    // Both ignore case.
    bool columnExistsInTableWithName(const std::string& columnName, const std::string& tableName);
    // The older form, table first.
    bool columnExistsColumnName(const std::string& tableName, const std::string& columnName) {
        return columnExistsInTableWithName(columnName, tableName);
    }

    // ---- File header fields ----
    uint32_t applicationID();
    void setApplicationID(uint32_t appID);
    // The four bytes of the id, most significant first, each one character (Latin-1).
    std::string applicationIDString();
    // From four characters, the first in the most significant byte; another length is logged
    // and used all the same (missing characters count as zero bytes, extra ones are ignored).
    void setApplicationIDString(const std::string& string);
    uint32_t userVersion();
    void setUserVersion(uint32_t version);

    // ---- Checking ----
    // Whether SQLite can prepare the text (only its first statement); runs nothing.
    bool validateSQL(const std::string& sql, std::optional<platform::Error>* error);

  private:
    template <SQArgument... Args>
    static std::array<platform::Value, sizeof...(Args)> argumentList(Args&&... args) {
        return {platform::Value(std::forward<Args>(args))...};
    }

    // Holds the in-use flag for the length of one operation, on every way out of it.
    class ExecutingScope {
      public:
        explicit ExecutingScope(SQDatabase& db) : m_db(db) { m_db.m_isExecutingStatement = true; }
        ~ExecutingScope() { m_db.m_isExecutingStatement = false; }
        ExecutingScope(const ExecutingScope&) = delete;
        ExecutingScope& operator=(const ExecutingScope&) = delete;

      private:
        SQDatabase& m_db;
    };

    // A statement ready to bind: the cache's own, or a fresh one this call owns until it is
    // handed on.
    struct Prepared {
        // The cache's statement, found by the call's very text and held among the recent ones
        // (no count of owners is touched on the way); or a fresh statement.
        const std::shared_ptr<SQStatement>* cached = nullptr;
        SQStatementHandle fresh;

        sqlite3_stmt* handle() const { return cached ? (*cached)->statement() : fresh.get(); }
        // After a failure before the statement ran: a cached statement stays in the cache,
        // rewound; a fresh one is finalized as it goes.
        void discard() {
            if (cached) (*cached)->reset();
            fresh.reset();
        }
    };

    // Every call that runs a statement goes through these stages in turn: canExecute (open, not
    // in use), statementForCall under an ExecutingScope (tracing, the statement), binding, then
    // finishQuery or finishUpdate (the bind count, running). The argument-list forms bind each
    // argument straight from the caller's value between them.
    bool canExecute(std::optional<platform::Error>* error) {
        return (m_db && !m_isExecutingStatement) || refuseExecution(error);
    }
    // Why a call cannot run (not open, in use): logged, handed to the error; false but for a
    // connection opened on the way.
    bool refuseExecution(std::optional<platform::Error>* error);
    // The statement the last call found, when it serves this text again (most calls run the
    // statement of the call before); null otherwise, and always while tracing.
    sqlite3_stmt* lastStatementFor(const std::string& sql, Prepared& prepared) {
        const std::shared_ptr<SQStatement>& last = m_recentStatements[m_lastRecentStatement];
        if (!m_shouldCacheStatements || m_traceExecution || !last || last->inUse()) return nullptr;
        sqlite3_stmt* handle = last->statement();
        const std::shared_ptr<const std::string>& text = last->sharedQuery();
        if (!handle || !text || *text != sql) return nullptr;
        prepared.cached = &last;
        return handle;
    }
    // Statements go back into the cache rewound; only one someone stepped by hand and left
    // mid-way needs it again. Binding finds those out, since SQLite refuses to bind to them: only
    // a call that binds nothing has to ask.
    static void rewindIfBusy(sqlite3_stmt* statement) {
        if (sqlite3_stmt_busy(statement)) sqlite3_reset(statement);
    }
    // Null when the statement could not be had (the error, when asked for, is set).
    sqlite3_stmt* statementForCall(const std::string& sql, std::optional<platform::Error>* error,
                                   Prepared& prepared, bool update);
    // `count` arguments were bound to a statement of `wanted` parameters.
    std::unique_ptr<SQResultSet> finishQuery(const std::string& sql, Prepared& prepared, int count,
                                             int wanted);
    // A result set reading the statement, which names its text when the cache keeps it.
    [[gnu::always_inline]] std::unique_ptr<SQResultSet> openResultSet(
        const std::shared_ptr<SQStatement>& statement) {
        statement->setUseCount(statement->useCount() + 1);
        auto resultSet = SQResultSet::resultSetWithStatement(statement, shared_from_this());
        m_openResultSets.push_back(resultSet.get());
        return resultSet;
    }
    bool finishUpdate(const std::string& sql, std::optional<platform::Error>* error,
                      Prepared& prepared, int count, int wanted);
    // What follows a step that gave `rc`: failures reported, the statement cached, rewound or
    // finalized.
    bool endUpdate(const std::string& sql, std::optional<platform::Error>* error,
                   Prepared& prepared, int rc);
    void reportResetFailure(const std::string& sql, int rc);

    // Where the calls that take their arguments as values find them: a dictionary, used alone,
    // or else the array, then the list. A dictionary key with no parameter goes to missingKey.
    struct ArgumentSource {
        const Arguments* array;
        const platform::Dictionary* dictionary;
        std::span<const platform::Value> list;
        const std::function<void(const std::string& key)>& missingKey;
    };

    // Runs one call through the stages, binding the arguments (`borrow`: lent to SQLite, not
    // copied). Result is bool for an update, the result set for a query.
    template <typename Result, typename... Args>
    Result runCall(const std::string& sql, std::optional<platform::Error>* error, bool borrow,
                   Args&&... args) {
        constexpr bool update = std::is_same_v<Result, bool>;
        if (!canExecute(error)) return Result{};
        ExecutingScope scope(*this);
        Prepared prepared;
        sqlite3_stmt* handle = lastStatementFor(sql, prepared);
        if (!handle) handle = statementForCall(sql, error, prepared, update);
        if (!handle) return Result{};
        const int wanted = prepared.cached ? (*prepared.cached)->parameterCount()
                                           : sqlite3_bind_parameter_count(handle);
        const int count = bindArgumentList(handle, wanted, borrow, std::forward<Args>(args)...);
        if constexpr (update) {
            // The common way through stays here: a cached statement, every parameter bound, run
            // to its end and rewound.
            if (count == wanted && prepared.cached) [[likely]] {
                const int rc = sqlite3_step(handle);
                if (rc != sqdb::detail::kDone) return endUpdate(sql, error, prepared, rc);
                SQStatement& statement = **prepared.cached;
                statement.setUseCount(statement.useCount() + 1);
                const int resetRc = sqlite3_reset(handle);
                if (resetRc != sqdb::detail::kOK) [[unlikely]]
                    reportResetFailure(sql, resetRc);
                return true;
            }
            return finishUpdate(sql, error, prepared, count, wanted);
        } else {
            if (count == wanted && prepared.cached) [[likely]]
                return openResultSet(*prepared.cached);
            return finishQuery(sql, prepared, count, wanted);
        }
    }
    template <typename... Args>
    bool updateWithArguments(const std::string& sql, std::optional<platform::Error>* error,
                             Args&&... args) {
        // The statement runs and is rewound before this returns, while the caller's values
        // still stand: they are lent to SQLite, not copied.
        return runCall<bool>(sql, error, true, std::forward<Args>(args)...);
    }
    // Binds the arguments in order, as many as the statement has parameters, and answers how
    // many it bound.
    template <typename... Args>
    [[gnu::always_inline]] int bindArgumentList(sqlite3_stmt* statement,
                                                [[maybe_unused]] int wanted,
                                                [[maybe_unused]] bool borrow, Args&&... args) {
        constexpr int given = static_cast<int>(sizeof...(Args));
        if constexpr ((std::is_same_v<std::remove_cvref_t<Args>, ArgumentSource> || ...)) {
            return bindArguments(statement, wanted, borrow, args...);
        } else if constexpr (given == 0) {
            rewindIfBusy(statement);
            return 0;
        } else {
            if (m_traceExecution) {
                int traced = 0;
                (traceArgument(wanted, traced, tracedValue(args)), ...);
            }
            if (given <= wanted) [[likely]] {
                // Every argument has its parameter: the indices are known here.
                if (bindEach(statement, borrow, std::index_sequence_for<Args...>(), args...) !=
                    sqdb::detail::kOK) [[unlikely]] {
                    // Refused, as by a statement left mid-way (or run to its end by hand and not
                    // rewound): bound again once rewound.
                    sqlite3_reset(statement);
                    bindEach(statement, borrow, std::index_sequence_for<Args...>(), args...);
                }
                return given;
            }
            // Extra arguments are left unbound. A rare call, whose refusals are not looked at: the
            // statement is rewound first without asking.
            sqlite3_reset(statement);
            int count = 0;
            (
                [&] {
                    if (count < wanted) bindArgument(statement, ++count, borrow, args);
                }(),
                ...);
            return count;
        }
    }
    // Binds each argument to its parameter; any of SQLite's refusals, ORed together.
    template <size_t... Index, typename... Args>
    int bindEach(sqlite3_stmt* statement, bool borrow, std::index_sequence<Index...>,
                 const Args&... args) {
        return (bindArgument(statement, static_cast<int>(Index) + 1, borrow, args) | ...);
    }
    // Answers SQLite's result.
    template <typename T>
    int bindArgument(sqlite3_stmt* statement, int index, bool borrow, const T& argument) {
        using U = std::remove_cvref_t<T>;
        if constexpr (std::is_same_v<U, std::string> || std::is_same_v<U, std::string_view>) {
            return bindText(statement, index, argument.data(), argument.size(), borrow);
        } else if constexpr (std::is_same_v<std::decay_t<T>, const char*> ||
                             std::is_same_v<std::decay_t<T>, char*>) {
            const char* text = argument;
            if (!text) return bindNull(statement, index);
            return bindText(statement, index, text, std::strlen(text), borrow);
        } else if constexpr (std::is_same_v<U, platform::Bytes>) {
            return bindBlob(statement, index, argument.data(), argument.size(), borrow);
        } else if constexpr (std::is_same_v<U, platform::Value>) {
            return bindValue(argument, index, statement, borrow);
        } else if constexpr (std::is_integral_v<U>) {
            // As a Value binds it: unsigned values above the signed range keep their bits.
            return bindInteger(statement, index, static_cast<int64_t>(argument));
        } else if constexpr (std::is_floating_point_v<U>) {
            return bindReal(statement, index, static_cast<double>(argument));
        } else {
            // Made here and gone after this line: always copied.
            return bindValue(platform::Value(argument), index, statement, false);
        }
    }
    static int bindNull(sqlite3_stmt* statement, int index) {
        return sqlite3_bind_null(statement, index);
    }
    static int bindInteger(sqlite3_stmt* statement, int index, int64_t value) {
        return sqlite3_bind_int64(statement, index, value);
    }
    static int bindReal(sqlite3_stmt* statement, int index, double value) {
        return sqlite3_bind_double(statement, index, value);
    }
    // `borrow` lends the bytes to SQLite, for a statement that runs and is reset before the
    // caller's values go; otherwise SQLite copies them.
    static int bindText(sqlite3_stmt* statement, int index, const char* data, size_t size,
                        bool borrow) {
        return sqlite3_bind_text64(statement, index, data, size, sqdb::detail::lifetime(borrow),
                                   sqdb::detail::kUTF8);
    }
    static int bindBlob(sqlite3_stmt* statement, int index, const void* data, size_t size,
                        bool borrow) {
        // An empty data object is an empty blob, not NULL.
        return sqlite3_bind_blob64(statement, index,
                                   size == 0 ? static_cast<const void*>("") : data, size,
                                   sqdb::detail::lifetime(borrow));
    }
    // Logs the next argument as bound ("data: <n> bytes" or "obj: <description>") while
    // parameters are left.
    void traceArgument(int wanted, int& count, const platform::Value& argument);
    // An argument as it is bound: numbers as 64-bit integers or doubles.
    template <typename T>
    static platform::Value tracedValue(const T& argument) {
        if constexpr (std::is_integral_v<T>) {
            return platform::Value(static_cast<int64_t>(argument));
        } else if constexpr (std::is_floating_point_v<T>) {
            return platform::Value(static_cast<double>(argument));
        } else {
            return platform::Value(argument);
        }
    }
    // Binds a Value; `borrow` binds texts and blobs without a copy, for a statement that runs
    // and is reset before the caller's values go.
    int bindValue(const platform::Value& object, int index, sqlite3_stmt* statement, bool borrow);
    // The last statements taken from the cache, looked at before the cache is searched: a loop
    // runs the same few statements over and over.
    // Both answer the place among the recent ones, which holds the statement until the cache
    // changes; null when none fits.
    const std::shared_ptr<SQStatement>* recentStatementForQuery(const std::string& query);
    const std::shared_ptr<SQStatement>* rememberStatement(
        const std::shared_ptr<SQStatement>& statement);
    void forgetRecentStatements() { m_recentStatements.fill(nullptr); }

    void forgetResultSet(SQResultSet* resultSet);
    static int busyHandler(void* context, int count);
    bool didOpen(int rc);
    // The row information of the last statement; 0 while a statement runs or when closed.
    int64_t rowInformation(int64_t (*read)(sqlite3*));
    // The texts are made once: a transaction a row must not cost two allocations.
    bool transactionStatement(const std::string& sql, bool inTransactionAfter);
    // Column 0 of the first row through the reader; the fallback when there is no row.
    template <typename T, typename Reader>
    T singleValue(const std::string& sql, std::span<const platform::Value> list, T fallback,
                  Reader read);
    uint32_t headerField(const char* pragma);
    void setHeaderField(const char* format, uint32_t value);
    bool savePointStatement(const char* command, const std::string& name,
                            std::optional<platform::Error>* error);
    [[noreturn]] void stopOnError(const std::string& message) const;
    platform::Error misuseError(const std::string& message) const;
    void reportPreparationError(const std::string& sql);
    // Binds every parameter from the source; gives the number bound.
    int bindArguments(sqlite3_stmt* statement, int wanted, bool borrow,
                      const ArgumentSource& source);
    // Takes the cached statement for the text or prepares a new one; false when preparing failed.
    bool statementForQuery(const std::string& sql, Prepared& prepared);

    sqlite3* m_db = nullptr;
    std::optional<std::string> m_databasePath;
    bool m_logsErrors = true;
    bool m_crashOnErrors = false;
    bool m_traceExecution = false;
    bool m_checkedOut = false;
    bool m_shouldCacheStatements = false;
    bool m_isExecutingStatement = false;
    bool m_inTransaction = false;
    double m_maxBusyRetryTimeInterval = 2.0;
    double m_startBusyRetryTime = 0;
    std::optional<CachedStatements> m_cachedStatements;
    std::array<std::shared_ptr<SQStatement>, 4> m_recentStatements;
    size_t m_nextRecentStatement = 0;
    size_t m_lastRecentStatement = 0;  // where the last search succeeded
    // Each set once, in the order handed out; a list, since there are seldom more than a few and
    // a query then costs no allocation for it.
    std::vector<SQResultSet*> m_openResultSets;
    std::vector<std::unique_ptr<FunctionBlock>> m_openFunctions;
    std::optional<platform::DateFormatter> m_dateFormat;
};

// Doubles every "'" so that the name can stand between single quotes.
std::string SQDBEscapeSavePointName(const std::string& savepointName);

// What the queue and the pool hand their blocks: the connection, null when none could be had;
// transaction and savepoint blocks set *rollback to undo their writes.
using SQDatabaseBlock = std::function<void(SQDatabase* db)>;
using SQTransactionBlock = std::function<void(SQDatabase* db, bool* rollback)>;
// Flags for openWithFlags; they have SQLite's values, so SQLite's own can be given as well.
inline constexpr int SQDBOpenReadOnly = 0x00000001;
inline constexpr int SQDBOpenReadWrite = 0x00000002;
inline constexpr int SQDBOpenCreate = 0x00000004;
inline constexpr int SQDBOpenURI = 0x00000040;
inline constexpr int SQDBOpenMemory = 0x00000080;
inline constexpr int SQDBOpenNoMutex = 0x00008000;
inline constexpr int SQDBOpenFullMutex = 0x00010000;
inline constexpr int SQDBOpenSharedCache = 0x00020000;
inline constexpr int SQDBOpenPrivateCache = 0x00040000;
inline constexpr int SQDBOpenNoFollow = 0x01000000;
// Read-write, created when missing.
inline constexpr int SQDBDefaultOpenFlags = SQDBOpenReadWrite | SQDBOpenCreate;

// The block forms of transactions shared by the queue and the pool. The body runs only inside a
// transaction that began (never in autocommit, where a rollback could not undo its writes); it
// sets *rollback to undo them. A commit that fails is rolled back. True when the transaction
// ended as the body asked; false without a connection.
bool SQDBRunTransaction(SQDatabase* db, bool useDeferred, const SQDatabase::SavePointBlock& body);
// Runs the body inside the named savepoint, rolled back to when the body sets *rollback and
// released in any case. Gives the error of the last step that failed; without a connection, or
// when the savepoint cannot start, the body is not called.
std::optional<platform::Error> SQDBRunSavePoint(SQDatabase* db, const std::string& name,
                                                const SQDatabase::SavePointBlock& body);
