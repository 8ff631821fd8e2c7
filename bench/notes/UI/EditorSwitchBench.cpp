// Switching between two notes through the real editor page: the edited note is read back,
// formatted and stored, then the next note is pushed in and read back once as the page holds it.
// Beside it, the same page statements sent straight to the engine, without the controller, as the
// floor.
#include <benchmark/benchmark.h>

#include "bench/notes/UI/EditorOnPage.h"
#include "notes/UI/EditorViewController.h"
#include "platform/web/JavaScriptString.h"
#include "platform/web/webkit/WebKitBackend.h"

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

const char* typeScript =
    "(function () { var p = document.querySelector('#zelvo_content p'); var r = "
    "document.createRange(); r.selectNodeContents(p); r.collapse(false); var s = getSelection(); "
    "s.removeAllRanges(); s.addRange(r); document.execCommand('insertText', false, ' \u1820'); "
    "return 1; })();";

void BM_EditorSwitchWithSave(benchmark::State& state) {
    int64_t stored = 0;
    auto editor = benchsupport::editorOnPage(state, [&stored](const NoteObject&) {
        ++stored;
        return true;
    });
    if (!editor) return;
    std::string a = noteOf(int(state.range(0))), b = noteOf(int(state.range(0)) + 1);
    editor->noteSelectionChanged(note(1, a));
    int32_t next = 2;
    for (auto _ : state) {
        state.PauseTiming();
        editor->webview()->evaluateJavaScript(typeScript);
        state.ResumeTiming();
        editor->noteSelectionChanged(note(next, next % 2 ? a : b));
        ++next;
    }
    state.counters["saves"] = double(stored);
    state.SetLabel(std::to_string(a.size()) + " bytes");
}

void BM_RawPageStatements(benchmark::State& state) {
    platform::webkit::install();
    auto web = platform::WebView::create();
    if (!web) {
        state.SkipWithError("no display");
        return;
    }
    web->loadFileURL(std::string(MW_ZELVO_RESOURCES) + "/editor.html");
    web->waitForLoad();
    std::string a = noteOf(int(state.range(0))), b = noteOf(int(state.range(0)) + 1);
    web->evaluateJavaScript("zelvo_editor.setHTML(" + platform::quoteJavaScriptString(a) + ");");
    int next = 2;
    for (auto _ : state) {
        state.PauseTiming();
        web->evaluateJavaScript(typeScript);
        state.ResumeTiming();
        auto html = web->evaluateJavaScript("zelvo_editor.getHTML();");
        auto styled = web->evaluateJavaScript("style_html(" +
                                              platform::quoteJavaScriptString(*html.value) + ");");
        auto text = web->evaluateJavaScript("zelvo_editor.getText();");
        benchmark::DoNotOptimize(styled);
        benchmark::DoNotOptimize(text);
        web->evaluateJavaScript("zelvo_editor.setHTML(" +
                                platform::quoteJavaScriptString(next % 2 ? a : b) + ");");
        web->evaluateJavaScript("zelvo_editor.setEditable(true);");
        // What the page made of the note: an edit is measured against it.
        benchmark::DoNotOptimize(web->evaluateJavaScript("zelvo_editor.getHTML();"));
        ++next;
    }
}

}  // namespace

// Interleaved, so both sides see the same machine state at each size.
BENCHMARK(BM_EditorSwitchWithSave)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawPageStatements)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorSwitchWithSave)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawPageStatements)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorSwitchWithSave)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawPageStatements)->Arg(1000)->Unit(benchmark::kMillisecond);
