#include <gtest/gtest.h>

#include <fstream>

#include "notes/UI/SourceTextView/SourceBuffer.h"
#include "notes/UI/SourceTextView/SourceKeywords.h"
#include "platform/foundation/UnicodeString.h"
#include "tests/support/TemporaryFolder.h"

using namespace zelvo;
using platform::Color;
using platform::Range;

namespace {

const Color kRed = Color::calibratedRGB(1, 0, 0);
const Color kGreen = Color::calibratedRGB(0, 1, 0);

// The coloured pieces as "text=r,g,b" (components rounded to two places).
std::vector<std::string> colored(const SourceBuffer& buffer) {
    std::vector<std::string> out;
    for (const SourceColorSpan& span : buffer.foregroundSpans()) {
        char components[64];
        snprintf(components, sizeof components, "%.2f,%.2f,%.2f", span.color.red, span.color.green,
                 span.color.blue);
        out.push_back(
            platform::utf8FromUtf16(buffer.text().substr(span.range.location, span.range.length)) +
            "=" + components);
    }
    return out;
}

using Pieces = std::vector<std::string>;

}  // namespace

TEST(SourceBuffer, TokensTakeTheirColoursAndKeywordsAreWholeWords) {
    SourceBuffer buffer;
    buffer.setLanguage(4);
    buffer.setKeywordColors(std::map<std::string, Color>{{"lua", kRed}, {"#div", kGreen}});
    buffer.setSource(u"lua lua1 _lua Lua #div \"lua\" -- lua\n'x'");
    EXPECT_EQ(colored(buffer),
              (Pieces{"lua=1.00,0.00,0.00", "#div=0.00,1.00,0.00", "\"lua\"=0.60,0.30,0.00",
                      "-- lua=0.33,0.33,0.33", "'x'=0.60,0.30,0.00"}));
    // Without keyword colours no word is coloured; strings and comments still are.
    buffer.setKeywordColors(std::nullopt);
    EXPECT_EQ(colored(buffer),
              (Pieces{"\"lua\"=0.60,0.30,0.00", "-- lua=0.33,0.33,0.33", "'x'=0.60,0.30,0.00"}));
    // An absent colour colours nothing; the preprocessor colour shows in language 1.
    buffer.setStringColor(std::nullopt);
    buffer.setLanguage(1);
    buffer.setSource(u"#a\n\"s\"");
    EXPECT_EQ(colored(buffer), (Pieces{"#a\n=0.00,0.00,1.00"}));
}

TEST(SourceBuffer, EveryChangeRecoloursAndClearsTheErrorLine) {
    SourceBuffer buffer;
    int changes = 0;
    buffer.setChangeHandler([&] { ++changes; });
    buffer.setLanguage(4);
    buffer.setSource(u"one\ntwo\nthree");
    buffer.setErrorLine(2);
    ASSERT_EQ(buffer.backgroundSpans().size(), 1u);
    EXPECT_EQ(buffer.backgroundSpans()[0].range, (Range{4, 3}));
    EXPECT_EQ(buffer.backgroundSpans()[0].color, Color::calibratedRGB(1.0, 0.4, 0.5));
    buffer.setErrorLine(9);  // past the last line: nothing
    EXPECT_EQ(buffer.backgroundSpans().size(), 1u);
    buffer.replaceCharacters(Range{0, 0}, u"-- ");
    EXPECT_TRUE(buffer.backgroundSpans().empty());
    EXPECT_EQ(colored(buffer), (Pieces{"-- one=0.33,0.33,0.33"}));
    buffer.setErrorLine(3);
    buffer.setErrorLine(0);
    EXPECT_TRUE(buffer.backgroundSpans().empty());
    EXPECT_GE(changes, 6);
}

TEST(SourceBuffer, NewlineKeepsTheIndentationOfTheLineItEnds) {
    SourceBuffer buffer;
    buffer.setSource(u"\t\tif x\n  \t y");
    buffer.setSelectedRange(Range{6, 0});
    buffer.insertNewline();
    EXPECT_EQ(buffer.text(), u"\t\tif x\n\t\t\n  \t y");
    EXPECT_EQ(buffer.selectedRange(), (Range{9, 0}));
    // Only the blanks up to the caret count, and a selection is replaced.
    buffer.setSelectedRange(Range{12, 2});
    buffer.insertNewline();
    EXPECT_EQ(buffer.text(), u"\t\tif x\n\t\t\n  \n  y");
    // At the very start of the text no indentation is added.
    buffer.setSource(u"\tz");
    buffer.setSelectedRange(Range{0, 0});
    buffer.insertNewline();
    EXPECT_EQ(buffer.text(), u"\n\tz");
    buffer.undoManager().undo();
    EXPECT_EQ(buffer.text(), u"\tz");
}

