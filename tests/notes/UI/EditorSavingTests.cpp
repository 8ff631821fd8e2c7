#include <gtest/gtest.h>

#include "FakeEditorPage.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UnicodeString.h"
#include "tests/support/RecordedAlerts.h"
#include "tests/support/TroublesomeText.h"

namespace {

using zelvo::EditorViewController;

TEST(EditorContent, AnyNoteTextReachesThePageExactly) {
    EditorHarness h;
    TroublesomeText texts(7);
    for (int round = 0; round < 300; ++round) {
        std::string text = texts.next(20);
        h.editor->noteSelectionChanged(EditorHarness::note(round + 1, text));
        ASSERT_EQ(h.page.html, text) << "round " << round;
        ASSERT_EQ(h.updates.size(), 0u);
    }
}

TEST(EditorContent, AnEmptyNoteShowsThePlaceholderAndAnAbsentOneBecomesEmpty) {
    EditorHarness h;
    EXPECT_EQ(h.page.placeholder, EditorViewController::emptyNotePlaceholder);
    EXPECT_EQ(platform::utf16FromUtf8(EditorViewController::emptyNotePlaceholder).size(), 16u);

    h.page.placeholder.reset();
    auto absent = EditorHarness::note(1, std::nullopt, std::nullopt);
    h.editor->noteSelectionChanged(absent);
    EXPECT_EQ(h.page.placeholder, EditorViewController::emptyNotePlaceholder);
    EXPECT_EQ(h.page.html, "");
    EXPECT_EQ(absent->n_text(), "");
    EXPECT_EQ(absent->n_summary(), "");

    // A note that says "(null)" is a note like any other.
    h.page.placeholder.reset();
    h.editor->noteSelectionChanged(EditorHarness::note(2, "(null)"));
    EXPECT_EQ(h.page.html, "(null)");
    EXPECT_FALSE(h.page.placeholder);

    h.editor->noteSelectionChanged(nullptr);
    EXPECT_EQ(h.page.html, "");
    EXPECT_EQ(h.page.placeholder, EditorViewController::emptyNotePlaceholder);
    EXPECT_FALSE(h.editor->note());
}

TEST(EditorContent, ReadingBackClosesLineBreaksAndFormatsThroughThePage) {
    EditorHarness h;
    h.page.html = "<p>a<br>b</p><hr><p>\"x\" \u201Cy\u201D C:\\u</p>";
    h.page.format = [](const std::string& s) { return "[" + s + "]"; };
    EXPECT_EQ(h.readHTML(), "[<p>a<br />b</p><hr /><p>\"x\" \u201Cy\u201D C:\\u</p>]");
    ASSERT_EQ(h.page.formatted.size(), 1u);
    EXPECT_EQ(h.page.formatted[0], "<p>a<br />b</p><hr /><p>\"x\" \u201Cy\u201D C:\\u</p>");

    h.page.answersFormat = false;
    EXPECT_FALSE(h.readHTML());
    h.page.answersFormat = true;
    h.page.answersHTML = false;
    EXPECT_FALSE(h.readHTML());
    EXPECT_EQ(EditorViewController::removeTagsFromHTML("<h1>T</h1><p>a&nbsp;<b>b</b></p><hr>"),
              " T\n a  b \n\n-----------------\n");
}

TEST(EditorSaving, SwitchingWithoutAnEditWritesNothing) {
    EditorHarness h;
    auto first = EditorHarness::note(1, "<p>one</p>", "one");
    h.editor->noteSelectionChanged(first);
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>one</p>", "one"));
    h.editor->noteSelectionChanged(EditorHarness::note(2, "<p>two</p>", "two"));
    h.editor->saveDocument();
    EXPECT_TRUE(h.updates.empty());
    EXPECT_EQ(h.updatedNotices, 0);
}

TEST(EditorSaving, AnEditIsStoredOnceWithDateSummaryAndRecentFlag) {
    EditorHarness h;
    auto first = EditorHarness::note(7, "<p>old</p>", "old");
    first->setN_isRecent(0);
    h.editor->noteSelectionChanged(first);
    h.type("<p>new text</p>");
    h.editor->noteSelectionChanged(EditorHarness::note(8, "<p>other</p>"));

    ASSERT_EQ(h.updates.size(), 1u);
    const NoteObject& saved = h.updates[0];
    EXPECT_EQ(saved.n_id(), 7);
    EXPECT_EQ(saved.n_text(), "<p>new text</p>");
    EXPECT_EQ(saved.n_summary(), "new text");
    EXPECT_EQ(saved.n_isRecent(), 1);
    EXPECT_EQ(saved.n_date(), h.clock);
    EXPECT_EQ(h.updatedNotices, 1);
    EXPECT_EQ(h.lastUpdated, first);

    // Saving again without a further edit changes nothing.
    h.editor->saveDocument();
    EXPECT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.editor->internalHTML(), "<p>other</p>");
}

