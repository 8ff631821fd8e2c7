// Switching between two notes through the real editor page: the edited note is read back,
// formatted and stored, then the next note is pushed in; and opening notes of 100 KB and 5 MB
// without an edit. Beside each, the same page statements sent
// straight to the engine, without the controller, as the floor.
#include <benchmark/benchmark.h>

#include "bench/notes/UI/EditorOnPage.h"
#include "notes/UI/EditorViewController.h"
#include "platform/web/JavaScriptString.h"
#include "platform/web/webkit/WebKitBackend.h"
#include "tests/support/WebViewWaits.h"

namespace {

std::string noteOf(int paragraphs) {
    std::string html;
    for (int i = 0; i < paragraphs; ++i) {
        if (i) html += "\n";
        html +=
            "<p>\u182E\u1823\u1829\u182D\u1823\u182F \u182A\u1822\u1834\u1822\u182D "
            "<b>\u1833\u1821\u1837\u1821</b> \u1830\u1822\u1828\u1821 "
            "\u1833\u1823\u182F\u1823\u182D\u1820\u1828 C:\\dir \"q\" " +
            std::to_string(i) + "</p>";
    }
    return html;
}

std::shared_ptr<NoteObject> note(int32_t id, const std::string& text) {
    auto made = std::make_shared<NoteObject>();
    made->setN_id(id);
    made->setN_text(text);
    made->setN_summary(std::string());
    return made;
}

// The editor over the page, counting what it stores, showing note 1 (of the benchmark's size).
std::unique_ptr<zelvo::EditorViewController> editorShowingNote(benchmark::State& state,
                                                               int64_t& stored) {
    auto editor = benchsupport::editorOnPage(state, [&stored](const NoteObject&) {
        ++stored;
        return true;
    });
    if (!editor) return editor;
    editor->noteSelectionChanged(note(1, noteOf(int(state.range(0)))));
    benchsupport::settle(*editor);
    return editor;
}

const char* typeScript =
    "(function () { var p = document.querySelector('#zelvo_content p'); var r = "
    "document.createRange(); r.selectNodeContents(p); r.collapse(false); var s = getSelection(); "
    "s.removeAllRanges(); s.addRange(r); document.execCommand('insertText', false, ' \u1820'); "
    "return 1; })();";

void BM_EditorSwitchWithSave(benchmark::State& state) {
    int64_t stored = 0;
    auto editor = editorShowingNote(state, stored);
    if (!editor) return;
    std::string a = noteOf(int(state.range(0))), b = noteOf(int(state.range(0)) + 1);
    int32_t next = 2;
    for (auto _ : state) {
        state.PauseTiming();
        evaluateNow(*editor->webview(), typeScript);
        state.ResumeTiming();
        editor->noteSelectionChanged(note(next, next % 2 ? a : b));
        benchsupport::settle(*editor);
        ++next;
    }
    state.counters["saves"] = double(stored);
    state.SetLabel(std::to_string(a.size()) + " bytes");
}

void BM_RawPageStatements(benchmark::State& state) {
    auto web = benchsupport::bareEditorPage(state);
    if (!web) return;
    std::string a = noteOf(int(state.range(0))), b = noteOf(int(state.range(0)) + 1);
    evaluateNow(*web, "zelvo_editor.setHTML(" + platform::quoteJavaScriptString(a) + ");");
    evaluateNow(*web, "zelvo_editor.setEditable(true);");
    int next = 2;
    for (auto _ : state) {
        state.PauseTiming();
        evaluateNow(*web, typeScript);
        state.ResumeTiming();
        evaluateNow(*web, "zelvo_editor.setEditable(false);");
        auto edit = evaluateNow(*web, "zelvo_editor.editsSince(0);");
        // "<note id> <count> <markup>"
        std::string html =
            edit.value ? edit.value->substr(edit.value->find(' ', edit.value->find(' ') + 1) + 1)
                       : "";
        auto styled =
            evaluateNow(*web, "style_html(" + platform::quoteJavaScriptString(html) + ");");
        auto text = evaluateNow(*web, "zelvo_editor.getText();");
        benchmark::DoNotOptimize(styled);
        benchmark::DoNotOptimize(text);
        evaluateNow(*web, "zelvo_editor.setHTML(" +
                              platform::quoteJavaScriptString(next % 2 ? a : b) + ");");
        evaluateNow(*web, "zelvo_editor.setEditable(true);");
        ++next;
    }
}

// What the page shows, laid out: a note counts as open once the engine could draw it.
const char* layoutScript = "document.body.scrollWidth;";

// Opening a note: a switch from one note to another of the same size, neither edited, through
// the controller (the note left is asked for edits, the next one pushed in), until the page has
// laid out what it shows.
void BM_EditorOpenNote(benchmark::State& state) {
    int64_t stored = 0;
    auto editor = editorShowingNote(state, stored);
    if (!editor) return;
    std::string a = noteOf(int(state.range(0))), b = noteOf(int(state.range(0)) + 1);
    int32_t next = 2;
    for (auto _ : state) {
        editor->noteSelectionChanged(note(next, next % 2 ? a : b));
        benchsupport::settle(*editor);
        evaluateNow(*editor->webview(), layoutScript);
        ++next;
    }
    if (stored) state.SkipWithError("a note not edited was stored");
    state.SetLabel(std::to_string(a.size()) + " bytes");
}

// The floor under it: the same page given the same note and laying it out, with nothing of ours
// around it.
void BM_RawPageOpensNote(benchmark::State& state) {
    auto web = benchsupport::bareEditorPage(state);
    if (!web) return;
    std::string a = noteOf(int(state.range(0))), b = noteOf(int(state.range(0)) + 1);
    int next = 1;
    for (auto _ : state) {
        evaluateNow(*web, "zelvo_editor.setHTML(" +
                              platform::quoteJavaScriptString(next % 2 ? a : b) + ");");
        evaluateNow(*web, layoutScript);
        ++next;
    }
    state.SetLabel(std::to_string(a.size()) + " bytes");
}

}  // namespace

// Interleaved, so both sides see the same machine state at each size.
BENCHMARK(BM_EditorSwitchWithSave)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawPageStatements)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorSwitchWithSave)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawPageStatements)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorSwitchWithSave)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawPageStatements)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorOpenNote)->Arg(900)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawPageOpensNote)->Arg(900)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorOpenNote)->Arg(45000)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_RawPageOpensNote)->Arg(45000)->Unit(benchmark::kMillisecond)->Iterations(8);
