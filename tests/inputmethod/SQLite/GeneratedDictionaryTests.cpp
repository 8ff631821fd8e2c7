#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "inputmethod/MongolianConverter/KeyMap.h"
#include "inputmethod/SQLite/DBUtil.h"
#include "tests/support/ScopedResourceFolder.h"

using quillora::DBUtil;
using quillora::KeyMap;

namespace {

struct Listed {
    std::string text;
    long long count;
    std::string key;
};

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The dictionary the build generated, against the list it was generated from.
class GeneratedDictionaryTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        auto map = KeyMap::read(std::filesystem::path(QUILLORA_BUILD_RESOURCES) /
                                "english_2_mongolian.plist");
        ASSERT_TRUE(map);
        for (const char* name : {"words.tsv", "suffixes.tsv"}) {
            std::ifstream stream(std::filesystem::path(QUILLORA_WORD_LIST) / name);
            ASSERT_TRUE(stream) << name;
            std::string line;
            while (std::getline(stream, line)) {
                size_t tab = line.find('\t');
                ASSERT_NE(tab, std::string::npos);
                Listed entry{line.substr(0, tab), std::stoll(line.substr(tab + 1)), ""};
                auto key = map->romanise(entry.text);
                ASSERT_TRUE(key && !key->empty()) << entry.text;
                entry.key = *key;
                listed().push_back(std::move(entry));
            }
        }
    }

    static std::vector<Listed>& listed() {
        static std::vector<Listed> entries;
        return entries;
    }

    void SetUp() override {
        DBUtil::resetLocation();
        DBUtil::initDBDirectory();
    }
    void TearDown() override { DBUtil::resetLocation(); }

    ScopedResourceFolder resources{"quillora", QUILLORA_BUILD_RESOURCES};
};

}  // namespace

TEST_F(GeneratedDictionaryTest, HoldsTheWholeListWithSuffixesFoundByTheirLetters) {
    ASSERT_EQ(listed().size(), 38686u + 507u);
    auto all = DBUtil::getWordsWithPrefixChar("d", "dv", 100000, 0);
    auto dative = std::find_if(all.begin(), all.end(), [](const auto& candidate) {
        return candidate.at("char_word") == "\u202F\u1833\u1824";
    });
    ASSERT_NE(dative, all.end());
    EXPECT_EQ(dative->at("bqr_biclg"), "dv");
}

TEST_F(GeneratedDictionaryTest, SampledWordsAreFoundByTypingTheirOwnKey) {
    size_t checked = 0;
    for (size_t i = 0; i < listed().size(); i += 97) {
        const Listed& entry = listed()[i];
        auto found = DBUtil::getWordsWithPrefixChar(entry.key.substr(0, 1), entry.key, 100000, 0);
        bool present = std::any_of(found.begin(), found.end(), [&](const auto& candidate) {
            return candidate.at("char_word") == entry.text &&
                   candidate.at("bqr_biclg") == entry.key;
        });
        EXPECT_TRUE(present) << entry.key;
        ++checked;
    }
    EXPECT_GT(checked, 400u);
}

TEST_F(GeneratedDictionaryTest, MostFrequentWordOfAKeyComesFirst) {
    for (const std::string key : {"m", "mini", "bi", "ci", "ha", "E", "T", "sayin", "yabv"}) {
        long long best = -1;
        for (const Listed& entry : listed()) {
            if (lowered(entry.key).starts_with(lowered(key))) best = std::max(best, entry.count);
        }
        auto found = DBUtil::getWordsWithPrefixChar(key.substr(0, 1), key, 9, 0);
        ASSERT_FALSE(found.empty()) << key;
        ASSERT_LE(found.size(), 9u);
        // The first word carries the largest count among all listed entries of the prefix.
        auto first = std::find_if(listed().begin(), listed().end(), [&](const Listed& entry) {
            return entry.text == found.front().at("char_word");
        });
        ASSERT_NE(first, listed().end());
        EXPECT_EQ(first->count, best) << key;
    }
    auto mini = DBUtil::getWordsWithPrefixChar("m", "mini", 9, 0);
    ASSERT_FALSE(mini.empty());
    EXPECT_EQ(mini.front().at("char_word"), "\u182E\u1822\u1828\u1822");
}
