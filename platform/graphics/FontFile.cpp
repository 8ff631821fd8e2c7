#include <fontconfig/fontconfig.h>

#include "platform/foundation/Owned.h"
#include "platform/graphics/Font.h"

namespace platform {

std::optional<std::string> Font::fileForFamily(const std::string& family) {
    Owned<FcPattern, FcPatternDestroy> pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    Owned<FcObjectSet, FcObjectSetDestroy> properties(FcObjectSetBuild(FC_FILE, FC_STYLE, nullptr));
    Owned<FcFontSet, FcFontSetDestroy> fonts(FcFontList(nullptr, pattern.get(), properties.get()));
    if (!fonts) return std::nullopt;
    std::optional<std::string> first;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8* file = nullptr;
        FcChar8* style = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
        std::string path(reinterpret_cast<const char*>(file));
        if (FcPatternGetString(fonts->fonts[i], FC_STYLE, 0, &style) == FcResultMatch &&
            std::string(reinterpret_cast<const char*>(style)) == "Regular") {
            return path;
        }
        if (!first) first = path;
    }
    return first;
}

}  // namespace platform
