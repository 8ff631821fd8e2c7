#include "platform/web/webkit/WebContext.h"

#include "platform/ui/gtk/ProcessEnvironment.h"

namespace platform::webkit {

namespace {

// The footprint past which the web process frees caches (conservative, then strict).
constexpr guint kWebProcessMemoryLimitMB = 160;

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

}  // namespace platform::webkit
