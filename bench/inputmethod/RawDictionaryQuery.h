#pragma once

// The dictionary store's candidate search done directly through the SQLite C API, the peer the
// benchmarks set the store beside, doing what the store does: the file's identity read, one
// read-only connection kept open with the statements already prepared, the statement the store
// writes for the letters typed (the same text and the same index choice by their number, see
// keyCondition in inputmethod/SQLite/DBUtil.cpp), at most nine rows, every column copied into a
// string.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <array>
#include <cctype>
#include <map>
#include <string>

namespace rawdictionary {

inline std::string statementFor(const std::string& letters) {
    const char table = static_cast<char>(std::tolower(static_cast<unsigned char>(letters[0])));
    std::string condition = letters.size() == 1 ? "+bqr_biclg like ?1 escape '\\'"
                            : letters.size() == 2
                                ? "substr(bqr_biclg, 1, 2) = ?2 collate nocase and "
                                  "bqr_biclg like ?1 escape '\\'"
                                : "bqr_biclg like ?1 escape '\\'";
    return std::string("select id, char_word, giglgc, bqr_biclg from \"") + table + "\" where " +
           condition + " and length(char_word) > 0 order by active_order desc limit ?3 offset ?4";
}

// The connection and its prepared statements, kept for the whole run.
struct OpenDictionary {
    sqlite3* db = nullptr;
    std::map<std::string, sqlite3_stmt*> statements;

    sqlite3_stmt* statement(const std::string& path, const std::string& sql) {
        if (!db && sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            return nullptr;
        sqlite3_stmt*& prepared = statements[sql];
        if (!prepared) sqlite3_prepare_v2(db, sql.c_str(), -1, &prepared, nullptr);
        return prepared;
    }
};

// How many rows the search found.
inline size_t search(const std::string& path, const std::string& letters) {
    static OpenDictionary open;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return 0;
    benchmark::DoNotOptimize(status);
    sqlite3_stmt* statement = open.statement(path, statementFor(letters));
    if (!statement) return 0;
    size_t found = 0;
    std::string pattern = letters + "%";
    sqlite3_bind_text(statement, 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, letters.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(statement, 3, 9);
    sqlite3_bind_int(statement, 4, 0);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::array<std::string, 4> row;
        for (int i = 0; i < 4; ++i) {
            const unsigned char* text = sqlite3_column_text(statement, i);
            row[i] = text ? reinterpret_cast<const char*>(text) : "";
        }
        benchmark::DoNotOptimize(row);
        ++found;
    }
    sqlite3_reset(statement);
    return found;
}

}  // namespace rawdictionary