TEST(SourceBuffer, ShiftRightAndLeftKeepTheSelectedTextAndUndoEachOther) {
    SourceBuffer buffer;
    buffer.setSource(u"a1\nb2\nc3\nd4");
    Range threeLines{1, 6};  // "1\nb2\nc" over lines a, b, c
    buffer.setSelectedRange(threeLines);
    buffer.shiftRight();
    EXPECT_EQ(buffer.text(), u"\ta1\n\tb2\n\tc3\nd4");
    EXPECT_EQ(buffer.selectedRange(), (Range{2, 8}));
    EXPECT_EQ(buffer.text().substr(2, 8), u"1\n\tb2\n\tc");

    buffer.undoManager().undo();  // the opposite shift on the shifted range
    EXPECT_EQ(buffer.text(), u"a1\nb2\nc3\nd4");
    EXPECT_EQ(buffer.selectedRange(), threeLines);
    buffer.undoManager().redo();
    EXPECT_EQ(buffer.text(), u"\ta1\n\tb2\n\tc3\nd4");

    // Shift left removes at most one leading tab per line and leaves other lines alone.
    buffer.setSource(u"\t\tx\ny\n\tz");
    buffer.setSelectedRange(Range{2, 7});
    buffer.shiftLeft();
    EXPECT_EQ(buffer.text(), u"\tx\ny\nz");
    EXPECT_EQ(buffer.selectedRange(), (Range{1, 5}));
    EXPECT_EQ(buffer.text().substr(1, 5), u"x\ny\nz");
    buffer.undoManager().undo();
    EXPECT_EQ(buffer.text(), u"\t\tx\ny\n\tz") << "undo restores the lines, it adds no tab";
    EXPECT_EQ(buffer.selectedRange(), (Range{2, 6})) << "the selection of the time, clamped";
    buffer.undoManager().redo();
    EXPECT_EQ(buffer.text(), u"\tx\ny\nz");
    // A line that never had a tab gets none back, and a shift that leaves the selection where it
    // was is still undoable.
    buffer.setSource(u"a\n\tb");
    buffer.setSelectedRange(Range{0, 4});
    buffer.shiftLeft();
    EXPECT_EQ(buffer.text(), u"a\nb");
    buffer.undoManager().undo();
    EXPECT_EQ(buffer.text(), u"a\n\tb");
    buffer.setSource(u"\tx");
    buffer.setSelectedRange(Range{0, 0});
    buffer.shiftLeft();
    EXPECT_EQ(buffer.text(), u"x");
    ASSERT_TRUE(buffer.undoManager().canUndo());
    buffer.undoManager().undo();
    EXPECT_EQ(buffer.text(), u"\tx");

    // Nothing to shift left: no change, nothing to undo.
    buffer.setSource(u"plain");
    buffer.setSelectedRange(Range{2, 0});
    buffer.shiftLeft();
    EXPECT_EQ(buffer.text(), u"plain");
    EXPECT_FALSE(buffer.undoManager().canUndo());
    // An empty text and a caret at the very end of the text.
    buffer.setSource(u"");
    buffer.shiftLeft();
    EXPECT_EQ(buffer.text(), u"");
    buffer.setSource(u"a\n");
    buffer.setSelectedRange(Range{2, 0});
    buffer.shiftRight();
    EXPECT_EQ(buffer.text(), u"a\n\t");
    EXPECT_EQ(buffer.selectedRange(), (Range{3, 0}));
    buffer.shiftLeft();
    EXPECT_EQ(buffer.text(), u"a\n");
}

TEST(SourceBuffer, TypingIsUndoneAndRedone) {
    SourceBuffer buffer;
    buffer.setSource(u"abc");
    buffer.replaceCharacters(Range{1, 1}, u"XY");
    buffer.replaceCharacters(Range{0, 0}, u"-");
    EXPECT_EQ(buffer.text(), u"-aXYc");
    buffer.undoManager().undo();
    buffer.undoManager().undo();
    EXPECT_EQ(buffer.text(), u"abc");
    buffer.undoManager().redo();
    EXPECT_EQ(buffer.text(), u"aXYc");
    // A new edit drops what could be redone; a new text drops everything.
    buffer.replaceCharacters(Range{4, 0}, u"!");
    EXPECT_FALSE(buffer.undoManager().canRedo());
    buffer.setSource(u"new");
    EXPECT_FALSE(buffer.undoManager().canUndo());
}

TEST(SourceKeywords, ListReadsColoursAndWordsAndRefusesOtherRoots) {
    TemporaryFolder folder("keywords");
    auto write = [&](const std::string& name, const std::string& body) {
        std::ofstream(folder.file(name))
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">" << body
            << "</plist>";
        return folder.path() / name;
    };
    auto colors = keywordColorsFromKeywordsPropertyList(
        write("list.plist",
              "<array><dict><key>color-red</key><real>0.25</real><key>color-green</key><integer>1"
              "</integer><key>color-blue</key><real>0</real><key>keywords</key>"
              "<string>  div\n\tspan  p </string></dict>"
              "<string>not an entry</string>"
              "<dict><key>color-red</key><real>1</real><key>keywords</key><string>p</string></dict>"
              "<dict><key>keywords</key><string></string></dict></array>"));
    ASSERT_TRUE(colors);
    EXPECT_EQ(colors->size(), 3u);
    EXPECT_EQ(colors->at("div"), Color::calibratedRGB(0.25, 1, 0));
    EXPECT_EQ(colors->at("span"), Color::calibratedRGB(0.25, 1, 0));
    EXPECT_EQ(colors->at("p"), Color::calibratedRGB(1, 0, 0)) << "the last entry wins";

    EXPECT_FALSE(keywordColorsFromKeywordsPropertyList(write("dict.plist", "<dict/>")));
    EXPECT_FALSE(keywordColorsFromKeywordsPropertyList(folder.path() / "missing.plist"));
    auto empty = keywordColorsFromKeywordsPropertyList(write("empty.plist", "<array/>"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}
