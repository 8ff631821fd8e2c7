#include "sqdb/SQResultSet.h"

#include <sqlite3.h>

#include <cctype>
#include <utility>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQStatement.h"

using platform::logf;
using platform::Value;

namespace {

std::string lowercased(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The memory of one freed result set, for the thread's next one. A plain pointer, so that reaching
// it costs no call; the release object that frees it with the thread is made the first time a
// block is kept.
thread_local void* spareBlock = nullptr;
thread_local bool spareReleaseMade = false;
struct SpareRelease {
    ~SpareRelease() { ::operator delete(std::exchange(spareBlock, nullptr)); }
};

void keepSpare(void* block) {
    if (!spareReleaseMade) {
        static thread_local SpareRelease release;
        (void)release;
        spareReleaseMade = true;
    }
    spareBlock = block;
}

// Under AddressSanitizer every set gets fresh memory, so that a use after close is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepSpare = false;
#else
constexpr bool kKeepSpare = true;
#endif

}  // namespace

void* SQResultSet::operator new(size_t size) {
    if (kKeepSpare && size == sizeof(SQResultSet) && spareBlock) {
        return std::exchange(spareBlock, nullptr);
    }
    return ::operator new(size);
}

void SQResultSet::operator delete(void* pointer, size_t size) {
    if (kKeepSpare && size == sizeof(SQResultSet) && !spareBlock) {
        keepSpare(pointer);
        return;
    }
    ::operator delete(pointer);
}

void SQResultSet::refuseStatementInUse() {
    platform::log("Invalid parameter not satisfying: ![statement inUse]");
    std::abort();
}

SQResultSet::~SQResultSet() {
    close();
}

// ---- Cursor ----

void SQResultSet::finishStepping(int rc, std::optional<platform::Error>* error) {
    sqlite3_stmt* statement = handle();
    sqlite3* db = m_parentDB ? m_parentDB->sqliteHandle() : nullptr;
    if (!db && statement) db = sqlite3_db_handle(statement);
    auto parentError = [&]() -> std::optional<platform::Error> {
        if (m_parentDB) return m_parentDB->lastError();
        return std::nullopt;
    };

    auto message = [&] { return statement ? sqlite3_errmsg(db) : sqlite3_errstr(SQLITE_MISUSE); };

    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        const auto& path = m_parentDB ? m_parentDB->databasePath() : std::nullopt;
        logf("%s:%d Database busy (%s)", "-[SQResultSet nextWithError:]", __LINE__,
             path ? path->c_str() : "(null)");
        platform::log("Database busy");
        if (error) *error = parentError();
    } else if (rc == SQLITE_DONE) {
        // the end of the rows
    } else if (rc == SQLITE_ERROR) {
        logf("Error calling sqlite3_step (%d: %s) rs", rc, message());
        if (error) *error = parentError();
    } else if (rc == SQLITE_MISUSE) {
        logf("Error calling sqlite3_step (%d: %s) rs", rc, message());
        if (error) {
            *error = m_parentDB ? parentError()
                                : platform::Error::errorWithDomain("SQDatabase", SQLITE_MISUSE,
                                                                   "parentDB does not exist");
        }
    } else {
        logf("Unknown error calling sqlite3_step (%d: %s) rs", rc, message());
        if (error) *error = parentError();
    }

    close();
}

bool SQResultSet::hasAnotherRow() const {
    if (!m_statement || !m_parentDB) return false;
    return sqlite3_errcode(m_parentDB->sqliteHandle()) == SQLITE_ROW;
}

void SQResultSet::release() {
    if (m_statement) {
        m_statement->reset();
        if (m_query) {
            m_statement = nullptr;
        } else if (m_statement.use_count() > 1) {
            // The cache keeps the statement, and finalizes it when it lets it go: the set holds
            // on to it to go on naming its text.
            m_textStatement = std::move(m_statement);
        } else {
            // Nothing else keeps it: it goes, its text stays.
            m_query = m_statement->sharedQuery();
            m_statement = nullptr;
        }
    }
    if (m_parentDB) {
        // Released last: it may be the connection's last owner.
        auto parent = std::move(m_parentDB);
        m_parentDB = nullptr;
        parent->resultSetDidClose(this);
    }
}

void SQResultSet::setParentDB(std::shared_ptr<SQDatabase> parentDB) {
    m_parentDB = std::move(parentDB);
}

// ---- Columns ----

int SQResultSet::columnCount() const {
    sqlite3_stmt* statement = handle();
    return statement ? sqlite3_column_count(statement) : 0;
}

const std::map<std::string, int>& SQResultSet::columnNameToIndexMap() {
    if (!m_columnNameToIndexMap) {
        m_columnNameToIndexMap.emplace();
        int count = columnCount();
        for (int i = 0; i < count; ++i) {
            const char* name = sqlite3_column_name(handle(), i);
            (*m_columnNameToIndexMap)[lowercased(name ? name : "")] = i;
        }
    }
    return *m_columnNameToIndexMap;
}

