#pragma once

// The editor controller over the real editor page of the source tree, its page loaded, and the
// page alone: what the editor benchmarks measure through. Needs MW_ZELVO_RESOURCES and a display.

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "notes/UI/EditorViewController.h"
#include "platform/web/webkit/WebKitBackend.h"
#include "tests/support/WebViewWaits.h"

namespace benchsupport {

// A web view on the real engine, or none (and the benchmark skipped) without a display.
inline std::unique_ptr<platform::WebView> newPage(benchmark::State& state) {
    // The web engine for the page made here, which needs it no longer once made.
    platform::ScopedBackends engine;
    platform::webkit::install(*engine);
    auto web = platform::WebView::create();
    if (!web) state.SkipWithError("no display");
    return web;
}

// The services point at the page; `updateNote` stores the note.
inline std::unique_ptr<zelvo::EditorViewController> editorOnPage(
    benchmark::State& state, std::function<bool(const NoteObject&)> updateNote) {
    zelvo::EditorServices services;
    services.editorPagePath = std::string(MW_ZELVO_RESOURCES) + "/editor.html";
    services.updateNote = std::move(updateNote);
    auto web = newPage(state);
    if (!web) return nullptr;
    auto editor = std::make_unique<zelvo::EditorViewController>(std::move(web), services);
    editor->view();
    waitForLoad(*editor->webview());
    return editor;
}

// Runs the loop until the editor's page operations (a switch, a save) are done.
inline void settle(zelvo::EditorViewController& editor) {
    turnTheLoopUntil([&] { return !editor.isBusy(); }, std::chrono::minutes(5));
}

// The same page alone, loaded, with nothing of the controller around it: the floor.
inline std::unique_ptr<platform::WebView> bareEditorPage(benchmark::State& state) {
    auto web = newPage(state);
    if (!web) return nullptr;
    web->loadFileURL(std::string(MW_ZELVO_RESOURCES) + "/editor.html");
    waitForLoad(*web);
    return web;
}

}  // namespace benchsupport
