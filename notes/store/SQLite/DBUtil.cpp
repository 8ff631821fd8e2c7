// The statements of the notes store: one connection, one statement, closed again.
#include "notes/store/SQLite/DBUtil.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"

using platform::Value;

namespace {

// Main thread only, as every caller of the store.
std::string& lastError() {
    static std::string reason;
    return reason;
}

// A text column as everything downstream shows and writes it: the stored bytes, each one that is
// no UTF-8 read as U+FFFD, so a damaged note arrives with every readable character rather than
// as nothing; "" for NULL. The row keeps its bytes until the note is really edited.
std::string storedText(SQResultSet& rs, std::string_view column) {
    std::optional<std::span<const uint8_t>> bytes = rs.dataNoCopyForColumn(column);
    if (!bytes) return {};
    return platform::validUtf8({reinterpret_cast<const char*>(bytes->data()), bytes->size()});
}

}  // namespace

std::string DBUtil::lastErrorMessage() {
    return lastError();
}

void DBUtil::setLastError(std::string reason) {
    lastError() = std::move(reason);
}

std::shared_ptr<SQDatabase> DBUtil::openDatabase() {
    // Without a location the layer would fall back to a throw-away in-memory database, and
    // every save would seem to succeed while nothing is kept.
    auto path = databasePath();
    if (!path) {
        setLastError("the notes database has no location");
        return nullptr;
    }
    auto db = dbutil::openDurably(*path);
    if (!db) setLastError("unable to open database file");
    return db;
}

std::optional<std::string> DBUtil::unreadableReason() {
    auto db = openDatabase();
    if (!db) return lastErrorMessage();
    std::optional<std::string> reason;
    for (const char* sql : {"select count(*) from note", "select count(*) from noteFile"}) {
        auto rs = db->executeQuery(sql);
        if (!rs || !rs->next()) {
            reason = db->lastErrorMessage();
            break;
        }
    }
    db->close();
    if (reason) setLastError(*reason);
    return reason;
}

bool DBUtil::runUpdate(const char* operation, const std::string& sql,
                       const std::vector<Value>& arguments, const char* successText,
                       const char* failureText, bool mustChangeRows) {
    auto db = openDatabase();
    if (!db) return false;
    bool succeeded = db->executeUpdate(sql, arguments);
    if (!succeeded) {
        setLastError(db->lastErrorMessage());
    } else if (mustChangeRows && db->changes() == 0) {
        setLastError("the note is no longer in the database");
        succeeded = false;
    }
    platform::log(platform::stringWithFormat(succeeded ? successText : failureText, operation));
    db->close();
    return succeeded;
}

bool DBUtil::tableHasRows(const std::string& sql) {
    int count = 0;
    if (auto db = openDatabase()) {
        count = db->intForQuery(sql);
        db->close();
    }
    return count > 0;
}

// ---- Notes ----

namespace {

std::vector<Value> noteValues(const NoteObject& note) {
    return {note.n_title(),  note.n_summary(), note.n_date(),           note.n_text(),
            note.n_author(), note.n_group(),   Value(note.n_isRecent())};
}

}  // namespace

bool DBUtil::insertNote(const NoteObject* note) {
    if (!note) return false;
    return runUpdate(
        "+[DBUtil insertNote:]",
        "insert into note (n_title,n_summary,n_date,n_text,n_author,n_group,n_isRecent) "
        "values(?,?,?,?,?,?,?)",
        noteValues(*note), "%s note 插入成功！", "%s note 插入失败！");
}

bool DBUtil::updateNote(const NoteObject* note) {
    if (!note) return false;
    std::vector<Value> arguments = noteValues(*note);
    arguments.emplace_back(note->n_id());
    // A note whose row is gone must not pass for saved.
    return runUpdate("+[DBUtil updateNote:]",
                     "update note set "
                     "n_title=?,n_summary=?,n_date=?,n_text=?,n_author=?,n_group=?,n_isRecent=? "
                     "where n_id=?",
                     arguments, "%s note 成功！", "%s note 失败！", true);
}

