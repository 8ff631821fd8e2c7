#include <fstream>
#include <iterator>
#include <vector>

#include "NotesStoreTestSupport.h"
#include "platform/foundation/FileLock.h"
#include "tests/support/FileContents.h"

namespace fs = std::filesystem;

namespace {

const char* const kNoteTable =
    "CREATE TABLE 'note' ('n_id' INTEGER PRIMARY KEY AUTOINCREMENT  NOT NULL,'n_title' "
    "VARCHAR(200),'n_summary' VARCHAR(500),'n_date' Date,'n_text' TEXT,'n_author' "
    "VARCHAR(100),'n_group' VARCHAR(100),'n_isRecent' INTEGER)";
const char* const kNoteFileTable =
    "CREATE TABLE 'noteFile' ('f_id' INTEGER PRIMARY KEY AUTOINCREMENT  NOT NULL,'f_title' "
    "VARCHAR(100),'f_summary' VARCHAR(200),'f_date' Date,'f_author' VARCHAR(100),'f_flag' "
    "VARCHAR(100),'f_noteCount' INTEGER ,'f_imageName' VARCHAR(100),'f_order' INTEGER)";

}  // namespace

class DBUtilSetupTest : public NotesStoreTest {
  protected:
    // The stored text of a table, as SQLite keeps it (IF NOT EXISTS is not kept).
    std::optional<std::string> tableSQL(const std::string& name) const {
        auto db = openFile();
        std::optional<std::string> sql;
        if (auto rs = db->executeQuery(
                "select sql from sqlite_master where type='table' and name=?", name);
            rs && rs->next()) {
            sql = rs->stringForColumnIndex(0);
        }
        db->close();
        return sql;
    }

    void expectBothTables() const {
        EXPECT_EQ(tableSQL("note"), kNoteTable);
        EXPECT_EQ(tableSQL("noteFile"), kNoteFileTable);
    }
};

TEST_F(DBUtilSetupTest, FirstStartCreatesFolderFileAndBothTablesAndLogsTheLocation) {
    platform::LogCapture log;
    DBUtil::initDBDirectory();

    EXPECT_TRUE(fs::is_directory(folderPath()));
    EXPECT_TRUE(fs::is_regular_file(filePath()));
    expectBothTables();
    EXPECT_EQ(DBUtil::databaseDirectoryPath(), folderPath());
    EXPECT_EQ(DBUtil::databasePath(), filePath());
    ASSERT_FALSE(log.lines().empty());
    EXPECT_EQ(log.lines().front(),
              "+[DBUtil initDBDirectory] -dbDir : " + folderPath() + " \n dbPath : " + filePath());
    EXPECT_FALSE(log.contains("数据库文件夹已经存在。。。"));
}

TEST_F(DBUtilSetupTest, MissingIntermediateFoldersAreCreated) {
    ScopedEnvironment nested("ZELVO_DATA_DIR", (root / "a" / "b").string());
    DBUtil::initDBDirectory();
    EXPECT_TRUE(fs::is_regular_file(root / "a" / "b" / "database" / "note.db"));
}

TEST_F(DBUtilSetupTest, LaterCallsInOneProcessLogAndChangeNothing) {
    DBUtil::initDBDirectory();
    ScopedEnvironment elsewhere("ZELVO_DATA_DIR", (root / "other").string());
    platform::LogCapture log;
    DBUtil::initDBDirectory();
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(DBUtil::databasePath(), filePath());
    EXPECT_FALSE(fs::exists(root / "other"));
}

TEST_F(DBUtilSetupTest, SecondLaunchKeepsTheFileAsItIs) {
    DBUtil::initDBDirectory();
    NoteObject note;
    note.setN_group("group_work");
    ASSERT_TRUE(DBUtil::insertNote(&note));
    std::string before = fileContents(filePath());

    DBUtil::resetLocation();
    platform::LogCapture log;
    DBUtil::initDBDirectory();
    EXPECT_TRUE(log.contains("数据库文件夹已经存在。。。"));
    EXPECT_FALSE(log.contains("失败"));
    EXPECT_EQ(fileContents(filePath()), before);
    EXPECT_EQ(DBUtil::getNotesWithFlag("group_work").size(), 1u);
}

