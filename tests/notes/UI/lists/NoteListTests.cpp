#include "ListsTestSupport.h"
#include "notes/UI/InterfaceFactory.h"
#include "platform/foundation/UnicodeString.h"

using zelvo::NoteViewController;

namespace {

void chooseGroup(const std::string& flag) {
    platform::NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_FLAG_CHANGED,
                                                                       std::string(flag));
}

// What the editor does when it saved the note it held: the row gets a new date and text, and the
// list hears of it.
void editorSaves(const NoteObjectPtr& shown, const std::string& summary, double seconds) {
    shown->setN_summary(summary);
    shown->setN_date(platform::Date::dateWithTimeIntervalSince1970(seconds));
    shown->setN_isRecent(1);
    ASSERT_TRUE(DBUtil::updateNote(shown.get()));
    platform::NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_UPDATED, shown);
}

}  // namespace

TEST_F(ListsTest, AddingANoteStoresItInTheShownGroupAtTheTopAndAnnouncesIt) {
    storeNote("old", "group_work", 1000, 1);
    NoteViewController list;
    list.viewPointer();
    NoticeRecorder recorder;

    list.addNote();  // recent group shown: the note goes to the work group, marked recent
    ASSERT_EQ(list.notes().size(), 2u);
    const auto& top = list.notes()[0];
    EXPECT_EQ(*top.at("n_group").text(), "group_work");
    EXPECT_EQ(top.at("n_isRecent").intValue(), 1);
    EXPECT_EQ(platform::utf16FromUtf8(*top.at("n_summary").text()),
              NoteViewController::NewNoteText);
    EXPECT_EQ(NoteViewController::NewNoteText.size(), 15u);
    EXPECT_EQ(list.noteTableView()->selectedRow(), 0);
    auto selections = recorder.selections();
    ASSERT_EQ(selections.size(), 1u);
    ASSERT_TRUE(selections[0].note);
    EXPECT_EQ(selections[0].note->n_id(), top.at("n_id").intValue());
    int32_t added = selections[0].note->n_id();

    chooseGroup("group_work");
    ASSERT_FALSE(list.notes().empty());
    EXPECT_EQ(list.notes()[0].at("n_id").intValue(), added);

    chooseGroup("group_life");
    list.addNote();
    ASSERT_EQ(list.notes().size(), 1u);
    EXPECT_EQ(*list.notes()[0].at("n_group").text(), "group_life");
}

TEST_F(ListsTest, ANoteOpenedFromAGroupListReachesTheEditorAsNotRecent) {
    int32_t id = storeNote("marked recent", "group_work", 500, 1);
    NoteViewController list;
    list.viewPointer();
    chooseGroup("group_work");
    NoticeRecorder recorder;
    list.noteTableView()->userSelectRow(0);
    auto selections = recorder.selections();
    ASSERT_EQ(selections.size(), 1u);
    ASSERT_TRUE(selections[0].note);
    EXPECT_EQ(selections[0].note->n_id(), id);
    EXPECT_EQ(selections[0].note->n_isRecent(), 0);
    EXPECT_EQ(selections[0].note->n_summary(), "marked recent");
    EXPECT_EQ(selections[0].note->n_group(), "group_work");
    EXPECT_FALSE(selections[0].note->n_title().has_value());
    EXPECT_FALSE(selections[0].note->n_author().has_value());
    // Each selection builds a note of its own.
    EXPECT_NE(list.selectedNote().get(), list.selectedNote().get());

    chooseGroup("group_recent");
    list.noteTableView()->userSelectRow(0);
    ASSERT_TRUE(list.selectedNoteObject());
    EXPECT_EQ(list.selectedNoteObject()->n_isRecent(), 1);
}

