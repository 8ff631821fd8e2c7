#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillora::wordbuilder {

// One word form while the word builder combines pieces: the romanised letters without markers,
// the position markers of the token it came from, and its vowel class (0 none, 1 back, 2 front).
class Word {
  public:
    const std::optional<std::string>& keyWord() const { return m_keyWord; }
    void setKeyWord(std::optional<std::string> keyWord) { m_keyWord = std::move(keyWord); }
    // keyWord present and not empty.
    bool hasLetters() const { return m_keyWord && !m_keyWord->empty(); }

    // The token began with "*": it cannot begin a word.
    bool isDagbar() const { return m_isDagbar; }
    void setIsDagbar(bool value) { m_isDagbar = value; }
    // The token began with "^": it can only begin a word.
    bool isEhi() const { return m_isEhi; }
    void setIsEhi(bool value) { m_isEhi = value; }
    // The token ended with "^": nothing may follow it.
    bool isTugs() const { return m_isTugs; }
    void setIsTugs(bool value) { m_isTugs = value; }
    // The token ended with "*": something must follow it.
    bool isHags() const { return m_isHags; }
    void setIsHags(bool value) { m_isHags = value; }
    // The token began with "S", the suffix space: the word is written without a blank before it.
    bool isSalanh() const { return m_isSalanh; }
    void setIsSalanh(bool value) { m_isSalanh = value; }

    int32_t sex() const { return m_sex; }
    void setSex(int32_t value) { m_sex = value; }
    // The class was given in the token ("_1", "_2") and must agree with the word it joins.
    bool isNeedValidateSex() const { return m_isNeedValidateSex; }
    void setIsNeedValidateSex(bool value) { m_isNeedValidateSex = value; }

  private:
    std::optional<std::string> m_keyWord;
    bool m_isDagbar = false;
    bool m_isEhi = false;
    bool m_isTugs = false;
    bool m_isHags = false;
    bool m_isSalanh = false;
    int32_t m_sex = 0;
    bool m_isNeedValidateSex = false;
};

}  // namespace quillora::wordbuilder
