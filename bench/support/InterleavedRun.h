#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace benchsupport {

// Runs the registered benchmarks with defaults the command line can override: each one
// `repetitions` times, the repetitions of all of them shuffled together so that peers measured
// side by side meet the same machine conditions, and only the aggregates (compare medians)
// reported.
inline int runInterleaved(int argc, char** argv, int repetitions) {
    std::vector<char*> args(argv, argv + argc);
    std::string count = "--benchmark_repetitions=" + std::to_string(repetitions);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {count.data(), interleave.data(), aggregates.data()});
    int size = static_cast<int>(args.size());
    benchmark::Initialize(&size, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace benchsupport