TEST(EditorSaving, ARecentNoteStaysRecentAndAnUnchangedSummaryIsKept) {
    EditorHarness h;
    auto note = EditorHarness::note(3, "<p>a</p>", "same");
    note->setN_isRecent(1);
    h.editor->noteSelectionChanged(note);
    h.page.text = "same";
    h.type("<p>b</p>");
    h.editor->saveDocument();
    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_isRecent(), 1);
    EXPECT_EQ(h.updates[0].n_summary(), "same");
}

TEST(EditorSaving, APageThatDoesNotAnswerNeverEmptiesTheNote) {
    EditorHarness h;
    auto note = EditorHarness::note(4, "<p>precious</p>", "precious");
    h.editor->noteSelectionChanged(note);
    h.type("<p>edited</p>");
    platform::LogCapture capture;

    h.page.answersHTML = false;
    h.editor->saveDocument();
    h.page.answersHTML = true;
    h.page.answersFormat = false;
    h.editor->saveDocument();
    h.page.answersFormat = true;
    h.page.answersText = false;
    h.editor->saveDocument();
    EXPECT_TRUE(h.updates.empty());
    EXPECT_EQ(note->n_text(), "<p>precious</p>");
    EXPECT_TRUE(capture.contains("the page did not answer"));

    // Once the page answers again the edit is saved.
    h.page.answersText = true;
    h.editor->saveDocument();
    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_text(), "<p>edited</p>");
}

TEST(EditorSaving, NothingIsSavedBeforeThePageHasLoaded) {
    EditorHarness h(/*load=*/false);
    auto note = EditorHarness::note(5, "<p>kept</p>", "kept");
    h.editor->noteSelectionChanged(note);
    h.page.html = "";  // the page is not there yet
    h.editor->noteSelectionChanged(EditorHarness::note(6, "<p>next</p>"));
    EXPECT_TRUE(h.updates.empty());
    // The page then shows the note selected meanwhile.
    h.web->finishLoad();
    EXPECT_EQ(h.page.html, "<p>next</p>");
}

