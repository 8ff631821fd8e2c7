#include "platform/web/webkit/WebContext.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/ui/gtk/ProcessEnvironment.h"

namespace platform::webkit {

namespace {

// The footprint past which the web process frees caches (conservative, then strict).
constexpr guint kWebProcessMemoryLimitMB = 160;

// Every load is blocked, then local ones let through again (the rule language has no "or").
constexpr const char kLocalLoadsOnly[] =
    R"([{"trigger":{"url-filter":".*"},"action":{"type":"block"}},)"
    R"({"trigger":{"url-filter":"^file:"},"action":{"type":"ignore-previous-rules"}},)"
    R"({"trigger":{"url-filter":"^data:"},"action":{"type":"ignore-previous-rules"}},)"
    R"({"trigger":{"url-filter":"^blob:"},"action":{"type":"ignore-previous-rules"}},)"
    R"({"trigger":{"url-filter":"^about:"},"action":{"type":"ignore-previous-rules"}}])";

}  // namespace

WebKitWebContext* sharedWebContext() {
    static WebKitWebContext* context = [] {
        // Every page is drawn in software (hardware acceleration is off for each). Told so before
        // the context exists, WebKit's side in this process does not open an EGL display, and
        // with it Mesa and LLVM, only to choose a GPU device and buffer format no page uses.
        gtk::setOwnEnvironment("WEBKIT_DISABLE_DMABUF_RENDERER", "1");
        gtk::setOwnEnvironment("WEBKIT_WEB_RENDER_DEVICE_FILE", "/dev/null");
        // The smallest caches (the document-viewer model), and memory given back early. The
        // pages keep nothing between runs, so the engine keeps its caches and site data in memory
        // and writes nothing beside the user's notes, nor fails on a read-only home.
        WebKitMemoryPressureSettings* pressure = webkit_memory_pressure_settings_new();
        webkit_memory_pressure_settings_set_memory_limit(pressure, kWebProcessMemoryLimitMB);
        WebKitWebsiteDataManager* inMemory = webkit_website_data_manager_new_ephemeral();
        auto* made =
            WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "memory-pressure-settings",
                                            pressure, "website-data-manager", inMemory, nullptr));
        g_object_unref(inMemory);
        webkit_memory_pressure_settings_free(pressure);
        webkit_web_context_set_cache_model(made, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
        return made;
    }();
    return context;
}

namespace {

// The one compilation of the load rules, shared with the engine's callback.
struct Compilation {
    bool done = false;
    std::vector<std::function<void(WebKitUserContentFilter*)>> waiting;
    WebKitUserContentFilter* filter = nullptr;
    WebKitUserContentFilterStore* store = nullptr;
    std::string folder;
};

std::shared_ptr<Compilation>& compilation() {
    static std::shared_ptr<Compilation> only;
    return only;
}

}  // namespace

void compileLocalLoadsOnlyFilter() {
    if (compilation()) return;
    auto state = std::make_shared<Compilation>();
    compilation() = state;
    // The engine compiles rules into a folder of files; a private one, gone again once the
    // compiled rules are held, so nothing stays behind.
    GError* error = nullptr;
    gchar* folder = g_dir_make_tmp("zelvo-rules-XXXXXX", &error);
    if (!folder) {
        logf("WebView: no folder to compile the load rules in: %s", error->message);
        g_error_free(error);
        state->done = true;
        return;
    }
    state->folder = folder;
    g_free(folder);
    state->store = webkit_user_content_filter_store_new(state->folder.c_str());
    GBytes* rules = g_bytes_new_static(kLocalLoadsOnly, sizeof kLocalLoadsOnly - 1);
    webkit_user_content_filter_store_save(
        state->store, "local-loads-only", rules, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::shared_ptr<Compilation>> holder(
                static_cast<std::shared_ptr<Compilation>*>(data));
            Compilation& made = **holder;
            GError* failure = nullptr;
            made.filter = webkit_user_content_filter_store_save_finish(
                WEBKIT_USER_CONTENT_FILTER_STORE(source), result, &failure);
            if (failure) {
                logf("WebView: the load rules did not compile: %s", failure->message);
                g_error_free(failure);
            }
            g_clear_object(&made.store);
            std::error_code ignored;
            std::filesystem::remove_all(made.folder, ignored);
            made.done = true;
            std::vector<std::function<void(WebKitUserContentFilter*)>> waiting;
            waiting.swap(made.waiting);
            for (auto& ready : waiting) ready(made.filter);
        },
        new std::shared_ptr<Compilation>(state));
    g_bytes_unref(rules);
}

void whenLocalLoadsOnlyFilterCompiled(std::function<void(WebKitUserContentFilter*)> ready) {
    compileLocalLoadsOnlyFilter();
    std::shared_ptr<Compilation> state = compilation();
    if (state->done) return ready(state->filter);
    state->waiting.push_back(std::move(ready));
}

}  // namespace platform::webkit
