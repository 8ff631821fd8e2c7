#include "inputmethod/wordbuilder/Controller.h"

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

#include "inputmethod/MongolianConverter/MongolianConverter.h"
#include "inputmethod/SQLite/DictionaryQuery.h"
#include "inputmethod/wordbuilder/Util.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"

namespace quillora::wordbuilder {

namespace {

struct WordList {
    std::mutex mutex;
    std::shared_ptr<SQDatabase> db;
};

WordList& wordList() {
    static WordList shared;
    return shared;
}

// The first character of a text (a whole code point), or "" for an empty one.
std::string firstCharacter(const std::string& text) {
    const std::u32string characters = platform::utf32FromUtf8(text);
    return characters.empty() ? "" : platform::utf8FromCodePoint(characters.front());
}

// One search on the word list: the statement's table is the one `letter` names (none: empty
// answer), `select` gives the statement for that quoted table, and `collect` takes each row.
std::vector<std::string> searchWordList(
    const std::string& letter, const std::function<std::string(const std::string&)>& select,
    const SQDatabase::Arguments& arguments, bool logStatement,
    const std::function<void(SQResultSet&, std::vector<std::string>&)>& collect) {
    std::vector<std::string> found;
    auto table = quotedTableForLetter(letter);
    if (!table) return found;
    WordList& list = wordList();
    std::lock_guard lock(list.mutex);
    if (!list.db) {
        // Without the file the connection is an in-memory database with no tables: every search
        // then answers nothing.
        auto path = platform::Bundle::mainBundle().pathForResource("words", "db");
        list.db = SQDatabase::databaseWithPath(path ? std::optional(path->string()) : std::nullopt);
    }
    // The list belongs to the package: read-only, so nothing is ever created or changed.
    if (!list.db->openWithFlags(SQLITE_OPEN_READONLY)) {
        platform::log("词库打开错误！");
        return found;
    }
    platform::logf("开始字母：%s", letter.c_str());
    std::string sql = select(*table);
    if (logStatement) platform::logf("开始字母：%s", sql.c_str());
    if (auto rs = list.db->executeQuery(sql, arguments)) {
        while (rs->next()) collect(*rs, found);
        rs->close();
    }
    list.db->close();
    return found;
}

void collectWords(SQResultSet& rs, std::vector<std::string>& found) {
    if (auto word = rs.stringForColumnIndex(0); word && !word->empty()) found.push_back(*word);
}

}  // namespace

std::vector<std::string> Controller::execute(const std::optional<std::string>& key,
                                             const std::optional<std::string>& mongolianWord) {
    if (mongolianWord && !mongolianWord->empty()) return searchCandidateWordFromDB(mongolianWord);
    std::vector<std::string> words;
    if (!key || key->empty()) return words;
    std::set<std::string> seen;
    for (const auto& group :
         {searchPrecisionFromDB(key), execute(key), searchIllegibilityFromDB(key)}) {
        for (const auto& word : group) {
            if (seen.insert(word).second) words.push_back(word);
        }
    }
    return words;
}

std::vector<std::string> Controller::execute(const std::optional<std::string>& key) {
    std::vector<std::string> built;
    if (!key || key->empty()) return built;
    std::vector<Sang::Tokens> pieces;
    keyEachSearch(key, 0, pieces);
    for (const Word& word : constructer(pieces)) {
        // A key with no listed piece leaves only the empty start word: that is no word.
        if (!word.hasLetters()) continue;
        // Appended rather than joined with +: GCC 12 takes the join for an overlapping copy.
        std::string text = word.isSalanh() ? "" : " ";
        text += *Util::key2char(word.keyWord());
        built.push_back(std::move(text));
    }
    return built;
}

std::vector<std::string> Controller::searchPrecisionFromDB(const std::optional<std::string>& key) {
    if (!key) return {};
    return searchWordList(
        firstCharacter(*key),
        [](const std::string& table) {
            return "SELECT char_word FROM " + table +
                   " WHERE bqr_biclg=? ORDER BY active_order DESC Limit 20";
        },
        {*key}, false, collectWords);
}

std::vector<std::string> Controller::searchIllegibilityFromDB(
    const std::optional<std::string>& key) {
    if (!key) return {};
    return searchWordList(
        firstCharacter(*key),
        [](const std::string& table) {
            return "SELECT char_word FROM " + table +
                   " WHERE bqr_biclg Like ? ESCAPE '\\' ORDER BY active_order DESC Limit 5";
        },
        {likePrefixPattern(*key)}, false, collectWords);
}

std::vector<std::string> Controller::searchCandidateWordFromDB(
    const std::optional<std::string>& mongolianWord) {
    if (!mongolianWord) return {};
    std::string word = platform::trimmingWhitespaceAndNewlines(*mongolianWord);
    if (word.empty()) return {};
    auto letter = MongolianConverter::Convert_Mongolian_To_English(firstCharacter(word));
    if (!letter) return {};
    return searchWordList(
        *letter,
        [](const std::string& table) {
            return "SELECT relations FROM " + table + " WHERE char_word=?";
        },
        {word}, true,
        [](SQResultSet& rs, std::vector<std::string>& found) {
            std::string relations = rs.stringForColumnIndex(0).value_or("");
            for (size_t start = 0; start <= relations.size();) {
                size_t comma = std::min(relations.find(',', start), relations.size());
                if (comma > start) found.push_back(relations.substr(start, comma - start));
                start = comma + 1;
            }
        });
}

void Controller::keyEachSearch(const std::optional<std::string>& text, int32_t startIndex,
                               std::vector<Sang::Tokens>& result) {
    if (!text) return;
    std::u16string rest = platform::utf16FromUtf8(*text);
    size_t skipped = startIndex > 0 ? static_cast<size_t>(startIndex) : 0;
    // Prefixes of the rest are tried longest first; a listed one is taken, and the search starts
    // over on what follows it. The empty prefix is never a piece (taking it would never end).
    while (skipped < rest.size()) {
        std::u16string piece = rest.substr(0, rest.size() - skipped);
        if (auto tokens = Sang::searchBaseSang(platform::utf8FromUtf16(piece))) {
            result.push_back(std::move(*tokens));
            rest.erase(0, piece.size());
            skipped = 0;
        } else {
            ++skipped;
        }
    }
}

std::vector<Word> Controller::constructer(const std::vector<Sang::Tokens>& pieces) {
    std::vector<Word> words(1);
    for (const auto& tokens : pieces) {
        std::vector<Word> alternatives;
        for (const auto& token : tokens) alternatives.push_back(Util::parseWord(token));
        std::vector<Word> joined;
        for (const Word& a : words) {
            for (const Word& b : alternatives) {
                if (joined.size() == kMaxPartialWords) break;
                if (Util::validate(a, b)) joined.push_back(implodePart(a, b));
            }
        }
        words = std::move(joined);
    }
    return words;
}

Word Controller::implodePart(const Word& a, const Word& b) {
    if (!b.hasLetters()) return a;
    if (!a.hasLetters()) return b;
    Word joined;
    joined.setKeyWord(*a.keyWord() + *b.keyWord());
    joined.setIsTugs(b.isTugs());
    joined.setIsHags(b.isHags());
    joined.setIsEhi(a.isEhi());
    joined.setIsSalanh(a.isSalanh());
    joined.setSex(Util::getSex(*joined.keyWord()));
    return joined;
}

void Controller::reset() {
    WordList& list = wordList();
    std::lock_guard lock(list.mutex);
    list.db.reset();
}

}  // namespace quillora::wordbuilder
