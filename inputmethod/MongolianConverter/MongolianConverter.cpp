#include "inputmethod/MongolianConverter/MongolianConverter.h"

#include <memory>

#include "inputmethod/LazyResource.h"
#include "inputmethod/MongolianConverter/KeyMap.h"
#include "platform/foundation/Bundle.h"

namespace quillora {

namespace {

LazyResource<KeyMap>& loaded() {
    static LazyResource<KeyMap> shared([]() -> std::unique_ptr<const KeyMap> {
        auto path = platform::Bundle::mainBundle().pathForResource("english_2_mongolian", "plist");
        if (!path) return nullptr;
        auto map = KeyMap::read(*path);
        return map ? std::make_unique<const KeyMap>(std::move(*map)) : nullptr;
    });
    return shared;
}

std::string replacingAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    size_t start = 0;
    for (size_t found; (found = text.find(from, start)) != std::string_view::npos;) {
        result.append(text.substr(start, found - start)).append(to);
        start = found + from.size();
    }
    result.append(text.substr(start));
    return result;
}

const char* const kVowelSeparator = "\u180E";
const char* const kFourthVariationSelector = "\u180F";

}  // namespace

const KeyMap* MongolianConverter::keyMap() {
    return loaded().get();
}

void MongolianConverter::initialize() {
    keyMap();
}

void MongolianConverter::reset() {
    loaded().reset();
}

std::optional<std::string> MongolianConverter::Convert_English_To_Mongolian(std::string_view key) {
    const KeyMap* map = keyMap();
    return map ? map->mongolian(key) : std::nullopt;
}

std::optional<std::string> MongolianConverter::Convert_Mongolian_To_English(std::string_view text) {
    const KeyMap* map = keyMap();
    return map ? map->english(text) : std::nullopt;
}

bool MongolianConverter::isSpellingKey(std::string_view key) {
    const KeyMap* map = keyMap();
    return map && map->isSpellingKey(key);
}

bool MongolianConverter::Check_English_OR_Symbal(std::string_view key) {
    const KeyMap* map = keyMap();
    return map && map->contains(key);
}

std::string MongolianConverter::Convert_180E_To_180F(std::string_view text) {
    return replacingAll(text, kVowelSeparator, kFourthVariationSelector);
}

std::string MongolianConverter::Convert_180F_To_180E(std::string_view text) {
    return replacingAll(text, kFourthVariationSelector, kVowelSeparator);
}

}  // namespace quillora
