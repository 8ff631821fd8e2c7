#include <vector>

#include "NotesStoreTestSupport.h"
#include "tests/support/ModeBitsVfs.h"

using platform::Date;
using platform::Value;
namespace fs = std::filesystem;

namespace {

// Mongolian with the narrow no-break space before a suffix, quotes of both kinds and printf
// directives, so that anything pasted into SQL or a format would show.
const std::string kMongolian = "ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ\u202Fᠦᠨ";
const std::string kAwkward = "<p>it's \"%s\" 100% %@ %d '); drop table note; --</p>";

NoteObject makeNote(const std::string& group, double seconds, int recent = 0) {
    NoteObject note;
    note.setN_summary(kMongolian);
    note.setN_text(kAwkward + group);
    note.setN_date(Date::dateWithTimeIntervalSince1970(seconds));
    note.setN_group(group);
    note.setN_isRecent(recent);
    return note;
}

std::vector<std::string> texts(const std::vector<DBUtil::NoteRow>& rows) {
    std::vector<std::string> result;
    for (const auto& row : rows) result.push_back(*row.at("n_text").text());
    return result;
}

}  // namespace

class DBUtilNoteTest : public NotesStoreTest {
  protected:
    void SetUp() override { DBUtil::initDBDirectory(); }

    int insert(const NoteObject& note) {
        EXPECT_TRUE(DBUtil::insertNote(&note));
        return single("select max(n_id) from note").intValue();
    }
};

TEST_F(DBUtilNoteTest, InsertedNoteComesBackWithEveryTextIntact) {
    platform::LogCapture log;
    NoteObject note = makeNote("group_work", 1700000000.25);
    ASSERT_TRUE(DBUtil::insertNote(&note));
    EXPECT_EQ(log.lines().back(), "+[DBUtil insertNote:] note 插入成功！");
    EXPECT_EQ(note.n_id(), 0);  // the caller reloads its list for the number

    auto rows = DBUtil::getNotesWithFlag("group_work");
    ASSERT_EQ(rows.size(), 1u);
    const auto& row = rows[0];
    EXPECT_EQ(row.size(), 5u);
    EXPECT_EQ(row.count("n_isRecent"), 0u);
    EXPECT_GT(row.at("n_id").intValue(), 0);
    EXPECT_EQ(*row.at("n_summary").text(), kMongolian);
    EXPECT_EQ(*row.at("n_text").text(), kAwkward + "group_work");
    EXPECT_EQ(*row.at("n_group").text(), "group_work");
    ASSERT_NE(row.at("n_date").date(), nullptr);
    EXPECT_DOUBLE_EQ(row.at("n_date").date()->timeIntervalSince1970(), 1700000000.25);

    // Absent title and author are stored as NULL, the date as a real number.
    EXPECT_TRUE(single("select n_title from note").isNull());
    EXPECT_TRUE(single("select n_author from note").isNull());
    EXPECT_EQ(*single("select typeof(n_date) from note").text(), "real");
    EXPECT_TRUE(DBUtil::isExistsNote());
}

TEST_F(DBUtilNoteTest, AbsentObjectsAreRefusedWithoutTouchingTheFile) {
    platform::LogCapture log;
    EXPECT_FALSE(DBUtil::insertNote(nullptr));
    EXPECT_FALSE(DBUtil::updateNote(nullptr));
    EXPECT_FALSE(DBUtil::deleteNoteWithID(0));
    EXPECT_TRUE(log.lines().empty());
    EXPECT_FALSE(DBUtil::isExistsNote());
}

TEST_F(DBUtilNoteTest, UpdateRewritesTheRowAndFailsForAMissingOne) {
    int id = insert(makeNote("group_work", 100));
    NoteObject changed = makeNote("group_life", 200, 1);
    changed.setN_id(id);
    changed.setN_text("ᠰᠢᠨ᠎ᠡ 50% 'new'");
    changed.setN_title("title");

    platform::LogCapture log;
    ASSERT_TRUE(DBUtil::updateNote(&changed));
    EXPECT_EQ(log.lines().back(), "+[DBUtil updateNote:] note 成功！");
    EXPECT_TRUE(DBUtil::getNotesWithFlag("group_work").empty());
    auto rows = DBUtil::getNotesWithFlag("group_life");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("n_id").intValue(), id);
    EXPECT_EQ(*rows[0].at("n_text").text(), "ᠰᠢᠨ᠎ᠡ 50% 'new'");
    EXPECT_EQ(rows[0].at("n_date").date()->timeIntervalSince1970(), 200);
    EXPECT_EQ(*single("select n_title from note").text(), "title");

    // A note whose row is gone must not report a successful save.
    log.clear();
    changed.setN_id(id + 100);
    EXPECT_FALSE(DBUtil::updateNote(&changed));
    EXPECT_EQ(log.lines().back(), "+[DBUtil updateNote:] note 失败！");
    EXPECT_EQ(single("select count(*) from note").intValue(), 1);
}

