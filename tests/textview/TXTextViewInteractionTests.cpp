#include <gtest/gtest.h>

#include "platform/foundation/ManualClock.h"
#include "platform/graphics/TextIndexMap.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Pasteboard.h"
#include "tests/textview/TextViewFixtures.h"

using namespace fixtures;
using platform::Event;
using platform::EventType;
using platform::ModifierFlags;
using platform::Point;
using platform::Range;
using platform::Size;
using Selector = TXTextViewDelegate::Selector;

namespace {

// Implements the messages it is given and counts what arrives.
class RecordingDelegate : public TXTextViewDelegate {
  public:
    explicit RecordingDelegate(std::vector<Selector> implemented) : m_implemented(implemented) {}
    bool respondsToSelector(Selector s) const override {
        return std::find(m_implemented.begin(), m_implemented.end(), s) != m_implemented.end();
    }
    void textViewDidChangeSelection(TXTextView&) override { ++selectionChanges; }
    void textViewDidEndSelecting(TXTextView&) override { ++endSelecting; }
    bool textViewClickedOnLink(TXTextView&, const std::shared_ptr<TXLinkText>& link,
                               int64_t) override {
        clicked.push_back(link->object().value_or(""));
        return true;
    }
    bool textViewLongPressedOnLink(TXTextView&, const std::shared_ptr<TXLinkText>& link,
                                   int64_t) override {
        longPressed.push_back(link->object().value_or(""));
        return true;
    }
    bool textViewShouldEndEditing(TXTextView&) override { return shouldEnd; }
    void textViewDidEndEditing(TXTextView&) override { ++endEditing; }

    int selectionChanges = 0, endSelecting = 0, endEditing = 0;
    bool shouldEnd = true;
    std::vector<std::string> clicked, longPressed;

  private:
    std::vector<Selector> m_implemented;
};

std::shared_ptr<RecordingDelegate> allMessages() {
    return std::make_shared<RecordingDelegate>(std::vector<Selector>{
        Selector::textViewDidChangeSelection, Selector::textViewDidEndSelecting,
        Selector::textViewClickedOnLink, Selector::textViewLongPressedOnLink,
        Selector::textViewShouldEndEditing, Selector::textViewDidEndEditing});
}

const Size Canvas{300, 100};

// Three candidate lines, the words of the first and third carrying links "one" and "three".
struct LinkedView {
    WindowWithView w{candidateView(Rect(0, 0, 300, 100), {Bayarlalaa, Ba, Mongol}), Canvas};
    std::shared_ptr<RecordingDelegate> delegate = allMessages();
    std::vector<Rect> lines;  // drawn lines, in the window

    LinkedView() {
        auto& view = *w.view;
        platform::AttributedString text = *view.attributedText();
        platform::TextAttributes one, three;
        one.link = "one";
        three.link = "three";
        text.addAttributes(one, {3, Bayarlalaa.size()});
        uint64_t third = text.string().rfind(Mongol);
        text.addAttributes(three, {third, Mongol.size()});
        view.setAttributedText(text);
        view.setDelegate(delegate);
        for (const auto& r : texts(*w.draw())) lines.push_back(r.deviceRect);
    }
    // A point 70% along a drawn line: inside its word.
    Point inWord(size_t line) const {
        const Rect& r = lines[line];
        return {r.minX() + 0.7 * r.width(), r.midY()};
    }
};

Event key(const std::string& characters, std::uint64_t modifiers) {
    return Event::keyEvent(EventType::KeyDown, characters, characters, 8, modifiers);
}

}  // namespace

