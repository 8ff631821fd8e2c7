#include <gtest/gtest.h>

#include <algorithm>

#include "inputmethod/CandidatePlacement.h"
#include "inputmethod/CandidateWindow.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/graphics/TextFramesetter.h"
#include "tests/inputmethod/CandidateFixtures.h"
#include "tests/platform/graphics/PinnedFonts.h"
#include "tests/support/FakeWindowBackend.h"
#include "tests/support/ScopedEnvironment.h"

using platform::Rect;
using quillora::CandidateList;
using quillora::CandidateWindow;

namespace {

std::u16string textOf(const CandidateList& list) {
    return CandidateWindow::candidateString(list, {}).string();
}

class CandidateWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_PINNED_FONTS();
        backend->setScreens({Rect(0, 0, 1600, 1000)});
        window = std::make_unique<CandidateWindow>();
    }
    fakes::ScopedFakeBackend backend;
    std::unique_ptr<CandidateWindow> window;
};

}  // namespace

TEST(CandidateText, OneCandidateIsOneNumberedLine) {
    EXPECT_EQ(textOf(fixtures::candidates({u"\u182A\u1820"})), u"1. \u182A\u1820");
}

TEST(CandidateText, NineCandidatesGiveNineLinesTheFirstEightEndingInABlankAndALineFeed) {
    std::u16string text = textOf(fixtures::candidates(fixtures::NineWords));
    std::u16string expected;
    for (int i = 0; i < 9; ++i) {
        expected += char16_t(u'1' + i);
        expected += u". " + fixtures::NineWords[i];
        if (i < 8) expected += u" \n";
    }
    EXPECT_EQ(text, expected);
}

// A suffix piece is numbered without the blank and marked with a hyphen before its U+202F: drawn
// as it is it would look exactly like the same letters as a word ("bar": ᠪᠠᠷ and U+202F ᠪᠠᠷ).
TEST(CandidateText, ASuffixPieceIsNumberedWithoutTheBlankAndMarkedWithAHyphen) {
    const std::u16string suffix = u"\u202F\u1824\u1828";  // the suffix "un"
    CandidateList list = fixtures::candidates({u"\u182A\u1820", suffix, u"\u182E\u1823"});
    EXPECT_EQ(textOf(list), u"1. \u182A\u1820 \n2.-" + suffix + u" \n3. \u182E\u1823");
    const std::u16string bar = u"\u182A\u1820\u1837";
    EXPECT_EQ(textOf(fixtures::candidates({bar, u"\u202F" + bar})),
              u"1. " + bar + u" \n2.-\u202F" + bar);
    // The space must be first to count.
    EXPECT_EQ(textOf(fixtures::candidates({u"\u1824\u202F"})), u"1. \u1824\u202F");
}

TEST(CandidateText, EmptyAndMissingWords) {
    // An empty transliteration is numbered with the blank, and reading its first unit must not
    // go past the end.
    EXPECT_EQ(textOf(fixtures::candidates({u""})), u"1. ");
    // A candidate without a word shows what string formatting shows for a missing object.
    CandidateList list = {quillora::Candidate{{"id", "7"}}};
    EXPECT_EQ(textOf(list), u"1. (null)");
}

TEST_F(CandidateWindowTest, StartWith202FReadsOnlyTheFirstUnitAndAnswersNoForAnEmptyWord) {
    EXPECT_TRUE(window->startWith202F(u"\u202F"));
    EXPECT_TRUE(window->startWith202F(u"\u202F\u1824\u1828"));
    EXPECT_FALSE(window->startWith202F(u"\u1824\u202F"));
    EXPECT_FALSE(window->startWith202F(u" \u1824"));
    EXPECT_FALSE(window->startWith202F(u""));
}

