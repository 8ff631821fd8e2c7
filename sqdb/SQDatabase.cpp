#include "sqdb/SQDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "platform/foundation/Log.h"
#include "sqdb/SQResultSet.h"
#include "sqdb/SQStatement.h"

using platform::logf;
using platform::stringWithFormat;

namespace {

// Seconds between 1970-01-01 and the reference date 2001-01-01, both UTC.
constexpr double kReferenceDateSince1970 = 978307200.0;

double secondsSinceReferenceDate() {
    return platform::Date::now().timeIntervalSince1970() - kReferenceDateSince1970;
}

int randomSleepMilliseconds() {
    thread_local std::minstd_rand generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, 49)(generator) + 50;
}

}  // namespace

std::shared_ptr<SQDatabase> SQDatabase::databaseWithPath(std::optional<std::string> path) {
    return std::make_shared<SQDatabase>(ConstructionKey{}, std::move(path));
}

SQDatabase::SQDatabase(ConstructionKey, std::optional<std::string> path)
    : m_databasePath(std::move(path)) {
    if (sqlite3_threadsafe() == 0) stopOnError("sqlite3_threadsafe()");
}

SQDatabase::~SQDatabase() {
    close();
}

std::string SQDatabase::sqlitePath() const {
    if (!m_databasePath) return ":memory:";
    return *m_databasePath;
}

std::string SQDatabase::description() const {
    return stringWithFormat("<SQDatabase: %p>", static_cast<const void*>(this));
}

void SQDatabase::stopOnError(const std::string& message) const {
    platform::log(message);
    std::abort();
}

// ---- Opening and closing ----

bool SQDatabase::open() {
    if (m_db) return true;
    return didOpen(sqlite3_open(sqlitePath().c_str(), &m_db));
}

bool SQDatabase::openWithFlags(int flags, const std::optional<std::string>& vfsName) {
    if (m_db) return true;
    return didOpen(
        sqlite3_open_v2(sqlitePath().c_str(), &m_db, flags, vfsName ? vfsName->c_str() : nullptr));
}

bool SQDatabase::didOpen(int rc) {
    if (rc != SQLITE_OK) {
        logf("error opening!: %d", rc);
        // SQLite hands out a handle even when opening fails; a half-open connection must not
        // make the next open() answer yes.
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    if (m_maxBusyRetryTimeInterval > 0) setMaxBusyRetryTimeInterval(m_maxBusyRetryTimeInterval);
    return true;
}

bool SQDatabase::close() {
    // A result set may hold the last reference to this connection.
    auto keepAlive = weak_from_this().lock();
    clearCachedStatements();
    closeOpenResultSets();
    if (!m_db) return true;

    int rc = SQLITE_OK;
    bool retry = false;
    bool triedFinalizingOpenStatements = false;
    do {
        retry = false;
        rc = sqlite3_close(m_db);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (!triedFinalizingOpenStatements) {
                triedFinalizingOpenStatements = true;
                while (sqlite3_stmt* statement = sqlite3_next_stmt(m_db, nullptr)) {
                    platform::log("Closing leaked statement");
                    sqlite3_finalize(statement);
                    retry = true;
                }
            }
        } else if (rc != SQLITE_OK) {
            logf("error closing!: %d", rc);
        }
    } while (retry);

    bool closed = rc == SQLITE_OK;
    if (!closed) {
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) logf("error closing!: %d", rc);
        // Something else (a backup) still uses the connection: let SQLite release it when that
        // ends rather than leaking it.
        sqlite3_close_v2(m_db);
    }
    m_db = nullptr;
    return closed;
}

bool SQDatabase::goodConnection() {
    if (!m_db) return false;
    auto rs = executeQuery("select name from sqlite_master where type='table'");
    if (!rs) return false;
    rs->close();
    return true;
}

// ---- Busy handling ----

int SQDatabase::busyHandler(void* context, int count) {
    auto* self = static_cast<SQDatabase*>(context);
    if (count == 0) {
        self->m_startBusyRetryTime = secondsSinceReferenceDate();
        return 1;
    }
    double elapsed = secondsSinceReferenceDate() - self->m_startBusyRetryTime;
    if (elapsed < self->m_maxBusyRetryTimeInterval) {
        int requested = randomSleepMilliseconds();
        int actual = sqlite3_sleep(requested);
        if (actual != requested) {
            logf(
                "WARNING: Requested sleep of %i milliseconds, but SQLite returned %i. Maybe "
                "SQLite wasn't built with HAVE_USLEEP=1?",
                requested, actual);
        }
        return 1;
    }
    return 0;
}