TEST_F(DBUtilSetupTest, ExistingFolderWithoutFileOrTablesIsRepaired) {
    // Only the folder.
    fs::create_directories(folderPath());
    DBUtil::initDBDirectory();
    expectBothTables();

    // An empty database file.
    fs::remove(filePath());
    std::ofstream(filePath()).close();
    DBUtil::resetLocation();
    DBUtil::initDBDirectory();
    expectBothTables();

    // One table of two lost; the other keeps its rows.
    NoteObject note;
    note.setN_group("group_life");
    ASSERT_TRUE(DBUtil::insertNote(&note));
    auto db = openFile();
    ASSERT_TRUE(db->executeUpdate("drop table noteFile"));
    db->close();
    DBUtil::resetLocation();
    DBUtil::initDBDirectory();
    expectBothTables();
    EXPECT_EQ(DBUtil::getNotesWithFlag("group_life").size(), 1u);
}

TEST_F(DBUtilSetupTest, InitDataBaseWithPathReportsEachFailure) {
    fs::create_directories(folderPath());
    {
        platform::LogCapture log;
        EXPECT_FALSE(DBUtil::initDataBaseWithPath((root / "missing" / "x.db").string()));
        EXPECT_EQ(log.lines().back(), "+[DBUtil initDataBaseWithPath:] 数据库打开失败。");
    }
    {
        std::string notADatabase = (root / "plain.txt").string();
        std::ofstream(notADatabase) << "these are not the bytes of a database file, not at all";
        platform::LogCapture log;
        EXPECT_FALSE(DBUtil::initDataBaseWithPath(notADatabase));
        EXPECT_TRUE(log.contains("+[DBUtil initDataBaseWithPath:] 创建note表失败!"));
        EXPECT_EQ(fileContents(notADatabase),
                  "these are not the bytes of a database file, not at all");
    }
    {
        // An index under the second table's name makes only the second statement fail.
        std::string path = (root / "taken.db").string();
        auto db = SQDatabase::databaseWithPath(path);
        ASSERT_TRUE(db->open());
        ASSERT_TRUE(db->executeUpdate("create table other (a)"));
        ASSERT_TRUE(db->executeUpdate("create index noteFile on other (a)"));
        db->close();
        platform::LogCapture log;
        EXPECT_FALSE(DBUtil::initDataBaseWithPath(path));
        EXPECT_TRUE(log.contains("+[DBUtil initDataBaseWithPath:] 创建noteFile表失败!"));
    }
    EXPECT_TRUE(DBUtil::initDataBaseWithPath((root / "fresh.db").string()));
}

TEST_F(DBUtilSetupTest, UnusableFolderMakesEveryOperationFailQuietly) {
    std::ofstream((root / "blocker").string()) << "x";
    ScopedEnvironment blocked("ZELVO_DATA_DIR", (root / "blocker").string());
    platform::LogCapture log;
    DBUtil::initDBDirectory();
    EXPECT_TRUE(log.contains("+[DBUtil initDataBaseWithPath:] 数据库打开失败。"));

    log.clear();
    NoteObject note;
    NoteFile group;
    EXPECT_FALSE(DBUtil::insertNote(&note));
    EXPECT_FALSE(DBUtil::updateNote(&note));
    EXPECT_FALSE(DBUtil::insertNoteFile(&group));
    EXPECT_FALSE(DBUtil::isExistsNote());
    EXPECT_FALSE(DBUtil::isExistsNoteFile());
    EXPECT_TRUE(DBUtil::getNoteFiles().empty());
    EXPECT_TRUE(DBUtil::getNotesWithFlag("group_work").empty());
    EXPECT_FALSE(DBUtil::getRecentNotes().has_value());
    EXPECT_FALSE(log.contains("+[DBUtil"));
}