TEST_F(ListsTest, RemoveWithNothingSelectedDoesNothing) {
    storeNote("keep", "group_work", 100, 1);
    NoteViewController list;
    list.viewPointer();
    NoticeRecorder recorder;
    list.removeNote();
    EXPECT_EQ(DBUtil::getNotesWithFlag(std::string("group_work")).size(), 1u);
    EXPECT_TRUE(recorder.notices.empty());
    EXPECT_EQ(list.notes().size(), 1u);
}

TEST_F(ListsTest, AfterASaveReSortsTheListTheSavedNoteStaysSelected) {
    int32_t older = storeNote("older", "group_work", 100, 1);
    int32_t newer = storeNote("newer", "group_work", 200, 1);
    NoteViewController list;
    list.viewPointer();
    ASSERT_EQ(ids(list.notes()), (std::vector<int32_t>{newer, older}));
    list.noteTableView()->userSelectRow(1);
    ASSERT_EQ(list.selectedNoteObject()->n_id(), older);

    NoticeRecorder recorder;
    editorSaves(list.selectedNoteObject(), "older, edited", 300);
    EXPECT_EQ(ids(list.notes()), (std::vector<int32_t>{older, newer}));
    EXPECT_EQ(list.noteTableView()->selectedRow(), 0);  // the highlight moved with the note
    ASSERT_TRUE(list.selectedNote());
    EXPECT_EQ(list.selectedNote()->n_id(), older);
    EXPECT_EQ(list.selectedNoteObject()->n_id(), older);
    EXPECT_TRUE(recorder.selections().empty());  // the editor keeps its note: nothing to say

    // Remove now deletes the note the editor shows, not the one that took its old row.
    list.removeNote();
    EXPECT_EQ(ids(DBUtil::getNotesWithFlag(std::string("group_work"))),
              (std::vector<int32_t>{newer}));
    EXPECT_EQ(ids(list.notes()), (std::vector<int32_t>{newer}));
    EXPECT_EQ(list.noteTableView()->selectedRow(), 0);
    auto selections = recorder.selections();
    ASSERT_FALSE(selections.empty());
    ASSERT_TRUE(selections.back().note);
    EXPECT_EQ(selections.back().note->n_id(), newer);
    EXPECT_TRUE(logs.contains("+[DBUtil deleteNoteWithID:] note 成功！"));
}

// The editor could not store the note it held and keeps it: the highlight goes back to that note
// and nothing is announced.
TEST_F(ListsTest, ANoteTheEditorKeepsIsHighlightedAgainWithoutANotice) {
    int32_t older = storeNote("older", "group_work", 100, 1);
    storeNote("newer", "group_work", 200, 1);
    NoteViewController list;
    list.viewPointer();
    list.noteTableView()->userSelectRow(1);
    NoteObjectPtr held = list.selectedNoteObject();
    ASSERT_EQ(held->n_id(), older);
    list.noteTableView()->userSelectRow(0);

    NoticeRecorder recorder;
    platform::NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_SELECTION_KEPT,
                                                                       held);
    EXPECT_EQ(list.noteTableView()->selectedRow(), 1);
    EXPECT_EQ(list.selectedNoteObject(), held);
    EXPECT_TRUE(recorder.notices.empty());
}

TEST_F(ListsTest, AnUpdateWithoutNoteReloadsNothingAndAFailedDeleteChangesNothing) {
    storeNote("a", "group_work", 100, 1);
    NoteViewController list;
    list.viewPointer();
    list.noteTableView()->userSelectRow(0);
    storeNote("b", "group_work", 200, 1);  // stored behind the list's back
    platform::NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_UPDATED);
    platform::NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_UPDATED,
                                                                       NoteObjectPtr());
    EXPECT_EQ(list.notes().size(), 1u);

    DBUtil::resetLocation();  // the store cannot be reached: the delete answers NO
    NoticeRecorder recorder;
    list.removeNote();
    EXPECT_EQ(list.notes().size(), 1u);
    EXPECT_EQ(list.noteTableView()->selectedRow(), 0);
    EXPECT_TRUE(recorder.notices.empty());
}

