#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/Date.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/UTF8.h"
#include "platform/foundation/Value.h"
#include "sqdb/SQLiteCalls.h"
#include "sqdb/SQStatement.h"

class SQDatabase;
struct sqlite3_stmt;

// The cursor a query hands out: steps its statement a row at a time and reads the columns of the
// current row by index or by name (ignoring case). It keeps its connection and statement until
// it is closed, which happens at the end of the rows, on a failed step, on close(), when the
// connection closes, or when the set is destroyed. Getters read the engine's current row each
// time; a missing column, no current row and a closed set all read as NULL.
class SQResultSet {
    struct ConstructionKey {
        explicit ConstructionKey() = default;
    };

  public:
    using KeyValueSetter = std::function<void(const std::string& key, const std::string& value)>;

    // Marks the statement in use; it must not be in use already.
    static std::unique_ptr<SQResultSet> resultSetWithStatement(
        std::shared_ptr<SQStatement> statement, std::shared_ptr<SQDatabase> parentDB) {
        if (statement->inUse()) refuseStatementInUse();
        statement->setInUse(true);
        return std::make_unique<SQResultSet>(ConstructionKey{}, std::move(statement),
                                             std::move(parentDB));
    }
    SQResultSet(ConstructionKey, std::shared_ptr<SQStatement>&& statement,
                std::shared_ptr<SQDatabase>&& parentDB)
        : m_parentDB(std::move(parentDB)), m_statement(std::move(statement)) {}
    // A loop of queries hands out one result set after another: each thread keeps the memory of
    // the last one freed for the next.
    static void* operator new(size_t size);
    static void operator delete(void* pointer, size_t size);
    ~SQResultSet();
    SQResultSet(const SQResultSet&) = delete;
    SQResultSet& operator=(const SQResultSet&) = delete;

    // ---- Cursor ----
    bool next() { return nextWithError(nullptr); }
    // A row is the common answer, and needs nothing more.
    bool nextWithError(std::optional<platform::Error>* error) {
        sqlite3_stmt* statement = handle();
        // A closed set has no statement to step: answer as SQLite would for a missing one,
        // without asking it.
        const int rc = statement ? sqlite3_step(statement) : sqdb::detail::kMisuse;
        if (rc == sqdb::detail::kRow) [[likely]]
            return true;
        finishStepping(rc, error);
        return false;
    }
    // Whether the connection's last engine answer was "row".
    bool hasAnotherRow() const;
    void close() {
        if (m_statement || m_parentDB) release();
    }
    void setParentDB(std::shared_ptr<SQDatabase> parentDB);

    // The text given, or else the statement's own (kept for it once the set is closed).
    const std::string& query() const {
        static const std::string none;
        if (m_query) return *m_query;
        const std::shared_ptr<SQStatement>& statement = m_statement ? m_statement : m_textStatement;
        return statement ? statement->query() : none;
    }
    void setQuery(std::string query) {
        m_query = std::make_shared<const std::string>(std::move(query));
    }
    const std::shared_ptr<SQStatement>& statement() const { return m_statement; }
    void setStatement(std::shared_ptr<SQStatement> statement) {
        m_statement = std::move(statement);
    }

    // ---- Columns ----
    int columnCount() const;
    // Lowercased column name -> index; built once. Of names equal but for case the later wins.
    const std::map<std::string, int>& columnNameToIndexMap();
    // The index, or -1 (logged) when there is no such column.
    int columnIndexForName(std::string_view columnName) {
        // The name after the last one found comes first: rows are read in one order.
        if (m_nextSpelledColumn && m_nextSpelledColumn->name == columnName) {
            int index = m_nextSpelledColumn->index;
            m_nextSpelledColumn = m_nextSpelledColumn->following;
            return index;
        }
        return findColumnIndexForName(columnName);
    }
    std::optional<std::string> columnNameForIndex(int columnIndex) const;

