// One keystroke to a candidate list on the full generated dictionary: the controller's dispatch,
// the dictionary search (one query on the connection the store keeps open),
// the transliteration and the merge, with the candidate window and the client as no-ops.
//
// The typing stream is realistic: dictionary words typed letter by letter, each ended by Space
// (a commit), one in five with a mistyped letter taken back by Delete. For every key of the
// stream the raw SQLite C API runs the same prefix query on a fresh connection, interleaved with
// the controller's key, so the ratio shows what the controller adds to the search itself.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/inputmethod/RawDictionaryQuery.h"
#include "inputmethod/InputMethodDelegate.h"
#include "inputmethod/MongolianInputController.h"
#include "inputmethod/SQLite/DBUtil.h"
#include "platform/foundation/Bundle.h"
#include "platform/imk/InputClient.h"

namespace {

using platform::imk::InputEvent;
using platform::imk::KeyCode;

class NullWindow : public quillora::CandidatePresenter {
  public:
    void showCandidates(const quillora::CandidateList& list, platform::Rect) override {
        shown = list.size();
        hidden = list.empty();
    }
    void hideCandidates() override { hidden = true; }
    bool isHidden() const override { return hidden; }
    std::size_t shown = 0;
    bool hidden = true;
};

class NullDelegate : public quillora::InputMethodDelegate {
  public:
    quillora::CandidatePresenter& candidateWindow() override { return window; }
    void messageNotify(const std::string&) override {}
    void withdrawNotice() override {}
    bool usingUSKbLayout() const override { return false; }
    std::shared_ptr<platform::Menu> menu() override { return nullptr; }
    void showPreferences() override {}
    void showAboutUs() override {}
    void feedback() override {}
    NullWindow window;
};

class NullClient : public platform::imk::InputClient {
  public:
    void insertText(const std::u16string& text, platform::Range) override {
        inserted += text.size();
    }
    void setMarkedText(const std::u16string&, const platform::imk::MarkAttributes&, platform::Range,
                       platform::Range) override {}
    platform::TextAttributes attributesForCharacterIndex(std::uint64_t,
                                                         platform::Rect* rect) override {
        if (rect) *rect = platform::Rect(100, 500, 2, 18);
        return {};
    }
    void overrideKeyboardWithKeyboardNamed(const std::string&) override {}
    std::size_t inserted = 0;
};

std::string dictionaryPath() {
    return (std::filesystem::path(QUILLORA_BUILD_RESOURCES) / "kem_accurate_query.zvk").string();
}

// Keys of words spread over the whole dictionary, by a fixed seed.
std::vector<std::string> sampleKeys(std::size_t count) {
    std::vector<std::string> keys;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(dictionaryPath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        for (char table = 'a'; table <= 'z'; ++table) {
            std::string sql = std::string("select bqr_biclg from ") + table +
                              " order by active_order desc limit 40";
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
                continue;
            }
            while (sqlite3_step(statement) == SQLITE_ROW) {
                auto text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
                if (text && *text) keys.emplace_back(text);
            }
            sqlite3_finalize(statement);
        }
    }
    sqlite3_close(db);
    std::mt19937 random(7);
    std::shuffle(keys.begin(), keys.end(), random);
    if (keys.size() > count) keys.resize(count);
    return keys;
}

struct Key {
    InputEvent event;
    std::string composition;  // what the composition holds after the key; empty after Space
};

std::vector<Key> typingStream(const std::vector<std::string>& words) {
    std::vector<Key> stream;
    std::mt19937 random(11);
    for (std::size_t w = 0; w < words.size(); ++w) {
        std::string typed;
        for (std::size_t i = 0; i < words[w].size(); ++i) {
            char c = words[w][i];
            if (w % 5 == 0 && i == 1) {
                char wrong = static_cast<char>('a' + random() % 26);
                stream.push_back({InputEvent::keyDown(0, std::u16string(1, wrong)), typed + wrong});
                stream.push_back({InputEvent::keyDown(KeyCode::Delete, u"\b"), typed});
            }
            typed += c;
            stream.push_back({InputEvent::keyDown(0, std::u16string(1, char16_t(c))), typed});
        }
        stream.push_back({InputEvent::keyDown(KeyCode::Space, u" "), ""});
    }
    return stream;
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    std::size_t index = static_cast<std::size_t>(fraction * (values.size() - 1) + 0.5);
    return values[index];
}

void BM_KeystrokeToCandidates(benchmark::State& state) {
    setenv("QUILLORA_RESOURCES", QUILLORA_BUILD_RESOURCES, 1);
    // User defaults are read at every commit; never the user's own.
    auto config = std::filesystem::temp_directory_path() / "quillora-bench-config";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    platform::Bundle::setMain("quillora", "org.quillora.inputmethod");
    quillora::DBUtil::resetLocation();
    quillora::DBUtil::initDBDirectory();

    const std::string path = dictionaryPath();
    const auto words = sampleKeys(400);
    const auto stream = typingStream(words);
    if (stream.empty()) {
        state.SkipWithError("the generated dictionary is missing or empty");
        return;
    }

    NullDelegate delegate;
    NullClient client;
    quillora::MongolianInputController controller(&client, delegate);
    std::vector<double> controllerTimes;  // every key
    std::vector<double> searchTimes;      // the keys that search
    std::vector<double> rawTimes;
    std::size_t next = 0;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const Key& key = stream[next];
        next = (next + 1) % stream.size();
        auto start = Clock::now();
        bool handled = controller.handleEvent(key.event, &client);
        auto middle = Clock::now();
        benchmark::DoNotOptimize(handled);
        controllerTimes.push_back(
            std::chrono::duration<double, std::micro>(middle - start).count());
        // The peer: only keys that search (letters and Delete leaving letters).
        if (!key.composition.empty()) {
            searchTimes.push_back(controllerTimes.back());
            auto rawStart = Clock::now();
            benchmark::DoNotOptimize(rawdictionary::search(path, key.composition));
            rawTimes.push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - rawStart).count());
        }
    }
    const double searchMedian = percentile(searchTimes, 0.5);
    const double rawMedian = percentile(rawTimes, 0.5);
    state.counters["median_us"] = percentile(controllerTimes, 0.5);
    state.counters["p99_us"] = percentile(controllerTimes, 0.99);
    state.counters["search_median_us"] = searchMedian;
    state.counters["raw_median_us"] = rawMedian;
    state.counters["raw_p99_us"] = percentile(rawTimes, 0.99);
    state.counters["ratio_median"] = rawMedian > 0 ? searchMedian / rawMedian : 0;
    state.counters["stream_keys"] = static_cast<double>(stream.size());
}
BENCHMARK(BM_KeystrokeToCandidates)->Iterations(20000)->Unit(benchmark::kMicrosecond);

}  // namespace
