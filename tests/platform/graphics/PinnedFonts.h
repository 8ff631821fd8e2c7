#pragma once

// Every test that measures text runs against the same fonts: a fontconfig setup of its own that
// knows only the Noto and DejaVu folders, with DejaVu Sans as the fallback of the Mongolian font.
// It must be in place before the first font is loaded, so each such test starts with
// REQUIRE_PINNED_FONTS().

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace testfonts {

inline constexpr const char* NotoFolder = "/usr/share/fonts/truetype/noto";
inline constexpr const char* DejaVuFolder = "/usr/share/fonts/truetype/dejavu";

inline bool fontsPresent() {
    namespace fs = std::filesystem;
    return fs::exists(fs::path(NotoFolder) / "NotoSansMongolian-Regular.ttf") &&
           fs::exists(fs::path(DejaVuFolder) / "DejaVuSans.ttf");
}

inline bool pinFonts() {
    static const bool pinned = [] {
        if (!fontsPresent()) return false;
        namespace fs = std::filesystem;
        fs::path folder = fs::temp_directory_path() / ("mw-fonts-" + std::to_string(getuid()));
        fs::create_directories(folder / "cache");
        fs::path file = folder / ("fonts-" + std::to_string(getpid()) + ".conf");
        std::ofstream out(file);
        out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
            << "  <dir>" << NotoFolder << "</dir>\n  <dir>" << DejaVuFolder << "</dir>\n"
            << "  <cachedir>" << (folder / "cache").string() << "</cachedir>\n"
            << "  <cachedir>/var/cache/fontconfig</cachedir>\n"
            << "  <alias binding=\"same\"><family>Noto Sans Mongolian</family>"
               "<default><family>DejaVu Sans</family></default></alias>\n"
            << "  <alias binding=\"same\"><family>sans-serif</family>"
               "<prefer><family>DejaVu Sans</family></prefer></alias>\n"
            << "</fontconfig>\n";
        out.close();
        setenv("FONTCONFIG_FILE", file.c_str(), 1);
        return true;
    }();
    return pinned;
}

}  // namespace testfonts

#define REQUIRE_PINNED_FONTS()                                                                  \
    do {                                                                                        \
        if (!testfonts::pinFonts())                                                             \
            GTEST_SKIP() << "fonts-noto-core and fonts-dejavu-core are not installed (need "    \
                         << testfonts::NotoFolder << " and " << testfonts::DejaVuFolder << ")"; \
    } while (0)
