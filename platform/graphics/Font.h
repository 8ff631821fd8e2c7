#pragma once

#include <optional>
#include <string>

namespace platform {

// A font: a family found through fontconfig at a size in points, with the typographic metrics
// the text layout uses. A value; copies are cheap.
class Font {
  public:
    // The Mongolian display font and the font of the system's own labels.
    static constexpr const char* DisplayFontFamily = "Noto Sans Mongolian";
    static constexpr const char* SystemFontFamily = "DejaVu Sans";

    // The installed font whose family or PostScript name is `name`; absent when fontconfig
    // knows no such font (it would only offer a substitute).
    static std::optional<Font> fontWithName(const std::string& name, double size);
    static Font systemFont(double size);
    // The file of an installed family's regular face (the first fontconfig lists when there is
    // no regular one); absent when no installed font has that family.
    static std::optional<std::string> fileForFamily(const std::string& family);
    static double systemFontSize() { return 13.0; }
    static double labelFontSize() { return 10.0; }

    // The family the font was resolved to.
    const std::string& fontName() const { return m_family; }
    const std::string& familyName() const { return m_family; }
    double pointSize() const { return m_size; }

    // Distance above the baseline, below it (positive), and the extra line gap, in points.
    double ascent() const;
    double descent() const;
    double leading() const;

    bool operator==(const Font& other) const {
        return m_size == other.m_size && m_family == other.m_family;
    }

  private:
    Font(std::string family, double size) : m_family(std::move(family)), m_size(size) {}

    std::string m_family;
    double m_size = 0;
};

}  // namespace platform
