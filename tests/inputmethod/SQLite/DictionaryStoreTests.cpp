#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "inputmethod/SQLite/DBUtil.h"
#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "sqdb/SQResultSet.h"
#include "tests/support/ScopedResourceFolder.h"
#include "tests/support/TemporaryFolder.h"

using quillora::CandidateList;
using quillora::DBUtil;

namespace {

struct Row {
    const char* table;
    const char* word;
    const char* key;
    int order;
};

// A small dictionary in a fresh resource folder, made the way the build makes the real one.
class DictionaryStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { DBUtil::resetLocation(); }
    void TearDown() override { DBUtil::resetLocation(); }

    std::string dictionaryPath() const { return folder.file("kem_accurate_query.zvk"); }

    void makeDictionary(const std::vector<Row>& rows) { makeDictionaryAt(dictionaryPath(), rows); }

    void makeDictionaryAt(const std::string& path, const std::vector<Row>& rows) {
        auto db = SQDatabase::databaseWithPath(path);
        ASSERT_TRUE(db->open());
        for (const char* table : {"a", "b", "q"}) {
            ASSERT_TRUE(db->executeUpdate(std::string("create table \"") + table +
                                          "\" (id integer primary key, char_word text, "
                                          "bqr_biclg text collate nocase, giglgc text, "
                                          "active_order integer)"));
            ASSERT_TRUE(db->executeUpdate(std::string("create index \"") + table + "_key\" on \"" +
                                          table + "\" (bqr_biclg, active_order)"));
        }
        for (const Row& row : rows) {
            ASSERT_TRUE(db->executeUpdate(std::string("insert into \"") + row.table +
                                              "\" (char_word, bqr_biclg, giglgc, active_order) "
                                              "values (?, ?, 'rel', ?)",
                                          row.word, row.key, row.order));
        }
        db->close();
        DBUtil::initDBDirectory();
    }

    static std::vector<std::string> words(const CandidateList& candidates) {
        std::vector<std::string> result;
        for (const auto& candidate : candidates) result.push_back(candidate.at("char_word"));
        return result;
    }

    static CandidateList search(const std::string& table, const std::string& letters, int limit = 9,
                                int offset = 0) {
        return DBUtil::getWordsWithPrefixChar(table, letters, limit, offset);
    }

    TemporaryFolder folder{"quillora-dict"};
    ScopedResourceFolder resources{"quillora", folder.path()};
};

using Words = std::vector<std::string>;

}  // namespace

TEST_F(DictionaryStoreTest, TableAndPrefixIgnoreCaseAndGiveWholeCandidates) {
    makeDictionary({{"a", "ab1", "ab", 5},
                    {"a", "abc", "abc", 9},
                    {"a", "aN", "aNga", 7},
                    {"a", "ac", "ac", 8},
                    {"b", "bab", "bab", 3}});
    EXPECT_EQ(words(search("a", "ab")), (Words{"abc", "ab1"}));
    EXPECT_EQ(words(search("A", "AB")), (Words{"abc", "ab1"}));
    EXPECT_EQ(words(search("a", "an")), (Words{"aN"}));
    // The composition's first letter picks the table; a key of another table is not found.
    EXPECT_EQ(words(search("a", "ba")), Words{});
    EXPECT_EQ(words(search("b", "ba")), (Words{"bab"}));

    auto found = search("a", "abc");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0],
              (quillora::Candidate{
                  {"id", "2"}, {"char_word", "abc"}, {"relations", "rel"}, {"bqr_biclg", "abc"}}));
}

TEST_F(DictionaryStoreTest, OneLetterGivesTheBestNineOfItsTableInOrderAndOffsetPages) {
    std::vector<Row> rows;
    std::vector<std::string> texts;
    for (int i = 0; i < 12; ++i) texts.push_back("w" + std::to_string(i));
    for (int i = 0; i < 12; ++i) rows.push_back({"a", texts[i].c_str(), "ax", (i * 7) % 12});
    makeDictionary(rows);
    auto best = search("a", "a");
    ASSERT_EQ(best.size(), 9u);
    // Orders 0..11 were given to w0, w7, w2, w9, w4, w11, w6, w1, w8, w3, w10, w5.
    EXPECT_EQ(words(best), (Words{"w5", "w10", "w3", "w8", "w1", "w6", "w11", "w4", "w9"}));
    EXPECT_EQ(words(search("a", "a", 9, 9)), (Words{"w2", "w7", "w0"}));
    EXPECT_EQ(words(search("a", "a", 2, 1)), (Words{"w10", "w3"}));
    EXPECT_EQ(words(search("a", "a", 0, 0)), Words{});
}

TEST_F(DictionaryStoreTest, TypedQuotesAndWildcardsAreLettersNotSql) {
    makeDictionary({{"a", "quote", "a'q", 1},
                    {"a", "percent", "a%b", 2},
                    {"a", "under", "a_c", 3},
                    {"a", "plain", "axb", 4},
                    {"a", "slash", "a\\d", 5}});
    EXPECT_EQ(words(search("a", "a'")), (Words{"quote"}));
    EXPECT_EQ(words(search("a", "a'q' or '1'='1")), Words{});
    EXPECT_EQ(words(search("a", "a%")), (Words{"percent"}));
    EXPECT_EQ(words(search("a", "a_")), (Words{"under"}));
    EXPECT_EQ(words(search("a", "a\\")), (Words{"slash"}));
    EXPECT_EQ(words(search("a", "a\"")), Words{});

    // Only one ASCII letter names a table; anything else reads nothing and changes nothing.
    for (const char* table : {":", "ab", "", "1", "\"a\"", "a; drop table a", "é"}) {
        EXPECT_EQ(words(search(table, "a")), Words{}) << table;
    }
    EXPECT_EQ(search("a", "a").size(), 5u);
}

