#pragma once

// Texts, attributes and checks shared by the layout tests; every measurement runs against the
// pinned fonts.

#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextLine.h"
#include "tests/platform/graphics/PinnedFonts.h"
#include "textview/TXTextLayout.h"

namespace fixtures {

using platform::AttributedString;
using platform::Font;
using platform::Rect;
using platform::TextAttributes;

// Mongolian words of clearly different lengths.
inline const std::u16string Mongol = u"\u182E\u1823\u1829\u182D\u1823\u182F";  // mongγol
inline const std::u16string Bichig = u"\u182A\u1822\u1834\u1822\u182D";        // bičig
inline const std::u16string Ba = u"\u182A\u1820";                              // ba
inline const std::u16string Bayarlalaa =
    u"\u182A\u1820\u1836\u1820\u1837\u182F\u1820\u182F\u1820\u1820";  // bayarlalaa

inline Font mongolian(double size = 22) {
    return *Font::fontWithName(Font::DisplayFontFamily, size);
}

// The attributes the text view gives a candidate list: the display font, a fixed line height.
inline TextAttributes candidateAttributes(double lineHeight = 30, double lineSpacing = 0,
                                          double size = 22) {
    TextAttributes a;
    a.font = mongolian(size);
    platform::ParagraphStyle style;
    style.minimumLineHeight = style.maximumLineHeight = lineHeight;
    style.lineSpacing = style.minimumLineSpacing = style.maximumLineSpacing = lineSpacing;
    a.paragraphStyle = style;
    return a;
}

// Numbered lines as the candidate window builds them: "k. word \n", the last without the break.
inline std::u16string candidateLines(const std::vector<std::u16string>& words) {
    std::u16string text;
    for (size_t i = 0; i < words.size(); ++i) {
        text += std::u16string(1, char16_t(u'1' + i)) + u". " + words[i];
        if (i + 1 < words.size()) text += u" \n";
    }
    return text;
}

inline double widthOf(const AttributedString& s) {
    return platform::TextLine::create(s)->typographicBounds(nullptr, nullptr, nullptr);
}

inline void expectRect(const Rect& actual, const Rect& expected, const std::string& what = "") {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, 0.01) << what;
    EXPECT_NEAR(actual.origin.y, expected.origin.y, 0.01) << what;
    EXPECT_NEAR(actual.size.width, expected.size.width, 0.01) << what;
    EXPECT_NEAR(actual.size.height, expected.size.height, 0.01) << what;
}

inline TXTextLayout updatedLayout(const AttributedString& text, Rect bounds, uint8_t mode = 0,
                                  uint8_t alignment = 0) {
    TXTextLayout layout(text);
    layout.setBounds(bounds);
    layout.setLineBreakMode(mode);
    layout.setTextAlignment(alignment);
    layout.update();
    return layout;
}

}  // namespace fixtures
