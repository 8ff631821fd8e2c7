#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "dbutil/SharedDBUtil.h"
#include "inputmethod/Candidate.h"
#include "platform/foundation/PropertyList.h"

namespace quillora {

// Quillora's dictionary store: finds the words whose romanised key begins with the typed letters
// in the read-only dictionary "kem_accurate_query.zvk" of the resource folder. One read-only
// connection serves the searches while the file stays the same; a dictionary replaced or
// rewritten on disk is opened afresh by the next search, and one removed answers nothing. The
// shared instance, its queue and initDataBaseWithPath are the ones Zelvo's notes store has.
class DBUtil : public dbutil::SharedDBUtil<DBUtil> {
  public:
    DBUtil() = default;

    // Fixes the dictionary's location from the resource folder on the first call; later calls do
    // nothing. A resource folder that does not exist is created, and initDataBaseWithPath puts a
    // file with the notes tables (and no word table) where the dictionary belongs.
    static void initDBDirectory();
    // Absent until initDBDirectory has run.
    static std::optional<std::string> dbDir();
    static std::optional<std::string> dbPath();
    // Forgets the location (and closes the dictionary) so that the next initDBDirectory resolves
    // it again; for tests.
    static void resetLocation();

    // Up to `limit` candidates, after skipping `offset`, whose key begins with `letters`, from the
    // table named by `table`, best (largest active_order) first. The table must be one ASCII
    // letter (either case); anything else answers no rows, as a table that does not exist
    // would. The letters are matched literally and without regard to ASCII case: "%", "_" and
    // "\" in them are no wildcards. Rows without a word are left out.
    static CandidateList getWordsWithPrefixChar(const std::string& table,
                                                const std::string& letters, int32_t limit,
                                                int32_t offset);

    // The JSON resource "transformed_translation.json", or absent when it is missing or not
    // JSON. Nothing reads what it holds.
    static std::optional<platform::PropertyValue> getCharacterDic();

    // Every key with its word, tables "a" to "z" in turn, each best first; a later row with the
    // same key replaces an earlier one.
    static std::map<std::string, std::string> getWordsDic();
};

}  // namespace quillora
