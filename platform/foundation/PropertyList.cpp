#include "platform/foundation/PropertyList.h"

#include <plist/plist.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileContents.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Owned.h"
#include "platform/foundation/UnicodeString.h"

namespace platform {

namespace {

using PlistOwner = Owned<void, plist_free>;

// Property-list dates count from 2001-01-01 00:00:00 UTC.
constexpr double kReferenceDate = 978307200.0;

// The dates the XML form holds: years 1 to 9999. libplist keeps any double, but writes and reads
// four-digit years only.
constexpr double kEarliestDate = -62135596800.0;  // 0001-01-01 00:00:00 UTC, since 1970
constexpr double kLatestDate = 253402300799.0;    // 9999-12-31 23:59:59 UTC

double heldDate(double since1970) {
    if (since1970 >= kEarliestDate && since1970 <= kLatestDate) return since1970;
    double held =
        std::isnan(since1970) ? kReferenceDate : std::clamp(since1970, kEarliestDate, kLatestDate);
    logf("property list: the date %g (seconds since 1970) is outside years 1 to 9999; %.0f is used",
         since1970, held);
    return held;
}

// One node alone in the binary form: "bplist00", the object at offset 8, the offset table and the
// 32-byte trailer. The form carries a date's double whole, where libplist's date calls do not.
std::string binaryForm(plist_t node) {
    PlistOwner copy(plist_copy(node));
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(copy.get(), &bytes, &length);
    std::string form = bytes ? std::string(bytes, length) : std::string();
    if (bytes) plist_to_bin_free(bytes);
    return form;
}

uint64_t bigEndian(std::string_view bytes) {
    uint64_t value = 0;
    for (char c : bytes) value = (value << 8) | static_cast<unsigned char>(c);
    return value;
}

// Whether a list holds text with a NUL character. libplist reads such text, but aborts the process
// when a key holding one is asked for, and keys can be read no other way. XML cannot hold NUL (a
// NUL byte makes the document malformed); in the binary form only a UTF-16 string can, so its
// objects are walked through the offset table, and one that cannot be walked counts as damaged.
bool holdsNulText(std::string_view data) {
    if (!data.starts_with("bplist00")) return data.find('\0') != std::string_view::npos;
    constexpr size_t kTrailer = 32;
    if (data.size() < 8 + kTrailer) return true;
    const std::string_view trailer = data.substr(data.size() - kTrailer);
    const size_t offsetSize = static_cast<unsigned char>(trailer[6]);
    const uint64_t objects = bigEndian(trailer.substr(8, 8));
    const uint64_t table = bigEndian(trailer.substr(24, 8));
    if (offsetSize == 0 || offsetSize > 8 || table > data.size() ||
        objects > (data.size() - table) / offsetSize) {
        return true;
    }
    for (uint64_t i = 0; i < objects; ++i) {
        const uint64_t offset = bigEndian(data.substr(table + i * offsetSize, offsetSize));
        if (offset >= data.size()) return true;
        const unsigned char marker = static_cast<unsigned char>(data[offset]);
        if ((marker & 0xF0) != 0x60) continue;
        uint64_t units = marker & 0x0F;
        uint64_t at = offset + 1;
        if (units == 0x0F) {
            if (at >= data.size() || (static_cast<unsigned char>(data[at]) & 0xF0) != 0x10) {
                return true;
            }
            const size_t width = size_t{1} << (data[at] & 0x0F);
            if (width > 8 || data.size() - at - 1 < width) return true;
            units = bigEndian(data.substr(at + 1, width));
            at += 1 + width;
        }
        if (units > (data.size() - at) / 2) return true;
        for (uint64_t k = 0; k < units; ++k) {
            if (data[at + 2 * k] == '\0' && data[at + 2 * k + 1] == '\0') return true;
        }
    }
    return false;
}

// A date's seconds since 1970, exact: plist_get_date_val cuts them to 32 bits.
double dateSince1970(plist_t node) {
    const std::string form = binaryForm(node);
    if (form.size() >= 17 && static_cast<unsigned char>(form[8]) == 0x33) {
        return std::bit_cast<double>(bigEndian(std::string_view(form).substr(9, 8))) +
               kReferenceDate;
    }
    int32_t seconds = 0, microseconds = 0;
    plist_get_date_val(node, &seconds, &microseconds);
    return kReferenceDate + seconds + microseconds / 1e6;
}

// A date node made from its binary form, as plist_new_date takes 32-bit seconds. The XML form
// holds whole seconds, and libplist would cut a fraction towards 2001: the second is the one the
// moment falls in.
plist_t dateNode(double since1970) {
    const double held = std::floor(heldDate(since1970));
    const uint64_t bits = std::bit_cast<uint64_t>(held - kReferenceDate);
    std::string form = "bplist00\x33";
    for (int shift = 56; shift >= 0; shift -= 8) form += static_cast<char>(bits >> shift);
    form += '\x08';                                // offset table: the object is at 8
    form += std::string(6, '\0');                  // trailer: unused bytes,
    form += "\x01\x01";                            // offset and reference sizes,
    form += std::string("\0\0\0\0\0\0\0\x01", 8);  // one object,
    form += std::string(8, '\0');                  // the root is object 0,
    form += std::string("\0\0\0\0\0\0\0\x11", 8);  // the offset table's offset
    plist_t node = nullptr;
    plist_from_bin(form.data(), static_cast<uint32_t>(form.size()), &node);
    return node;
}

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
        if (key) dictionary.emplace(validUtf8(key), fromNode(item));
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
            // With its length: plist_get_string_val aborts on a string holding a NUL byte.
            uint64_t length = 0;
            const char* text = plist_get_string_ptr(node, &length);
            return Value(text ? validUtf8(std::string_view(text, length)) : std::string());
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
            return Value(Date::dateWithTimeIntervalSince1970(heldDate(dateSince1970(node))));
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
    if (const Date* date = value.date()) return dateNode(date->timeIntervalSince1970());
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
    if (holdsNulText(data)) {
        log("property list: damaged, it holds text with a NUL character; it is not read");
        return std::nullopt;
    }
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
