#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/web/WebView.h"
#include "tests/support/MainLoopWait.h"
#include "tests/support/Patience.h"

// A page's answers awaited by turning the main loop, as a test (or a benchmark) reads them; an
// answer that comes after the patience ran out is dropped.

// Whether the page finished loading, and without failing.
inline bool waitForLoad(platform::WebView& page, std::chrono::milliseconds patience = kPatience) {
    return turnTheLoopUntil([&] { return !page.isLoading(); }, patience) && !page.loadFailed();
}

// The statement's answer; TimedOut when it did not come in time.
inline platform::JavaScriptResult evaluateNow(platform::WebView& page, const std::string& script,
                                              std::chrono::milliseconds patience = kPatience) {
    auto answer = std::make_shared<std::optional<platform::JavaScriptResult>>();
    page.evaluateJavaScript(
        script, [answer](const platform::JavaScriptResult& result) { *answer = result; });
    if (turnTheLoopUntil([&] { return answer->has_value(); }, patience)) return **answer;
    platform::JavaScriptResult late;
    late.status = platform::JavaScriptResult::Status::TimedOut;
    late.error = "the page did not answer in time";
    return late;
}

// What the visible part of the page shows; absent when the engine drew nothing in time.
inline std::optional<platform::Image> snapshotNow(platform::WebView& page,
                                                  std::chrono::milliseconds patience = kPatience) {
    auto picture = std::make_shared<std::optional<std::optional<platform::Image>>>();
    page.snapshot([picture](std::optional<platform::Image> taken) { *picture = std::move(taken); });
    if (!turnTheLoopUntil([&] { return picture->has_value(); }, patience)) return std::nullopt;
    return **picture;
}

// Whether the page was printed into the PDF file in time; `failure` gets the printer's reason.
inline bool printToPDFNow(platform::WebView& page, const std::string& path,
                          const platform::PrintSetup& setup = {},
                          std::chrono::milliseconds patience = kPatience,
                          std::string* failure = nullptr) {
    struct Outcome {
        bool done = false, printed = false;
        std::string failure;
    };
    auto outcome = std::make_shared<Outcome>();
    page.printToPDF(path, setup, [outcome](bool printed, const std::string& why) {
        *outcome = Outcome{true, printed, why};
    });
    bool finished = turnTheLoopUntil([&] { return outcome->done; }, patience);
    if (failure) *failure = finished ? outcome->failure : "the page was not printed in time";
    return finished && outcome->printed;
}
