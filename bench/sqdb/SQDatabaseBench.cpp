// The database layer against the SQLite C API doing the same work, and against a thin C++
// wrapper, on one set of workloads:
//   Insert            100,000 rows (integer, ~40-byte text, real, 16-byte blob) in one
//                     transaction through one cached statement
//   ReadByName        the rows read back, columns named
//   ReadByIndex       the rows read back, columns numbered
//   InsertAndRead     the three above in a row
//   PointQuery        10,000 lookups of one row by key
//   SmallTransactions 1,000 transactions of one insert each
// The raw side binds text and blobs as raw code does (without a copy) and, like the layer's
// getters, reads text and blobs into values of its own. Run with the defaults of main() below:
// 21 repetitions of every benchmark, shuffled so that the peers interleave; compare medians.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/InterleavedRun.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"

#ifdef MW_BENCH_SQLITECPP
#include <SQLiteCpp/SQLiteCpp.h>
#endif

// Each peer's workloads are calls of their own ([[gnu::noinline]]), so that instructions can be
// counted for one alone, without the setup around it, e.g. with valgrind --tool=callgrind
// --toggle-collect='*::Layer::insert()' and --benchmark_filter=^Insert/layer/.

namespace {

constexpr int kRows = 100000;
constexpr int kPointQueries = 10000;
constexpr int kSmallTransactions = 1000;

// Held as the layer's users hold their statements: its calls take std::string.
const std::string kInsert = "insert into t (id, name, value, data) values (?, ?, ?, ?)";
const std::string kSelectAll = "select id, name, value, data from t";
const std::string kSelectOne = "select name, value from t where id = ?";

struct Row {
    int64_t id;
    std::string name;
    double value;
    platform::Bytes data;
};

const std::vector<Row>& rows() {
    static const std::vector<Row> made = [] {
        std::vector<Row> list;
        list.reserve(kRows);
        for (int i = 0; i < kRows; ++i) {
            std::string name = "note " + std::to_string(i) + " written on a quiet evening";
            name.resize(40, '.');
            platform::Bytes data(16);
            for (size_t k = 0; k < data.size(); ++k) data[k] = static_cast<uint8_t>(i + k);
            list.push_back({i, std::move(name), i * 0.5, std::move(data)});
        }
        return list;
    }();
    return made;
}

std::vector<int64_t> lookupKeys() {
    std::vector<int64_t> keys;
    uint64_t x = 88172645463325252ull;
    for (int i = 0; i < kPointQueries; ++i) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        keys.push_back(static_cast<int64_t>(x % kRows));
    }
    return keys;
}

