#include "ListsTestSupport.h"
#include "platform/ui/TableCellImageView.h"
#include "platform/ui/TableCellView.h"

using zelvo::FileViewController;
using zelvo::NoteViewController;

TEST_F(ListsTest, FirstLaunchSeedsTheThreeGroupsInOrderAndSelectsRecent) {
    NoticeRecorder recorder;
    NoteViewController notes;
    notes.viewPointer();
    FileViewController groups;
    groups.viewPointer();

    ASSERT_EQ(groups.noteFiles().size(), 3u);
    std::vector<std::string> flags, images;
    for (const auto& file : groups.noteFiles()) {
        flags.push_back(file.f_flag().value_or("?"));
        images.push_back(file.f_imageName().value_or("?"));
    }
    EXPECT_EQ(flags, (std::vector<std::string>{"group_recent", "group_work", "group_life"}));
    EXPECT_EQ(images, (std::vector<std::string>{"file_recent", "file_work2", "file_home"}));
    EXPECT_EQ(groups.fileTableView()->numberOfRows(), 3);
    EXPECT_EQ(groups.fileTableView()->selectedRow(), 0);
    auto announced = recorder.named(NOTI_NOTE_FLAG_CHANGED);
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_EQ(announced[0].flag, "group_recent");
    EXPECT_TRUE(logs.contains("-[FileViewController setNotesOfFile:] noteFlag:group_recent"));
    EXPECT_EQ(notes.noteFlag(), "group_recent");
    EXPECT_TRUE(notes.notes().empty());
    EXPECT_EQ(notes.noteTableView()->numberOfRows(), 0);
    EXPECT_TRUE(recorder.selections().empty());

    // Every group row shows its image.
    for (int64_t row = 0; row < 3; ++row) {
        auto cell = std::dynamic_pointer_cast<platform::TableCellView>(
            groups.fileTableView()->viewAtColumn(0, row, true));
        ASSERT_TRUE(cell && cell->imageView());
        EXPECT_TRUE(cell->imageView()->image().has_value()) << row;
    }

    // A second launch finds the groups and adds none.
    FileViewController again;
    again.viewPointer();
    EXPECT_EQ(DBUtil::getNoteFiles().size(), 3u);
}

TEST_F(ListsTest, ChoosingAGroupAnnouncesItOnceAndTheNoteListFollows) {
    storeNote("work one", "group_work", 100);
    storeNote("life one", "group_life", 200, 1);
    NoteViewController notes;
    notes.viewPointer();
    FileViewController groups;
    groups.viewPointer();
    EXPECT_EQ(notes.notes().size(), 1u);  // recent: the life note only

    NoticeRecorder recorder;
    groups.fileTableView()->userSelectRow(1);
    ASSERT_EQ(recorder.named(NOTI_NOTE_FLAG_CHANGED).size(), 1u);
    EXPECT_EQ(recorder.named(NOTI_NOTE_FLAG_CHANGED)[0].flag, "group_work");
    EXPECT_EQ(notes.noteFlag(), "group_work");
    ASSERT_EQ(notes.notes().size(), 1u);
    EXPECT_EQ(*notes.notes()[0].at("n_summary").text(), "work one");

    // The group already announced, chosen again, says nothing and reloads nothing.
    recorder.notices.clear();
    groups.setNotesOfFile(groups.selectedNoteFile());
    groups.reloadTable();
    EXPECT_TRUE(recorder.named(NOTI_NOTE_FLAG_CHANGED).empty());

    // A selection with no group is announced, without object, and empties the note list.
    groups.fileTableView()->deselectAll();
    auto announced = recorder.named(NOTI_NOTE_FLAG_CHANGED);
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_FALSE(announced[0].flag.has_value());
    EXPECT_FALSE(notes.noteFlag().has_value());
    EXPECT_TRUE(notes.notes().empty());
    EXPECT_TRUE(logs.contains("noteFlag:(null)"));
}
