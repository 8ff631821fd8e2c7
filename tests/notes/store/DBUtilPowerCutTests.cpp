#include <functional>
#include <set>

#include "NotesStoreTestSupport.h"
#include "PowerCutVfs.h"

namespace {

// What the store holds, as one comparable text: notes by number, then groups.
std::string contents(SQDatabase& db) {
    std::string text;
    if (auto rs = db.executeQuery("select n_id,n_text from note order by n_id")) {
        while (rs->next()) {
            text += std::to_string(rs->intForColumnIndex(0)) + "=" +
                    rs->stringForColumnIndex(1).value_or("") + ";";
        }
    }
    text += "|";
    if (auto rs = db.executeQuery("select f_flag,f_noteCount from noteFile order by f_id")) {
        while (rs->next()) {
            text += rs->stringForColumnIndex(0).value_or("") + "=" +
                    std::to_string(rs->intForColumnIndex(1)) + ";";
        }
    }
    return text;
}

NoteObject note(int32_t id, const std::string& text) {
    NoteObject made;
    made.setN_id(id);
    made.setN_text(text);
    made.setN_group("g");
    return made;
}

// One store operation and what the store holds once it is done.
struct Operation {
    std::function<bool()> run;
    std::string after;
};

std::vector<Operation> operations() {
    NoteFile group;
    group.setF_flag("g");
    group.setF_noteCount(1);
    return {
        {[group] { return DBUtil::insertNoteFile(&group); }, "|g=1;"},
        {[] {
             auto n = note(0, "first");
             return DBUtil::insertNote(&n);
         },
         "1=first;|g=1;"},
        {[] {
             auto n = note(0, "second");
             return DBUtil::insertNote(&n);
         },
         "1=first;2=second;|g=1;"},
        {[] {
             auto n = note(1, "first, edited");
             return DBUtil::updateNote(&n);
         },
         "1=first, edited;2=second;|g=1;"},
        {[] { return DBUtil::deleteNoteWithID(2); }, "1=first, edited;|g=1;"},
        {[] { return DBUtil::updateNoteFileCountWithFlag(5, std::string("g")); },
         "1=first, edited;|g=5;"},
        {[] {
             auto n = note(0, "third");
             return DBUtil::insertNote(&n);
         },
         "1=first, edited;3=third;|g=5;"},
    };
}

}  // namespace

class DBUtilPowerCut : public NotesStoreTest {};

// The power goes at every write, truncation, sync and deletion the store makes, and once more
// after its last operation returned. On the next launch the file is intact and holds every
// change reported as done; the change under way at the cut is there entirely or not at all.
TEST_F(DBUtilPowerCut, ConfirmedChangesSurviveACutAtEveryStep) {
    bool cutAfterTheEnd = false;
    for (int cutAt = 0; !cutAfterTheEnd; ++cutAt) {
        SCOPED_TRACE("power cut at step " + std::to_string(cutAt));
        TemporaryFolder running{"power-cut-run"};
        TemporaryFolder disk{"power-cut-disk"};
        std::string confirmed = "|";
        std::set<std::string> acceptable;
        {
            ScopedEnvironment place("ZELVO_DATA_DIR", running.path().string());
            DBUtil::resetLocation();
            PowerCutVfs vfs(cutAt);
            DBUtil::initDBDirectory();
            bool tablesConfirmed = !vfs.powerLost();
            acceptable.insert(confirmed);
            for (const auto& operation : operations()) {
                bool done = operation.run();
                if (vfs.powerLost()) {
                    EXPECT_FALSE(done && !tablesConfirmed);
                    acceptable.insert(operation.after);
                    break;
                }
                ASSERT_TRUE(done);
                confirmed = operation.after;
                acceptable = {confirmed};
            }
            cutAfterTheEnd = !vfs.powerLost();
            vfs.writeImage(running.path(), disk.path());
        }
        ScopedEnvironment place("ZELVO_DATA_DIR", disk.path().string());
        DBUtil::resetLocation();
        DBUtil::initDBDirectory();
        auto db = SQDatabase::databaseWithPath(*DBUtil::databasePath());
        ASSERT_TRUE(db->open());
        EXPECT_EQ(db->stringForQuery("PRAGMA integrity_check").value_or(""), "ok");
        std::string found = contents(*db);
        EXPECT_TRUE(acceptable.count(found))
            << "after the cut: " << found << "\nlast confirmed: " << confirmed;
        db->close();
    }
}

// The store's own connections, checked from outside: the setting is per connection.
TEST_F(DBUtilPowerCut, EveryConnectionSyncsTheFolderAfterACommit) {
    DBUtil::initDBDirectory();
    PowerCutVfs vfs(std::nullopt);
    auto n = note(0, "kept");
    ASSERT_TRUE(DBUtil::insertNote(&n));
    TemporaryFolder disk{"power-cut-disk"};
    vfs.writeImage(root, disk.path());
    EXPECT_FALSE(std::filesystem::exists(disk.path() / "database" / "note.db-journal"));
}