TEST(TXTextViewInteraction, ClickDragAndDoubleClickSelectWhatIsUnderThePointer) {
    REQUIRE_PINNED_FONTS();
    LinkedView v;
    auto& view = *v.w.view;
    v.w.press(v.inWord(0));
    EXPECT_EQ(view.touchPhase(), 1u);
    ASSERT_TRUE(view.textLayout()->textSelection());
    EXPECT_EQ(view.selectedRange().length, 0u);
    v.w.drag(v.inWord(1));
    EXPECT_EQ(view.touchPhase(), 2u);
    v.w.release(v.inWord(1));
    EXPECT_EQ(view.touchPhase(), 0u);
    // From inside the first word to inside the second line: the drawn order of the lines.
    std::u16string picked = view.selectedText();
    EXPECT_NE(picked.find(u"\n"), std::u16string::npos);
    EXPECT_EQ(picked.find(Mongol), std::u16string::npos);
    EXPECT_EQ(v.delegate->selectionChanges, 2);

    v.w.click(v.inWord(2), 2);
    EXPECT_EQ(view.selectedText(), Mongol);
    v.w.click(v.inWord(0), 2);
    EXPECT_EQ(view.selectedText(), Bayarlalaa);
    // A triple click is a single click; a click outside the frame leaves all as it was.
    v.w.press(v.inWord(0), 3);
    EXPECT_EQ(view.touchPhase(), 1u);
    EXPECT_EQ(view.selectedRange().length, 0u);
    v.w.release(v.inWord(0));
    // Past the last drawn line lies outside the text frame.
    Point outside{150, v.lines[2].maxY() + 8};
    ASSERT_FALSE(view.containsPointInTextFrame(outside));
    int before = v.delegate->selectionChanges;
    Range range = view.selectedRange();
    view.mouseDown(Event::mouseEvent(EventType::LeftMouseDown, outside));
    EXPECT_EQ(view.touchPhase(), 0u);
    EXPECT_EQ(view.selectedRange(), range);
    EXPECT_EQ(v.delegate->selectionChanges, before + 1);
}

TEST(TXTextViewInteraction, DoubleClickInATurnedViewSelectsTheWordOfTheColumnUnderThePointer) {
    REQUIRE_PINNED_FONTS();
    // Columns 100 points across, 300 down, as the candidate window shows them.
    auto view = candidateView(Rect(0, 0, 100, 300), {Bayarlalaa, Ba, Mongol});
    view->rotateByAngle(-90);
    WindowWithView w(view, Size{100, 300});
    std::vector<Rect> columns;
    for (const auto& r : texts(*w.draw())) columns.push_back(r.deviceRect);
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_LT(columns[0].maxX(), columns[2].minX() + 1);  // the first column is the leftmost
    auto along = [&](size_t i) {
        return Point{columns[i].midX(), columns[i].maxY() - 0.7 * columns[i].height()};
    };
    w.click(along(0), 2);
    EXPECT_EQ(view->selectedText(), Bayarlalaa);
    w.click(along(2), 2);
    EXPECT_EQ(view->selectedText(), Mongol);
    w.click(along(1), 2);
    EXPECT_EQ(view->selectedText(), Ba);
}

TEST(TXTextViewInteraction, LinksAreClickedOrLongPressedOnTheManualClock) {
    REQUIRE_PINNED_FONTS();
    platform::ManualClock clock;
    LinkedView v;
    auto& view = *v.w.view;
    // Released within the delay: one click.
    v.w.press(v.inWord(0));
    clock.advance(0.4);
    v.w.release(v.inWord(0));
    EXPECT_EQ(v.delegate->clicked, std::vector<std::string>{"one"});
    EXPECT_EQ(clock.pendingTimerCount(), 0u);
    // Held for the delay: a long press when the timer fires, and no click at release.
    v.w.press(v.inWord(0));
    clock.advance(0.5);
    EXPECT_EQ(v.delegate->longPressed, std::vector<std::string>{"one"});
    EXPECT_TRUE(view.isLongPressing());
    v.w.release(v.inWord(0));
    EXPECT_EQ(v.delegate->clicked.size(), 1u);
    EXPECT_FALSE(view.isLongPressing());
    // Held outside any link, released over one: a click. Dragged from one link to another: the
    // second is clicked.
    v.w.press(v.inWord(1));
    clock.advance(1.0);
    v.w.release(v.inWord(2));
    v.w.press(v.inWord(0));
    v.w.drag(v.inWord(2));
    v.w.release(v.inWord(2));
    EXPECT_EQ(v.delegate->clicked, (std::vector<std::string>{"one", "three", "three"}));
    // A longer delay is kept.
    view.setMinimumLongPressDuration(2.0);
    v.w.press(v.inWord(2));
    clock.advance(1.9);
    EXPECT_EQ(v.delegate->longPressed.size(), 1u);
    clock.advance(0.1);
    EXPECT_EQ(v.delegate->longPressed.size(), 2u);
    v.w.release(v.inWord(2));
}

