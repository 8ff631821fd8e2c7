#include "inputmethod/MongolianConverter/KeyMap.h"

#include <algorithm>
#include <vector>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UnicodeString.h"

namespace quillora {

namespace {

int keyGroup(const std::string& key) {
    if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') return 0;
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') return 1;
    return 2;
}

}  // namespace

KeyMap::KeyMap(Entries entries) : m_entries(std::move(entries)) {
    std::vector<const Entries::value_type*> ordered;
    for (const auto& entry : m_entries) ordered.push_back(&entry);
    // The map already sorts by bytes, which is code point order for UTF-8; only the groups move.
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto* a, const auto* b) {
        return keyGroup(a->first) < keyGroup(b->first);
    });
    for (const auto* entry : ordered) m_keyOfText.try_emplace(entry->second, entry->first);
}

std::optional<KeyMap> KeyMap::read(const std::filesystem::path& path) {
    auto list = platform::PropertyList::read(path);
    if (!list || !list->dictionary()) return std::nullopt;
    Entries entries;
    for (const auto& [key, value] : *list->dictionary()) {
        if (const std::string* text = value.text()) entries.emplace(key, *text);
    }
    return KeyMap(std::move(entries));
}

std::optional<std::string> KeyMap::mongolian(std::string_view key) const {
    auto found = m_entries.find(std::string(key));
    if (found == m_entries.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> KeyMap::english(std::string_view text) const {
    auto found = m_keyOfText.find(std::string(text));
    if (found == m_keyOfText.end()) return std::nullopt;
    return found->second;
}

bool KeyMap::isSpellingControl(char32_t c) {
    return (c >= 0x180B && c <= 0x180F) || c == 0x202F;
}

bool KeyMap::isSpellingKey(std::string_view key) const {
    auto text = mongolian(key);
    if (!text || text->empty()) return false;
    const std::u32string characters = platform::utf32FromUtf8(*text);
    return std::all_of(characters.begin(), characters.end(), isSpellingControl);
}

std::optional<std::string> KeyMap::romanise(std::string_view word) const {
    std::string key;
    for (char32_t c : platform::utf32FromUtf8(word)) {
        if (isSpellingControl(c)) continue;
        auto typed = english(platform::utf8FromCodePoint(c));
        if (!typed) return std::nullopt;
        key += *typed;
    }
    return key;
}

}  // namespace quillora
