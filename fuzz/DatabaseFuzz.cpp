// The database layer on odd input. A printf-style format becomes the SQL its conversions make,
// each "?" with the argument it took; values of every kind read back as they were bound (a NaN is
// stored as NULL, and text that is not UTF-8 reads back as bytes only); a table with odd column
// names is read by those names in any ASCII case, and by indices inside and outside the row.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UTF8.h"
#include "sqdb/SQDatabase.h"

namespace {

using platform::Value;

Value oddValue(FuzzInput& in) {
    switch (in.byte() % 12) {
        case 0:
            return Value();
        case 1:
            return Value(bool(in.byte() & 1));
        case 2:
            return Value(static_cast<signed char>(in.byte()));
        case 3:
            return Value(static_cast<int>(in.number<uint32_t>()));
        case 4:
            return Value(in.number<uint32_t>());
        case 5:
            return Value(static_cast<int64_t>(in.number<uint64_t>()));
        case 6:
            return Value(in.number<uint64_t>());
        case 7:
            return Value(std::bit_cast<double>(in.number<uint64_t>()));
        case 8:
            return Value(std::bit_cast<float>(in.number<uint32_t>()));
        case 9:
            return Value(in.bytes(in.byte() % 24));
        case 10: {
            std::string raw = in.bytes(in.byte() % 24);
            return Value(platform::Bytes(raw.begin(), raw.end()));
        }
        default:
            return Value(platform::Date::dateWithTimeIntervalSince1970(
                static_cast<int32_t>(in.number<uint32_t>()) + in.byte() / 256.0));
    }
}

// The column holds the value as it was bound.
void checkReadBack(SQResultSet& row, int column, const Value& value) {
    using Type = Value::Type;
    switch (value.type()) {
        case Type::Null:
            FUZZ_CHECK(row.columnIndexIsNull(column));
            FUZZ_CHECK(row.objectForColumnIndex(column).isNull());
            break;
        case Type::Float:
        case Type::Double:
            if (std::isnan(value.doubleValue())) {
                FUZZ_CHECK(row.columnIndexIsNull(column));
            } else {
                FUZZ_CHECK(row.doubleForColumnIndex(column) == value.doubleValue());
                FUZZ_CHECK(row.objectForColumnIndex(column) == Value(value.doubleValue()));
            }
            break;
        case Type::Text: {
            const std::string& text = *value.text();
            FUZZ_CHECK(!row.columnIndexIsNull(column));
            // The bytes as they were, but a copy of none is none.
            auto bytes = row.dataForColumnIndex(column);
            if (text.empty())
                FUZZ_CHECK(!bytes);
            else
                FUZZ_CHECK(bytes && std::string(bytes->begin(), bytes->end()) == text);
            auto read = row.stringForColumnIndex(column);
            if (platform::utf8::isValid(text)) {
                FUZZ_CHECK(read == text);
                FUZZ_CHECK(row.objectForColumnIndex(column) == value);
            } else {
                FUZZ_CHECK(!read);
            }
            break;
        }
        case Type::Bytes:
            // An empty blob is no NULL, but a copy of none is none.
            FUZZ_CHECK(!row.columnIndexIsNull(column));
            if (value.bytes()->empty()) {
                FUZZ_CHECK(!row.dataForColumnIndex(column));
                FUZZ_CHECK(row.dataNoCopyForColumnIndex(column)->empty());
            } else {
                FUZZ_CHECK(row.dataForColumnIndex(column) == *value.bytes());
                FUZZ_CHECK(row.objectForColumnIndex(column) == value);
            }
            break;
        case Type::Date:
            FUZZ_CHECK(row.dateForColumnIndex(column) == *value.date());
            break;
        default:
            FUZZ_CHECK(row.longLongIntForColumnIndex(column) == value.longLongValue());
            FUZZ_CHECK(row.objectForColumnIndex(column) == Value(value.longLongValue()));
            break;
    }
}

// Formats made of whole conversions and plain text, with the SQL and the bound list a reader of
// the conversions expects; then any bytes at all, which must only come through whole.
void checkFormat(FuzzInput& in, const std::vector<Value>& arguments) {
    static const char* const pieces[] = {"%@",  "%s",  "%c",   "%d",   "%D",  "%i",  "%u",  "%U",
                                         "%ld", "%lu", "%lld", "%llu", "%hi", "%hu", "%qi", "%qu",
                                         "%f",  "%g",  "%%",   "x",    " ",   "'",   ","};
    constexpr size_t pieceCount = sizeof pieces / sizeof *pieces;
    std::string format, expected;
    size_t taken = 0, bound = 0;
    for (size_t n = in.byte() % 16; n > 0; --n) {
        std::string piece = pieces[in.byte() % pieceCount];
        format += piece;
        if (piece == "%%") {
            expected += '%';
        } else if (piece.size() > 1) {
            bool writesNull =
                piece == "%@" && taken < arguments.size() && arguments[taken].isNull();
            expected += writesNull ? "NULL" : "?";
            if (taken < arguments.size() && !writesNull) ++bound;
            if (taken < arguments.size()) ++taken;
        } else {
            expected += piece;
        }
    }
    std::string sql;
    SQDatabase::Arguments boundArguments;
    SQDatabase::extractSQL(format, arguments, sql, boundArguments);
    FUZZ_CHECK(sql == expected);
    FUZZ_CHECK(boundArguments.size() == bound);

    std::string raw = in.bytes(in.byte() % 32);
    sql.clear();
    boundArguments.clear();
    SQDatabase::extractSQL(raw, arguments, sql, boundArguments);
    FUZZ_CHECK(boundArguments.size() <= arguments.size());
    FUZZ_CHECK(boundArguments.size() <= size_t(std::count(sql.begin(), sql.end(), '?')));
    // Without a conversion the text stays as it is, but for NUL bytes (which no C format holds).
    if (raw.find('%') == std::string::npos) {
        raw.erase(std::remove(raw.begin(), raw.end(), '\0'), raw.end());
        FUZZ_CHECK(sql == raw && boundArguments.empty());
    }
}

std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string swappedCase(std::string name) {
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

void checkOddSchema(FuzzInput& in, SQDatabase& db, const std::vector<Value>& values) {
    std::vector<std::string> names;
    for (size_t n = 1 + in.byte() % 5; n > 0; --n) {
        std::string name = in.bytes(in.byte() % 8);
        name.erase(std::remove(name.begin(), name.end(), '\0'), name.end());
        names.push_back(name);
    }
    std::string columns, marks;
    for (const std::string& name : names) {
        columns += (columns.empty() ? "" : ", ") + quoted(name);
        marks += marks.empty() ? "?" : ", ?";
    }
    // Names SQLite refuses (the same twice in any ASCII case) make no table: nothing to read.
    if (!db.executeUpdate("CREATE TABLE odd(" + columns + ")")) return;
    SQDatabase::Arguments row;
    for (size_t i = 0; i < names.size(); ++i) row.push_back(values[i % values.size()]);
    FUZZ_CHECK(db.executeUpdate("INSERT INTO odd VALUES (" + marks + ")", row));

    auto set = db.executeQuery("SELECT * FROM odd");
    FUZZ_CHECK(set && set->next());
    const int count = set->columnCount();
    FUZZ_CHECK(count == int(names.size()));
    for (int i = 0; i < count; ++i) {
        FUZZ_CHECK(set->columnNameForIndex(i) == names[i]);
        FUZZ_CHECK(set->columnIndexForName(names[i]) == i);
        FUZZ_CHECK(set->columnIndexForName(swappedCase(names[i])) == i);
        FUZZ_CHECK(set->objectForColumnName(names[i]) == set->objectForColumnIndex(i));
        checkReadBack(*set, i, row[i]);
        // The schema is read as text: a name that is not UTF-8 has none there.
        if (platform::utf8::isValid(names[i]))
            FUZZ_CHECK(db.columnExistsInTableWithName(names[i], "odd"));
    }
    FUZZ_CHECK(set->resultDictionary()->size() == names.size());
    FUZZ_CHECK(set->resultDict()->size() == names.size());
    // Outside the row every reading is empty.
    for (int i : {-1, count, count + 1000}) {
        FUZZ_CHECK(set->columnIndexIsNull(i));
        FUZZ_CHECK(set->longLongIntForColumnIndex(i) == 0);
        FUZZ_CHECK(!set->stringForColumnIndex(i));
        FUZZ_CHECK(!set->dataForColumnIndex(i));
        FUZZ_CHECK(set->objectForColumnIndex(i).isNull());
        FUZZ_CHECK(!set->columnNameForIndex(i));
    }
    FUZZ_CHECK(!set->next());
    set->close();

    auto schema = db.getTableSchema("odd");
    FUZZ_CHECK(schema);
    size_t listed = 0;
    while (schema->next()) {
        FUZZ_CHECK(listed < names.size());
        if (platform::utf8::isValid(names[listed]))
            FUZZ_CHECK(schema->stringForColumn("name") == names[listed]);
        ++listed;
    }
    FUZZ_CHECK(listed == names.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::LogCapture quiet;
    quiet.clear();
    FuzzInput in{data, size};
    std::vector<Value> values;
    for (size_t n = 1 + in.byte() % 6; n > 0; --n) values.push_back(oddValue(in));

    checkFormat(in, values);

    auto db = SQDatabase::database();
    FUZZ_CHECK(db->open());
    db->setShouldCacheStatements(in.byte() & 1);
    FUZZ_CHECK(db->executeUpdate("CREATE TABLE t(v)"));
    for (const Value& value : values)
        FUZZ_CHECK(db->executeUpdate("INSERT INTO t VALUES (?)", value));
    auto stored = db->executeQuery("SELECT v FROM t ORDER BY rowid");
    FUZZ_CHECK(stored);
    for (const Value& value : values) {
        FUZZ_CHECK(stored->next());
        checkReadBack(*stored, 0, value);
    }
    FUZZ_CHECK(!stored->next());
    // A query's result set steps after its arguments are gone: they were copied.
    for (const Value& value : values) {
        std::unique_ptr<SQResultSet> set;
        {
            Value copy = value;
            set = db->executeQuery("SELECT ?", copy);
        }
        FUZZ_CHECK(set && set->next());
        checkReadBack(*set, 0, value);
        set->close();
        set = db->executeQuery("SELECT :v", platform::Dictionary{{"v", value}});
        FUZZ_CHECK(set && set->next());
        checkReadBack(*set, 0, value);
    }

    checkOddSchema(in, *db, values);
    db->close();
    return 0;
}
