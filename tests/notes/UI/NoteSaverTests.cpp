#include <gtest/gtest.h>

#include <algorithm>

#include "FakeEditorPage.h"
#include "notes/UI/NoteSaver.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/RecordedAlerts.h"

namespace {

using zelvo::NoteSaver;

void turnTheLoop() {
    while (platform::RunLoop::mainRunLoop().iterate(false)) {
    }
}

// A large note takes the page seconds to take in, while the user goes on clicking and typing:
// the keys typed before a click reach the note shown then, those typed after it the note clicked,
// in order, whenever the engine hands them to the page.
TEST(NoteSaverTyping, KeysTypedWhileALargeNoteLoadsGoIntoNoOtherNote) {
    EditorHarness h;
    auto small = EditorHarness::note(1, "<p>small</p>", "small");
    auto large = EditorHarness::note(2, "<p>" + std::string(500, 'L') + "</p>");
    auto next = EditorHarness::note(3, "<p>next</p>", "next");
    h.editor->noteSelectionChanged(small);
    h.web->holdAnswers = true;  // the page is busy: it answers when the test says
    h.editor->noteSelectionChanged(large);
    h.typeKeys("QWE");  // into the editor before the large note is in
    h.web->answerNext();
    h.typeKeys("RTY");
    h.web->answerAll();
    h.typeKeys("UIOPASDFGHJKLZ");  // the engine hands them over one per statement
    h.editor->noteSelectionChanged(next);
    h.typeKeys("zyx");
    h.web->answerAll();
    h.settleKeys();
    h.editor->noteSelectionChanged(small);
    h.web->answerAll();

    ASSERT_EQ(h.updates.size(), 2u);
    EXPECT_EQ(h.updates[0].n_id(), 2);
    EXPECT_EQ(h.updates[0].n_text(), "<p>" + std::string(500, 'L') + "</p>QWERTYUIOPASDFGHJKLZ");
    EXPECT_EQ(h.updates[1].n_id(), 3);
    EXPECT_EQ(h.updates[1].n_text(), "<p>next</p>zyx");
    EXPECT_EQ(small->n_text(), "<p>small</p>");
    EXPECT_EQ(h.page.keysDropped, 0);
}

// A large note is still going in when the user, who typed for it, chooses another: the keys are
// stored in the note they were typed for. A note merely clicked through on the way is not shown.
TEST(NoteSaverTyping, KeysTypedForANoteChosenAwayBeforeItIsInAreStoredInIt) {
    EditorHarness h;
    auto first = EditorHarness::note(1, "<p>first</p>", "first");
    auto large = EditorHarness::note(2, "<p>" + std::string(500, 'L') + "</p>");
    auto passed = EditorHarness::note(3, "<p>passed</p>", "passed");
    auto next = EditorHarness::note(4, "<p>next</p>", "next");
    h.editor->noteSelectionChanged(first);
    h.web->holdAnswers = true;  // the page is busy: it answers when the test says
    h.editor->noteSelectionChanged(large);
    h.typeKeys("abc");
    h.editor->noteSelectionChanged(passed);
    h.editor->noteSelectionChanged(next);
    h.web->holdAnswers = false;
    h.web->answerAll();
    h.settleKeys();
    h.editor->noteSelectionChanged(first);

    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_id(), 2);
    EXPECT_EQ(h.updates[0].n_text(), "<p>" + std::string(500, 'L') + "</p>abc");
    EXPECT_EQ(next->n_text(), "<p>next</p>");
    EXPECT_EQ(h.page.keysDropped, 0);
    EXPECT_TRUE(std::none_of(h.web->scripts.begin(), h.web->scripts.end(), [](const auto& script) {
        return script.starts_with("zelvo_editor.setHTML(") &&
               script.find("passed") != std::string::npos;
    }));
}

// Another note is chosen just as the page unlocks for the one put in (its answer still to come):
// the keys typed after that choice wait for the note chosen, and none lands in the one left.
TEST(NoteSaverTyping, KeysTypedAfterAChoiceMadeWhileThePageUnlocksWaitForTheNoteChosen) {
    EditorHarness h;
    auto first = EditorHarness::note(1, "<p>first</p>", "first");
    auto large = EditorHarness::note(2, "<p>" + std::string(500, 'L') + "</p>");
    auto next = EditorHarness::note(3, "<p>next</p>", "next");
    h.editor->noteSelectionChanged(first);
    h.web->holdAnswers = true;  // the page is busy: it answers when the test says
    h.editor->noteSelectionChanged(large);
    while (h.web->scripts.back() != "zelvo_editor.setEditable(true);")
        ASSERT_TRUE(h.web->answerNext());
    h.editor->noteSelectionChanged(next);
    h.typeKeys("zyx");
    h.web->holdAnswers = false;
    h.web->answerAll();
    h.settleKeys();
    h.editor->noteSelectionChanged(first);

    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_id(), 3);
    EXPECT_EQ(h.updates[0].n_text(), "<p>next</p>zyx");
    EXPECT_EQ(h.page.keysDropped, 0);
}