void SQDatabase::setMaxBusyRetryTimeInterval(double timeout) {
    m_maxBusyRetryTimeInterval = timeout;
    if (!m_db) return;
    if (timeout > 0) {
        sqlite3_busy_handler(m_db, &SQDatabase::busyHandler, this);
    } else {
        sqlite3_busy_handler(m_db, nullptr, nullptr);
    }
}

int SQDatabase::busyRetryTimeout() {
    logf("%s:%d", "-[SQDatabase busyRetryTimeout]", 282);
    platform::log("SQDB: busyRetryTimeout no longer works, please use maxBusyRetryTimeInterval");
    return -1;
}

void SQDatabase::setBusyRetryTimeout(int) {
    logf("%s:%d", "-[SQDatabase setBusyRetryTimeout:]", 289);
    platform::log(
        "SQDB: setBusyRetryTimeout does nothing, please use setMaxBusyRetryTimeInterval:");
}

// ---- Open result sets ----

void SQDatabase::closeOpenResultSets() {
    auto keepAlive = weak_from_this().lock();
    std::vector<SQResultSet*> copy = m_openResultSets;
    for (SQResultSet* resultSet : copy) {
        resultSet->setParentDB(nullptr);
        resultSet->close();
        resultSetDidClose(resultSet);
    }
}

void SQDatabase::forgetResultSet(SQResultSet* resultSet) {
    auto found = std::find(m_openResultSets.rbegin(), m_openResultSets.rend(), resultSet);
    if (found != m_openResultSets.rend()) m_openResultSets.erase(std::next(found).base());
}

// ---- Statement cache ----

void SQDatabase::setShouldCacheStatements(bool value) {
    m_shouldCacheStatements = value;
    forgetRecentStatements();
    if (value && !m_cachedStatements) m_cachedStatements.emplace();
    if (!value) setCachedStatements(std::nullopt);
}

void SQDatabase::setCachedStatements(std::optional<CachedStatements> statements) {
    forgetRecentStatements();
    std::optional<CachedStatements> old = std::exchange(m_cachedStatements, std::move(statements));
    if (!old) return;
    // Statements the cache lets go are finalized now, but for those a result set still reads,
    // which go when it closes: a closed set may hold on to a statement for its text only.
    auto kept = [&](const std::shared_ptr<SQStatement>& statement) {
        if (!m_cachedStatements) return false;
        auto found = m_cachedStatements->find(statement->query());
        return found != m_cachedStatements->end() && found->second.count(statement) > 0;
    };
    for (const auto& [query, statements] : *old) {
        for (const auto& statement : statements) {
            if (!statement->inUse() && !kept(statement)) statement->close();
        }
    }
}

std::shared_ptr<SQStatement> SQDatabase::cachedStatementForQuery(const std::string& query) {
    if (!m_cachedStatements) return nullptr;
    auto found = m_cachedStatements->find(query);
    if (found == m_cachedStatements->end()) return nullptr;
    for (const auto& statement : found->second) {
        if (!statement->inUse()) return statement;
    }
    return nullptr;
}

void SQDatabase::setCachedStatement(std::shared_ptr<SQStatement> statement,
                                    const std::string& query) {
    statement->setQuery(query);
    if (!m_cachedStatements) return;
    rememberStatement(statement);
    (*m_cachedStatements)[query].insert(std::move(statement));
}

// The one found last time is looked at first: a loop runs one statement many times in a row.
const std::shared_ptr<SQStatement>* SQDatabase::recentStatementForQuery(const std::string& query) {
    auto fits = [&](const std::shared_ptr<SQStatement>& statement) {
        return statement && !statement->inUse() && statement->statement() &&
               statement->query() == query;
    };
    if (fits(m_recentStatements[m_lastRecentStatement])) {
        return &m_recentStatements[m_lastRecentStatement];
    }
    for (size_t i = 0; i < m_recentStatements.size(); ++i) {
        if (fits(m_recentStatements[i])) {
            m_lastRecentStatement = i;
            return &m_recentStatements[i];
        }
    }
    return nullptr;
}

