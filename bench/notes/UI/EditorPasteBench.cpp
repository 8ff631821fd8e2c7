// Pasting 1 MB of rich HTML into a note through the real editor page, from the paste event to the
// page laid out with the paste in it; beside it, the same markup put in by the engine's parser
// alone, as the floor. The engine sanitises the markup when it is put on the clipboard (about a
// second for 1 MB, whoever pastes it): that is done once, before the runs.
#include <benchmark/benchmark.h>

#include "bench/notes/UI/EditorOnPage.h"
#include "platform/web/JavaScriptString.h"
#include "tests/support/WebViewWaits.h"

namespace {

// About 1 MB of paragraphs, each holding one "</i> <span>" boundary among plain words.
std::string pastedMarkup() {
    std::string words;
    for (int k = 0; k < 40; ++k)
        words += "\u182E\u1823\u1829\u182D\u1823\u182F \u182A\u1822\u1834\u1822\u182D ";
    std::string html = "<meta charset=\"utf-8\">";
    for (int i = 0; i < 410; ++i)
        html +=
            "<p>" + words + "<i>\u182E\u1823\u1829\u182D\u1823\u182F" + std::to_string(i) +
            "</i> <span style=\"color: rgb(30, 32, 40);\">\u182A\u1822\u1834\u1822\u182D</span> " +
            words + "</p>\n";
    return html;
}

// A page with the markup to paste on a clipboard of its own, `pasted`.
std::unique_ptr<platform::WebView> pageReadyToPaste(benchmark::State& state) {
    auto web = benchsupport::bareEditorPage(state);
    if (!web) return nullptr;
    std::string html = pastedMarkup();
    evaluateNow(*web, "var pasted = new DataTransfer(); pasted.setData('text/html', " +
                          platform::quoteJavaScriptString(html) + "); 1;");
    evaluateNow(*web, "zelvo_editor.setEditable(true);");
    state.SetLabel(std::to_string(html.size()) + " bytes");
    return web;
}

// A short note with a word selected.
const char* selectScript =
    "zelvo_editor.setHTML('<p>\u1821\u1828\u1833\u1821 here</p>'); var t = "
    "document.querySelector('#zelvo_content p').firstChild; var r = document.createRange(); "
    "r.setStart(t, 5); r.setEnd(t, 9); getSelection().removeAllRanges(); "
    "getSelection().addRange(r); document.body.scrollWidth;";

// Each run: the short note with a word selected (not timed), then `paste` in its place until
// the page has laid it out.
void timePastes(benchmark::State& state, const char* paste) {
    auto web = pageReadyToPaste(state);
    if (!web) return;
    for (auto _ : state) {
        state.PauseTiming();
        evaluateNow(*web, selectScript);
        state.ResumeTiming();
        evaluateNow(*web, paste);
    }
}

void BM_PasteRichHTML(benchmark::State& state) {
    timePastes(state,
               "document.getElementById('zelvo_content').dispatchEvent(new ClipboardEvent('paste', "
               "{clipboardData: pasted, bubbles: true, cancelable: true})); "
               "document.body.scrollWidth;");
}

void BM_RawParserInsertion(benchmark::State& state) {
    timePastes(state,
               "var range = getSelection().getRangeAt(0).cloneRange(); range.deleteContents(); "
               "range.insertNode(range.createContextualFragment(pasted.getData('text/html'))); "
               "document.body.scrollWidth;");
}

}  // namespace

BENCHMARK(BM_PasteRichHTML)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawParserInsertion)->Unit(benchmark::kMillisecond)->Iterations(3);