TEST_F(ListsTest, WhenTheShownNoteLeavesTheListTheEditorHearsOfTheNoteUnderTheHighlight) {
    int32_t work = storeNote("work", "group_work", 100, 0);
    int32_t life = storeNote("life", "group_life", 200, 0);
    NoteViewController list;
    list.viewPointer();
    chooseGroup("group_work");
    list.noteTableView()->userSelectRow(0);
    ASSERT_EQ(list.selectedNoteObject()->n_id(), work);

    NoticeRecorder recorder;
    chooseGroup("group_life");  // row 0 stays highlighted, but it holds another note now
    auto selections = recorder.selections();
    ASSERT_EQ(selections.size(), 1u);
    ASSERT_TRUE(selections[0].note);
    EXPECT_EQ(selections[0].note->n_id(), life);

    chooseGroup("group_recent");  // nothing recent: the highlight goes, the editor is told so
    selections = recorder.selections();
    ASSERT_EQ(selections.size(), 2u);
    EXPECT_FALSE(selections[1].note);
    EXPECT_FALSE(list.selectedNoteObject());
}

TEST_F(ListsTest, AReloadAskedForInsideTheSelectionNoticeWaitsForTheRunLoop) {
    int32_t first = storeNote("first", "group_work", 100, 1);
    int32_t second = storeNote("second", "group_work", 200, 1);
    NoteViewController list;
    list.viewPointer();
    // An editor that saves the moment it is told of a note, before the notice returns.
    NoteObjectPtr saved;
    auto token = platform::NotificationCenter::defaultCenter().addObserver(
        NOTI_NOTE_SELECTION_CHANGED, [&](const platform::Notification& n) {
            const auto* note = n.objectAs<NoteObjectPtr>();
            if (!note || saved) return;
            saved = *note;
            editorSaves(saved, "saved at once", 900);
        });
    list.noteTableView()->userSelectRow(1);  // "first", then saved to the top
    EXPECT_TRUE(list.noteTableView()->isReloadPending());
    drainRunLoop();
    platform::NotificationCenter::defaultCenter().removeObserver(token);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->n_id(), first);
    EXPECT_EQ(ids(list.notes()), (std::vector<int32_t>{first, second}));
    EXPECT_EQ(list.noteTableView()->selectedRow(), 0);
    EXPECT_EQ(list.selectedNoteObject()->n_id(), first);
}

TEST_F(ListsTest, AListThatIsGoneHearsNoMoreNotices) {
    storeNote("a", "group_work", 100, 1);
    NoticeRecorder recorder;
    auto list = std::make_unique<NoteViewController>();
    list->viewPointer();
    list->noteTableView()->userSelectRow(0);
    ASSERT_EQ(recorder.selections().size(), 1u);
    list.reset();
    // A list still there would show the other group and announce that its note left the view.
    chooseGroup("group_life");
    platform::NotificationCenter::defaultCenter().postNotificationName(
        NOTI_NOTE_UPDATED, std::make_shared<NoteObject>());
    drainRunLoop();
    EXPECT_EQ(recorder.selections().size(), 1u);
}

TEST_F(ListsTest, TheInterfaceFileMakesTheListsAndTheButtonsReachTheirActions) {
    auto made = zelvo::InterfaceFactory::makeViewController("NoteViewController");
    auto* list = dynamic_cast<NoteViewController*>(made.get());
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(dynamic_cast<zelvo::FileViewController*>(
        zelvo::InterfaceFactory::makeViewController("FileViewController").get()));
    list->viewPointer();
    ASSERT_TRUE(list->performAction("addNote:"));
    ASSERT_EQ(list->notes().size(), 1u);
    ASSERT_TRUE(list->performAction("removeNote:"));
    EXPECT_TRUE(list->notes().empty());
    EXPECT_TRUE(DBUtil::getNotesWithFlag(std::string("group_work")).empty());
}
