// The word builder's execute: on keys of 5, 15 and 30 letters with the shipped stem table
// (segmentation, combination, conversion), and on 30 pieces of four alternatives that all fit
// together, where only the cap on partial words keeps the combination from growing 4^30-fold.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "inputmethod/MongolianConverter/MongolianConverter.h"
#include "inputmethod/wordbuilder/Controller.h"
#include "inputmethod/wordbuilder/Sang.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using quillora::wordbuilder::Controller;

// Five letters; fifteen (aha-nar-vn, then mqri-dv cannot follow the final ending, "x" is
// unlisted); thirty (eleven pieces).
const std::vector<std::string> kKeys = {"ehedu", "ahanarvnmqridvx",
                                        "ahanarvnmqridvehedugertuyabvna"};

void useResources(const std::filesystem::path& folder) {
    setenv("QUILLORA_RESOURCES", folder.c_str(), 1);
    platform::Bundle::setMain("quillora", "bench.quillora");
    quillora::wordbuilder::Sang::reset();
    quillora::MongolianConverter::reset();
}

void BM_Execute(benchmark::State& state) {
    useResources(QUILLORA_BUILD_RESOURCES);
    const std::string& key = kKeys[state.range(0)];
    state.SetLabel(std::to_string(key.size()) + " letters");
    for (auto _ : state) benchmark::DoNotOptimize(Controller::execute(key));
}
BENCHMARK(BM_Execute)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_ExecuteCappedCombination(benchmark::State& state) {
    TemporaryFolder resources("quillora-bench");
    const std::filesystem::path& folder = resources.path();
    std::filesystem::copy_file(
        std::filesystem::path(QUILLORA_BUILD_RESOURCES) / "english_2_mongolian.plist",
        folder / "english_2_mongolian.plist", std::filesystem::copy_options::overwrite_existing);
    platform::PropertyValue::Array tokens{platform::Value("a"), platform::Value("q"),
                                          platform::Value("v"), platform::Value("i")};
    platform::PropertyList::write(platform::PropertyValue(platform::PropertyValue::Dictionary{
                                      {"a", platform::PropertyValue(tokens)}}),
                                  folder / "BaseSang.plist");
    useResources(folder);
    const std::string key(30, 'a');
    size_t words = 0;
    for (auto _ : state) {
        auto built = Controller::execute(key);
        words = built.size();
        benchmark::DoNotOptimize(built);
    }
    state.SetLabel(std::to_string(words) + " words");
    useResources(QUILLORA_BUILD_RESOURCES);
}
BENCHMARK(BM_ExecuteCappedCombination)->Unit(benchmark::kMicrosecond);

}  // namespace
