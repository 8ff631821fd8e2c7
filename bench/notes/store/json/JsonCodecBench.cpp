// The JSON codec on four documents, beside RapidJSON when it is installed: three made to the
// shape of the classic parser benchmarks (a timeline of posts with much non-ASCII text, a map
// outline of nothing but coordinates, an event catalogue of small integers and keys), and the
// notes this program writes. The documents are generated here, the same on every run. Run with
// the defaults of main() below: repetitions shuffled so that the parsers interleave; compare
// medians.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/InterleavedRun.h"
#include "notes/store/json/JsonParser.h"
#include "notes/store/json/JsonWriter.h"

#ifdef MW_BENCH_RAPIDJSON
#include <rapidjson/document.h>
#endif

namespace {

using namespace notes;

// A fixed pseudo-random sequence (xorshift), so that every run sees the same documents.
class Sequence {
  public:
    uint64_t next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    double unit() { return static_cast<double>(next() % 1000000007) / 1000000007.0; }

  private:
    uint64_t m_state = 0x9E3779B97F4A7C15ull;
};

std::string pick(Sequence& s, const std::vector<std::string>& words, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i) text += ' ';
        text += words[static_cast<size_t>(s.below(static_cast<int>(words.size())))];
    }
    return text;
}

// Posts with their authors: much text in Japanese, some with emoji, links with escaped slashes.
JsonValue timeline() {
    Sequence s;
    const std::vector<std::string> words = {
        "一",       "日本語", "のテキスト", "です",     "ツイート",   "今日は",
        "いい天気", "😀",      "#話題",      "@someone", "hello",      "world",
        "RT",       "、",     "。",         "東京",     "ありがとう", "🎉"};
    JsonArray statuses;
    for (int i = 0; i < 1200; ++i) {
        JsonObject user{{"id", int64_t{100000000} + s.below(1000000000)},
                        {"name", pick(s, words, 2)},
                        {"screen_name", "user_" + std::to_string(s.below(100000))},
                        {"location", pick(s, words, 1)},
                        {"description", pick(s, words, 12)},
                        {"url", nullptr},
                        {"protected", false},
                        {"followers_count", s.below(100000)},
                        {"friends_count", s.below(5000)},
                        {"created_at", "Sun Aug 31 00:29:15 +0000 2014"},
                        {"profile_image_url", "http://pbs.twimg.com/profile_images/" +
                                                  std::to_string(s.below(1000000)) + "/a.jpeg"},
                        {"verified", s.below(10) == 0}};
        JsonObject status{
            {"metadata", JsonObject{{"result_type", "recent"}, {"iso_language_code", "ja"}}},
            {"created_at", "Sun Aug 31 00:29:15 +0000 2014"},
            {"id", int64_t{505874924095815681} + i},
            {"id_str", std::to_string(int64_t{505874924095815681} + i)},
            {"text", pick(s, words, 20)},
            {"source", "<a href=\"https://mobile.twitter.com\" rel=\"nofollow\">Mobile</a>"},
            {"truncated", false},
            {"in_reply_to_status_id", nullptr},
            {"user", std::move(user)},
            {"retweet_count", s.below(100)},
            {"favorite_count", s.below(100)},
            {"entities", JsonObject{{"hashtags", JsonArray{}},
                                    {"urls", JsonArray{JsonObject{
                                                 {"url", "http://t.co/abc"},
                                                 {"indices", JsonArray{s.below(100), 120}}}}}}},
            {"favorited", false},
            {"lang", "ja"}};
        statuses.push_back(std::move(status));
    }
    return JsonObject{{"statuses", std::move(statuses)},
                      {"search_metadata", JsonObject{{"completed_in", 0.087}, {"count", 100}}}};
}

// One outline of some hundred thousand coordinate pairs with many digits.
JsonValue outline() {
    Sequence s;
    JsonArray rings;
    for (int r = 0; r < 480; ++r) {
        JsonArray ring;
        for (int p = 0; p < 230; ++p) {
            char x[40], y[40];
            std::snprintf(x, sizeof x, "%.15f", -141.0 + 90 * s.unit());
            std::snprintf(y, sizeof y, "%.15f", 41.0 + 40 * s.unit());
            ring.push_back(JsonArray{JsonNumber(std::string(x)), JsonNumber(std::string(y))});
        }
        rings.push_back(std::move(ring));
    }
    JsonObject feature{{"type", "Feature"},
                       {"properties", JsonObject{{"name", "Canada"}}},
                       {"geometry", JsonObject{{"type", "Polygon"}, {"coordinates", rings}}}};
    return JsonObject{{"type", "FeatureCollection"}, {"features", JsonArray{feature}}};
}

