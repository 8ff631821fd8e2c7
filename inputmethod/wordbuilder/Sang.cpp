#include "inputmethod/wordbuilder/Sang.h"

#include <map>
#include <memory>

#include "inputmethod/LazyResource.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"

namespace quillora::wordbuilder {

namespace {

using Table = std::map<std::string, Sang::Tokens>;

// Only arrays are pieces, and only their texts are tokens.
std::unique_ptr<const Table> readTable() {
    auto path = platform::Bundle::mainBundle().pathForResource("BaseSang", "plist");
    if (!path) return nullptr;
    auto list = platform::PropertyList::read(*path);
    if (!list || !list->dictionary()) return nullptr;
    auto table = std::make_unique<Table>();
    for (const auto& [piece, value] : *list->dictionary()) {
        const auto* alternatives = value.array();
        if (!alternatives) continue;
        Sang::Tokens tokens;
        for (const auto& token : *alternatives) {
            if (const std::string* text = token.text()) tokens.push_back(*text);
        }
        table->emplace(piece, std::move(tokens));
    }
    return table;
}

LazyResource<Table>& loaded() {
    static LazyResource<Table> shared(readTable);
    return shared;
}

}  // namespace

void Sang::initialize() {
    loaded().get();
}

std::optional<Sang::Tokens> Sang::searchBaseSang(const std::string& piece) {
    const Table* table = loaded().get();
    if (!table) return std::nullopt;
    auto found = table->find(piece);
    if (found == table->end()) return std::nullopt;
    return found->second;
}

std::optional<Sang::Tokens> Sang::searchExtendSang(const std::string&) {
    return std::nullopt;
}

std::optional<Sang::Tokens> Sang::searchUserSang(const std::string&) {
    return std::nullopt;
}

void Sang::reset() {
    loaded().reset();
}

}  // namespace quillora::wordbuilder