TEST_F(DictionaryStoreTest, NullColumnsReadAsEmptyAndRowsWithoutAWordAreSkipped) {
    makeDictionary({{"q", "first", "qa", 9}, {"q", "second", "qb", 1}});
    auto db = SQDatabase::databaseWithPath(dictionaryPath());
    ASSERT_TRUE(db->open());
    ASSERT_TRUE(
        db->executeUpdate("insert into q (char_word, bqr_biclg, active_order) values "
                          "(null, 'qc', 8), ('', 'qd', 7), ('bare', 'qe', 6)"));
    db->close();
    auto found = search("q", "q", 3);
    EXPECT_EQ(words(found), (Words{"first", "bare", "second"}));
    EXPECT_EQ(found[1].at("relations"), "");
    EXPECT_EQ(found[1].at("bqr_biclg"), "qe");
}

TEST_F(DictionaryStoreTest, MissingDictionaryAnswersNothingAndIsNotCreated) {
    DBUtil::initDBDirectory();
    EXPECT_EQ(search("a", "a"), CandidateList{});
    EXPECT_FALSE(std::filesystem::exists(dictionaryPath()));
    EXPECT_TRUE(DBUtil::getWordsDic().empty());
    EXPECT_FALSE(std::filesystem::exists(dictionaryPath()));

    // Nothing to search before the location is known either.
    DBUtil::resetLocation();
    EXPECT_EQ(search("a", "a"), CandidateList{});
}

TEST_F(DictionaryStoreTest, DictionaryChangedOnDiskIsReadAfresh) {
    makeDictionary({{"a", "old", "ab", 5}});
    EXPECT_EQ(words(search("a", "ab")), Words{"old"});

    // An update puts a new file in place, as a package manager does.
    const std::string update = folder.file("update.zvk");
    makeDictionaryAt(update, {{"a", "new", "ab", 5}});
    std::filesystem::rename(update, dictionaryPath());
    EXPECT_EQ(words(search("a", "ab")), Words{"new"});

    // Rewritten where it stands.
    {
        auto db = SQDatabase::databaseWithPath(dictionaryPath());
        ASSERT_TRUE(db->open());
        ASSERT_TRUE(db->executeUpdate("update \"a\" set char_word = 'newer'"));
        db->close();
    }
    EXPECT_EQ(words(search("a", "ab")), Words{"newer"});

    std::filesystem::remove(dictionaryPath());
    EXPECT_EQ(search("a", "ab"), CandidateList{});
}

TEST_F(DictionaryStoreTest, LocationIsFixedOnceFromTheResourceFolder) {
    {
        platform::LogCapture log;
        DBUtil::initDBDirectory();
        EXPECT_EQ(DBUtil::dbDir(), folder.path().string());
        EXPECT_EQ(DBUtil::dbPath(), dictionaryPath());
        ASSERT_EQ(log.lines().size(), 2u);
        EXPECT_EQ(log.lines()[0], "+[DBUtil initDBDirectory] -dbDir : " + folder.path().string() +
                                      " \n dbPath : " + dictionaryPath());
        EXPECT_EQ(log.lines()[1], "数据库文件夹已经存在。。。");
    }
    TemporaryFolder other;
    ScopedResourceFolder moved("quillora", other.path());
    platform::LogCapture log;
    DBUtil::initDBDirectory();
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(DBUtil::dbDir(), folder.path().string());
}

TEST_F(DictionaryStoreTest, AbsentResourceFolderIsCreatedWithAnEmptyStandIn) {
    TemporaryFolder parent;
    auto missing = parent.path() / "share" / "quillora";
    ScopedResourceFolder moved("quillora", missing);
    DBUtil::initDBDirectory();
    ASSERT_TRUE(std::filesystem::is_directory(missing));
    // The stand-in holds the notes tables and no dictionary table: searches stay empty.
    auto db = SQDatabase::databaseWithPath((missing / "kem_accurate_query.zvk").string());
    ASSERT_TRUE(db->open());
    EXPECT_TRUE(db->tableExists("note"));
    EXPECT_TRUE(db->tableExists("noteFile"));
    db->close();
    EXPECT_EQ(search("a", "a"), CandidateList{});
}

TEST_F(DictionaryStoreTest, AllWordsTakeTheLaterRowOfAKey) {
    makeDictionary({{"a", "best", "ab", 9}, {"a", "worse", "ab", 1}, {"b", "b1", "ba", 2}});
    auto all = DBUtil::getWordsDic();
    EXPECT_EQ(all, (std::map<std::string, std::string>{{"ab", "worse"}, {"ba", "b1"}}));
}

TEST_F(DictionaryStoreTest, CharacterTableIsReadWhenPresent) {
    EXPECT_FALSE(DBUtil::getCharacterDic());
    std::ofstream(folder.file("transformed_translation.json")) << "{}";
    auto table = DBUtil::getCharacterDic();
    ASSERT_TRUE(table);
    std::ofstream(folder.file("transformed_translation.json")) << "{ not json";
    EXPECT_FALSE(DBUtil::getCharacterDic());
}