    // ---- Typed getters ----
    int intForColumnIndex(int columnIndex) const {
        sqlite3_stmt* statement = readable(columnIndex);
        return statement ? sqlite3_column_int(statement, columnIndex) : 0;
    }
    int intForColumn(std::string_view columnName) {
        return intForColumnIndex(columnIndexForName(columnName));
    }
    long longForColumnIndex(int columnIndex) const {
        return static_cast<long>(longLongIntForColumnIndex(columnIndex));
    }
    long longForColumn(std::string_view columnName) {
        return longForColumnIndex(columnIndexForName(columnName));
    }
    long long longLongIntForColumnIndex(int columnIndex) const {
        sqlite3_stmt* statement = readable(columnIndex);
        return statement ? sqlite3_column_int64(statement, columnIndex) : 0;
    }
    long long longLongIntForColumn(std::string_view columnName) {
        return longLongIntForColumnIndex(columnIndexForName(columnName));
    }
    unsigned long long unsignedLongLongIntForColumnIndex(int columnIndex) const {
        return static_cast<unsigned long long>(longLongIntForColumnIndex(columnIndex));
    }
    unsigned long long unsignedLongLongIntForColumn(std::string_view columnName) {
        return unsignedLongLongIntForColumnIndex(columnIndexForName(columnName));
    }
    // Of the low 32 bits of the integer reading.
    bool boolForColumnIndex(int columnIndex) const { return intForColumnIndex(columnIndex) != 0; }
    bool boolForColumn(std::string_view columnName) {
        return boolForColumnIndex(columnIndexForName(columnName));
    }
    double doubleForColumnIndex(int columnIndex) const {
        sqlite3_stmt* statement = readable(columnIndex);
        return statement ? sqlite3_column_double(statement, columnIndex) : 0.0;
    }
    double doubleForColumn(std::string_view columnName) {
        return doubleForColumnIndex(columnIndexForName(columnName));
    }
    // Absent for NULL and for text that is not valid UTF-8.
    [[gnu::always_inline]] std::optional<std::string> stringForColumnIndex(int columnIndex) const {
        sqlite3_stmt* statement = readable(columnIndex);
        if (!statement) return std::nullopt;
        // Null for NULL (and when out of memory); an empty text is "", never null.
        const unsigned char* text = sqlite3_column_text(statement, columnIndex);
        if (!text) return std::nullopt;
        const auto length = static_cast<size_t>(sqlite3_column_bytes(statement, columnIndex));
        const auto* characters = reinterpret_cast<const char*>(text);
        if (!platform::utf8::isAscii(text, length) &&
            !platform::utf8::isValid({characters, length})) {
            return std::nullopt;
        }
        return std::optional<std::string>(std::in_place, characters, length);
    }
    std::optional<std::string> stringForColumn(std::string_view columnName) {
        return stringForColumnIndex(columnIndexForName(columnName));
    }
    std::optional<platform::Date> dateForColumnIndex(int columnIndex) const;
    std::optional<platform::Date> dateForColumn(std::string_view columnName) {
        return dateForColumnIndex(columnIndexForName(columnName));
    }
    // A copy; absent for NULL and for a zero-length value.
    [[gnu::always_inline]] std::optional<platform::Bytes> dataForColumnIndex(
        int columnIndex) const {
        sqlite3_stmt* statement = readable(columnIndex);
        if (!statement) return std::nullopt;
        // Null for NULL and for a zero-length value alike, which both read as absent.
        const auto* bytes =
            static_cast<const uint8_t*>(sqlite3_column_blob(statement, columnIndex));
        if (!bytes) return std::nullopt;
        const auto length = static_cast<size_t>(sqlite3_column_bytes(statement, columnIndex));
        return std::optional<platform::Bytes>(std::in_place, bytes, bytes + length);
    }
    std::optional<platform::Bytes> dataForColumn(std::string_view columnName) {
        return dataForColumnIndex(columnIndexForName(columnName));
    }
    // The engine's own buffer, valid until the next step, reset or close.
    std::optional<std::span<const uint8_t>> dataNoCopyForColumnIndex(int columnIndex) const;
    std::optional<std::span<const uint8_t>> dataNoCopyForColumn(std::string_view columnName) {
        return dataNoCopyForColumnIndex(columnIndexForName(columnName));
    }
    // The engine's own zero-terminated text, or null; valid until the next step, reset or close.
    const char* UTF8StringForColumnIndex(int columnIndex) const;
    const char* UTF8StringForColumnName(std::string_view columnName) {
        return UTF8StringForColumnIndex(columnIndexForName(columnName));
    }
    bool columnIndexIsNull(int columnIndex) const;
    bool columnIsNull(std::string_view columnName) {
        return columnIndexIsNull(columnIndexForName(columnName));
    }
    // A number (64-bit integer or double), bytes or text by the column's type; the null marker
    // when there is nothing to give.
    platform::Value objectForColumnIndex(int columnIndex) const;
    platform::Value objectForColumnName(std::string_view columnName) {
        return objectForColumnIndex(columnIndexForName(columnName));
    }
    platform::Value operator[](int columnIndex) const { return objectForColumnIndex(columnIndex); }
    platform::Value operator[](std::string_view columnName) {
        return objectForColumnName(columnName);
    }

    // ---- Whole rows ----
    // Column name as written -> object; absent (logged) without a current row.
    std::optional<platform::Dictionary> resultDictionary() const;
    // The older form: keyed by the lowercased names.
    std::optional<platform::Dictionary> resultDict();
    // Hands each non-NULL column's text to the setter under the column's name.
    void kvcMagic(const KeyValueSetter& setValueForKey) const;

  private:
    [[noreturn]] static void refuseStatementInUse();
    // Rewinds and lets go of the statement, then of the connection.
    void release();
    int findColumnIndexForName(std::string_view columnName);
    sqlite3_stmt* handle() const { return m_statement ? m_statement->statement() : nullptr; }
    // The handle when the index may be read, else null (a negative index, a closed set).
    sqlite3_stmt* readable(int columnIndex) const { return columnIndex < 0 ? nullptr : handle(); }
    // What a step that gave no row means: logged, handed to the caller, the set closed.
    void finishStepping(int rc, std::optional<platform::Error>* error);
    bool hasCurrentRowData() const;

    std::shared_ptr<SQDatabase> m_parentDB;
    std::shared_ptr<SQStatement> m_statement;
    // Null while the set names its statement's own text; after closing, that text, or else the
    // cached statement that holds it.
    std::shared_ptr<const std::string> m_query;
    std::shared_ptr<SQStatement> m_textStatement;
    std::optional<std::map<std::string, int>> m_columnNameToIndexMap;
    // Names as the caller spells them, resolved once per result set. A row is usually read with
    // the same names in the same order, so the name after the last one found is tried first.
    struct SpelledColumn {
        std::string name;
        int index;
        const SpelledColumn* following;  // the next one in the list, the first after the last
    };
    std::vector<SpelledColumn> m_spelledColumns;
    const SpelledColumn* m_nextSpelledColumn = nullptr;
};
