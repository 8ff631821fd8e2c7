#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Range.h"

namespace platform {

// Walks the words of a UTF-16 text by Unicode word boundaries (root locale): letters, marks,
// joiners and suffix spaces that belong to a word stay in it; spaces and punctuation between
// words are no tokens.
class WordTokenizer {
  public:
    explicit WordTokenizer(std::u16string text);
    ~WordTokenizer();
    WordTokenizer(const WordTokenizer&) = delete;
    WordTokenizer& operator=(const WordTokenizer&) = delete;

    // The first word token; absent when the text has none.
    std::optional<Range> first();
    // The token after the one last returned.
    std::optional<Range> next();

  private:
    struct Impl;
    std::u16string m_text;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace platform