TEST_F(CandidateWindowTest, StartsAsInitSetsItUp) {
    EXPECT_FALSE(window->isHidden());  // before anything was shown
    EXPECT_FALSE(window->window().isVisible());
    EXPECT_EQ(window->font().familyName(), platform::Font::DisplayFontFamily);
    EXPECT_EQ(window->font().pointSize(), 22.0);
    EXPECT_EQ(window->fgColor(), platform::Color::whiteColor());
    EXPECT_EQ(window->hlColor(), platform::Color::blueColor());
    EXPECT_EQ(window->attributes().foregroundColor, platform::Color::whiteColor());
    EXPECT_FALSE(window->attributes().verticalGlyphForm.has_value());

    platform::Window& w = window->window();
    EXPECT_EQ(w.styleMask(), platform::WindowStyleMask::Borderless);
    EXPECT_EQ(w.level(), platform::WindowLevel::ScreenSaver + 1);
    EXPECT_TRUE(w.hasShadow());
    EXPECT_FALSE(w.isOpaque());
    auto view = window->seCandidataView();
    ASSERT_TRUE(view);
    EXPECT_EQ(w.contentView(), view.get());
    EXPECT_EQ(view->boundsRotation(), -90.0);
    EXPECT_EQ(view->lineHeight(), 30.0);
    EXPECT_EQ(view->textColor(), platform::Color::blackColor());
    EXPECT_EQ(view->font(), window->font());
    // The background view holds its colour and radius but is never in the window.
    EXPECT_EQ(window->backgroundView()->window(), nullptr);
    window->setBgColor(platform::Color::calibratedRGB(1, 0.5, 0, 0.8));
    window->setRadius(6);
    EXPECT_EQ(window->bgColor(), platform::Color::calibratedRGB(1, 0.5, 0, 0.8));
    EXPECT_EQ(window->backgroundView()->radius(), 6.0f);
}

TEST_F(CandidateWindowTest, ShowingLaysOutPlacesWithWidthAndHeightExchangedAndOrdersFront) {
    ScopedEnvironment debugging("QUILLORA_LOG", std::string("syslog"));
    platform::LogCapture log;
    CandidateList list = fixtures::candidates(fixtures::NineWords);
    const Rect caret(300, 600, 2, 20);
    window->setFgColor(platform::Color::calibratedRGB(0.2, 0.3, 0.4));
    window->showCandidates(list, caret);

    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(window->wordArray(), list);
    EXPECT_EQ(window->attributes().verticalGlyphForm, 1);
    EXPECT_EQ(window->attributes().foregroundColor, platform::Color::calibratedRGB(0.2, 0.3, 0.4));
    // The view gets the characters only: it draws them in its own font and colour.
    auto view = window->seCandidataView();
    ASSERT_TRUE(view->text().has_value());
    EXPECT_EQ(*view->text(), CandidateWindow::candidateString(list, {}).string());
    EXPECT_EQ(view->textColor(), platform::Color::blackColor());

    platform::Size measured = platform::boundingSizeOfAttributedString(
        CandidateWindow::candidateString(list, window->attributes()));
    measured.height = std::max(measured.height, CandidateWindow::LineHeight * 9);
    Rect placed = quillora::tuningFrameForScreen(measured, caret, list.size());
    Rect frame = window->window().frame();
    EXPECT_DOUBLE_EQ(frame.origin.x, placed.origin.x);
    EXPECT_DOUBLE_EQ(frame.origin.y, placed.origin.y);
    EXPECT_DOUBLE_EQ(frame.size.width, placed.size.height);
    EXPECT_DOUBLE_EQ(frame.size.height, placed.size.width);
    // The top of the window two points below the caret.
    EXPECT_DOUBLE_EQ(frame.maxY(), caret.minY() - 2);

    ASSERT_EQ(backend->hosts.size(), 1u);
    auto host = backend->hosts[0];
    EXPECT_TRUE(host->shown);
    EXPECT_EQ(host->calls.back(), "front");  // never made key
    ASSERT_FALSE(host->frames.empty());
    EXPECT_EQ(host->frames.back(), frame);
    EXPECT_TRUE(window->window().isVisible());
    EXPECT_EQ(platform::Window::keyWindow(), nullptr);

    EXPECT_TRUE(log.contains("当前的宽度：{"));
    EXPECT_TRUE(log.contains("前：最终的大小：{{"));
    EXPECT_TRUE(log.contains("后：最终的大小：{{"));
}

