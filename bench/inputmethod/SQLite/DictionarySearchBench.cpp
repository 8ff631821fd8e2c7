// One candidate search as a key press makes it (open the dictionary, one query of at most nine
// rows, close) on the generated dictionary, for keys of one, two and four letters. Each is paired
// with the same work done directly through the SQLite C API (same statement, same flags, the
// columns copied into strings), run right after it, so the ratio is the layers' cost.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <array>
#include <string>
#include <vector>

#include "inputmethod/SQLite/DBUtil.h"
#include "platform/foundation/Bundle.h"

namespace {

// Among the busiest prefixes of the list: "h" opens the largest table, "ha" the largest group of
// two letters.
const std::vector<std::vector<std::string>> kKeys = {
    {"h", "s", "a", "b"},
    {"ha", "ba", "si", "bi"},
    {"bayi", "sayi", "hvga", "yabv"},
};

const std::string& dictionaryPath() {
    static const std::string path =
        std::string(QUILLORA_BUILD_RESOURCES) + "/kem_accurate_query.zvk";
    return path;
}

void setUp() {
    static bool done = [] {
        setenv("QUILLORA_RESOURCES", QUILLORA_BUILD_RESOURCES, 1);
        platform::Bundle::setMain("quillora", "bench.quillora");
        quillora::DBUtil::initDBDirectory();
        return true;
    }();
    (void)done;
}

// The statement the store writes for these keys (see keyCondition in DBUtil.cpp).
std::string statementFor(const std::string& letters) {
    std::string condition = letters.size() == 1 ? "+bqr_biclg like ?1 escape '\\'"
                            : letters.size() == 2
                                ? "substr(bqr_biclg, 1, 2) = ?2 collate nocase and "
                                  "bqr_biclg like ?1 escape '\\'"
                                : "bqr_biclg like ?1 escape '\\'";
    return "select id, char_word, giglgc, bqr_biclg from \"" + letters.substr(0, 1) + "\" where " +
           condition + " and length(char_word) > 0 order by active_order desc limit ?3 offset ?4";
}

size_t searchThroughSQLite(const std::string& letters) {
    sqlite3* db = nullptr;
    size_t found = 0;
    if (sqlite3_open_v2(dictionaryPath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
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
            sqlite3_finalize(statement);
        }
    }
    sqlite3_close(db);
    return found;
}

void BM_Search(benchmark::State& state) {
    setUp();
    const auto& keys = kKeys[state.range(0)];
    size_t next = 0;
    for (auto _ : state) {
        const std::string& key = keys[next++ % keys.size()];
        auto found = quillora::DBUtil::getWordsWithPrefixChar(key.substr(0, 1), key, 9, 0);
        if (found.empty()) state.SkipWithError("no rows");
        benchmark::DoNotOptimize(found);
    }
}

void BM_SearchRawSQLite(benchmark::State& state) {
    setUp();
    const auto& keys = kKeys[state.range(0)];
    size_t next = 0;
    for (auto _ : state) {
        if (searchThroughSQLite(keys[next++ % keys.size()]) == 0) state.SkipWithError("no rows");
    }
}

// Arguments 0, 1, 2: keys of one, two and four letters; each pair runs one after the other.
void registerAll() {
    for (int length = 0; length < 3; ++length) {
        benchmark::RegisterBenchmark("BM_Search", BM_Search)
            ->Arg(length)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("BM_SearchRawSQLite", BM_SearchRawSQLite)
            ->Arg(length)
            ->Unit(benchmark::kMicrosecond);
    }
}

const bool registered = (registerAll(), true);

}  // namespace
