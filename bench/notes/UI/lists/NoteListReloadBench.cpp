// Reloading the note list of a group of 1,000 notes: the query through the notes store, and the
// cells of the rows in sight laid out and drawn. The query is measured beside the raw SQLite C API
// running the same statement, the two alternating within one run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "notes/UI/NoteViewController.h"
#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/TableView.h"
#include "platform/ui/View.h"
#include "tests/support/TemporaryFolder.h"

namespace {

const char* const Words[] = {"ᠮᠣᠩᠭᠣᠯ", "ᠪᠢᠴᠢᠭ", "ᠰᠠᠶᠢᠨ", "ᠲᠡᠮᠳᠡᠭᠯᠡᠯ", "ᠡᠷᠳᠡᠮ", "ᠰᠣᠶᠣᠯ", "ᠦᠨ", "ᠳᠤ"};

// A data folder with 1,000 work notes, made once for the whole run.
struct Fixture {
    TemporaryFolder folder{"zelvo-bench"};
    Fixture() {
        setenv("ZELVO_DATA_DIR", folder.path().c_str(), 1);
        setenv("ZELVO_RESOURCES", ZELVO_BENCH_RESOURCES, 1);
        platform::Bundle::setMain("zelvo", "org.zelvo.notes");
        DBUtil::initDBDirectory();
        for (int i = 0; i < 1000; ++i) {
            std::string summary;
            for (int w = 0; w < 12 + i % 20; ++w) summary += std::string(Words[(i + w) % 8]) + " ";
            NoteObject note;
            note.setN_summary(summary);
            note.setN_text("<p>" + summary + "</p>");
            note.setN_date(platform::Date::dateWithTimeIntervalSince1970(1.7e9 + i * 60));
            note.setN_group(std::string("group_work"));
            note.setN_isRecent(i % 2);
            DBUtil::insertNote(&note);
        }
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// The same rows as the store gives them (one dictionary per note), read with the C API alone.
std::vector<platform::Dictionary> rawQuery(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db,
                       "select n_id,n_summary,n_date,n_group,n_text from note where n_group=? "
                       "order by n_date desc",
                       -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, "group_work", -1, SQLITE_STATIC);
    auto text = [&](int column) {
        const unsigned char* value = sqlite3_column_text(statement, column);
        return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
    };
    std::vector<platform::Dictionary> rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        platform::Dictionary row;
        row["n_id"] = sqlite3_column_int(statement, 0);
        row["n_summary"] = text(1);
        row["n_date"] =
            platform::Date::dateWithTimeIntervalSince1970(sqlite3_column_double(statement, 2));
        row["n_group"] = text(3);
        row["n_text"] = text(4);
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// The goal: the list shown, reloaded and drawn as the window would draw it.
void BM_ReloadThousandNotes(benchmark::State& state) {
    fixture();
    zelvo::NoteViewController list;
    list.setNoteFlag(std::string("group_work"));
    auto view = list.viewPointer();
    view->setFrame(platform::Rect(0, 0, 240, 700));
    auto context = platform::GraphicsContext::imageContext(240, 700);
    for (auto _ : state) {
        list.reloaNote(std::string("group_work"));
        view->displayInContext(*context);
    }
    state.counters["rows"] = double(list.notes().size());
    state.counters["cells"] = double(list.noteTableView()->subviews().size());
}
BENCHMARK(BM_ReloadThousandNotes)->Unit(benchmark::kMillisecond);

// The query alone, through the store and raw, alternating in each iteration.
void BM_QueryStoreVersusRaw(benchmark::State& state) {
    fixture();
    std::string path = *DBUtil::databasePath();
    double store = 0, raw = 0;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(DBUtil::getNotesWithFlag(std::string("group_work")));
        auto t1 = Clock::now();
        benchmark::DoNotOptimize(rawQuery(path));
        auto t2 = Clock::now();
        store += std::chrono::duration<double, std::milli>(t1 - t0).count();
        raw += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    double n = double(state.iterations());
    state.counters["store_ms"] = store / n;
    state.counters["raw_ms"] = raw / n;
    state.counters["ratio"] = raw > 0 ? store / raw : 0;
}
BENCHMARK(BM_QueryStoreVersusRaw)->Unit(benchmark::kMillisecond);

}  // namespace