bool DBUtil::deleteNoteWithID(int32_t noteID) {
    if (noteID == 0) return false;
    return runUpdate("+[DBUtil deleteNoteWithID:]", "delete from note where n_id=?",
                     {Value(noteID)}, "%s note 成功！", "%s note 失败！");
}

bool DBUtil::isExistsNote() {
    return tableHasRows("select count(*) from note");
}

std::vector<DBUtil::NoteRow> DBUtil::noteRows(SQDatabase& db, const std::string& sql,
                                              const std::vector<Value>& arguments,
                                              bool withRecentFlag) {
    std::vector<NoteRow> rows;
    auto rs = db.executeQuery(sql, arguments);
    if (!rs) return rows;
    while (rs->next()) {
        NoteRow row;
        row["n_id"] = Value(rs->intForColumn("n_id"));
        row["n_date"] = Value(rs->dateForColumn("n_date").value_or(platform::Date::now()));
        row["n_summary"] = Value(storedText(*rs, "n_summary"));
        row["n_text"] = Value(storedText(*rs, "n_text"));
        row["n_group"] = Value(storedText(*rs, "n_group"));
        if (withRecentFlag) row["n_isRecent"] = Value(rs->intForColumn("n_isRecent"));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<DBUtil::NoteRow> DBUtil::getNotesWithFlag(const std::optional<std::string>& flag) {
    std::vector<NoteRow> rows;
    if (auto db = openDatabase()) {
        rows = noteRows(*db,
                        "select n_id,n_summary,n_date,n_group,n_text from note where n_group=? "
                        "order by n_date desc",
                        {Value(flag)}, false);
        db->close();
    }
    return rows;
}

std::optional<std::vector<DBUtil::NoteRow>> DBUtil::getRecentNotes() {
    auto db = openDatabase();
    if (!db) return std::nullopt;
    auto rows = noteRows(*db,
                         "select n_id,n_summary,n_date,n_group,n_isRecent,n_text from note where "
                         "n_isRecent=1 order by n_date desc",
                         {}, true);
    db->close();
    return rows;
}

// ---- Note groups ----

bool DBUtil::insertNoteFile(const NoteFile* noteFile) {
    if (!noteFile) return false;
    return runUpdate("+[DBUtil insertNoteFile:]",
                     "insert into noteFile "
                     "(f_title,f_summary,f_date,f_author,f_flag,f_noteCount,f_imageName,f_order) "
                     "values(?,?,?,?,?,?,?,?)",
                     {noteFile->f_title(), noteFile->f_summary(), noteFile->f_date(),
                      noteFile->f_author(), noteFile->f_flag(), Value(noteFile->f_noteCount()),
                      noteFile->f_imageName(), Value(noteFile->f_order())},
                     "%s成功！", "%s失败！");
}

bool DBUtil::updateNoteFileCountWithFlag(int32_t count, const std::optional<std::string>& flag) {
    if (!flag || count <= 0) return false;
    return runUpdate("+[DBUtil updateNoteFileCountWithFlag:flag:]",
                     "update noteFile set f_noteCount=? where f_flag=?", {Value(count), *flag},
                     "%s成功！", "%s失败！");
}

bool DBUtil::isExistsNoteFile() {
    return tableHasRows("select count(*) from noteFile");
}

std::vector<NoteFile> DBUtil::getNoteFiles() {
    std::vector<NoteFile> files;
    auto db = openDatabase();
    if (!db) return files;
    if (auto rs = db->executeQuery(
            "select f_flag,f_imageName,f_noteCount from noteFile order by f_order")) {
        while (rs->next()) {
            NoteFile file;
            file.setF_noteCount(rs->intForColumn("f_noteCount"));
            file.setF_imageName(storedText(*rs, "f_imageName"));
            file.setF_flag(storedText(*rs, "f_flag"));
            files.push_back(std::move(file));
        }
    }
    db->close();
    return files;
}