// Typing that reached the page before a switch belongs to the note being left; keys typed from
// the click on wait while it is read and the next note goes in.
TEST(NoteSaverTyping, ThePageIsLockedFromBeforeTheLastReadUntilTheNextNoteIsIn) {
    EditorHarness h;
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>a</p>", "a"));
    h.typeKeys("xy");
    h.settleKeys();
    std::vector<std::pair<std::string, bool>> seen;  // statement, whether keys reach the page
    h.web->setResponder([&](const std::string& script) {
        seen.emplace_back(script.substr(0, script.find('(')), !h.web->holdsInput);
        return h.page.respond(script);
    });
    h.editor->noteSelectionChanged(EditorHarness::note(2, "<p>b</p>", "b"));
    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_text(), "<p>a</p>xy");
    std::vector<std::pair<std::string, bool>> expected = {
        {"zelvo_editor.keysSeen", false},   {"zelvo_editor.setEditable", false},
        {"zelvo_editor.editsSince", false}, {"style_html", false},
        {"zelvo_editor.getText", false},    {"zelvo_editor.setHTML", false},
        {"zelvo_editor.setEditable", false}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(h.page.editable);
    EXPECT_FALSE(h.web->holdsInput);
}

// Back to a note while it is still being stored: the list's row for it is older than the save,
// but the note comes back as stored, and what is typed now goes on from there.
TEST(NoteSaverTyping, ANoteChosenAgainWhileItIsStoredComesBackAsStored) {
    EditorHarness h;
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>a</p>", "a"));
    h.typeKeys("ABC");
    h.settleKeys();
    h.web->holdAnswers = true;  // the page is busy: it answers when the test says
    h.editor->noteSelectionChanged(EditorHarness::note(2, "<p>b</p>", "b"));
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>a</p>", "a"));
    h.typeKeys("DEF");
    h.web->holdAnswers = false;
    h.web->answerAll();
    h.settleKeys();
    h.editor->noteSelectionChanged(EditorHarness::note(2, "<p>b</p>", "b"));

    ASSERT_EQ(h.updates.size(), 2u);
    EXPECT_EQ(h.updates[1].n_id(), 1);
    EXPECT_EQ(h.updates[1].n_text(), "<p>a</p>ABCDEF");
}

// Quit chosen right after typing: the keys still on their way to the page are stored with the
// rest, not left behind in an engine about to close.
TEST(NoteSaverTyping, KeysOnTheirWayToThePageWhenQuitIsChosenAreStored) {
    EditorHarness h;
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>a</p>", "a"));
    h.typeKeys("zyx");
    EXPECT_TRUE(h.letsQuit());
    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_text(), "<p>a</p>zyx");
}

// The page's first statements turn the main loop, where the list's first choice arrives: it is
// shown once, never replaced afterwards by the page's own showing of what was held before.
TEST(NoteSaverTyping, ANoteChosenWhileThePageFinishesLoadingIsNotReplacedLater) {
    EditorHarness h(/*load=*/false);
    auto note = EditorHarness::note(1, "<p>one</p>", "one");
    bool chosen = false;
    h.web->setResponder([&](const std::string& script) {
        if (!chosen) {
            chosen = true;
            h.editor->noteSelectionChanged(note);
        }
        return h.page.respond(script);
    });
    h.web->finishLoad();
    const std::vector<std::string>& sent = h.web->scripts;
    auto unlocked = std::find(sent.begin(), sent.end(), "zelvo_editor.setEditable(true);");
    ASSERT_NE(unlocked, sent.end());
    EXPECT_TRUE(std::none_of(unlocked, sent.end(), [](const std::string& script) {
        return script.starts_with("zelvo_editor.setHTML");
    }));
    EXPECT_EQ(h.page.html, "<p>one</p>");
    EXPECT_EQ(h.editor->note(), note);
}

