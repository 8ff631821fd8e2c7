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

TEST(SourceRuler, NumbersEveryThirteenPointsFromTheScrolledLine) {
    SourceRulerView ruler(Rect(0, 0, 38, 40));
    auto labels = ruler.labelsFor(0, 40, 0);
    ASSERT_EQ(labels.size(), 5u);  // while 40 / 13 + 1 > k
    EXPECT_EQ(labels[0], (SourceRulerView::Label{1, 20, 0}));
    EXPECT_EQ(labels[3], (SourceRulerView::Label{4, 20, 39}));
    // Scrolled 135 points: line 11 is partly above the top; two digits move left.
    labels = ruler.labelsFor(0, 26, 135);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0].number, 11u);
    EXPECT_EQ(labels[0].x, 13);
    EXPECT_DOUBLE_EQ(labels[0].top, -5);
    labels = ruler.labelsFor(0, 13, 99 * 13);
    EXPECT_EQ(labels[0].number, 100u);
    EXPECT_EQ(labels[0].x, 6);
}

TEST(SourceRuler, DrawsTheBackgroundTheEdgeAndTheNumbers) {
    SourceTextView text(Rect(38, 0, 200, 40));
    SourceRulerView ruler(Rect(0, 0, 38, 40));
    text.setRulerView(&ruler);
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
    EXPECT_EQ(numbers, (std::vector<std::u16string>{u"1", u"2", u"3", u"4", u"5"}));
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
