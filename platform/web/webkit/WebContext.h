#pragma once

#include <webkit2/webkit2.h>

#include <functional>

namespace platform::webkit {

// The one web context of the program, made on first use and kept for its life. Its pages are
// documents of the program's own, shown once and drawn in software.
WebKitWebContext* sharedWebContext();

// The rule every page of the program keeps to: nothing is loaded but local files and what the
// page holds itself (data:, blob:, about:), whatever the page refers to. Compiling it starts
// at the first call of either, in the background; the second hands the rule over once compiled,
// at once when it is already: null (with a log line) when the engine could not compile it.
void compileLocalLoadsOnlyFilter();
void whenLocalLoadsOnlyFilterCompiled(std::function<void(WebKitUserContentFilter*)> ready);

}  // namespace platform::webkit