TEST(TXTextViewInteraction, CommandKeysCopyExactlyTheSelectionAndSelectAll) {
    REQUIRE_PINNED_FONTS();
    LinkedView v;
    auto& view = *v.w.view;
    auto& pasteboard = platform::Pasteboard::generalPasteboard();
    pasteboard.clearContents();
    pasteboard.setString("before", platform::PasteboardTypeString);
    // Before any selection object the keys are not the view's.
    EXPECT_FALSE(view.performKeyEquivalent(key("a", ModifierFlags::Command)));
    v.w.click(v.inWord(2), 2);
    EXPECT_FALSE(
        view.performKeyEquivalent(key("c", ModifierFlags::Command | ModifierFlags::Shift)));
    EXPECT_EQ(pasteboard.stringForType(platform::PasteboardTypeString), "before");
    v.w.window->sendEvent(key("c", ModifierFlags::Command));
    EXPECT_EQ(pasteboard.stringForType(platform::PasteboardTypeString),
              platform::utf8FromUtf16(Mongol));
    v.w.window->sendEvent(key("a", ModifierFlags::Command));
    EXPECT_EQ(view.selectedText(), *view.text());
    EXPECT_EQ(v.delegate->endSelecting, 1);
    // An empty selection leaves the pasteboard alone; a shorter text clamps what is read.
    view.setText(u"ab");
    EXPECT_EQ(view.selectedText(), u"ab");
    view.copy();
    EXPECT_EQ(pasteboard.stringForType(platform::PasteboardTypeString), "ab");
    view.setText(u"");
    view.cut();
    EXPECT_EQ(pasteboard.stringForType(platform::PasteboardTypeString), "ab");
}

TEST(TXTextViewInteraction, ContextMenuAppearsWithASelectionAndValidatesItsItems) {
    REQUIRE_PINNED_FONTS();
    LinkedView v;
    auto& view = *v.w.view;
    Event right = Event::mouseEvent(EventType::RightMouseDown, v.inWord(0));
    EXPECT_EQ(view.menuForEvent(right), nullptr);
    v.w.click(v.inWord(0));  // an empty selection at the string index there
    auto menu = view.menuForEvent(right);
    ASSERT_NE(menu, nullptr);
    menu->update(&view);
    EXPECT_FALSE(menu->itemWithTitle("Copy")->isEnabled());
    EXPECT_FALSE(menu->itemWithTitle("Cut")->isEnabled());
    EXPECT_FALSE(menu->itemWithTitle("Paste")->isEnabled());
    EXPECT_FALSE(menu->itemWithTitle("Delete")->isEnabled());
    EXPECT_TRUE(menu->itemWithTitle("Select All")->isEnabled());
    view.selectAll();
    menu->update(&view);
    EXPECT_TRUE(menu->itemWithTitle("Copy")->isEnabled());
    std::u16string text = *view.text();
    view.tryToPerform("cut:");
    view.tryToPerform("paste:");
    EXPECT_EQ(*view.text(), text);
}

TEST(TXTextViewInteraction, ResigningFirstResponderEndsTheSelection) {
    REQUIRE_PINNED_FONTS();
    LinkedView v;
    auto& view = *v.w.view;
    auto* window = v.w.window.get();
    EXPECT_TRUE(view.canResignFirstResponder());
    v.delegate->shouldEnd = false;
    EXPECT_FALSE(view.canResignFirstResponder());

    v.w.click(v.inWord(0), 2);
    ASSERT_EQ(window->firstResponder(), &view);
    window->makeFirstResponder(nullptr);
    EXPECT_EQ(view.textLayout()->textSelection(), nullptr);

    // While editing the selection collapses to its end instead.
    auto selection = std::make_shared<TXTextSelection>(2);
    selection->setSelectionEndAtIndex(5);
    view.textLayout()->setTextSelection(selection);
    view.setEditing(true);
    EXPECT_TRUE(view.resignFirstResponder());
    EXPECT_EQ(view.selectedRange(), (Range{5, 0}));
    EXPECT_FALSE(view.isEditing());
    EXPECT_FALSE(view.textLayout()->isEditing());
    EXPECT_EQ(v.delegate->endEditing, 1);
}

TEST(TXTextViewInteraction, OnlyImplementedMessagesAreSent) {
    REQUIRE_PINNED_FONTS();
    LinkedView v;
    auto only = std::make_shared<RecordingDelegate>(
        std::vector<Selector>{Selector::textViewDidEndSelecting});
    v.w.view->setDelegate(only);
    v.w.click(v.inWord(0));
    v.w.view->selectAll();
    EXPECT_EQ(only->selectionChanges, 0);
    EXPECT_TRUE(only->clicked.empty());
    EXPECT_EQ(only->endSelecting, 1);
    // A delegate that is gone is skipped.
    only.reset();
    v.w.view->selectAll();
}