// Events, performances, prices and seat categories keyed by number, and names in ASCII.
JsonValue catalogue() {
    Sequence s;
    JsonObject events, names, topics;
    JsonArray performances;
    for (int i = 0; i < 180; ++i) {
        std::string id = std::to_string(138586341 + i * 7);
        events.set(id, JsonObject{{"description", nullptr},
                                  {"id", 138586341 + i * 7},
                                  {"logo", "/images/UE0AAAAACEKo6QAAAAZDSVRN"},
                                  {"name", "Concert " + std::to_string(i)},
                                  {"subTopicIds", JsonArray{337184269, 337184283}},
                                  {"subjectCode", nullptr},
                                  {"subtitle", nullptr},
                                  {"topicIds", JsonArray{324846099, 107888604}}});
        names.set(std::to_string(339420802 + i), "Season ticket " + std::to_string(i));
    }
    for (int i = 0; i < 240; ++i) topics.set(std::to_string(107888604 + i), JsonArray{});
    for (int i = 0; i < 1200; ++i) {
        JsonArray prices, seats;
        for (int k = 0; k < 4; ++k) {
            prices.push_back(JsonObject{{"amount", 90250 + s.below(100000)},
                                        {"audienceSubCategoryId", 337100890},
                                        {"seatCategoryId", 338937295 + k}});
            JsonArray areas;
            for (int a = 0; a < 6; ++a)
                areas.push_back(JsonObject{{"areaId", 205705993 + a}, {"blockIds", JsonArray{}}});
            seats.push_back(
                JsonObject{{"areas", std::move(areas)}, {"seatCategoryId", 338937295 + k}});
        }
        performances.push_back(JsonObject{{"eventId", 138586341 + s.below(180) * 7},
                                          {"id", 339887544 + i},
                                          {"logo", nullptr},
                                          {"name", nullptr},
                                          {"prices", std::move(prices)},
                                          {"seatCategories", std::move(seats)},
                                          {"seatMapImage", nullptr},
                                          {"start", int64_t{1372701600000} + i * 86400000LL},
                                          {"venueCode", "PLEYEL_PLEYEL"}});
    }
    return JsonObject{{"areaNames", names},
                      {"events", std::move(events)},
                      {"performances", performances},
                      {"subTopicNames", JsonObject{}},
                      {"topicSubTopics", topics}};
}

// About a megabyte of notes as the archive and the notes database hold them: HTML with Mongolian
// text, quotation marks and line breaks, whole and fractional numbers, flags and small lists.
JsonValue notesDocument() {
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
}

struct Document {
    const char* name;
    JsonValue value;
    std::string text;
};

std::vector<Document>& documents() {
    static std::vector<Document> made = [] {
        std::vector<Document> list;
        list.push_back({"timeline", timeline(), {}});
        list.push_back({"outline", outline(), {}});
        list.push_back({"catalogue", catalogue(), {}});
        list.push_back({"notes", notesDocument(), {}});
        for (Document& d : list) d.text = *JsonWriter().stringWithObject(d.value);
        return list;
    }();
    return made;
}

void parseWithCodec(benchmark::State& state, const Document* document) {
    JsonParser parser;
    for (auto _ : state) {
        auto value = parser.objectWithString(document->text);
        if (!value) state.SkipWithError("the codec refused the document");
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document->text.size()));
}

void writeWithCodec(benchmark::State& state, const Document* document) {
    JsonWriter writer;
    for (auto _ : state) {
        auto text = writer.stringWithObject(document->value);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document->text.size()));
}

#ifdef MW_BENCH_RAPIDJSON
// `Flags` 0 is RapidJSON's default, which does not check the text's UTF-8; the codec always
// does, as the checking variant here.
template <unsigned Flags>
void parseWithRapidJson(benchmark::State& state, const Document* document) {
    for (auto _ : state) {
        rapidjson::Document parsed;
        parsed.Parse<Flags>(document->text.c_str(), document->text.size());
        if (parsed.HasParseError()) state.SkipWithError("RapidJSON refused the document");
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document->text.size()));
}
#endif

}  // namespace

int main(int argc, char** argv) {
    for (Document& d : documents()) {
        std::string name = d.name;
        auto add = [&](const std::string& what, void (*run)(benchmark::State&, const Document*)) {
            benchmark::RegisterBenchmark((what + "/" + name).c_str(), run, &d)
                ->Unit(benchmark::kMillisecond);
        };
        add("Parse/codec", parseWithCodec);
        add("Write/codec", writeWithCodec);
#ifdef MW_BENCH_RAPIDJSON
        add("Parse/rapidjson", parseWithRapidJson<rapidjson::kParseDefaultFlags>);
        add("Parse/rapidjson-checked", parseWithRapidJson<rapidjson::kParseValidateEncodingFlag>);
#endif
    }
    return benchsupport::runInterleaved(argc, argv, 11);
}
