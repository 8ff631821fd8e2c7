#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quillora {

// Quillora's romanisation: each typed key (a Latin letter, or an ASCII punctuation character) to
// the Mongolian text it stands for. Read from the property list "english_2_mongolian"; also used
// by the build to give every dictionary word the key a user types for it.
class KeyMap {
  public:
    using Entries = std::map<std::string, std::string>;

    explicit KeyMap(Entries entries);
    // Absent when the file is missing, is no property list or holds no dictionary; entries whose
    // value is not a string are left out.
    static std::optional<KeyMap> read(const std::filesystem::path& path);

    const Entries& entries() const { return m_entries; }
    bool contains(std::string_view key) const { return m_entries.contains(std::string(key)); }
    std::optional<std::string> mongolian(std::string_view key) const;

    // The key whose text equals the given one. Several keys may share a text (an upper-case letter
    // often means the same as its lower-case one), so the keys are walked in one fixed order:
    // lower-case letters, then upper-case letters, then everything else, each by code point. The
    // answer is therefore the same on every run, and a letter reads back as what one types
    // without Shift.
    std::optional<std::string> english(std::string_view text) const;

    // The keys a user types for a word: each character read back through english(), the free
    // variation selectors, the vowel separator and the narrow no-break space before a suffix
    // skipped (they are spelling, not letters one types). Absent when a character has no key.
    std::optional<std::string> romanise(std::string_view word) const;

    // Whether the key stands for spelling alone (free variation selectors, the vowel separator,
    // the narrow no-break space): romanise() skips that text, so no word's key holds the key.
    bool isSpellingKey(std::string_view key) const;
    // The spelling characters romanise() skips.
    static bool isSpellingControl(char32_t c);

  private:
    Entries m_entries;
    std::unordered_map<std::string, std::string> m_keyOfText;
};

}  // namespace quillora