const std::shared_ptr<SQStatement>* SQDatabase::rememberStatement(
    const std::shared_ptr<SQStatement>& statement) {
    for (const auto& recent : m_recentStatements) {
        if (recent == statement) return &recent;
    }
    auto& slot = m_recentStatements[m_nextRecentStatement];
    slot = statement;
    m_nextRecentStatement = (m_nextRecentStatement + 1) % m_recentStatements.size();
    return &slot;
}

void SQDatabase::clearCachedStatements() {
    forgetRecentStatements();
    if (!m_cachedStatements) return;
    for (auto& [query, statements] : *m_cachedStatements) {
        for (const auto& statement : statements) statement->close();
    }
    m_cachedStatements->clear();
}

// ---- Open and in-use checks ----

bool SQDatabase::databaseExists() {
    if (m_db) return true;
    std::string message = stringWithFormat("The SQDatabase %s is not open.", description().c_str());
    if (m_crashOnErrors) stopOnError(message);
    platform::log(message);
    return false;
}

void SQDatabase::warnInUse() {
    std::string message =
        stringWithFormat("The SQDatabase %s is currently in use.", description().c_str());
    if (m_crashOnErrors) stopOnError(message);
    platform::log(message);
}

// ---- Errors ----

std::string SQDatabase::lastErrorMessage() const {
    return sqlite3_errmsg(m_db);
}

int SQDatabase::lastErrorCode() const {
    return sqlite3_errcode(m_db);
}

bool SQDatabase::hadError() const {
    int code = lastErrorCode();
    return code > SQLITE_OK && code < SQLITE_ROW;
}

platform::Error SQDatabase::errorWithMessage(const std::string& message) const {
    return platform::Error::errorWithDomain("SQDatabase", sqlite3_errcode(m_db), message);
}

platform::Error SQDatabase::lastError() const {
    return errorWithMessage(lastErrorMessage());
}

platform::Error SQDatabase::misuseError(const std::string& message) const {
    return platform::Error::errorWithDomain("SQDatabase", SQLITE_MISUSE, message);
}

int64_t SQDatabase::rowInformation(int64_t (*read)(sqlite3*)) {
    if (m_isExecutingStatement) {
        warnInUse();
        return 0;
    }
    // SQLite reads the handle without checking it.
    if (!m_db) return 0;
    return read(m_db);
}

int64_t SQDatabase::lastInsertRowId() {
    return rowInformation([](sqlite3* db) -> int64_t { return sqlite3_last_insert_rowid(db); });
}

int SQDatabase::changes() {
    return static_cast<int>(
        rowInformation([](sqlite3* db) -> int64_t { return sqlite3_changes(db); }));
}

// ---- Dates ----

std::optional<platform::Date> SQDatabase::dateFromString(const std::string& text) const {
    if (!m_dateFormat) return std::nullopt;
    return m_dateFormat->dateFromString(text);
}

std::optional<std::string> SQDatabase::stringFromDate(const platform::Date& date) const {
    if (!m_dateFormat) return std::nullopt;
    return m_dateFormat->stringFromDate(date);
}

platform::DateFormatter SQDatabase::storeableDateFormat(const std::string& format) {
    platform::DateFormatter formatter(format);
    formatter.setSecondsFromGMT(0);
    formatter.setLocaleIdentifier("en_US");
    return formatter;
}

// ---- Keys ----

bool SQDatabase::setKey(const std::string& key) {
    return setKeyWithData(platform::Bytes(key.begin(), key.end()));
}

bool SQDatabase::rekey(const std::string& key) {
    return rekeyWithData(platform::Bytes(key.begin(), key.end()));
}

bool SQDatabase::setKeyWithData(const platform::Bytes&) {
    return false;
}

bool SQDatabase::rekeyWithData(const platform::Bytes&) {
    return false;
}

// ---- Versions ----

std::string SQDatabase::SQDBUserVersion() {
    return "2.6.2";
}

int32_t SQDatabase::SQDBVersion() {
    static const int32_t version = [] {
        std::string text = SQDBUserVersion();
        size_t components = 1;
        for (char c : text) components += c == '.';
        if (components < 3) text += ".0";
        std::string digits;
        for (char c : text) {
            if (c != '.') digits += c;
        }
        return static_cast<int32_t>(std::strtol(digits.c_str(), nullptr, 16));
    }();
    return version;
}

std::string SQDatabase::sqliteLibVersion() {
    return stringWithFormat("%s", sqlite3_libversion());
}

bool SQDatabase::isSQLiteThreadSafe() {
    return sqlite3_threadsafe() != 0;
}
