// From process start to the engine registered with IBus: the time a user waits after choosing
// Quillora before the first key is composed. Against a private ibus-daemon; run under xvfb-run to
// include opening the display (GTK) as on a desktop, else it measures the console case.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "tests/support/ChildProcess.h"
#include "tests/support/PrivateIBusDaemon.h"

namespace {

// Waits for the log line that marks the moment: the engine registered, or the delegate done with
// its launch (preferences applied, candidate window built), when keys are composed.
void startUntil(benchmark::State& state, const std::string& mark) {
    const bool withDisplay = std::getenv("DISPLAY") != nullptr;
    PrivateIBusDaemon daemon(MW_IBUS_COMPONENT_DIR, withDisplay);
    if (!daemon.ready()) {
        state.SkipWithError("no private ibus-daemon");
        return;
    }
    ScopedEnvironment logToStderr("QUILLORA_LOG", std::string("stderr"));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        ChildProcess engine({"sh", "-c", std::string("exec ") + QUILLORA_ENGINE + " 2>&1"}, true);
        bool registered = false;
        for (int i = 0; i < 200 && !registered; ++i) {
            const std::string line = engine.readLine(std::chrono::seconds(5));
            if (line.empty() && !engine.running()) break;
            registered = line.find(mark) != std::string::npos;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        engine.stop();
        if (!registered) {
            state.SkipWithError("the engine did not register");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.SetLabel(withDisplay ? "with display" : "no display");
}
void BM_EngineStartToRegistered(benchmark::State& state) {
    startUntil(state, "IBus engine \"quillora\" registered");
}
void BM_EngineStartToLaunched(benchmark::State& state) {
    startUntil(state, "user_data_dir:");
}
BENCHMARK(BM_EngineStartToRegistered)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(BM_EngineStartToLaunched)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
