#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbutil/SharedDBUtil.h"
#include "notes/store/NoteFile.h"
#include "notes/store/NoteObject.h"
#include "platform/foundation/Value.h"

class SQDatabase;

// Zelvo's notes store: the notes (table `note`) and the note groups (table `noteFile`) in one
// SQLite file. Every operation opens its own connection, runs one statement and closes it again,
// so nothing but the file's location is shared between calls. Values always reach SQLite as
// bound arguments, never pasted into the statement text. The shared instance, its queue and
// initDataBaseWithPath come from the part both programs' DBUtil share.
class DBUtil : public dbutil::SharedDBUtil<DBUtil> {
  public:
    // One note as the note list keeps it: "n_id" (integer), "n_date" (date), "n_summary",
    // "n_text", "n_group" (texts) and, from getRecentNotes only, "n_isRecent" (integer).
    using NoteRow = platform::Dictionary;

    DBUtil() = default;

    // ---- Location and tables ----
    // Fixes the location on the first call (later calls do nothing) and makes sure the folder,
    // the file and both tables exist. The folder "database" lives in the user's data folder:
    // $ZELVO_DATA_DIR, else $XDG_DATA_HOME/zelvo, else ~/.local/share/zelvo.
    static void initDBDirectory();
    // The folder holding "database"; resolved from the environment at each call.
    static std::string dataDirectory();
    // The same for another environment (that of a second start of the program), given by a
    // lookup that answers a variable's value or nothing.
    using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
    static std::string dataDirectory(const EnvironmentLookup& environment);
    // Holds the data folder for this process, before anything is written to it, so that a
    // second process cannot overwrite what this one saves: an advisory lock on the file
    // "zelvo.lock" in it, kept until resetLocation or the end of the process. InUse when another
    // process holds it; Unheld (logged) where the folder cannot be locked, read-only or without
    // locks, which is no reason to keep the user from the notes.
    enum class FolderHold { Held, InUse, Unheld };
    static FolderHold holdDataFolder();
    // Absent until initDBDirectory has run.
    static std::optional<std::string> databaseDirectoryPath();
    static std::optional<std::string> databasePath();
    // Forgets the location (and lets the folder go) so that the next initDBDirectory resolves it
    // again; for tests, which start the store many times in one process.
    static void resetLocation();
    // Whether the notes can be read: absent when both tables answer, else why not (SQLite's
    // reason). Only reads, so a file that is not a notes database is left exactly as it is.
    static std::optional<std::string> unreadableReason();
    // Why the last operation that failed did: SQLite's reason, or that the file did not open.
    // Empty until one fails.
    static std::string lastErrorMessage();

    // ---- Notes ----
    // The new row's number is not written back into the note; callers reload their lists.
    static bool insertNote(const NoteObject* note);
    // False as well when no row has the note's number.
    static bool updateNote(const NoteObject* note);
    static bool deleteNoteWithID(int32_t noteID);
    static bool isExistsNote();
    // The notes of one group, newest first; empty when none match or the file cannot be read.
    static std::vector<NoteRow> getNotesWithFlag(const std::optional<std::string>& flag);
    // Every note marked recent, whatever its group, newest first; absent when the file does not
    // open.
    static std::optional<std::vector<NoteRow>> getRecentNotes();

    // ---- Note groups ----
    static bool insertNoteFile(const NoteFile* noteFile);
    static bool updateNoteFileCountWithFlag(int32_t count, const std::optional<std::string>& flag);
    static bool isExistsNoteFile();
    // In ascending f_order, with only f_flag, f_imageName and f_noteCount filled.
    static std::vector<NoteFile> getNoteFiles();

  private:
    // A connection to the notes file, opened; none when the location is unset or it does not
    // open.
    static std::shared_ptr<SQDatabase> openDatabase();
    static void setLastError(std::string reason);
    static bool runUpdate(const char* operation, const std::string& sql,
                          const std::vector<platform::Value>& arguments, const char* successText,
                          const char* failureText, bool mustChangeRows = false);
    static bool tableHasRows(const std::string& sql);
    static std::vector<NoteRow> noteRows(SQDatabase& db, const std::string& sql,
                                         const std::vector<platform::Value>& arguments,
                                         bool withRecentFlag);
};