TEST_F(DBUtilSetupTest, WithoutALocationNothingIsSavedAnywhere) {
    NoteObject note;
    EXPECT_FALSE(DBUtil::databasePath().has_value());
    EXPECT_FALSE(DBUtil::insertNote(&note));
    EXPECT_FALSE(DBUtil::getRecentNotes().has_value());
    EXPECT_FALSE(fs::exists(folderPath()));
}

TEST(DBUtilDataDirectory, EnvironmentChoosesTheFolder) {
    ScopedEnvironment home("HOME", "/home/writer");
    {
        ScopedEnvironment data("ZELVO_DATA_DIR", "/tmp/zelvo-test");
        ScopedEnvironment xdg("XDG_DATA_HOME", "/data");
        EXPECT_EQ(DBUtil::dataDirectory(), "/tmp/zelvo-test");
    }
    ScopedEnvironment data("ZELVO_DATA_DIR", std::nullopt);
    {
        ScopedEnvironment xdg("XDG_DATA_HOME", "/data");
        EXPECT_EQ(DBUtil::dataDirectory(), "/data/zelvo");
    }
    for (const char* ignored : {"", "relative/place"}) {
        ScopedEnvironment xdg("XDG_DATA_HOME", ignored);
        EXPECT_EQ(DBUtil::dataDirectory(), "/home/writer/.local/share/zelvo") << ignored;
    }
}

// Whatever is found at the database's place is the user's: a file that is no notes database is
// reported with SQLite's reason and never written to.
TEST_F(DBUtilSetupTest, AFileThatIsNoDatabaseIsReportedAndLeftAsItIs) {
    fs::create_directories(folderPath());
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += char((i * 7919 + 13) % 251);
    std::ofstream(filePath(), std::ios::binary) << garbage;
    DBUtil::initDBDirectory();
    EXPECT_EQ(DBUtil::unreadableReason(), "file is not a database");
    NoteObject note;
    EXPECT_FALSE(DBUtil::insertNote(&note));
    EXPECT_EQ(DBUtil::lastErrorMessage(), "file is not a database");
    EXPECT_EQ(fileContents(filePath()), garbage);
    EXPECT_EQ(std::vector<std::string>{"note.db"}, [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folderPath()))
            names.push_back(entry.path().filename().string());
        return names;
    }());
}

// One process holds the data folder: a second holder is refused until it is let go. A folder that
// cannot take the lock file is used without the lock, and the log says why.
TEST_F(DBUtilSetupTest, TheDataFolderIsHeldByOneHolderAndUsedUnheldWhereItCannotBeLocked) {
    const fs::path lockFile = root / "zelvo.lock";
    ASSERT_EQ(DBUtil::holdDataFolder(), DBUtil::FolderHold::Held);
    EXPECT_EQ(platform::FileLock(lockFile).state(), platform::FileLock::State::HeldElsewhere);
    DBUtil::resetLocation();
    {
        platform::FileLock other(lockFile);
        ASSERT_EQ(other.state(), platform::FileLock::State::Held);
        EXPECT_EQ(DBUtil::holdDataFolder(), DBUtil::FolderHold::InUse);
    }
    EXPECT_EQ(DBUtil::holdDataFolder(), DBUtil::FolderHold::Held);
    DBUtil::resetLocation();

    std::ofstream(root / "plain-file") << "x";
    ScopedEnvironment unlockable("ZELVO_DATA_DIR", (root / "plain-file" / "notes").string());
    platform::LogCapture log;
    EXPECT_EQ(DBUtil::holdDataFolder(), DBUtil::FolderHold::Unheld);
    EXPECT_TRUE(log.contains("cannot be locked")) << log.lines().size();
}
