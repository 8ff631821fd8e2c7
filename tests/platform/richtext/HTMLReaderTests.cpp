#include <gtest/gtest.h>

#include <fstream>

#include "platform/richtext/HTMLReader.h"
#include "platform/richtext/PlainTextWriter.h"
#include "platform/richtext/RTFWriter.h"
#include "tests/support/TemporaryFolder.h"

using namespace platform;

namespace {

std::string textOf(const std::string& html) {
    return plainText(readHTML(html));
}

// A 1 × 1 PNG.
const char* kPixelPNG =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+"
    "M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==";

}  // namespace

TEST(HTMLReader, WhiteSpaceCollapsesAndBlocksEndLinesAsInABrowser) {
    EXPECT_EQ(textOf(""), "");
    EXPECT_EQ(textOf("   \n  "), "");
    EXPECT_EQ(textOf("<p>  a \n\t b  </p>"), "a b\n");
    EXPECT_EQ(textOf("<b>a</b> <i>b</i>"), "a b\n");
    // Nested blocks make no empty lines; an empty block makes none either.
    EXPECT_EQ(textOf("<div><div><p>a</p></div></div><p></p><div>b</div>"), "a\nb\n");
    // Text directly in the root and in the divisions a typing user makes.
    EXPECT_EQ(textOf("first<div>second</div><div>third</div>"), "first\nsecond\nthird\n");
    // A <br> at the end of a block makes no line; a block held open by one <br> is an empty line.
    EXPECT_EQ(textOf("<div>a<br></div><div><br></div><div>b<br><br></div>"), "a\n\nb\n\n");
    EXPECT_EQ(textOf("a<br>  b"), "a\nb\n");
    // Preformatted text keeps its blanks and line ends.
    EXPECT_EQ(textOf("<pre>a  b\n  c</pre>"), "a  b\n  c\n");
    // Entities, the no-break spaces and Mongolian marks are content, not white space.
    EXPECT_EQ(textOf("<p>&lt;a&gt; &amp;&nbsp;\u202F\u180B</p>"), "<a> &\u00A0\u202F\u180B\n");
}

TEST(HTMLReader, HiddenPartsOfThePageAreLeftOut) {
    EXPECT_EQ(textOf("<html><head><title>T</title><style>p{}</style></head>"
                     "<body><script>var a = 1;</script><p>shown</p></body></html>"),
              "shown\n");
    EXPECT_EQ(textOf("<p>a<!-- note -->b</p>"), "ab\n");
}

TEST(HTMLReader, ListsNumberTheirItemsAndNestedListsChangeTheMarker) {
    EXPECT_EQ(textOf("<ul><li>a</li><li>b<ul><li>c<ul><li>d</li></ul></li></ul></li></ul>"),
              "\t\u2022\ta\n\t\u2022\tb\n\t\u25E6\tc\n\t\u25AA\td\n");
    EXPECT_EQ(textOf("<ol start=\"9\"><li>a</li><li>b</li></ol><ol><li>c</li></ol>"),
              "\t9.\ta\n\t10.\tb\n\t1.\tc\n");
    // The marker goes with the item's first paragraph, and an empty item still shows it.
    EXPECT_EQ(textOf("<ol><li><p>a</p><p>b</p></li><li></li></ol>"), "\t1.\ta\nb\n\t2.\t\n");
    RichText text = readHTML("<ul><li>a<ul><li>b</li></ul>after</li></ul>");
    ASSERT_EQ(text.paragraphs.size(), 3u);
    EXPECT_EQ(text.paragraphs[1].listDepth, 2);
    EXPECT_FALSE(text.paragraphs[2].listMarker);
    EXPECT_EQ(text.paragraphs[2].listDepth, 1);
}

TEST(HTMLReader, CharacterStylesComeFromElementsAndInlineStyles) {
    RichText text = readHTML(
        "<p><b>b</b><strong><em>bi</em></strong><span style=\"font-weight:700;"
        "text-decoration: underline line-through\">us</span><u><s>x</s></u>"
        "<sup>2</sup><span style=\"vertical-align: sub\">3</span>"
        "<b><span style=\"font-weight: normal\">n</span></b><a "
        "href=\"http://a\">l<i>i</i></a></p>");
    ASSERT_EQ(text.paragraphs.size(), 1u);
    const auto& runs = text.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 9u);
    EXPECT_TRUE(runs[0].style.bold && !runs[0].style.italic);
    EXPECT_TRUE(runs[1].style.bold && runs[1].style.italic);
    EXPECT_TRUE(runs[2].style.bold && runs[2].style.underline && runs[2].style.strikethrough);
    EXPECT_TRUE(runs[3].style.underline && runs[3].style.strikethrough && !runs[3].style.bold);
    EXPECT_EQ(runs[4].style.script, CharacterStyle::Script::Superscript);
    EXPECT_EQ(runs[5].style.script, CharacterStyle::Script::Subscript);
    EXPECT_FALSE(runs[6].style.bold);
    EXPECT_EQ(runs[7].style.link, "http://a");
    EXPECT_EQ(runs[8].style.link, "http://a");
    EXPECT_TRUE(runs[8].style.italic);
}

