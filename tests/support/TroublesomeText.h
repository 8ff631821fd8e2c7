#pragma once

#include <random>
#include <string>
#include <vector>

// Random texts made of the pieces that break quoting: backslashes, both quotes, line and
// paragraph separators, control characters, markup, curly quotes and Mongolian. The same seed
// gives the same texts.
class TroublesomeText {
  public:
    explicit TroublesomeText(unsigned seed) : m_random(seed) {}

    std::string next(int maxPieces) {
        std::string text;
        int length = std::uniform_int_distribution<int>(1, maxPieces)(m_random);
        for (int k = 0; k < length; ++k)
            text +=
                pieces()[std::uniform_int_distribution<size_t>(0, pieces().size() - 1)(m_random)];
        return text;
    }

  private:
    static const std::vector<std::string>& pieces() {
        static const std::vector<std::string> all = {"\\",      "\"",       "'",
                                                     "\n",      "\r",       "\t",
                                                     "\u2028",  "\u2029",   std::string(1, '\0'),
                                                     "\x01",    "\x1b",     "\x7f",
                                                     "\u0085",  "\u201C",   "\u201D",
                                                     "ᠮᠣᠩᠭᠣᠯ",  "\u202F",   "\u180B",
                                                     "a",       " ",        "<p>",
                                                     "</p>",    "&quot;",   "\\n",
                                                     "\\u2028", "C:\\user", "😀",
                                                     "${x}",    "`"};
        return all;
    }

    std::mt19937 m_random;
};
