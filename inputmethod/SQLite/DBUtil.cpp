#include "inputmethod/SQLite/DBUtil.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "dbutil/StoreLocation.h"
#include "inputmethod/SQLite/DictionaryQuery.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileContents.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"

namespace quillora {

namespace {

dbutil::StoreLocation& location() {
    static dbutil::StoreLocation shared;
    return shared;
}

// A dictionary that cannot be read fails every search, that is on every key: the first failure
// is an error worth the system log, the repeats would only count the keys.
void reportDictionaryFailure(const std::string& what) {
    static bool reported = false;
    if (reported) {
        platform::logDebug(what);
        return;
    }
    reported = true;
    platform::log(what);
}

// The dictionary belongs to the package, so it is only ever read. Opening read-only also keeps
// a missing dictionary from being created as an empty file by the first search. The connection
// reports its own errors through reportDictionaryFailure.
std::shared_ptr<SQDatabase> openDictionaryAt(const std::string& path) {
    auto db = SQDatabase::databaseWithPath(path);
    db->setLogsErrors(false);
    if (!db->openWithFlags(SQLITE_OPEN_READONLY)) {
        reportDictionaryFailure("The dictionary " + path + " cannot be opened");
        return nullptr;
    }
    // The searches differ in their bound letters only; their few statement texts are kept.
    db->setShouldCacheStatements(true);
    return db;
}

// The file a connection was opened on: a dictionary replaced or rewritten on disk (an update of
// the package) no longer matches and is opened afresh.
struct FileIdentity {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileIdentity& other) const {
        return path == other.path && device == other.device && inode == other.inode &&
               size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

// One connection kept between searches: opening the dictionary reads and parses its schema, which
// cost more than the search itself, on every key.
struct OpenDictionary {
    std::mutex mutex;
    std::shared_ptr<SQDatabase> db;
    FileIdentity identity;

    void drop() {
        if (db) db->close();
        db.reset();
        identity = {};
    }
};

OpenDictionary& openDictionary() {
    static OpenDictionary shared;
    return shared;
}

// The connection for the dictionary as it is on disk now, null when it is missing or unreadable.
// Called with the mutex of openDictionary() held.
std::shared_ptr<SQDatabase> currentDictionary(OpenDictionary& open) {
    auto path = DBUtil::dbPath();
    struct stat status {};
    if (!path || ::stat(path->c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        open.drop();
        if (path) {
            reportDictionaryFailure("The dictionary " + *path + " is missing: no words are found");
        }
        return nullptr;
    }
    const FileIdentity identity{*path, status.st_dev, status.st_ino, status.st_size,
                                status.st_mtim};
    if (open.db && open.identity == identity) return open.db;
    open.drop();
    open.db = openDictionaryAt(*path);
    if (open.db) open.identity = identity;
    return open.db;
}

// "Keys beginning with ?1" (?1 the LIKE pattern, ?2 the letters), written so that SQLite takes
// the index that suits the key's length in the generated dictionary. One letter matches (nearly)
// the whole table: the unary "+" keeps the key index out, so the table is walked best first and
// the walk stops at the limit. Two letters: the equal first two letters select the index of the
// first two letters, which also hands its rows out best first. Longer keys match few rows, found
// through the key index and sorted. Every form gives the same rows.
std::string keyCondition(const std::string& letters) {
    // Characters, as substr counts them: every byte that does not continue a UTF-8 sequence.
    auto characters = std::count_if(letters.begin(), letters.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (characters <= 1) return "+bqr_biclg like ?1 escape '\\'";
    if (characters == 2) {
        return "substr(bqr_biclg, 1, 2) = ?2 collate nocase and bqr_biclg like ?1 escape '\\'";
    }
    return "bqr_biclg like ?1 escape '\\'";
}

}  // namespace

std::optional<std::string> DBUtil::dbDir() {
    return location().directory();
}

std::optional<std::string> DBUtil::dbPath() {
    return location().file();
}

void DBUtil::resetLocation() {
    location().reset();
    OpenDictionary& open = openDictionary();
    std::lock_guard lock(open.mutex);
    open.drop();
}

void DBUtil::initDBDirectory() {
    auto fixed = location().fixOnce([] { return platform::Bundle::mainBundle().resourcePath(); },
                                    "kem_accurate_query.zvk");
    // The dictionary's own tables are never made here: the file comes with the resources.
    if (fixed && !fixed->folderExisted) initDataBaseWithPath(fixed->file);
}

CandidateList DBUtil::getWordsWithPrefixChar(const std::string& table, const std::string& letters,
                                             int32_t limit, int32_t offset) {
    CandidateList candidates;
    auto name = quotedTableForLetter(table);
    OpenDictionary& open = openDictionary();
    std::lock_guard lock(open.mutex);
    auto db = currentDictionary(open);
    if (!db) return candidates;
    if (name) {
        // The table name cannot be a bound argument; it is one checked letter, quoted.
        std::string sql =
            "select id, char_word, giglgc, bqr_biclg from " + *name + " where " +
            keyCondition(letters) +
            " and length(char_word) > 0 order by active_order desc limit ?3 offset ?4";
        platform::logfDebug("查询语句：%s", sql.c_str());
        auto rs = db->executeQuery(sql, likePrefixPattern(letters), letters, limit, offset);
        if (!rs) {
            reportDictionaryFailure("The dictionary " + *DBUtil::dbPath() +
                                    " cannot be searched: " + db->lastErrorMessage());
        } else {
            while (rs->next()) {
                candidates.push_back({
                    {"id", rs->stringForColumnIndex(0).value_or("")},
                    {"char_word", rs->stringForColumnIndex(1).value_or("")},
                    {"relations", rs->stringForColumnIndex(2).value_or("")},
                    {"bqr_biclg", rs->stringForColumnIndex(3).value_or("")},
                });
            }
            rs->close();
        }
    }
    return candidates;
}

std::optional<platform::PropertyValue> DBUtil::getCharacterDic() {
    auto path = platform::Bundle::mainBundle().pathForResource("transformed_translation", "json");
    if (!path) return std::nullopt;
    std::optional<std::string> text = platform::contentsOfFile(*path);
    if (!text) return std::nullopt;
    return platform::JSONSerialization::JSONObjectWithData(*text);
}

std::map<std::string, std::string> DBUtil::getWordsDic() {
    std::map<std::string, std::string> words;
    OpenDictionary& open = openDictionary();
    std::lock_guard lock(open.mutex);
    auto db = currentDictionary(open);
    if (!db) return words;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        std::string sql = std::string("select char_word, bqr_biclg from \"") + letter +
                          "\" order by active_order desc";
        auto rs = db->executeQuery(sql);
        while (rs && rs->next()) {
            auto word = rs->stringForColumnIndex(0);
            auto key = rs->stringForColumnIndex(1);
            if (word && key) words[*key] = *word;
        }
        if (rs) rs->close();
    }
    return words;
}

}  // namespace quillora
