// A key press to the client's preedit update, through IBus as an application meets it: a libibus
// input context on a private ibus-daemon, the engine a process the daemon started, the candidates
// on screen. Quillora and the table engine ibus-table-mongol-bichig (Debian's, installed by
// scripts/bench-setup.sh) run on daemons of their own, side by side, their repetitions
// interleaved. Both type the same romanised words, each ended by Space. Without the peer its
// benchmark says so and is skipped.
//
// The engines draw their candidates on an X server of the benchmark's own (Xvfb), so Quillora's
// candidate window is shown on every key; without Xvfb both run without a display (and the label
// says so). Run with QUILLORA_LOG unset, as users do.
//
// A second benchmark types 10,000 keys into Quillora and reports its resident size after the
// first 100 and after all of them.
#include <benchmark/benchmark.h>
#include <ibus.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/support/InterleavedRun.h"
#include "tests/support/PrivateIBusDaemon.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTableComponent = "/usr/share/ibus/component/table.xml";
constexpr const char* kTableDatabase = "/usr/share/ibus-table/tables/mongol_bichig.db";

// Romanised words as Quillora's key map spells them; the table engine reads the same letters
// through its own table.
const std::vector<std::string> kWords = {
    "bar",  "mqngql",   "bicig", "sain",  "ehe", "nere",  "sara",  "hele",   "gazar",
    "usu",  "tenggeri", "ulus",  "hvmvn", "nom", "baiqa", "bqlqn", "yabvqu", "ireku",
    "edur", "shine",    "olan",  "tere",  "ene", "bide",  "ta",    "qota",   "surgaguli"};

