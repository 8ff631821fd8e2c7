#include "platform/foundation/Log.h"
#include "sqdb/SQDatabase.h"
#include "tests/inputmethod/wordbuilder/WordBuilderTestSupport.h"

using namespace wordbuilder_test;
using quillora::wordbuilder::Controller;

namespace {

class WordListSearchTest : public ShippedResourcesTest {};

const std::string kMini = "\u182E\u1822\u1828\u1822";  // mini, the commonest word of the list
const std::string kMori = "\u182E\u1823\u1837\u1822";

bool contains(const Strings& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

}  // namespace

TEST_F(WordListSearchTest, ExactAndPrefixSearchesGiveTheBestWordsFirst) {
    auto exact = Controller::searchPrecisionFromDB("mini");
    ASSERT_FALSE(exact.empty());
    EXPECT_EQ(exact.front(), kMini);
    EXPECT_LE(exact.size(), 20u);
    auto prefix = Controller::searchIllegibilityFromDB("min");
    ASSERT_EQ(prefix.size(), 5u);
    EXPECT_EQ(prefix.front(), kMini);
    // The table is the key's first letter, in either case.
    EXPECT_EQ(Controller::searchPrecisionFromDB("Mini").front(), kMini);
    EXPECT_EQ(Controller::searchPrecisionFromDB("zzzz"), Strings{});
}

TEST_F(WordListSearchTest, QuotesAndWildcardsInTheKeyAreLetters) {
    platform::LogCapture log;
    EXPECT_EQ(Controller::searchPrecisionFromDB("mi'ni"), Strings{});
    EXPECT_EQ(Controller::searchIllegibilityFromDB("m'"), Strings{});
    EXPECT_EQ(Controller::searchIllegibilityFromDB("m%"), Strings{});
    EXPECT_EQ(Controller::searchIllegibilityFromDB("m_ni"), Strings{});
    EXPECT_EQ(Controller::searchPrecisionFromDB("m' or '1'='1"), Strings{});
    // A first character that is no letter names no table.
    EXPECT_EQ(Controller::searchPrecisionFromDB("'mini"), Strings{});
    EXPECT_EQ(Controller::searchIllegibilityFromDB("%"), Strings{});
    EXPECT_EQ(Controller::searchPrecisionFromDB(""), Strings{});
    EXPECT_FALSE(log.contains("DB Error"));
    EXPECT_EQ(Controller::searchPrecisionFromDB("mini").front(), kMini);
}

TEST_F(WordListSearchTest, RelatedWordsOfAStoredWord) {
    auto related = Controller::searchCandidateWordFromDB(kMori);
    ASSERT_FALSE(related.empty());
    EXPECT_LE(related.size(), 8u);
    for (const auto& word : related) {
        EXPECT_TRUE(word.starts_with(kMori) && word != kMori) << word;
    }
    // White space around the word is not part of it.
    EXPECT_EQ(Controller::searchCandidateWordFromDB(" \n" + kMori + "\u202F\t"), related);
    {
        platform::LogCapture log;
        Controller::searchCandidateWordFromDB(kMori);
        EXPECT_TRUE(log.contains("开始字母：m"));
        EXPECT_TRUE(log.contains("开始字母：SELECT relations FROM \"m\" WHERE char_word=?"));
    }
    EXPECT_EQ(Controller::searchCandidateWordFromDB(" \n\t\u202F"), Strings{});
    EXPECT_EQ(Controller::searchCandidateWordFromDB(""), Strings{});
    EXPECT_EQ(Controller::searchCandidateWordFromDB(kMori + "'"), Strings{});
    // A first character without key names no table.
    EXPECT_EQ(Controller::searchCandidateWordFromDB("x" + kMori), Strings{});
}

TEST_F(WordListSearchTest, WordOrKeyDecidesWhatExecuteAnswers) {
    EXPECT_EQ(Controller::execute("mqridv", kMori), Controller::searchCandidateWordFromDB(kMori));
    EXPECT_EQ(Controller::execute(std::nullopt, std::nullopt), Strings{});
    EXPECT_EQ(Controller::execute("", ""), Strings{});

    // The exact words, then the built one, then the prefix words, each once.
    auto all = Controller::execute("mqri", "");
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0], kMori);
    auto built = std::find(all.begin(), all.end(), " " + kMori);
    ASSERT_NE(built, all.end());
    EXPECT_EQ(std::count(all.begin(), all.end(), kMori), 1);
    for (const auto& word : Controller::searchIllegibilityFromDB("mqri")) {
        EXPECT_TRUE(contains(all, word)) << word;
    }
}

class MissingWordListTest : public OwnStemTableTest {};

TEST_F(MissingWordListTest, SearchesAnswerNothing) {
    writeStemTable({{"a", {"^a"}}});
    EXPECT_EQ(Controller::searchPrecisionFromDB("a"), Strings{});
    EXPECT_EQ(Controller::searchIllegibilityFromDB("a"), Strings{});
    EXPECT_EQ(Controller::searchCandidateWordFromDB("\u1820"), Strings{});
    EXPECT_EQ(Controller::execute("a", ""), Strings{" \u1820"});
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "words.db"));
}

TEST_F(MissingWordListTest, AnUnopenableListIsLogged) {
    std::filesystem::create_directory(folder.path() / "words.db");
    platform::LogCapture log;
    EXPECT_EQ(Controller::searchPrecisionFromDB("a"), Strings{});
    EXPECT_TRUE(log.contains("词库打开错误！"));
}
