#include "platform/foundation/PropertyList.h"

#include <plist/plist.h>

#include <cstdlib>
#include <memory>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileContents.h"
#include "platform/foundation/Owned.h"

namespace platform {

namespace {

using PlistOwner = Owned<void, plist_free>;

// Property-list dates count from 2001-01-01 00:00:00 UTC.
constexpr double kReferenceDate = 978307200.0;

PropertyValue fromNode(plist_t node);

PropertyValue fromDictionary(plist_t node) {
    PropertyValue::Dictionary dictionary;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iterator, &key, &item);
        if (!item) {
            free(key);
            break;
        }
        if (key) dictionary.emplace(key, fromNode(item));
        free(key);
    }
    free(iterator);
    return dictionary;
}

PropertyValue fromNode(plist_t node) {
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t value = 0;
            plist_get_bool_val(node, &value);
            return Value(value != 0);
        }
        case PLIST_UINT: {
            uint64_t value = 0;
            plist_get_uint_val(node, &value);
            // libplist keeps negative integers as their two's complement.
            return Value(static_cast<int64_t>(value));
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(node, &value);
            return Value(value);
        }
        case PLIST_STRING: {
            char* text = nullptr;
            plist_get_string_val(node, &text);
            Value value(text ? std::string(text) : std::string());
            free(text);
            return value;
        }
        case PLIST_DATA: {
            char* bytes = nullptr;
            uint64_t length = 0;
            plist_get_data_val(node, &bytes, &length);
            Bytes data(bytes, bytes + length);
            free(bytes);
            return Value(std::move(data));
        }
        case PLIST_DATE: {
            int32_t seconds = 0, microseconds = 0;
            plist_get_date_val(node, &seconds, &microseconds);
            return Value(
                Date::dateWithTimeIntervalSince1970(kReferenceDate + seconds + microseconds / 1e6));
        }
        case PLIST_ARRAY: {
            PropertyValue::Array array;
            uint32_t count = plist_array_get_size(node);
            for (uint32_t i = 0; i < count; ++i)
                array.push_back(fromNode(plist_array_get_item(node, i)));
            return array;
        }
        case PLIST_DICT:
            return fromDictionary(node);
        default:
            return PropertyValue();
    }
}

plist_t scalarNode(const Value& value) {
    if (value.isNull()) return nullptr;
    if (value.type() == Value::Type::Bool) return plist_new_bool(value.boolValue());
    if (value.type() == Value::Type::Float || value.type() == Value::Type::Double) {
        return plist_new_real(value.doubleValue());
    }
    if (value.isIntegral()) return plist_new_uint(static_cast<uint64_t>(value.longLongValue()));
    if (const std::string* text = value.text()) return plist_new_string(text->c_str());
    if (const Bytes* bytes = value.bytes()) {
        return plist_new_data(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    }
    if (const Date* date = value.date()) {
        double since = date->timeIntervalSince1970() - kReferenceDate;
        auto seconds = static_cast<int32_t>(since);
        return plist_new_date(seconds, static_cast<int32_t>((since - seconds) * 1e6));
    }
    return nullptr;
}

plist_t toNode(const PropertyValue& value) {
    if (const Value* scalar = value.scalar()) return scalarNode(*scalar);
    if (const PropertyValue::Array* array = value.array()) {
        plist_t node = plist_new_array();
        for (const PropertyValue& item : *array) {
            if (plist_t child = toNode(item)) plist_array_append_item(node, child);
        }
        return node;
    }
    plist_t node = plist_new_dict();
    for (const auto& [key, item] : *value.dictionary()) {
        if (plist_t child = toNode(item)) plist_dict_set_item(node, key.c_str(), child);
    }
    return node;
}

}  // namespace

const PropertyValue* PropertyValue::find(const std::string& key) const {
    const Dictionary* entries = dictionary();
    if (!entries) return nullptr;
    auto found = entries->find(key);
    return found == entries->end() ? nullptr : &found->second;
}

namespace PropertyList {

std::optional<PropertyValue> parse(std::string_view data) {
    if (data.empty() || data.size() > UINT32_MAX) return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(data.data(), static_cast<uint32_t>(data.size()), &root);
    if (!root) return std::nullopt;
    PlistOwner owner(root);
    return fromNode(root);
}

std::optional<PropertyValue> read(const std::filesystem::path& path) {
    std::optional<std::string> data = contentsOfFile(path);
    if (!data) return std::nullopt;
    return parse(*data);
}

std::string xml(const PropertyValue& value) {
    plist_t root = toNode(value);
    if (!root) root = plist_new_dict();
    PlistOwner owner(root);
    char* text = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &text, &length);
    std::string result = text ? std::string(text, length) : std::string();
    if (text) plist_to_xml_free(text);
    return result;
}

bool write(const PropertyValue& value, const std::filesystem::path& path) {
    return writeFileAtomically(path, xml(value));
}

}  // namespace PropertyList

}  // namespace platform