// One client input context on one private daemon, with its own connection (libibus keeps one
// bus per process, so each daemon is reached through a connection of its own).
class EngineSeat {
  public:
    EngineSeat(const std::string& componentFolder, bool withDisplay, const char* engine)
        : m_daemon(componentFolder, withDisplay) {
        if (!m_daemon.ready()) return;
        GError* error = nullptr;
        m_connection = g_dbus_connection_new_for_address_sync(
            m_daemon.address().c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        if (!m_connection) {
            fail(error);
            return;
        }
        GVariant* reply = g_dbus_connection_call_sync(
            m_connection, IBUS_SERVICE_IBUS, IBUS_PATH_IBUS, IBUS_INTERFACE_IBUS,
            "CreateInputContext", g_variant_new("(s)", "bench"), G_VARIANT_TYPE("(o)"),
            G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &error);
        if (!reply) {
            fail(error);
            return;
        }
        const gchar* path = nullptr;
        g_variant_get(reply, "(&o)", &path);
        m_context = ibus_input_context_new(path, m_connection, nullptr, &error);
        g_variant_unref(reply);
        if (!m_context) {
            fail(error);
            return;
        }
        ibus_input_context_set_capabilities(
            m_context, IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_FOCUS | IBUS_CAP_LOOKUP_TABLE);
        g_signal_connect(m_context, "update-preedit-text", G_CALLBACK(onPreedit), this);
        g_signal_connect(m_context, "commit-text", G_CALLBACK(onCommit), this);
        ibus_input_context_focus_in(m_context);
        ibus_input_context_set_cursor_location(m_context, 200, 300, 1, 18);
        ibus_input_context_set_engine(m_context, engine);
        // The engine is started on the first key; a key sent before it answers is passed back.
        // Type until a letter is composed.
        for (int i = 0; i < 100 && !m_ready; ++i) {
            const unsigned commits = m_commits;
            m_ready = keyToUpdate('b').has_value() && (!m_preedit.empty() || m_commits != commits);
        }
        finishWord();
        if (!m_ready) m_problem = std::string("the engine ") + engine + " did not compose";
    }
    ~EngineSeat() {
        if (m_context) {
            g_signal_handlers_disconnect_by_data(m_context, this);
            ibus_proxy_destroy(IBUS_PROXY(m_context));
            g_object_unref(m_context);
        }
        if (m_connection) {
            g_dbus_connection_close_sync(m_connection, nullptr, nullptr);
            g_object_unref(m_connection);
        }
    }

    bool ready() const { return m_ready; }
    // The time the last key's release took to be answered.
    double lastRoundTrip = 0;
    const std::string& problem() const { return m_problem; }
    const std::string& address() const { return m_daemon.address(); }

    // Presses a letter and waits for the client's first answer to it, a preedit update or (from
    // an engine that commits every letter at once) a commit; the time from the press to that
    // answer, absent when none came. The release follows, not timed.
    std::optional<double> keyToUpdate(char letter) {
        const guint keyval = ibus_unicode_to_keyval(static_cast<gunichar>(letter));
        const unsigned before = m_updates;
        const auto start = Clock::now();
        send(keyval, 0, 0);
        const bool updated = waitFor([&] { return m_updates != before; });
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        // The release, which neither engine answers with anything but "not handled", is the floor:
        // the round trip through the daemon to the engine and back.
        waitFor([this] { return m_pending == 0; });
        const auto release = Clock::now();
        send(keyval, 0, IBUS_RELEASE_MASK);
        waitFor([this] { return m_pending == 0; });
        lastRoundTrip = std::chrono::duration<double>(Clock::now() - release).count();
        if (!updated) return std::nullopt;
        return seconds;
    }
    // Space ends the word: Quillora commits it (the table engine has committed every letter as
    // it came, and passes Space on).
    void finishWord() {
        send(IBUS_KEY_space, 57, 0);
        send(IBUS_KEY_space, 57, IBUS_RELEASE_MASK);
        waitFor([this] { return m_pending == 0; });
    }

  private:
    void fail(GError* error) {
        m_problem = error ? error->message : "IBus refused";
        if (error) g_error_free(error);
    }
    void send(guint keyval, guint keycode, guint state) {
        ++m_pending;
        ibus_input_context_process_key_event_async(
            m_context, keyval, keycode, state, -1, nullptr,
            [](GObject* context, GAsyncResult* result, gpointer self) {
                ibus_input_context_process_key_event_async_finish(IBUS_INPUT_CONTEXT(context),
                                                                  result, nullptr);
                --static_cast<EngineSeat*>(self)->m_pending;
            },
            this);
    }
    template <typename Done>
    bool waitFor(Done done) {
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (!done() && Clock::now() < deadline) g_main_context_iteration(nullptr, FALSE);
        return done();
    }
    static void onPreedit(IBusInputContext*, IBusText* text, guint, gboolean, gpointer self) {
        auto* seat = static_cast<EngineSeat*>(self);
        ++seat->m_updates;
        seat->m_preedit = text ? ibus_text_get_text(text) : "";
        // As a text field does once it has drawn the preedit: the caret moves on with it, and
        // Quillora shows its candidate window there.
        const int letters = static_cast<int>(g_utf8_strlen(seat->m_preedit.c_str(), -1));
        ibus_input_context_set_cursor_location(seat->m_context, 200 + 10 * letters, 300, 1, 18);
    }
    static void onCommit(IBusInputContext*, IBusText*, gpointer self) {
        auto* seat = static_cast<EngineSeat*>(self);
        ++seat->m_commits;
        ++seat->m_updates;
    }

    PrivateIBusDaemon m_daemon;
    GDBusConnection* m_connection = nullptr;  // owned
    IBusInputContext* m_context = nullptr;    // owned
    std::string m_preedit;
    unsigned m_updates = 0;
    unsigned m_commits = 0;
    int m_pending = 0;
    bool m_ready = false;
    std::string m_problem;
};

// What both engines share: the X server, and one seat per engine, made on first use.
struct Stage {
    Stage() {
        ibus_init();
        if (!std::getenv("MW_BENCH_NO_DISPLAY")) {
            xserver = std::make_unique<PrivateXServer>("1600x1000x24");
            if (!xserver->ready()) xserver.reset();
        }
        if (std::filesystem::exists(kTableComponent) && std::filesystem::exists(kTableDatabase)) {
            std::filesystem::create_symlink(kTableComponent, tableComponents.path() / "table.xml");
        }
    }
    bool withDisplay() const { return xserver != nullptr; }

