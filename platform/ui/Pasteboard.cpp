#include "platform/ui/Pasteboard.h"

namespace platform {

Pasteboard& Pasteboard::generalPasteboard() {
    static Pasteboard pasteboard;
    return pasteboard;
}

long Pasteboard::clearContents() {
    m_items.clear();
    return ++m_changeCount;
}

bool Pasteboard::setString(const std::string& string, const std::string& type) {
    if (m_items.empty()) m_items.emplace_back();
    Item& item = m_items.front();
    for (auto& [itemType, value] : item) {
        if (itemType == type) {
            value = string;
            return true;
        }
    }
    item.emplace_back(type, string);
    return true;
}

bool Pasteboard::writeObjects(const std::vector<std::string>& strings) {
    for (const std::string& s : strings) m_items.push_back(Item{{PasteboardTypeString, s}});
    return true;
}

std::optional<std::string> Pasteboard::stringForType(const std::string& type) const {
    if (m_items.empty()) return std::nullopt;
    for (const auto& [itemType, value] : m_items.front())
        if (itemType == type) return value;
    return std::nullopt;
}

std::vector<std::string> Pasteboard::types() const {
    std::vector<std::string> result;
    if (!m_items.empty())
        for (const auto& entry : m_items.front()) result.push_back(entry.first);
    return result;
}

}  // namespace platform