TEST(NoteSaverPause, APausedEditIsStoredOnceAndAnUnchangedNoteNever) {
    platform::ManualClock clock;
    EditorHarness h;
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>a</p>", "a"));
    clock.advance(60);
    h.reportEdit();  // reported, yet nothing changed
    clock.advance(60);
    EXPECT_TRUE(h.updates.empty());

    h.type("<p>ab</p>");
    clock.advance(NoteSaver::pauseSeconds - 0.1);
    h.type("<p>abc</p>");
    clock.advance(NoteSaver::pauseSeconds - 0.1);
    EXPECT_TRUE(h.updates.empty()) << "saved while typing went on";
    clock.advance(0.2);
    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_text(), "<p>abc</p>");
    EXPECT_EQ(h.updatedNotices, 1);
    clock.advance(60);
    EXPECT_EQ(h.updates.size(), 1u);

    // Typing that never pauses is stored all the same.
    for (int second = 1; second <= int(NoteSaver::longestWaitSeconds); ++second) {
        h.type("<p>abc" + std::to_string(second) + "</p>");
        clock.advance(1);
    }
    ASSERT_EQ(h.updates.size(), 2u);
    // A switch stores what is left and no pause save follows for the note left.
    h.type("<p>final</p>");
    h.editor->noteSelectionChanged(EditorHarness::note(2, "<p>b</p>", "b"));
    clock.advance(60);
    ASSERT_EQ(h.updates.size(), 3u);
    EXPECT_EQ(h.updates[2].n_text(), "<p>final</p>");
}

// Storing a large note takes seconds, in which the user types on and pauses again: that edit
// is stored at the next pause, not left for a switch.
TEST(NoteSaverPause, AnEditMadeWhileASaveReadsThePageIsStoredAtTheNextPause) {
    platform::ManualClock clock;
    EditorHarness h;
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>a</p>", "a"));
    h.type("<p>ab</p>");
    bool typedOn = false;
    h.web->setResponder([&](const std::string& script) {
        platform::JavaScriptResult answer = h.page.respond(script);
        if (!typedOn && script == "zelvo_editor.getText();") {
            typedOn = true;
            h.type("<p>abc</p>");
        }
        return answer;
    });
    clock.advance(NoteSaver::pauseSeconds);
    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_text(), "<p>ab</p>");
    clock.advance(NoteSaver::pauseSeconds);
    ASSERT_EQ(h.updates.size(), 2u);
    EXPECT_EQ(h.updates[1].n_text(), "<p>abc</p>");
}

// Leaving the window stores a changed note through the same path; a store that keeps failing
// is told once for the saves Zelvo makes by itself, every time for those the user asks for.
TEST(NoteSaverFocus, LosingTheFocusStoresAChangedNoteAndTellsAFailureOnce) {
    EditorHarness h;
    RecordedAlerts alerts;
    h.editor->noteSelectionChanged(EditorHarness::note(1, "<p>a</p>", "a"));
    h.editor->windowDidResignKey();
    turnTheLoop();
    EXPECT_EQ(h.web->scripts.back(), "zelvo_editor.setEditable(true);") << "read an unedited page";

    h.type("<p>away</p>");
    h.web->holdAnswers = true;
    h.editor->windowDidResignKey();
    EXPECT_TRUE(h.updates.empty()) << "saved inside the focus notice";
    h.web->holdAnswers = false;
    h.web->answerAll();
    ASSERT_EQ(h.updates.size(), 1u);
    EXPECT_EQ(h.updates[0].n_text(), "<p>away</p>");

    h.updateSucceeds = false;
    for (const char* edit : {"<p>x</p>", "<p>xy</p>"}) {
        h.type(edit);
        h.editor->windowDidResignKey();
        turnTheLoop();
    }
    EXPECT_EQ(h.updates.size(), 3u);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].messageText(), "The note could not be saved.");
    h.editor->saveDocument();
    EXPECT_EQ(alerts.shown.size(), 2u);
    // Still changed: the next occasion tries again.
    h.updateSucceeds = true;
    h.editor->windowDidResignKey();
    turnTheLoop();
    ASSERT_EQ(h.updates.size(), 5u);
    EXPECT_EQ(h.updates.back().n_text(), "<p>xy</p>");
    h.editor->windowDidResignKey();
    turnTheLoop();
    EXPECT_EQ(h.updates.size(), 5u);

    // The alert of a failed Save takes the focus from the window: the save that follows is tried,
    // but what the user was just told is not told again.
    h.updateSucceeds = false;
    h.type("<p>xyz</p>");
    h.editor->saveDocument();
    ASSERT_EQ(alerts.shown.size(), 3u);
    h.editor->windowDidResignKey();
    turnTheLoop();
    EXPECT_EQ(h.updates.size(), 7u);
    EXPECT_EQ(alerts.shown.size(), 3u);
}

}  // namespace
