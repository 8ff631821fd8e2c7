#include <gtest/gtest.h>

#include "platform/richtext/HTMLReader.h"
#include "platform/richtext/RTFWriter.h"

using namespace platform;

TEST(RTFWriter, EscapesEveryUnitBeyondASCIIAndTheSyntaxCharacters) {
    EXPECT_EQ(rtfEscaped("a{b}c\\d"), "a\\{b\\}c\\\\d");
    EXPECT_EQ(rtfEscaped("\t\n"), "\\tab \\line ");
    EXPECT_EQ(rtfEscaped(std::string("a\x01\x7F"
                                     "b")),
              "ab");
    EXPECT_EQ(rtfEscaped("\u00E9"), "{\\u233?}");
    EXPECT_EQ(rtfEscaped("\u7FFF\u8000\uFFFD"), "{\\u32767?\\u-32768?\\u-3?}");
    // Outside the basic plane: the two surrogates, both negative.
    EXPECT_EQ(rtfEscaped("\U0001D11E"), "{\\u-10188?\\u-8930?}");
    // Mongolian with the narrow no-break space and a variation selector, then ASCII again.
    EXPECT_EQ(rtfEscaped("\u1824\u202F\u180B x"), "{\\u6180?\\u8239?\\u6155?} x");
}

TEST(RTFWriter, DocumentIsASCIIWithBalancedGroups) {
    RichText text =
        readHTML("<h1>{</h1><p>\\}<b>\u1828</b><a href=\"h\">\u00E9</a></p><ul><li>}</li></ul>");
    std::string rtf = rtfData(text);
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(rtf[i]);
        ASSERT_LT(c, 0x80) << "at " << i;
        if (c == '\\') {
            ++i;  // an escaped character or the first letter of a control word
            continue;
        }
        if (c == '{') ++depth;
        if (c == '}') --depth;
        ASSERT_GE(depth, 0) << rtf;
    }
    EXPECT_EQ(depth, 0) << rtf;
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
}

TEST(RTFWriter, PicturesAreEmbeddedAsHexWithTheirSizes) {
    const char* png =
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5Erk"
        "Jggg==";
    RichText text = readHTML(std::string("<img src=\"data:image/png;base64,") + png +
                             "\" width=\"20\" height=\"10\"><img src=\"x.gif\">");
    std::string rtf = rtfData(text);
    EXPECT_NE(
        rtf.find("{\\pict\\pngblip\\picw1\\pich1\\picwgoal300\\pichgoal150\n89504e470d0a1a0a"),
        std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("ae426082\n}"), std::string::npos) << "the PNG's last bytes end the group";
    EXPECT_EQ(rtf.find("\\pict", rtf.find("\\pict") + 1), std::string::npos)
        << "an unreadable picture is left out";
    // One side given: the other follows the picture's proportions.
    RichImage wide;
    wide.format = RichImage::Format::JPEG;
    wide.data = {0xFF, 0xD8};
    wide.pixelWidth = 200;
    wide.pixelHeight = 100;
    wide.requestedWidth = 50;
    RichText withWide;
    withWide.paragraphs.push_back(RichParagraph{0, {}, 0, 0, {RichRun{"", {}, wide}}});
    EXPECT_NE(rtfData(withWide).find("\\jpegblip\\picw200\\pich100\\picwgoal750\\pichgoal375"),
              std::string::npos);
}

// Bold, italic and size go out twice: as the ordinary properties and as the "associated" ones
// that word processors apply to complex-script text such as Mongolian.
TEST(RTFWriter, HeadingsListsAndLinksCarryTheirFormatting) {
    std::string rtf = rtfData(
        readHTML("<h3>t</h3><ol><li>a</li></ol><p><a href='u\"v'>l</a><sub>s</sub><b>b</b><i>i</i>"
                 "</p>"),
        {"F", 10});
    EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset0 F;}"), std::string::npos);
    EXPECT_NE(rtf.find("\\pard\\plain\\rtlch\\af0\\afs23\\ab\\ltrch\\f0\\fs23\\b t\\par"),
              std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("\\pard\\plain\\rtlch\\af0\\afs20\\ltrch\\f0\\fs20 "), std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("{\\rtlch\\ab\\ltrch\\b b}{\\rtlch\\ai\\ltrch\\i i}"), std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("\\tx720\\fi-360\\li720 1.\\tab a\\par"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\field{\\*\\fldinst{HYPERLINK \"u%22v\"}}{\\fldrslt{{\\ul\\cf1 l}}}}"
                       "{\\sub s}"),
              std::string::npos)
        << rtf;
}
