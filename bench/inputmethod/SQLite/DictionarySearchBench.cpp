// One candidate search as a key press makes it (the dictionary's connection kept open, one query
// of at most nine rows) on the generated dictionary, for keys of one, two and four letters. Each is
// paired with the same work done directly through the SQLite C API (same statement, same flags, the
// columns copied into strings), run right after it, so the ratio is the layers' cost.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "bench/inputmethod/RawDictionaryQuery.h"
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
        if (rawdictionary::search(dictionaryPath(), keys[next++ % keys.size()]) == 0)
            state.SkipWithError("no rows");
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
