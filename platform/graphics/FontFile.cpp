#include <fontconfig/fontconfig.h>

#include <memory>

#include "platform/graphics/Font.h"

namespace platform {

std::optional<std::string> Font::fileForFamily(const std::string& family) {
    struct PatternDeleter {
        void operator()(FcPattern* p) const { FcPatternDestroy(p); }
    };
    struct ObjectSetDeleter {
        void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
    };
    struct FontSetDeleter {
        void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
    };
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> properties(
        FcObjectSetBuild(FC_FILE, FC_STYLE, nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
        FcFontList(nullptr, pattern.get(), properties.get()));
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