// A fresh file with an empty table; the disk is kept out of the measurement.
std::string freshFile() {
    // In memory-backed storage where there is one: the disk is not what is measured.
    std::filesystem::path folder = std::filesystem::exists("/dev/shm")
                                       ? std::filesystem::path("/dev/shm")
                                       : std::filesystem::temp_directory_path();
    std::string path = (folder / ("sqdb-bench-" + std::to_string(getpid()) + ".db")).string();
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db,
                 "pragma journal_mode = memory; create table t (id integer primary key, name "
                 "text, value real, data blob)",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

// What every workload reads is summed, so that nothing is optimised away.
struct Sink {
    int64_t sum = 0;
    void take(int64_t v) { sum += v; }
    void take(double v) { sum += static_cast<int64_t>(v); }
    void take(const std::string& s) { sum += static_cast<int64_t>(s.size()) + s[0]; }
    void take(const platform::Bytes& b) { sum += static_cast<int64_t>(b.size()) + b[15]; }
};

// ---- The SQLite C API ----

class Raw {
  public:
    explicit Raw(const std::string& path) {
        sqlite3_open(path.c_str(), &m_db);
        sqlite3_exec(m_db, "pragma synchronous = off", nullptr, nullptr, nullptr);
    }
    ~Raw() {
        for (sqlite3_stmt* s : {m_insert, m_select, m_begin, m_commit}) sqlite3_finalize(s);
        sqlite3_close(m_db);
    }

    [[gnu::noinline]] void insert() {
        step(m_begin ? m_begin : (m_begin = prepare("begin exclusive transaction")));
        for (const Row& row : rows()) insertRow(row);
        step(m_commit ? m_commit : (m_commit = prepare("commit transaction")));
    }
    [[gnu::noinline]] void readByName(Sink& sink) {
        sqlite3_stmt* s = prepare(kSelectAll);
        // Raw code finds each named column once per statement.
        int id = columnNamed(s, "id"), name = columnNamed(s, "name");
        int value = columnNamed(s, "value"), data = columnNamed(s, "data");
        readRows(s, sink, id, name, value, data);
    }
    [[gnu::noinline]] void readByIndex(Sink& sink) {
        readRows(prepare(kSelectAll), sink, 0, 1, 2, 3);
    }
    [[gnu::noinline]] void pointQueries(const std::vector<int64_t>& keys, Sink& sink) {
        if (!m_select) m_select = prepare(kSelectOne);
        for (int64_t key : keys) {
            sqlite3_bind_int64(m_select, 1, key);
            if (sqlite3_step(m_select) == SQLITE_ROW) {
                sink.take(text(m_select, 0));
                sink.take(sqlite3_column_double(m_select, 1));
            }
            sqlite3_reset(m_select);
        }
    }
    [[gnu::noinline]] void smallTransactions() {
        if (!m_begin) m_begin = prepare("begin exclusive transaction");
        if (!m_commit) m_commit = prepare("commit transaction");
        for (int i = 0; i < kSmallTransactions; ++i) {
            step(m_begin);
            insertRow(rows()[static_cast<size_t>(i)]);
            step(m_commit);
        }
    }

  private:
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr);
        return s;
    }
    static void step(sqlite3_stmt* s) {
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    void insertRow(const Row& row) {
        if (!m_insert) m_insert = prepare(kInsert);
        sqlite3_bind_int64(m_insert, 1, row.id);
        sqlite3_bind_text(m_insert, 2, row.name.data(), static_cast<int>(row.name.size()),
                          SQLITE_STATIC);
        sqlite3_bind_double(m_insert, 3, row.value);
        sqlite3_bind_blob(m_insert, 4, row.data.data(), static_cast<int>(row.data.size()),
                          SQLITE_STATIC);
        step(m_insert);
    }
    static int columnNamed(sqlite3_stmt* s, const char* name) {
        for (int i = 0; i < sqlite3_column_count(s); ++i) {
            if (std::strcmp(sqlite3_column_name(s, i), name) == 0) return i;
        }
        return -1;
    }
    static std::string text(sqlite3_stmt* s, int i) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
        return std::string(t, static_cast<size_t>(sqlite3_column_bytes(s, i)));
    }
    static void readRows(sqlite3_stmt* s, Sink& sink, int id, int name, int value, int data) {
        while (sqlite3_step(s) == SQLITE_ROW) {
            sink.take(static_cast<int64_t>(sqlite3_column_int64(s, id)));
            sink.take(text(s, name));
            sink.take(sqlite3_column_double(s, value));
            const auto* b = static_cast<const uint8_t*>(sqlite3_column_blob(s, data));
            sink.take(platform::Bytes(b, b + sqlite3_column_bytes(s, data)));
        }
        sqlite3_finalize(s);
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_select = nullptr;
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
};

// ---- The layer ----

class Layer {
  public:
    explicit Layer(const std::string& path) : m_db(SQDatabase::databaseWithPath(path)) {
        m_db->open();
        m_db->setShouldCacheStatements(true);
        m_db->executeUpdate("pragma synchronous = off");
    }
    ~Layer() { m_db->close(); }

    [[gnu::noinline]] void insert() {
        m_db->beginTransaction();
        for (const Row& row : rows()) insertRow(row);
        m_db->commit();
    }
    [[gnu::noinline]] void readByName(Sink& sink) {
        auto rs = m_db->executeQuery(kSelectAll);
        while (rs->next()) {
            sink.take(static_cast<int64_t>(rs->longLongIntForColumn("id")));
            sink.take(*rs->stringForColumn("name"));
            sink.take(rs->doubleForColumn("value"));
            sink.take(*rs->dataForColumn("data"));
        }
    }
    [[gnu::noinline]] void readByIndex(Sink& sink) {
        auto rs = m_db->executeQuery(kSelectAll);
        while (rs->next()) {
            sink.take(static_cast<int64_t>(rs->longLongIntForColumnIndex(0)));
            sink.take(*rs->stringForColumnIndex(1));
            sink.take(rs->doubleForColumnIndex(2));
            sink.take(*rs->dataForColumnIndex(3));
        }
    }
    [[gnu::noinline]] void pointQueries(const std::vector<int64_t>& keys, Sink& sink) {
        for (int64_t key : keys) {
            auto rs = m_db->executeQuery(kSelectOne, key);
            if (rs->next()) {
                sink.take(*rs->stringForColumnIndex(0));
                sink.take(rs->doubleForColumnIndex(1));
            }
            rs->close();
        }
    }
    [[gnu::noinline]] void smallTransactions() {
        for (int i = 0; i < kSmallTransactions; ++i) {
            m_db->beginTransaction();
            insertRow(rows()[static_cast<size_t>(i)]);
            m_db->commit();
        }
    }

  private:
    void insertRow(const Row& row) {
        m_db->executeUpdate(kInsert, row.id, row.name, row.value, row.data);
    }

    std::shared_ptr<SQDatabase> m_db;
};

#ifdef MW_BENCH_SQLITECPP
// ---- A thin C++ wrapper, used as its documentation shows ----

class Wrapper {
  public:
    explicit Wrapper(const std::string& path)
        : m_db(path, SQLite::OPEN_READWRITE), m_insert(m_db, kInsert), m_select(m_db, kSelectOne) {
        m_db.exec("pragma synchronous = off");
    }