int SQResultSet::findColumnIndexForName(std::string_view columnName) {
    for (const SpelledColumn& spelled : m_spelledColumns) {
        if (spelled.name == columnName) {
            m_nextSpelledColumn = spelled.following;
            return spelled.index;
        }
    }
    std::string name = lowercased(std::string(columnName));
    const auto& map = columnNameToIndexMap();
    auto found = map.find(name);
    if (found != map.end()) {
        m_spelledColumns.push_back({std::string(columnName), found->second, nullptr});
        // The list may have moved: link it again, in a ring.
        for (size_t k = 0; k < m_spelledColumns.size(); ++k) {
            m_spelledColumns[k].following = &m_spelledColumns[(k + 1) % m_spelledColumns.size()];
        }
        m_nextSpelledColumn = &m_spelledColumns.front();
        return found->second;
    }
    logf("Warning: I could not find the column named '%s'.", name.c_str());
    return -1;
}

std::optional<std::string> SQResultSet::columnNameForIndex(int columnIndex) const {
    sqlite3_stmt* statement = readable(columnIndex);
    if (!statement || columnIndex >= columnCount()) return std::nullopt;
    const char* name = sqlite3_column_name(statement, columnIndex);
    if (!name) return std::nullopt;
    return std::string(name);
}

// ---- Typed getters ----

std::optional<platform::Date> SQResultSet::dateForColumnIndex(int columnIndex) const {
    sqlite3_stmt* statement = readable(columnIndex);
    if (!statement || sqlite3_column_type(statement, columnIndex) == SQLITE_NULL)
        return std::nullopt;
    if (m_parentDB && m_parentDB->hasDateFormatter()) {
        auto text = stringForColumnIndex(columnIndex);
        if (!text) return std::nullopt;
        return m_parentDB->dateFromString(*text);
    }
    return platform::Date::dateWithTimeIntervalSince1970(doubleForColumnIndex(columnIndex));
}

std::optional<std::span<const uint8_t>> SQResultSet::dataNoCopyForColumnIndex(
    int columnIndex) const {
    sqlite3_stmt* statement = readable(columnIndex);
    if (!statement || sqlite3_column_type(statement, columnIndex) == SQLITE_NULL)
        return std::nullopt;
    const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(statement, columnIndex));
    size_t length = static_cast<size_t>(sqlite3_column_bytes(statement, columnIndex));
    return std::span<const uint8_t>(bytes, bytes ? length : 0);
}

const char* SQResultSet::UTF8StringForColumnIndex(int columnIndex) const {
    sqlite3_stmt* statement = readable(columnIndex);
    if (!statement || sqlite3_column_type(statement, columnIndex) == SQLITE_NULL) return nullptr;
    return reinterpret_cast<const char*>(sqlite3_column_text(statement, columnIndex));
}

bool SQResultSet::columnIndexIsNull(int columnIndex) const {
    sqlite3_stmt* statement = readable(columnIndex);
    return !statement || sqlite3_column_type(statement, columnIndex) == SQLITE_NULL;
}

Value SQResultSet::objectForColumnIndex(int columnIndex) const {
    sqlite3_stmt* statement = readable(columnIndex);
    int type = statement ? sqlite3_column_type(statement, columnIndex) : SQLITE_NULL;
    switch (type) {
        case SQLITE_INTEGER:
            return Value(static_cast<int64_t>(sqlite3_column_int64(statement, columnIndex)));
        case SQLITE_FLOAT:
            return Value(sqlite3_column_double(statement, columnIndex));
        case SQLITE_BLOB:
            return Value(dataForColumnIndex(columnIndex));
        default:
            return Value(stringForColumnIndex(columnIndex));
    }
}

// ---- Whole rows ----

bool SQResultSet::hasCurrentRowData() const {
    sqlite3_stmt* statement = handle();
    if (statement && sqlite3_data_count(statement) > 0) return true;
    platform::log("Warning: There seem to be no columns in this set.");
    return false;
}

std::optional<platform::Dictionary> SQResultSet::resultDictionary() const {
    if (!hasCurrentRowData()) return std::nullopt;
    platform::Dictionary row;
    int count = sqlite3_column_count(handle());
    for (int i = 0; i < count; ++i) {
        row[sqlite3_column_name(handle(), i)] = objectForColumnIndex(i);
    }
    return row;
}

std::optional<platform::Dictionary> SQResultSet::resultDict() {
    if (!hasCurrentRowData()) return std::nullopt;
    platform::Dictionary row;
    for (const auto& [name, index] : columnNameToIndexMap()) row[name] = objectForColumnName(name);
    return row;
}

void SQResultSet::kvcMagic(const KeyValueSetter& setValueForKey) const {
    int count = columnCount();
    for (int i = 0; i < count; ++i) {
        const char* text = UTF8StringForColumnIndex(i);
        if (text) setValueForKey(sqlite3_column_name(handle(), i), text);
    }
}
