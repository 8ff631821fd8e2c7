#pragma once

// The dictionary store's candidate search done directly through the SQLite C API, the peer the
// benchmarks set the store beside: a fresh read-only connection, the statement the store writes
// for the letters typed (the same text and the same index choice by their number, see
// keyCondition in inputmethod/SQLite/DBUtil.cpp), at most nine rows, every column copied into a
// string, the connection closed.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>
#include <cctype>
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

// How many rows the search found.
inline size_t search(const std::string& path, const std::string& letters) {
    sqlite3* db = nullptr;
    size_t found = 0;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, statementFor(letters).c_str(), -1, &statement, nullptr) ==
            SQLITE_OK) {
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
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return found;
}

}  // namespace rawdictionary