TEST(HTMLReader, HeadingsQuotationsAndTableCells) {
    RichText text = readHTML(
        "<h2>h</h2><blockquote><p>q</p></blockquote><table><tr><td>a</td><td>b</td></tr></table>");
    ASSERT_EQ(text.paragraphs.size(), 3u);
    EXPECT_EQ(text.paragraphs[0].headingLevel, 2);
    EXPECT_EQ(text.paragraphs[1].headingLevel, 0);
    EXPECT_EQ(text.paragraphs[1].quoteDepth, 1);
    EXPECT_EQ(plainText(text), "h\nq\na\tb\n");
}

TEST(HTMLReader, PicturesFromDataURLsAndFilesWithTheirSizes) {
    RichText text = readHTML(std::string("<p>a <img src=\"data:image/png;base64,") + kPixelPNG +
                             "\" width=\"40\" alt=\"dot\"> b</p>");
    ASSERT_EQ(text.paragraphs.size(), 1u);
    ASSERT_EQ(text.paragraphs[0].runs.size(), 3u);
    const RichImage& image = *text.paragraphs[0].runs[1].image;
    EXPECT_EQ(image.format, RichImage::Format::PNG);
    EXPECT_EQ(image.pixelWidth, 1u);
    EXPECT_EQ(image.pixelHeight, 1u);
    EXPECT_EQ(image.requestedWidth, 40u);
    EXPECT_FALSE(image.requestedHeight);
    EXPECT_EQ(image.alt, "dot");
    EXPECT_EQ(plainText(text), "a \uFFFC b\n");

    // A JPEG file by relative path and by file URL: the size comes from its frame header.
    TemporaryFolder folder("richtext");
    const unsigned char jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00,
                                  0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x30, 0x00,
                                  0x50, 0x01, 0x01, 0x11, 0x00, 0xFF, 0xD9};
    std::ofstream(folder.file("p.jpg"), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg), sizeof jpeg);
    HTMLReadOptions options{folder.path()};
    for (std::string source : {std::string("p.jpg"), "file://" + folder.file("p.jpg")}) {
        RichText withFile = readHTML("<img src=\"" + source + "\">", options);
        const RichImage& picture = *withFile.paragraphs.at(0).runs.at(0).image;
        EXPECT_EQ(picture.format, RichImage::Format::JPEG) << source;
        EXPECT_EQ(picture.pixelWidth, 80u);
        EXPECT_EQ(picture.pixelHeight, 48u);
        EXPECT_EQ(picture.data.size(), sizeof jpeg);
    }
    // No base folder, a network address, a missing file or a GIF: a placeholder with no bytes
    // to embed.
    for (std::string source : {std::string("p.jpg"), std::string("http://example.org/p.png"),
                               "file://" + folder.file("missing.png"),
                               std::string("data:image/gif;base64,R0lGODlhAQABAAAAACw=")}) {
        RichText unreadable = readHTML("<img src=\"" + source + "\">");
        ASSERT_EQ(unreadable.paragraphs.size(), 1u) << source;
        EXPECT_FALSE(unreadable.paragraphs[0].runs.at(0).image->isEmbeddable()) << source;
    }
}

// A source naming a folder (".", a file URL ending in "/") opens like a file but cannot be read:
// the note is still read, the picture a placeholder with no bytes.
TEST(HTMLReader, APictureWhoseSourceIsAFolderIsAPlaceholder) {
    TemporaryFolder folder("richtext");
    HTMLReadOptions options{folder.path()};
    for (std::string source : {std::string("."), "file://" + folder.path().string() + "/"}) {
        RichText text;
        ASSERT_NO_THROW(text = readHTML("<p>a<img src=\"" + source + "\"></p>", options)) << source;
        ASSERT_EQ(text.paragraphs.size(), 1u) << source;
        ASSERT_EQ(text.paragraphs[0].runs.size(), 2u) << source;
        EXPECT_FALSE(text.paragraphs[0].runs[1].image->isEmbeddable()) << source;
    }
}

TEST(HTMLReader, BrokenMarkupIsRecovered) {
    EXPECT_EQ(textOf("<p>a<b>b<i>c</p><p>d"), "abc\nd\n");
    EXPECT_EQ(textOf("<div>x</span></div>y"), "x\ny\n");
}

// Every writer of a note must hold the same characters as the note: bytes that are not UTF-8 read
// as U+FFFD each, as the editor reads them, and characters libxml2 would drop are kept.
TEST(HTMLReader, MalformedBytesAndCharactersXmlRefusesReadAsTheNoteHoldsThem) {
    RichText rich = readHTML("<p><b>x\xd1</b>\xa0y</p>");
    EXPECT_EQ(plainText(rich), "x\uFFFD\uFFFDy\n") << "no character made of two runs' bytes";
    EXPECT_NE(rtfData(rich).find("x{\\u-3?}}{\\u-3?}y"), std::string::npos) << rtfData(rich);
    EXPECT_EQ(textOf("<div>a\uFFFFb\uFFFEc\x01"
                     "d\x0c"
                     "e</div>"),
              "a\uFFFFb\uFFFEc\x01"
              "d e\n");
    // The private-use characters that carry those through the parser stand for themselves too.
    EXPECT_EQ(textOf("<div>\U0010FFFD\U0010FF01</div>"), "\U0010FFFD\U0010FF01\n");
}
