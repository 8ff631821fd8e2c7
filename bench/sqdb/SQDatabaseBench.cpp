// 100,000 rows written in one transaction with bound arguments and read back with typed getters,
// once through SQDatabase / SQResultSet and once through the SQLite C API doing the same work
// (text bound as a copy, text read into a std::string). The ratio of the two is the layer's cost.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"

namespace {

constexpr int kRows = 100000;

std::string databasePath() {
    return (std::filesystem::temp_directory_path() /
            ("sqdb-bench-" + std::to_string(getpid()) + ".db"))
        .string();
}

std::string nameFor(int i) {
    return "note number " + std::to_string(i);
}

// A fresh file with an empty table; the disk is taken out of the measurement.
void prepareFile(const std::string& path) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "create table t (id integer, name text, value real)", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
}

void openForBench(sqlite3* db) {
    sqlite3_exec(db, "pragma synchronous = off; pragma journal_mode = memory", nullptr, nullptr,
                 nullptr);
}

void insertThroughSQDatabase(SQDatabase& db) {
    db.beginTransaction();
    for (int i = 0; i < kRows; ++i) {
        db.executeUpdate("insert into t (id, name, value) values (?, ?, ?)", i, nameFor(i),
                         i * 0.5);
    }
    db.commit();
}

int64_t readThroughSQDatabase(SQDatabase& db) {
    int64_t sum = 0;
    auto rs = db.executeQuery("select id, name, value from t");
    while (rs->next()) {
        sum += rs->intForColumnIndex(0);
        sum += static_cast<int64_t>(rs->stringForColumnIndex(1)->size());
        sum += static_cast<int64_t>(rs->doubleForColumnIndex(2));
    }
    return sum;
}

void insertThroughSQLite(sqlite3* db) {
    sqlite3_exec(db, "begin exclusive transaction", nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "insert into t (id, name, value) values (?, ?, ?)", -1, &statement,
                       nullptr);
    for (int i = 0; i < kRows; ++i) {
        std::string name = nameFor(i);
        sqlite3_bind_int(statement, 1, i);
        sqlite3_bind_text(statement, 2, name.data(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_double(statement, 3, i * 0.5);
        sqlite3_step(statement);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    sqlite3_exec(db, "commit transaction", nullptr, nullptr, nullptr);
}

int64_t readThroughSQLite(sqlite3* db) {
    int64_t sum = 0;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "select id, name, value from t", -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        sum += sqlite3_column_int(statement, 0);
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        std::string name(text, static_cast<size_t>(sqlite3_column_bytes(statement, 1)));
        sum += static_cast<int64_t>(name.size());
        sum += static_cast<int64_t>(sqlite3_column_double(statement, 2));
    }
    sqlite3_finalize(statement);
    return sum;
}

void BM_InsertAndRead_SQDatabase(benchmark::State& state) {
    const bool cached = state.range(0) != 0;
    std::string path = databasePath();
    for (auto _ : state) {
        state.PauseTiming();
        prepareFile(path);
        auto db = SQDatabase::databaseWithPath(path);
        db->open();
        openForBench(db->sqliteHandle());
        db->setShouldCacheStatements(cached);
        state.ResumeTiming();

        insertThroughSQDatabase(*db);
        benchmark::DoNotOptimize(readThroughSQDatabase(*db));

        state.PauseTiming();
        db->close();
        state.ResumeTiming();
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_InsertAndRead_SQDatabase)
    ->ArgName("cached")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

void BM_InsertAndRead_SQLite(benchmark::State& state) {
    std::string path = databasePath();
    for (auto _ : state) {
        state.PauseTiming();
        prepareFile(path);
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        openForBench(db);
        state.ResumeTiming();

        insertThroughSQLite(db);
        benchmark::DoNotOptimize(readThroughSQLite(db));

        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_InsertAndRead_SQLite)->Unit(benchmark::kMillisecond);

// The read half alone, over one file written once.
void BM_Read_SQDatabase(benchmark::State& state) {
    std::string path = databasePath();
    prepareFile(path);
    auto db = SQDatabase::databaseWithPath(path);
    db->open();
    openForBench(db->sqliteHandle());
    insertThroughSQDatabase(*db);
    for (auto _ : state) benchmark::DoNotOptimize(readThroughSQDatabase(*db));
    db->close();
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Read_SQDatabase)->Unit(benchmark::kMillisecond);

void BM_Read_SQLite(benchmark::State& state) {
    std::string path = databasePath();
    prepareFile(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    openForBench(db);
    insertThroughSQLite(db);
    for (auto _ : state) benchmark::DoNotOptimize(readThroughSQLite(db));
    sqlite3_close(db);
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Read_SQLite)->Unit(benchmark::kMillisecond);

}  // namespace
