#pragma once

#include <cstdint>
#include <string>

// Counts the lines, words and characters of a plain text for the word-count panel. Characters are
// UTF-16 code units. A line is the text between line feeds; a word is a run of characters that are
// neither white space nor line breaks, so a narrow no-break space before a suffix splits words.
// Make one counter per count: counting again adds the lines and words a second time.
class WordCounter {
  public:
    explicit WordCounter(std::u16string content);

    // Never fails: a counter can always walk its text. Returns the counter for chained reads.
    WordCounter& count();

    int32_t lines() const { return m_nLines; }
    int32_t words() const { return m_nWords; }
    int32_t characters() const { return m_nChars; }

  private:
    std::u16string m_content;
    int32_t m_nLines = 0;
    int32_t m_nWords = 0;
    int32_t m_nChars = 0;
};
