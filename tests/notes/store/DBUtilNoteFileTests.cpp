#include <vector>

#include "NotesStoreTestSupport.h"

namespace {

NoteFile makeGroup(const std::string& flag, const std::string& image, int order) {
    NoteFile group;
    group.setF_title("");
    group.setF_summary("");
    group.setF_author("");
    group.setF_date(platform::Date::dateWithTimeIntervalSince1970(1234.5));
    group.setF_flag(flag);
    group.setF_imageName(image);
    group.setF_order(order);
    return group;
}

}  // namespace

class DBUtilNoteFileTest : public NotesStoreTest {
  protected:
    void SetUp() override { DBUtil::initDBDirectory(); }
};

TEST_F(DBUtilNoteFileTest, GroupsComeBackInTheirOrderWithThreePropertiesFilled) {
    EXPECT_FALSE(DBUtil::isExistsNoteFile());
    platform::LogCapture log;
    NoteFile life = makeGroup("group_life", "file_home", 3);
    ASSERT_TRUE(DBUtil::insertNoteFile(&life));
    EXPECT_EQ(log.lines().back(), "+[DBUtil insertNoteFile:]成功！");
    EXPECT_TRUE(DBUtil::isExistsNoteFile());
    NoteFile recent = makeGroup("group_recent", "file_recent", 1);
    NoteFile work = makeGroup("group_work", "file_work2", 2);
    ASSERT_TRUE(DBUtil::insertNoteFile(&recent));
    ASSERT_TRUE(DBUtil::insertNoteFile(&work));

    auto groups = DBUtil::getNoteFiles();
    ASSERT_EQ(groups.size(), 3u);
    std::vector<std::string> flags, images;
    for (const auto& group : groups) {
        flags.push_back(group.f_flag().value_or("?"));
        images.push_back(group.f_imageName().value_or("?"));
        EXPECT_EQ(group.f_noteCount(), 0);
        EXPECT_EQ(group.f_order(), 0);
        EXPECT_FALSE(group.f_title() || group.f_date() || group.f_summary() || group.f_author());
    }
    EXPECT_EQ(flags, (std::vector<std::string>{"group_recent", "group_work", "group_life"}));
    EXPECT_EQ(images, (std::vector<std::string>{"file_recent", "file_work2", "file_home"}));
    EXPECT_EQ(single("select f_date from noteFile where f_flag='group_work'"),
              platform::Value(1234.5));
}

TEST_F(DBUtilNoteFileTest, NullTextsOfAGroupReadAsEmpty) {
    NoteFile bare;
    ASSERT_TRUE(DBUtil::insertNoteFile(&bare));
    auto groups = DBUtil::getNoteFiles();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].f_flag(), "");
    EXPECT_EQ(groups[0].f_imageName(), "");
    EXPECT_TRUE(single("select f_title from noteFile").isNull());
    EXPECT_FALSE(DBUtil::insertNoteFile(nullptr));
}

TEST_F(DBUtilNoteFileTest, CountUpdateNeedsAFlagAndAPositiveCount) {
    NoteFile work = makeGroup("group_work", "file_work2", 2);
    NoteFile life = makeGroup("group_life", "file_home", 3);
    ASSERT_TRUE(DBUtil::insertNoteFile(&work));
    ASSERT_TRUE(DBUtil::insertNoteFile(&life));

    platform::LogCapture log;
    EXPECT_FALSE(DBUtil::updateNoteFileCountWithFlag(0, "group_work"));
    EXPECT_FALSE(DBUtil::updateNoteFileCountWithFlag(-1, "group_work"));
    EXPECT_FALSE(DBUtil::updateNoteFileCountWithFlag(4, std::nullopt));
    EXPECT_TRUE(log.lines().empty());

    ASSERT_TRUE(DBUtil::updateNoteFileCountWithFlag(4, "group_work"));
    EXPECT_EQ(log.lines().back(), "+[DBUtil updateNoteFileCountWithFlag:flag:]成功！");
    ASSERT_TRUE(DBUtil::updateNoteFileCountWithFlag(9, "group_work' or '1'='1"));
    auto groups = DBUtil::getNoteFiles();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].f_noteCount(), 4);
    EXPECT_EQ(groups[1].f_noteCount(), 0);
}

TEST_F(DBUtilNoteFileTest, FailedStatementsLogTheirFailureText) {
    auto db = openFile();
    ASSERT_TRUE(db->executeUpdate("drop table noteFile"));
    ASSERT_TRUE(db->executeUpdate("drop table note"));
    db->close();

    platform::LogCapture log;
    NoteFile group = makeGroup("group_work", "file_work2", 2);
    NoteObject note;
    EXPECT_FALSE(DBUtil::insertNoteFile(&group));
    EXPECT_TRUE(log.contains("+[DBUtil insertNoteFile:]失败！"));
    EXPECT_FALSE(DBUtil::insertNote(&note));
    EXPECT_TRUE(log.contains("+[DBUtil insertNote:] note 插入失败！"));
    EXPECT_FALSE(DBUtil::deleteNoteWithID(3));
    EXPECT_TRUE(log.contains("+[DBUtil deleteNoteWithID:] note 失败！"));
    EXPECT_FALSE(DBUtil::isExistsNote());
    EXPECT_FALSE(DBUtil::isExistsNoteFile());
    EXPECT_TRUE(DBUtil::getNoteFiles().empty());
    EXPECT_TRUE(DBUtil::getNotesWithFlag("group_work").empty());
    EXPECT_EQ(DBUtil::getRecentNotes(), std::vector<DBUtil::NoteRow>{});
}
