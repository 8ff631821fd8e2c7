// Exporting a 10,000-character note to each format, files written whole (temporary file, flush,
// rename) into a temporary folder. Beside the text formats, libxml2 parsing the same HTML and
// freeing it, as the floor under reading the note.
#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>
#include <stdlib.h>

#include <filesystem>

#include "bench/notes/UI/EditorOnPage.h"
#include "notes/UI/EditorViewController.h"
#include "notes/UI/NoteExporter.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/richtext/HTMLReader.h"
#include "platform/richtext/PlainTextWriter.h"
#include "platform/richtext/RTFWriter.h"
#include "tests/support/TemporaryFolder.h"

namespace {

// About 10,000 characters of note: Mongolian paragraphs with bold words, line breaks and a list.
std::string tenThousandCharacterNote() {
    std::string html;
    size_t characters = 0;
    for (int i = 0; characters < 10000; ++i) {
        std::string paragraph =
            "<p>\u182E\u1823\u1829\u182D\u1823\u182F \u182A\u1822\u1834\u1822\u182D "
            "<b>\u1833\u1821\u1837\u1821</b> \u1830\u1822\u1828\u1821\u202F\u1822 "
            "\u1830\u1824\u1829\u182D\u180B\u1824\u182D\u1820\u1837\u1820\u1822<br>"
            "{C:\\dir} " +
            std::to_string(i) + "</p>";
        if (i % 5 == 4) paragraph += "<ul><li>\u1828\u1822\u182D\u1821</li><li>two</li></ul>";
        characters += platform::utf16FromUtf8(paragraph).size();
        html += paragraph;
    }
    return html;
}

const std::string& note() {
    static const std::string html = tenThousandCharacterNote();
    return html;
}

class BenchHost : public zelvo::ExportHost {
  public:
    void editorHTML(std::function<void(std::optional<std::string>)> answer) override {
        answer(note());
    }
    void printEditorPage(const std::string&,
                         std::function<void(bool, const std::string&)> done) override {
        done(false, "");
    }
    std::optional<zelvo::ExportPanelChoice> runSavePanel(const zelvo::ExportPanelSetup&) override {
        return std::nullopt;
    }
    bool confirmReplace(const std::string&) override { return true; }
    void runAlert(const std::string&, const std::string&) override {}
    void runPreview(const std::string&) override {}
    std::shared_ptr<NoteObject> selectedNoteObject() override { return nullptr; }
};

std::filesystem::path folder() {
    static const TemporaryFolder made("export-bench");
    return made.path();
}

void exportTo(benchmark::State& state, const std::string& format) {
    BenchHost host;
    zelvo::NoteExporter exporter(host);
    std::string path = (folder() / ("note" + format)).string();
    for (auto _ : state) {
        bool written = false;
        exporter.exportToPath(format, path, [&](bool done) { written = done; });
        if (!written) state.SkipWithError("export failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(note().size()));
}

void BM_ExportTXT(benchmark::State& state) {
    exportTo(state, ".txt");
}
void BM_ExportHTML(benchmark::State& state) {
    exportTo(state, ".html");
}
void BM_ExportRTF(benchmark::State& state) {
    exportTo(state, ".rtf");
}

// The conversions alone, without the file.
void BM_NoteToPlainText(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(platform::plainText(platform::readHTML(note())));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(note().size()));
}

void BM_NoteToRTF(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(platform::rtfData(platform::readHTML(note())));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(note().size()));
}

void BM_Libxml2ParseOnly(benchmark::State& state) {
    for (auto _ : state) {
        htmlDocPtr document = htmlReadMemory(
            note().data(), int(note().size()), nullptr, "UTF-8",
            HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
        benchmark::DoNotOptimize(document);
        xmlFreeDoc(document);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(note().size()));
}

// The PDF: the real editor page, showing the note, printed to a file.
void BM_ExportPDF(benchmark::State& state) {
    auto editor = benchsupport::editorOnPage(state, [](const NoteObject&) { return true; });
    if (!editor) return;
    editor->setHTML(note());
    benchsupport::settle(*editor);
    std::string path = (folder() / "note.pdf").string();
    for (auto _ : state) {
        if (!printToPDFNow(*editor->webview(), path, platform::PrintSetup{},
                           std::chrono::seconds(60)))
            state.SkipWithError("printing failed");
    }
}

}  // namespace

// Interleaved: each conversion next to the parser floor.
BENCHMARK(BM_Libxml2ParseOnly);
BENCHMARK(BM_NoteToPlainText);
BENCHMARK(BM_Libxml2ParseOnly);
BENCHMARK(BM_NoteToRTF);
BENCHMARK(BM_ExportTXT);
BENCHMARK(BM_ExportHTML);
BENCHMARK(BM_ExportRTF);
BENCHMARK(BM_ExportPDF)->Unit(benchmark::kMillisecond)->Iterations(5);
