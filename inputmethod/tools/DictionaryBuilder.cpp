// Builds Quillora's dictionary and the word builder's word list from the word list at build time:
//
//   quillora_dictionary_builder dictionary|words <key map .plist> <words.tsv> <suffixes.tsv> <out>
//
// Each line of a list is "<text>\t<count>". Every entry becomes one row of the table named by
// the first letter of its romanised key (the letters read back through the key map), ranked by
// its count. In the dictionary suffix pieces (which begin with U+202F) are rows like any word; the
// word list holds the words only, each with its related words. The file is written beside the
// output and renamed over it at the end, so a failed run leaves no half file.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "inputmethod/tools/WordList.h"
#include "sqdb/SQDatabase.h"

namespace {

using quillora::tools::Entry;

bool fail(const std::string& message) {
    std::fprintf(stderr, "quillora_dictionary_builder: %s\n", message.c_str());
    return false;
}

std::string quoted(char table) {
    return std::string("\"") + table + "\"";
}

bool writeDictionary(SQDatabase& db, const std::vector<Entry>& entries) {
    for (char table = 'a'; table <= 'z'; ++table) {
        // active_order is the row number: unique, so the order never depends on the engine, and
        // walking the table backwards is walking it best first, which is what a one-letter key
        // (matching the whole table) wants.
        if (!db.executeUpdate("create table " + quoted(table) +
                              " (id integer not null, char_word text not null, "
                              "bqr_biclg text not null collate nocase, giglgc text not null, "
                              "active_order integer primary key)")) {
            return false;
        }
    }
    for (const Entry& entry : entries) {
        if (!db.executeUpdate("insert into " + quoted(entry.table) +
                                  " (id, char_word, bqr_biclg, giglgc, active_order) "
                                  "values (?, ?, ?, '', ?)",
                              entry.id, entry.text, entry.key, entry.rank)) {
            return false;
        }
    }
    for (char table = 'a'; table <= 'z'; ++table) {
        // The key index serves keys of three and more letters (at most a few hundred rows share
        // three letters). Two letters can share two thousand rows, too many to sort on every key
        // press: the index of the first two letters hands them out best first instead. The
        // search writes its conditions to fit these two (DBUtil.cpp).
        std::string letter(1, table);
        if (!db.executeUpdate("create index \"" + letter + "_bqr_biclg\" on " + quoted(table) +
                              " (bqr_biclg)") ||
            !db.executeUpdate("create index \"" + letter + "_initials\" on " + quoted(table) +
                              " (substr(bqr_biclg, 1, 2) collate nocase)")) {
            return false;
        }
    }
    return true;
}

// The related words of each word: the best-ranked others that begin with it, the forms built on
// it as a stem, at most kRelations, best first, joined by ",".
constexpr size_t kRelations = 8;

std::vector<std::string> relationsOf(const std::vector<Entry>& words) {
    std::vector<size_t> byText(words.size());
    for (size_t i = 0; i < byText.size(); ++i) byText[i] = i;
    std::sort(byText.begin(), byText.end(),
              [&](size_t a, size_t b) { return words[a].text < words[b].text; });
    std::vector<std::string> relations(words.size());
    for (size_t position = 0; position < byText.size(); ++position) {
        const std::string& stem = words[byText[position]].text;
        std::vector<size_t> longer;
        for (size_t next = position + 1;
             next < byText.size() && words[byText[next]].text.starts_with(stem); ++next) {
            if (words[byText[next]].text != stem) longer.push_back(byText[next]);
        }
        // Entries are in rank order, so the smaller index is the better word.
        std::sort(longer.begin(), longer.end());
        std::string joined;
        for (size_t i = 0; i < longer.size() && i < kRelations; ++i) {
            if (!joined.empty()) joined += ',';
            joined += words[longer[i]].text;
        }
        relations[byText[position]] = std::move(joined);
    }
    return relations;
}

bool writeWordList(SQDatabase& db, const std::vector<Entry>& entries) {
    std::vector<Entry> words;
    for (const Entry& entry : entries) {
        if (!entry.isSuffix) words.push_back(entry);
    }
    std::vector<std::string> relations = relationsOf(words);
    for (char table = 'a'; table <= 'z'; ++table) {
        if (!db.executeUpdate("create table " + quoted(table) +
                              " (char_word text not null, bqr_biclg text not null collate nocase, "
                              "active_order integer primary key, relations text not null)")) {
            return false;
        }
    }
    for (size_t i = 0; i < words.size(); ++i) {
        if (!db.executeUpdate("insert into " + quoted(words[i].table) +
                                  " (char_word, bqr_biclg, active_order, relations) "
                                  "values (?, ?, ?, ?)",
                              words[i].text, words[i].key, words[i].rank, relations[i])) {
            return false;
        }
    }
    for (char table = 'a'; table <= 'z'; ++table) {
        std::string letter(1, table);
        if (!db.executeUpdate("create index \"" + letter + "_bqr_biclg\" on " + quoted(table) +
                              " (bqr_biclg)") ||
            !db.executeUpdate("create index \"" + letter + "_char_word\" on " + quoted(table) +
                              " (char_word)")) {
            return false;
        }
    }
    return true;
}

using Writer = bool (*)(SQDatabase&, const std::vector<Entry>&);

bool build(Writer write, const std::string& keyMapPath, const std::string& wordsPath,
           const std::string& suffixesPath, const std::filesystem::path& output) {
    std::string error;
    auto entries = quillora::tools::readWordList(keyMapPath, wordsPath, suffixesPath, &error);
    if (!entries) return fail(error);

    std::filesystem::path temporary = output;
    temporary += ".part";
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    std::filesystem::create_directories(output.parent_path(), ignored);

    auto db = SQDatabase::databaseWithPath(temporary.string());
    if (!db->open()) return fail("cannot create " + temporary.string());
    bool written = db->executeStatements("pragma journal_mode = off; pragma synchronous = off") &&
                   db->beginTransaction() && write(*db, *entries) && db->commit() &&
                   db->executeStatements("vacuum");
    if (!written) {
        std::string message = db->lastErrorMessage();
        db->close();
        std::filesystem::remove(temporary, ignored);
        return fail("cannot write " + output.string() + ": " + message);
    }
    db->close();
    std::filesystem::rename(temporary, output);
    std::printf("quillora_dictionary_builder: %zu entries of the list read into %s\n",
                entries->size(), output.string().c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    Writer write = mode == "dictionary" ? writeDictionary
                   : mode == "words"    ? writeWordList
                                        : nullptr;
    if (argc != 6 || !write) {
        std::fprintf(stderr,
                     "usage: %s dictionary|words <key map .plist> <words.tsv> <suffixes.tsv> "
                     "<output>\n",
                     argv[0]);
        return 2;
    }
    return build(write, argv[2], argv[3], argv[4], argv[5]) ? 0 : 1;
}