// A note the store refuses is never lost: the user is told why, the edit stays in the page, a
// switch is refused (the list is asked to highlight the note again), Quit asks, and Save tries
// again.
TEST(EditorSaving, AFailedStoreIsToldKeepsTheNoteAndIsTriedAgain) {
    EditorHarness h;
    auto held = EditorHarness::note(9, "<p>a</p>", "a");
    h.editor->noteSelectionChanged(held);
    h.type("<p>b</p>");
    h.updateSucceeds = false;
    RecordedAlerts alerts;
    std::vector<std::shared_ptr<NoteObject>> kept;
    auto token = platform::NotificationCenter::defaultCenter().addObserver(
        NOTI_NOTE_SELECTION_KEPT, [&](const platform::Notification& notification) {
            kept.push_back(*notification.objectAs<std::shared_ptr<NoteObject>>());
        });

    h.editor->saveDocument();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].messageText(), "The note could not be saved.");
    EXPECT_TRUE(alerts.shown[0].informativeText().starts_with(
        "attempt to write a readonly database\n\nYour text is still in the editor."));
    EXPECT_EQ(h.updatedNotices, 0);

    h.editor->noteSelectionChanged(EditorHarness::note(10, "<p>other</p>"));
    EXPECT_EQ(h.editor->note(), held);
    EXPECT_EQ(h.page.html, "<p>b</p>");
    EXPECT_EQ(kept, std::vector<std::shared_ptr<NoteObject>>{held});
    EXPECT_EQ(alerts.shown.size(), 2u);

    // Quit asks before the edit is given up; the first answer stays.
    EXPECT_FALSE(h.letsQuit());
    ASSERT_EQ(alerts.shown.size(), 3u);
    EXPECT_EQ(alerts.shown[2].buttons(),
              (std::vector<std::string>{"Don\u2019t Quit", "Quit Without Saving"}));
    EXPECT_EQ(h.editor->note(), held);

    h.updateSucceeds = true;
    h.editor->saveDocument();
    EXPECT_EQ(h.updates.back().n_text(), "<p>b</p>");
    EXPECT_EQ(h.updatedNotices, 1);
    EXPECT_TRUE(h.letsQuit());
    EXPECT_EQ(alerts.shown.size(), 3u);

    // Quitting without the note, when the user chooses it, tries no further save.
    h.type("<p>c</p>");
    h.updateSucceeds = false;
    alerts.answer = 1;
    EXPECT_TRUE(h.letsQuit());
    size_t tries = h.updates.size();
    h.editor->applicationWillTerminate();
    EXPECT_EQ(h.updates.size(), tries);
    EXPECT_EQ(alerts.shown.size(), 4u);
    platform::NotificationCenter::defaultCenter().removeObserver(token);
}

// "Changed" means changed by the user: a note the page shows in its own form, or with U+FFFD for
// bytes that are no UTF-8, is not written back for having been opened.
TEST(EditorSaving, OpeningANoteWritesNothingUntilTheUserEdits) {
    EditorHarness h;
    h.page.format = [](const std::string& html) { return html + "\n"; };
    const std::string malformed = "<div>\u182C \xC3\x28 \xFF\u1820 </div>";
    auto note = EditorHarness::note(2, malformed, "x");
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<DIV>a</DIV>", "a"));
    h.editor->noteSelectionChanged(note);
    EXPECT_EQ(h.page.html, "<div>\u182C \uFFFD( \uFFFD\u1820 </div>");
    h.editor->noteSelectionChanged(EditorHarness::note(3, "<p>c</p>", "c"));
    h.editor->noteSelectionChanged(note);
    h.editor->saveDocument();
    EXPECT_TRUE(h.updates.empty());
    EXPECT_EQ(note->n_text(), malformed);

    h.type("<div>\u182C \uFFFD( \uFFFD\u1820 TYPED</div>");
    h.editor->saveDocument();
    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_text(), "<div>\u182C \uFFFD( \uFFFD\u1820 TYPED</div>\n");
}

// Typing needs a note to hold it: with none shown, the page takes none.
TEST(EditorSaving, ThePageTakesTypingOnlyWhileANoteIsShown) {
    EditorHarness h;
    EXPECT_FALSE(h.page.editable);
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>a</p>"));
    EXPECT_TRUE(h.page.editable);
    h.editor->noteSelectionChanged(nullptr);
    EXPECT_FALSE(h.page.editable);
}

TEST(EditorSaving, ClosingAndQuittingSaveTheCurrentNote) {
    EditorHarness h;
    h.editor->noteSelectionChanged(EditorHarness::note(10, "<p>a</p>", "a"));
    h.type("<p>closing</p>");
    h.editor->windowWillClose();
    h.type("<p>quitting</p>");
    h.editor->applicationWillTerminate();
    ASSERT_EQ(h.updates.size(), 2u);
    EXPECT_EQ(h.updates[1].n_text(), "<p>quitting</p>");
    EXPECT_TRUE(h.editor->tryToPerform("saveDocument:"));
}

