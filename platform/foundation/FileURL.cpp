#include "platform/foundation/FileURL.h"

#include <glib.h>

#include "platform/foundation/Owned.h"

namespace platform {

std::optional<std::string> fileURL(const std::filesystem::path& path) {
    Owned<gchar, g_free> uri(g_filename_to_uri(path.c_str(), nullptr, nullptr));
    if (!uri) return std::nullopt;
    return std::string(uri.get());
}

}  // namespace platform