TEST_F(DBUtilNoteTest, DeleteRemovesOnlyTheNamedNote) {
    int first = insert(makeNote("group_work", 1));
    int second = insert(makeNote("group_work", 2));
    platform::LogCapture log;
    ASSERT_TRUE(DBUtil::deleteNoteWithID(first));
    EXPECT_EQ(log.lines().back(), "+[DBUtil deleteNoteWithID:] note 成功！");
    auto rows = DBUtil::getNotesWithFlag("group_work");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("n_id").intValue(), second);

    // Numbers are never handed out again.
    int third = insert(makeNote("group_work", 3));
    EXPECT_GT(third, second);
}

TEST_F(DBUtilNoteTest, ListsOfAGroupAreNewestFirstAndMatchOnlyExactly) {
    insert(makeNote("group_work", 1000.2));
    insert(makeNote("group_work", 1000.7));
    insert(makeNote("group_work", 999));
    insert(makeNote("group_life", 5000));
    EXPECT_EQ(texts(DBUtil::getNotesWithFlag("group_work")),
              (std::vector<std::string>{kAwkward + "group_work", kAwkward + "group_work",
                                        kAwkward + "group_work"}));
    std::vector<double> dates;
    for (const auto& row : DBUtil::getNotesWithFlag("group_work")) {
        dates.push_back(row.at("n_date").date()->timeIntervalSince1970());
    }
    EXPECT_EQ(dates, (std::vector<double>{1000.7, 1000.2, 999}));

    EXPECT_TRUE(DBUtil::getNotesWithFlag("group_none").empty());
    EXPECT_TRUE(DBUtil::getNotesWithFlag(std::nullopt).empty());
    EXPECT_TRUE(DBUtil::getNotesWithFlag("group_work' or '1'='1").empty());
    EXPECT_TRUE(DBUtil::getNotesWithFlag("group_%").empty());
}

TEST_F(DBUtilNoteTest, NullColumnsReadAsTheirStandIns) {
    auto db = openFile();
    ASSERT_TRUE(db->executeUpdate("insert into note (n_group, n_isRecent) values ('g', 1)"));
    db->close();

    double before = Date::now().timeIntervalSince1970();
    auto rows = DBUtil::getNotesWithFlag("g");
    double after = Date::now().timeIntervalSince1970();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(*rows[0].at("n_summary").text(), "");
    EXPECT_EQ(*rows[0].at("n_text").text(), "");
    double date = rows[0].at("n_date").date()->timeIntervalSince1970();
    EXPECT_GE(date, before);
    EXPECT_LE(date, after);

    db = openFile();
    ASSERT_TRUE(db->executeUpdate("update note set n_group = NULL"));
    db->close();
    auto recent = DBUtil::getRecentNotes();
    ASSERT_TRUE(recent && recent->size() == 1u);
    EXPECT_EQ(*(*recent)[0].at("n_group").text(), "");
}

TEST_F(DBUtilNoteTest, RecentNotesSpanGroupsNewestFirst) {
    EXPECT_EQ(DBUtil::getRecentNotes(), std::vector<DBUtil::NoteRow>{});
    insert(makeNote("group_work", 10, 1));
    insert(makeNote("group_life", 30, 1));
    insert(makeNote("group_work", 20, 1));
    insert(makeNote("group_life", 40, 0));

    auto recent = DBUtil::getRecentNotes();
    ASSERT_TRUE(recent.has_value());
    ASSERT_EQ(recent->size(), 3u);
    std::vector<std::string> groups;
    for (const auto& row : *recent) {
        groups.push_back(*row.at("n_group").text());
        EXPECT_EQ(row.at("n_isRecent"), Value(1));
        EXPECT_EQ(row.size(), 6u);
    }
    EXPECT_EQ(groups, (std::vector<std::string>{"group_life", "group_work", "group_work"}));
    EXPECT_EQ((*recent)[0].at("n_date").date()->timeIntervalSince1970(), 30);
}

// A folder the user may not write: reads go on, every write fails with SQLite's reason, and the
// same update succeeds once the folder is writable again.
TEST_F(DBUtilNoteTest, AReadOnlyFolderFailsWritesWithTheReasonUntilItIsWritable) {
    NoteObject note = makeNote("group_work", 1'700'000'000);
    note.setN_id(insert(note));
    note.setN_text(std::string("<p>edited</p>"));
    {
        ModeBitsVfs asAnyUser;
        fs::permissions(filePath(), fs::perms::owner_read | fs::perms::group_read);
        fs::permissions(folderPath(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(DBUtil::updateNote(&note));
        EXPECT_EQ(DBUtil::lastErrorMessage(), "attempt to write a readonly database");
        EXPECT_FALSE(DBUtil::unreadableReason());
        EXPECT_EQ(DBUtil::getNotesWithFlag("group_work").size(), 1u);
        fs::permissions(folderPath(), fs::perms::owner_all);
        fs::permissions(filePath(), fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_TRUE(DBUtil::updateNote(&note));
    }
    platform::Value stored = single("select n_text from note");
    ASSERT_TRUE(stored.text());
    EXPECT_EQ(*stored.text(), "<p>edited</p>");
}