    [[gnu::noinline]] void insert() {
        SQLite::Transaction transaction(m_db);
        for (const Row& row : rows()) insertRow(row);
        transaction.commit();
    }
    [[gnu::noinline]] void readByName(Sink& sink) {
        SQLite::Statement query(m_db, kSelectAll);
        while (query.executeStep()) {
            sink.take(static_cast<int64_t>(query.getColumn("id").getInt64()));
            sink.take(query.getColumn("name").getString());
            sink.take(query.getColumn("value").getDouble());
            SQLite::Column data = query.getColumn("data");
            const auto* b = static_cast<const uint8_t*>(data.getBlob());
            sink.take(platform::Bytes(b, b + data.getBytes()));
        }
    }
    [[gnu::noinline]] void readByIndex(Sink& sink) {
        SQLite::Statement query(m_db, kSelectAll);
        while (query.executeStep()) {
            sink.take(static_cast<int64_t>(query.getColumn(0).getInt64()));
            sink.take(query.getColumn(1).getString());
            sink.take(query.getColumn(2).getDouble());
            SQLite::Column data = query.getColumn(3);
            const auto* b = static_cast<const uint8_t*>(data.getBlob());
            sink.take(platform::Bytes(b, b + data.getBytes()));
        }
    }
    [[gnu::noinline]] void pointQueries(const std::vector<int64_t>& keys, Sink& sink) {
        for (int64_t key : keys) {
            m_select.reset();
            m_select.bind(1, static_cast<int64_t>(key));
            if (m_select.executeStep()) {
                sink.take(m_select.getColumn(0).getString());
                sink.take(m_select.getColumn(1).getDouble());
            }
        }
        m_select.reset();
    }
    [[gnu::noinline]] void smallTransactions() {
        for (int i = 0; i < kSmallTransactions; ++i) {
            SQLite::Transaction transaction(m_db);
            insertRow(rows()[static_cast<size_t>(i)]);
            transaction.commit();
        }
    }

  private:
    void insertRow(const Row& row) {
        m_insert.bind(1, static_cast<int64_t>(row.id));
        m_insert.bindNoCopy(2, row.name);
        m_insert.bind(3, row.value);
        m_insert.bindNoCopy(4, row.data.data(), static_cast<int>(row.data.size()));
        m_insert.exec();
        m_insert.reset();
    }

    SQLite::Database m_db;
    SQLite::Statement m_insert;
    SQLite::Statement m_select;
};
#endif

// ---- Workloads: the file is made and filled outside the measurement ----

template <typename Peer>
void Insert(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::string path = freshFile();
        {
            Peer peer(path);
            state.ResumeTiming();
            peer.insert();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

template <typename Peer, void (Peer::*ReadRows)(Sink&)>
void Read(benchmark::State& state) {
    std::string path = freshFile();
    Raw(path).insert();
    Peer peer(path);
    Sink sink;
    for (auto _ : state) (peer.*ReadRows)(sink);
    benchmark::DoNotOptimize(sink.sum);
}

template <typename Peer>
void InsertAndRead(benchmark::State& state) {
    Sink sink;
    for (auto _ : state) {
        state.PauseTiming();
        std::string path = freshFile();
        {
            Peer peer(path);
            state.ResumeTiming();
            peer.insert();
            peer.readByName(sink);
            peer.readByIndex(sink);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(sink.sum);
}

template <typename Peer>
void PointQuery(benchmark::State& state) {
    std::string path = freshFile();
    Raw(path).insert();
    Peer peer(path);
    std::vector<int64_t> keys = lookupKeys();
    Sink sink;
    for (auto _ : state) peer.pointQueries(keys, sink);
    benchmark::DoNotOptimize(sink.sum);
}

template <typename Peer>
void SmallTransactions(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::string path = freshFile();
        {
            Peer peer(path);
            state.ResumeTiming();
            peer.smallTransactions();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

template <typename Peer>
void registerPeer(const std::string& name) {
    auto add = [&](const std::string& workload, void (*run)(benchmark::State&)) {
        benchmark::RegisterBenchmark((workload + "/" + name).c_str(), run)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.2);
    };
    add("Insert", Insert<Peer>);
    add("ReadByName", Read<Peer, &Peer::readByName>);
    add("ReadByIndex", Read<Peer, &Peer::readByIndex>);
    add("InsertAndRead", InsertAndRead<Peer>);
    add("PointQuery", PointQuery<Peer>);
    add("SmallTransactions", SmallTransactions<Peer>);
}

}  // namespace

int main(int argc, char** argv) {
    rows();
    registerPeer<Raw>("raw");
    registerPeer<Layer>("layer");
#ifdef MW_BENCH_SQLITECPP
    registerPeer<Wrapper>("wrapper");
#endif
    return benchsupport::runInterleaved(argc, argv, 21);
}