    std::unique_ptr<PrivateXServer> xserver;
    TemporaryFolder tableComponents{"mw-bench-table"};
    std::unique_ptr<EngineSeat> quillora;
    std::unique_ptr<EngineSeat> table;
};

Stage& stage() {
    static Stage s;
    return s;
}

double percentile(std::vector<double> samples, double fraction) {
    std::sort(samples.begin(), samples.end());
    const auto at = static_cast<std::size_t>(fraction * double(samples.size() - 1) + 0.5);
    return samples[std::min(at, samples.size() - 1)];
}

// Types the words once through, timing every letter.
void typeWords(benchmark::State& state, EngineSeat& seat) {
    std::vector<double> samples, roundTrips;
    for (auto _ : state) {
        samples.clear();
        roundTrips.clear();
        unsigned missing = 0;
        const auto start = Clock::now();
        for (const std::string& word : kWords) {
            for (char letter : word) {
                if (auto seconds = seat.keyToUpdate(letter)) {
                    samples.push_back(*seconds);
                    roundTrips.push_back(seat.lastRoundTrip);
                } else {
                    ++missing;
                }
            }
            seat.finishWord();
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (samples.empty() || missing > 0) {
            state.SkipWithError("keys without a preedit update");
            return;
        }
    }
    state.counters["median_ms"] = percentile(samples, 0.5) * 1e3;
    state.counters["p99_ms"] = percentile(samples, 0.99) * 1e3;
    state.counters["max_ms"] = percentile(samples, 1.0) * 1e3;
    state.counters["round_trip_median_ms"] = percentile(roundTrips, 0.5) * 1e3;
    state.counters["keys"] = double(samples.size());
    state.SetLabel(stage().withDisplay() ? "with display" : "no display");
}

// Quillora's seat, started on first use; null (and the benchmark skipped) when it cannot type.
EngineSeat* quilloraSeat(benchmark::State& state) {
    Stage& s = stage();
    if (!s.quillora) {
        s.quillora =
            std::make_unique<EngineSeat>(MW_IBUS_COMPONENT_DIR, s.withDisplay(), "quillora");
    }
    if (!s.quillora->ready()) {
        state.SkipWithError(s.quillora->problem().c_str());
        return nullptr;
    }
    return s.quillora.get();
}

void BM_Quillora_KeyToPreedit(benchmark::State& state) {
    if (EngineSeat* seat = quilloraSeat(state)) typeWords(state, *seat);
}

void BM_TableMongolBichig_KeyToPreedit(benchmark::State& state) {
    Stage& s = stage();
    if (!std::filesystem::exists(s.tableComponents.path() / "table.xml")) {
        state.SkipWithError(
            "ibus-table-mongol-bichig is not installed (scripts/bench-setup.sh installs it)");
        return;
    }
    if (!s.table) {
        s.table = std::make_unique<EngineSeat>(s.tableComponents.path().string(), s.withDisplay(),
                                               "table:mongol_bichig");
    }
    if (!s.table->ready()) {
        state.SkipWithError(s.table->problem().c_str());
        return;
    }
    typeWords(state, *s.table);
}

// The resident size of the engine process serving the daemon at `address`, in MB; absent when no
// such process is found.
std::optional<double> engineResidentMegabytes(const std::string& address, const char* program) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream cmdline(entry.path() / "cmdline");
        std::string command;
        std::getline(cmdline, command, '\0');
        if (command.find(program) == std::string::npos) continue;
        std::ifstream environ(entry.path() / "environ");
        std::string variable;
        bool ours = false;
        while (std::getline(environ, variable, '\0')) {
            // The daemon hands its engines its address with the server's guid appended.
            ours = ours || variable.rfind("IBUS_ADDRESS=" + address, 0) == 0;
        }
        if (!ours) continue;
        std::ifstream status(entry.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return std::nullopt;
}

void BM_Quillora_ResidentSizeOver10000Keys(benchmark::State& state) {
    EngineSeat* quillora = quilloraSeat(state);
    if (!quillora) return;
    EngineSeat& seat = *quillora;
    std::optional<double> after100, after10000;
    for (auto _ : state) {
        int keys = 0;
        auto counted = [&] {
            if (++keys == 100)
                after100 = engineResidentMegabytes(seat.address(), "ibus-engine-quillora");
        };
        for (std::size_t w = 0; keys < 10000; ++w) {
            for (char letter : kWords[w % kWords.size()]) {
                seat.keyToUpdate(letter);
                counted();
            }
            seat.finishWord();
            counted();
        }
        after10000 = engineResidentMegabytes(seat.address(), "ibus-engine-quillora");
    }
    if (!after100 || !after10000) {
        state.SkipWithError("the engine process was not found");
        return;
    }
    state.counters["rss_after_100_MB"] = *after100;
    state.counters["rss_after_10000_MB"] = *after10000;
    state.counters["growth_percent"] = (*after10000 / *after100 - 1) * 100;
    state.SetLabel(stage().withDisplay() ? "with display" : "no display");
}

BENCHMARK(BM_Quillora_KeyToPreedit)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TableMongolBichig_KeyToPreedit)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_Quillora_ResidentSizeOver10000Keys)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(1);

}  // namespace

int main(int argc, char** argv) {
    return benchsupport::runInterleaved(argc, argv, 9);
}
