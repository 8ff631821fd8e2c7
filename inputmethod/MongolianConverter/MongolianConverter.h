#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillora {

class KeyMap;

// The key map as the rest of Quillora reaches it: class operations over one process-wide map,
// loaded from the resource "english_2_mongolian.plist" at the first lookup. The operations keep
// the names the rest of the input method knows them by.
class MongolianConverter {
  public:
    // Loads the key map unless it is loaded. A missing or unreadable file leaves it unloaded, so
    // every lookup answers absent and the next one tries again.
    static void initialize();

    // The Mongolian text for one typed key; absent for a key without entry.
    static std::optional<std::string> Convert_English_To_Mongolian(std::string_view key);
    // The key whose text this is, walking the keys in KeyMap's fixed order; absent when none is.
    static std::optional<std::string> Convert_Mongolian_To_English(std::string_view text);
    static bool Check_English_OR_Symbal(std::string_view key);
    // Whether the key stands for spelling alone (a free variation selector, the vowel separator,
    // the narrow no-break space), which the dictionary's keys leave out.
    static bool isSpellingKey(std::string_view key);
    // Copies with every vowel separator U+180E turned into U+180F, and back.
    static std::string Convert_180E_To_180F(std::string_view text);
    static std::string Convert_180F_To_180E(std::string_view text);

    // Forgets the loaded map, so that the next lookup reads the resource again; for tests that
    // switch resource folders.
    static void reset();

  private:
    // The loaded map, or null; loads first when it is not loaded.
    static const KeyMap* keyMap();
};

}  // namespace quillora