TEST(EditorSaving, SummaryIsTheFirst300UnitsAndNeverHalfACharacter) {
    auto summaryOf = [](const std::string& text) {
        EditorHarness h;
        h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>x</p>", "x"));
        h.page.text = text;
        h.type("<p>changed</p>");
        h.editor->saveDocument();
        return h.updates.empty() ? std::string("<not saved>") : *h.updates[0].n_summary();
    };
    std::string units299(299, 'a'), units300(300, 'b');
    EXPECT_EQ(summaryOf(units299), units299);
    EXPECT_EQ(summaryOf(units300), units300);
    EXPECT_EQ(summaryOf(units300 + "c"), units300);
    // Mongolian letters are one unit each.
    std::string mongolian;
    for (int i = 0; i < 301; ++i) mongolian += "ᠠ";
    EXPECT_EQ(platform::utf16FromUtf8(summaryOf(mongolian)).size(), 300u);
    // A pair across the cut stays whole by being left out.
    std::string pair = std::string(299, 'd') + "😀" + "e";
    EXPECT_EQ(summaryOf(pair), std::string(299, 'd'));
    EXPECT_EQ(summaryOf("(null)"), "(null)");
}

// Reading the page turns the main loop, so the user's next click can arrive in the middle of a
// save: the save must finish with its own note, and the click's note is shown afterwards.
TEST(EditorSaving, ASelectionArrivingDuringASaveWaitsForIt) {
    EditorHarness h;
    auto first = EditorHarness::note(1, "<p>first</p>", "first");
    h.editor->noteSelectionChanged(first);
    h.type("<p>first edited</p>");
    auto third = EditorHarness::note(3, "<p>third</p>", "third");
    bool clicked = false;
    h.web->setResponder([&](const std::string& script) {
        if (!clicked && script == "zelvo_editor.getText();") {
            clicked = true;
            h.editor->noteSelectionChanged(third);
        }
        return h.page.respond(script);
    });
    h.editor->noteSelectionChanged(EditorHarness::note(2, "<p>second</p>", "second"));
    ASSERT_TRUE(clicked);
    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_id(), 1);
    EXPECT_EQ(h.updates[0].n_text(), "<p>first edited</p>");
    EXPECT_EQ(third->n_text(), "<p>third</p>");
    EXPECT_EQ(h.editor->note(), third);
    EXPECT_EQ(h.page.html, "<p>third</p>");

    // The same during a Save command.
    h.type("<p>third edited</p>");
    auto fourth = EditorHarness::note(4, "<p>fourth</p>");
    clicked = false;
    third = nullptr;
    h.web->setResponder([&](const std::string& script) {
        if (!clicked && script.starts_with("zelvo_editor.editsSince(")) {
            clicked = true;
            h.editor->noteSelectionChanged(fourth);
        }
        return h.page.respond(script);
    });
    h.editor->saveDocument();
    ASSERT_EQ(h.updates.size(), 2u);
    EXPECT_EQ(h.updates[1].n_id(), 3);
    EXPECT_EQ(h.updates[1].n_text(), "<p>third edited</p>");
    EXPECT_EQ(h.editor->note(), fourth);
}

TEST(EditorSaving, TheSelectionNoticeSwitchesNotesOnTheMainQueue) {
    EditorHarness h;
    auto note = EditorHarness::note(11, "<p>posted</p>");
    platform::NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_SELECTION_CHANGED,
                                                                       note);
    EXPECT_NE(h.page.html, "<p>posted</p>");  // main-queue delivery: not during the post
    while (platform::RunLoop::mainRunLoop().iterate(false)) {
    }
    EXPECT_EQ(h.page.html, "<p>posted</p>");
    EXPECT_EQ(h.editor->note(), note);

    platform::NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_SELECTION_CHANGED);
    while (platform::RunLoop::mainRunLoop().iterate(false)) {
    }
    EXPECT_FALSE(h.editor->note());
}

}  // namespace
