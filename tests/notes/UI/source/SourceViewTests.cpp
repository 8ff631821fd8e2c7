#include <gtest/gtest.h>

#include <fstream>

#include "notes/UI/SourceTextView/SourceRulerView.h"
#include "notes/UI/SourceTextView/SourceTextView.h"
#include "notes/UI/SourceTextView/SourceWindowController.h"
#include "platform/foundation/Bundle.h"
#include "platform/graphics/GraphicsContext.h"
#include "tests/support/ScopedResourceFolder.h"
#include "tests/support/TemporaryFolder.h"

using namespace zelvo;
using platform::Range;
using platform::Rect;

TEST(SourceRuler, OneNumberPerLineLevelWithItsLine) {
    using Box = platform::StyledTextView::LineBox;
    SourceRulerView ruler(Rect(0, 0, 38, 40));
    // Two lines of a taller face: two numbers, each centred on its own line.
    auto labels = ruler.labelsFor({Box{0, 19}, Box{19, 19}}, 0, 40, 0, 13);
    EXPECT_EQ(labels, (std::vector<SourceRulerView::Label>{{1, 20, 3}, {2, 20, 22}}));
    // A taller line moves the numbers under it down with it.
    labels = ruler.labelsFor({Box{0, 13}, Box{13, 26}, Box{39, 13}}, 0, 100, 0, 13);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[1].top, 19.5);
    EXPECT_EQ(labels[2].top, 39);
    // Scrolled: only lines meeting the dirty stretch, two and three digits further left.
    std::vector<Box> many;
    for (int i = 0; i < 120; ++i) many.push_back(Box{i * 13.0, 13});
    labels = ruler.labelsFor(many, 0, 26, 135, 13);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0].number, 11u);
    EXPECT_EQ(labels[0].x, 13);
    EXPECT_DOUBLE_EQ(labels[0].top, -5);
    labels = ruler.labelsFor(many, 0, 13, 99 * 13, 13);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].number, 100u);
    EXPECT_EQ(labels[0].x, 6);
}

TEST(SourceRuler, DrawsTheBackgroundTheEdgeAndANumberPerLine) {
    SourceTextView text(Rect(38, 0, 200, 40));
    SourceRulerView ruler(Rect(0, 0, 38, 40));
    text.setRulerView(&ruler);
    text.setSource("<p>\n</p>");
    EXPECT_EQ(text.lineScroll(), std::optional<double>(13));
    auto context = platform::GraphicsContext::recordingContext({38, 40});
    {
        platform::GraphicsContext::CurrentScope scope(*context);
        ruler.drawRect(ruler.bounds());
    }
    std::vector<std::u16string> numbers;
    int fills = 0;
    for (const auto& record : context->records()) {
        if (record.kind == platform::DrawingRecord::Kind::Text) numbers.push_back(record.text);
        if (record.kind == platform::DrawingRecord::Kind::Fill) ++fills;
    }
    EXPECT_EQ(fills, 2);
    EXPECT_EQ(numbers, (std::vector<std::u16string>{u"1", u"2"}));
}

TEST(SourceView, CommandsGoToTheBufferAndLineNumbersDecideWrapping) {
    SourceTextView view(Rect(38, 0, 300, 100));
    SourceRulerView ruler(Rect(0, 0, 38, 100));
    view.setRulerView(&ruler);
    EXPECT_TRUE(view.showLineNumbers());
    EXPECT_FALSE(view.wrapsLines());
    EXPECT_EQ(view.frame().minX(), 38);

    view.setSource("\tline");
    view.userSelected(Range{5, 0});
    EXPECT_TRUE(view.userCommand("insertNewline:"));
    EXPECT_EQ(view.source(), "\tline\n\t");
    EXPECT_EQ(view.text(), view.buffer().text()) << "the widget is shown the new text";
    EXPECT_TRUE(view.userCommand("shiftRight:"));
    EXPECT_EQ(view.source(), "\tline\n\t\t");
    EXPECT_TRUE(view.userCommand("undo:"));
    EXPECT_TRUE(view.userCommand("undo:"));
    EXPECT_EQ(view.source(), "\tline");
    EXPECT_TRUE(view.userCommand("redo:"));
    EXPECT_EQ(view.source(), "\tline\n\t");
    EXPECT_FALSE(view.userCommand("print:"));

    // Typing arrives from the widget and is coloured at once.
    view.setLanguage(4);
    view.userReplacedCharacters(Range{0, 0}, u"-- ");
    ASSERT_FALSE(view.foregroundSpans().empty());
    EXPECT_EQ(view.foregroundSpans()[0].range, (Range{0, 8}));

    view.setShowLineNumbers(false);
    EXPECT_TRUE(view.wrapsLines());
    EXPECT_TRUE(ruler.isHidden());
    EXPECT_EQ(view.frame().minX(), 0);
    EXPECT_EQ(view.frame().width(), 338);
}

TEST(SourceWindow, KeywordsComeFromTheResourceWithLuaInRedOrNotAtAll) {
    TemporaryFolder resources("source-resources");
    ScopedResourceFolder folder("zelvo", resources.path(), "org.zelvo.Zelvo");
    EXPECT_FALSE(SourceWindowController::keywordColors()) << "no list: no word is coloured";

    std::ofstream(resources.file("JavaScript.plist"))
        << "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>";
    platform::Bundle::setMain("zelvo", "org.zelvo.Zelvo");
    auto colors = SourceWindowController::keywordColors();
    ASSERT_TRUE(colors);
    EXPECT_EQ(
        *colors,
        (std::map<std::string, platform::Color>{{"lua", platform::Color::calibratedRGB(1, 0, 0)}}));

    SourceWindowController controller;
    controller.setSourceText("lua \"s\"");
    controller.window();
    SourceTextView& view = *controller.sourceView();
    EXPECT_EQ(view.source(), "lua \"s\"");
    EXPECT_EQ(view.language(), 4);
    EXPECT_EQ(view.foregroundSpans().size(), 2u);
}