TEST_F(CandidateWindowTest, AnEmptyListHidesAndKeepsTheStoredList) {
    CandidateList list = fixtures::candidates({u"\u182A\u1820", u"\u182E\u1823"});
    window->showCandidates(list, Rect(300, 600, 2, 20));
    Rect shownFrame = window->window().frame();
    window->showCandidates({}, Rect(10, 10, 2, 20));
    EXPECT_TRUE(window->isHidden());
    EXPECT_FALSE(window->window().isVisible());
    EXPECT_FALSE(backend->hosts.at(0)->shown);
    EXPECT_EQ(window->wordArray(), list);
    EXPECT_EQ(window->window().frame(), shownFrame);
    // And a new list shows again.
    window->showCandidates(fixtures::candidates({u"\u1823"}), Rect(300, 600, 2, 20));
    EXPECT_FALSE(window->isHidden());
    EXPECT_TRUE(backend->hosts.at(0)->shown);
}

TEST_F(CandidateWindowTest, TheSameListAgainLeavesTheWindowAloneAndANewListReplacesIt) {
    const Rect caret(300, 600, 2, 20);
    CandidateList nine = fixtures::candidates(fixtures::NineWords);
    window->showCandidates(nine, caret);
    auto host = backend->hosts.at(0);
    const Rect nineFrame = window->window().frame();
    const std::size_t calls = host->calls.size();
    window->showCandidates(nine, caret);
    EXPECT_EQ(host->calls.size(), calls);
    EXPECT_EQ(window->window().frame(), nineFrame);

    CandidateList two = fixtures::candidates({u"\u182A\u1820", u"\u182E\u1823"});
    window->showCandidates(two, caret);
    EXPECT_EQ(*window->seCandidataView()->text(),
              CandidateWindow::candidateString(two, {}).string());
    EXPECT_LT(window->window().frame().size.width, nineFrame.size.width);

    // Hidden, the same list shows again.
    window->hideCandidates();
    window->showCandidates(two, caret);
    EXPECT_TRUE(host->shown);
    EXPECT_EQ(host->calls.back(), "front");
}

TEST_F(CandidateWindowTest, HidingSetsTheFlagBeforeOrderingOut) {
    window->hideCandidates();
    EXPECT_TRUE(window->isHidden());
    EXPECT_FALSE(window->window().isVisible());
    // No host was made for a window that was never shown.
    EXPECT_TRUE(backend->hosts.empty());
}

TEST_F(CandidateWindowTest, TheFontMeasuresTheTextAndReachesTheView) {
    CandidateList list = fixtures::candidates(fixtures::NineWords);
    window->showCandidates(list, Rect(300, 600, 2, 20));
    Rect at22 = window->window().frame();

    platform::Font larger = *platform::Font::fontWithName(platform::Font::DisplayFontFamily, 30);
    window->setFont(larger);
    EXPECT_EQ(window->font(), larger);
    EXPECT_EQ(window->attributes().font, larger);
    EXPECT_EQ(window->seCandidataView()->font(), larger);
    window->showCandidates(list, Rect(300, 600, 2, 20));
    Rect at30 = window->window().frame();
    EXPECT_GT(at30.size.height, at22.size.height);  // the longest word is longer
    EXPECT_GT(at30.size.width, at22.size.width);    // and the lines higher
}

TEST_F(CandidateWindowTest, ASmallFontStillLeavesRoomForEveryDrawnColumn) {
    // The view draws 30-point lines; a 12-point font measures lines lower than that, and the
    // window must still be wide enough for all nine columns.
    window->setFont(*platform::Font::fontWithName(platform::Font::DisplayFontFamily, 12));
    window->showCandidates(fixtures::candidates(fixtures::NineWords), Rect(300, 600, 2, 20));
    EXPECT_GE(window->window().frame().size.width, 9 * CandidateWindow::LineHeight);
}
