// Conveniences of SQDatabase built on the engine and the query operations.
#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"
#include "sqdb/SQStatement.h"

namespace {

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The code points of UTF-8 text; a byte that starts no valid sequence stands for itself.
std::vector<char32_t> codePoints(const std::string& text) {
    std::vector<char32_t> points;
    for (size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80           ? 1
                        : (lead >> 5) == 0x6  ? 2
                        : (lead >> 4) == 0xE  ? 3
                        : (lead >> 3) == 0x1E ? 4
                                              : 0;
        bool valid = length > 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        }
        if (!valid) {
            points.push_back(lead);
            ++i;
            continue;
        }
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        points.push_back(point);
        i += length;
    }
    return points;
}

}  // namespace

// ---- Single values ----

template <typename T, typename Reader>
T SQDatabase::singleValue(const std::string& sql, std::span<const platform::Value> list, T fallback,
                          Reader read) {
    std::unique_ptr<SQResultSet> rs = executeQuery(sql, nullptr, nullptr, list);
    // A set that gave no row has closed itself.
    if (!rs || !rs->next()) return fallback;
    T value = read(*rs);
    rs->close();
    rs->setParentDB(nullptr);
    return value;
}

std::optional<std::string> SQDatabase::stringForQueryArguments(
    const std::string& sql, std::span<const platform::Value> list) {
    return singleValue<std::optional<std::string>>(
        sql, list, std::nullopt, [](SQResultSet& rs) { return rs.stringForColumnIndex(0); });
}

int SQDatabase::intForQueryArguments(const std::string& sql,
                                     std::span<const platform::Value> list) {
    return singleValue(sql, list, 0, [](SQResultSet& rs) { return rs.intForColumnIndex(0); });
}

int64_t SQDatabase::longForQueryArguments(const std::string& sql,
                                          std::span<const platform::Value> list) {
    return singleValue<int64_t>(sql, list, 0,
                                [](SQResultSet& rs) { return rs.longForColumnIndex(0); });
}

bool SQDatabase::boolForQueryArguments(const std::string& sql,
                                       std::span<const platform::Value> list) {
    return singleValue(sql, list, false, [](SQResultSet& rs) { return rs.boolForColumnIndex(0); });
}

double SQDatabase::doubleForQueryArguments(const std::string& sql,
                                           std::span<const platform::Value> list) {
    return singleValue(sql, list, 0.0, [](SQResultSet& rs) { return rs.doubleForColumnIndex(0); });
}

std::optional<platform::Bytes> SQDatabase::dataForQueryArguments(
    const std::string& sql, std::span<const platform::Value> list) {
    return singleValue<std::optional<platform::Bytes>>(
        sql, list, std::nullopt, [](SQResultSet& rs) { return rs.dataForColumnIndex(0); });
}

std::optional<platform::Date> SQDatabase::dateForQueryArguments(
    const std::string& sql, std::span<const platform::Value> list) {
    return singleValue<std::optional<platform::Date>>(
        sql, list, std::nullopt, [](SQResultSet& rs) { return rs.dateForColumnIndex(0); });
}

// ---- Tables, columns and schema ----

bool SQDatabase::tableExists(const std::string& tableName) {
    auto rs =
        executeQuery("select [sql] from sqlite_master where [type] = 'table' and lower(name) = ?",
                     lowercased(tableName));
    if (!rs) return false;
    bool found = rs->next();
    rs->close();
    return found;
}

std::unique_ptr<SQResultSet> SQDatabase::getSchema() {
    return executeQuery(
        "SELECT type, name, tbl_name, rootpage, sql FROM (SELECT * FROM sqlite_master UNION ALL "
        "SELECT * FROM sqlite_temp_master) WHERE type != 'meta' AND name NOT LIKE 'sqlite_%' "
        "ORDER BY tbl_name, type DESC, name");
}

std::unique_ptr<SQResultSet> SQDatabase::getTableSchema(const std::string& tableName) {
    // The pragma takes no parameter, so the name is quoted: a "'" in it must not end the text.
    return executeQuery("pragma table_info('" + SQDBEscapeSavePointName(tableName) + "')");
}

bool SQDatabase::columnExistsInTableWithName(const std::string& columnName,
                                             const std::string& tableName) {
    std::string wanted = lowercased(columnName);
    auto rs = getTableSchema(lowercased(tableName));
    if (!rs) return false;
    bool found = false;
    while (!found && rs->next()) {
        found = lowercased(rs->stringForColumn("name").value_or("")) == wanted;
    }
    rs->close();
    return found;
}

// ---- File header fields ----

uint32_t SQDatabase::headerField(const char* pragma) {
    auto rs = executeQuery(pragma);
    if (!rs) return 0;
    uint32_t value = 0;
    if (rs->next()) value = static_cast<uint32_t>(rs->longLongIntForColumnIndex(0));
    rs->close();
    return value;
}

void SQDatabase::setHeaderField(const char* format, uint32_t value) {
    // Printed signed: SQLite keeps the same 32 bits.
    auto rs = executeQuery(platform::stringWithFormat(format, static_cast<int32_t>(value)));
    if (!rs) return;
    rs->next();
    rs->close();
}

uint32_t SQDatabase::applicationID() {
    return headerField("pragma application_id");
}

void SQDatabase::setApplicationID(uint32_t appID) {
    setHeaderField("pragma application_id=%d", appID);
}

uint32_t SQDatabase::userVersion() {
    return headerField("pragma user_version");
}

void SQDatabase::setUserVersion(uint32_t version) {
    setHeaderField("pragma user_version = %d", version);
}

std::string SQDatabase::applicationIDString() {
    uint32_t appID = applicationID();
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        auto byte = static_cast<unsigned char>(appID >> shift);
        if (byte < 0x80) {
            text += static_cast<char>(byte);
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

void SQDatabase::setApplicationIDString(const std::string& string) {
    std::vector<char32_t> points = codePoints(string);
    if (points.size() != 4) {
        platform::logf(
            "setApplicationIDString: string passed is not exactly 4 chars long. (was %ld)",
            static_cast<long>(points.size()));
    }
    uint32_t appID = 0;
    for (size_t i = 0; i < 4; ++i) {
        char32_t point = i < points.size() ? points[i] : 0;
        // Beyond Latin-1 a character has no byte of its own.
        appID = (appID << 8) | (point <= 0xFF ? point : '?');
    }
    setApplicationID(appID);
}

// ---- Checking ----

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
    sqlite3_stmt* prepared = nullptr;
    bool valid = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &prepared, nullptr) == SQLITE_OK;
    SQStatementHandle statement(prepared);
    if (!valid && error) {
        *error = platform::Error::errorWithDomain(platform::CocoaErrorDomain, lastErrorCode(),
                                                  lastErrorMessage());
    }
    return valid;
}
