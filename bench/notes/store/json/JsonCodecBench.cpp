#include <benchmark/benchmark.h>

#include <string>

#include "notes/store/json/JsonParser.h"
#include "notes/store/json/JsonWriter.h"

namespace {

using namespace notes;

// About a megabyte of notes as the archive and the notes database hold them: HTML with Mongolian
// text, quotation marks and line breaks, whole and fractional numbers, flags and small lists.
const JsonValue& megabyteDocument() {
    static const JsonValue document = [] {
        JsonArray notes;
        std::size_t size = 0;
        for (int id = 0; size < 1'000'000; ++id) {
            std::string text = "<div class=\"note\">ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ\u202fᠦᠨ ᠲᠡᠮᠳᠡᠭᠯᠡᠯ " +
                               std::to_string(id) + "<br/>\n\tline two / \"quoted\"</div>";
            JsonObject note{{"n_id", id},
                            {"n_text", text},
                            {"n_summary", "ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ summary"},
                            {"n_date", 1.7e9 + id * 0.25},
                            {"n_group", "group_work"},
                            {"n_isRecent", id % 2 == 0},
                            {"tags", JsonArray{"a", "b", nullptr, -1}}};
            size += JsonWriter().stringWithObject(note)->size() + 1;
            notes.push_back(std::move(note));
        }
        return JsonValue(std::move(notes));
    }();
    return document;
}

const std::string& megabyteText() {
    static const std::string text = *JsonWriter().stringWithObject(megabyteDocument());
    return text;
}

void BM_ParseMegabyte(benchmark::State& state) {
    const std::string& text = megabyteText();
    JsonParser parser;
    for (auto _ : state) {
        auto value = parser.objectWithString(text);
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseMegabyte)->Unit(benchmark::kMillisecond);

void BM_WriteMegabyte(benchmark::State& state) {
    const JsonValue& document = megabyteDocument();
    JsonWriter writer;
    writer.setHumanReadable(state.range(0) != 0);
    writer.setSortKeys(state.range(0) != 0);
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto json = writer.stringWithObject(document);
        bytes += json->size();
        benchmark::DoNotOptimize(json);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
// 0: compact, as the archive is written; 1: human-readable with sorted keys.
BENCHMARK(BM_WriteMegabyte)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
