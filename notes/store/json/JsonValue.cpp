#include "notes/store/json/JsonValue.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "notes/store/json/JsonGrammar.h"

namespace notes {
namespace {

// A number's value as sign, significant digits and power of ten: digits × 10^exponent, with no
// leading or trailing zeros in digits; zero has no digits.
struct DecimalForm {
    bool negative = false;
    std::string digits;
    std::int64_t exponent = 0;

    bool operator==(const DecimalForm&) const = default;
};

// Far beyond any double, yet far from overflowing when fraction lengths are added.
constexpr std::int64_t kExponentCap = 1'000'000'000'000;

std::optional<DecimalForm> decimalForm(std::string_view text) {
    if (json_grammar::scanNumberText(text).length != text.size() || text.empty()) {
        return std::nullopt;
    }
    DecimalForm form;
    std::size_t i = 0;
    if (text[i] == '-') {
        form.negative = true;
        ++i;
    }
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) form.digits += text[i];
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            form.digits += text[i];
            --form.exponent;
        }
    }
    if (i < text.size()) {  // the exponent
        ++i;
        bool negativeExponent = false;
        if (text[i] == '+' || text[i] == '-') negativeExponent = text[i++] == '-';
        std::int64_t exponent = 0;
        for (; i < text.size(); ++i) {
            if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - '0');
        }
        form.exponent += negativeExponent ? -exponent : exponent;
    }
    std::size_t first = form.digits.find_first_not_of('0');
    if (first == std::string::npos) return DecimalForm{};
    std::size_t last = form.digits.find_last_not_of('0');
    form.exponent += static_cast<std::int64_t>(form.digits.size() - 1 - last);
    form.digits = form.digits.substr(first, last - first + 1);
    return form;
}

}  // namespace

JsonNumber::JsonNumber(double value) {
    if (std::isnan(value)) {
        assign("nan");
    } else if (std::isinf(value)) {
        assign(value < 0 ? "-inf" : "inf");
    } else {
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        assign(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
    }
}

// The whole inline buffer is copied, whatever the length: a fixed-size copy is a few moves, where
// one of the text's own length would be a library call.
JsonNumber::JsonNumber(JsonNumber&& other) noexcept : m_size(other.m_size) {
    std::memcpy(m_inline, other.m_inline, kInlineCapacity);
    other.m_size = 0;
}

JsonNumber& JsonNumber::operator=(const JsonNumber& other) {
    if (this != &other) {
        release();
        assign(other.text());
    }
    return *this;
}

JsonNumber& JsonNumber::operator=(JsonNumber&& other) noexcept {
    if (this != &other) {
        release();
        m_size = other.m_size;
        std::memcpy(m_inline, other.m_inline, kInlineCapacity);
        other.m_size = 0;
    }
    return *this;
}

// Expects no text held: a fresh number or one just released.
void JsonNumber::assign(std::string_view text) {
    const char* from = text.data();
    const std::size_t size = text.size();
    m_size = size;
    if (!isInline()) {
        m_heap = new char[size];
        std::memcpy(m_heap, from, size);
    } else if (size >= 8) {
        // Two or three fixed-size copies that may overlap cover any length from 8 to 24.
        std::memcpy(m_inline, from, 8);
        if (size > 16) std::memcpy(m_inline + 8, from + 8, 8);
        std::memcpy(m_inline + size - 8, from + size - 8, 8);
    } else {
        for (std::size_t i = 0; i < size; ++i) m_inline[i] = from[i];
    }
}

void JsonNumber::release() {
    if (!isInline()) delete[] m_heap;
    m_size = 0;
}

bool JsonNumber::isValid() const {
    return m_size != 0 && json_grammar::scanNumberText(text()).length == m_size;
}

double JsonNumber::doubleValue() const {
    auto form = decimalForm(text());
    if (!form) return std::numeric_limits<double>::quiet_NaN();
    double value = 0;
    std::string_view digits = text();
    auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        auto magnitude = static_cast<std::int64_t>(form->digits.size()) + form->exponent;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        if (form->negative) value = -value;
    }
    return value;
}

std::optional<std::int64_t> JsonNumber::integerValue() const {
    auto form = decimalForm(text());
    if (!form || form->exponent < 0) return std::nullopt;
    if (form->digits.size() + static_cast<std::uint64_t>(form->exponent) > 19) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (char digit : form->digits) magnitude = magnitude * 10 + static_cast<unsigned>(digit - '0');
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + form->negative;
    for (std::int64_t i = 0; i < form->exponent; ++i) {
        if (magnitude > limit / 10) return std::nullopt;
        magnitude *= 10;
    }
    if (magnitude > limit) return std::nullopt;
    return form->negative ? static_cast<std::int64_t>(0 - magnitude)
                          : static_cast<std::int64_t>(magnitude);
}

bool JsonNumber::operator==(const JsonNumber& other) const {
    auto mine = decimalForm(text());
    auto theirs = decimalForm(other.text());
    if (mine && theirs) return *mine == *theirs;
    return text() == other.text();
}

namespace {
// Past this many members an object keeps an index of its keys.
constexpr std::size_t kIndexThreshold = 16;
}  // namespace

JsonObject::JsonObject() = default;
JsonObject::~JsonObject() = default;
JsonObject::JsonObject(JsonObject&& other) noexcept = default;
JsonObject& JsonObject::operator=(JsonObject&& other) noexcept = default;

JsonObject::JsonObject(std::initializer_list<Member> members) {
    for (const Member& member : members) set(member.first, member.second);
}

JsonObject::JsonObject(std::vector<Member>&& members) : m_members(std::move(members)) {
    if (m_members.size() > kIndexThreshold) {
        rebuildIndex();
        if (m_index->size() != m_members.size()) removeRepeatedKeys();
        return;
    }
    for (std::size_t i = 1; i < m_members.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (m_members[i].first == m_members[j].first) {
                removeRepeatedKeys();
                return;
            }
        }
    }
}

// Rare: only hand-written or hostile text repeats a key. Each member is set again in order, which
// keeps the place of the first and the value of the last.
void JsonObject::removeRepeatedKeys() {
    std::vector<Member> members = std::move(m_members);
    m_members.clear();
    m_index.reset();
    for (Member& member : members) set(std::move(member.first), std::move(member.second));
}

JsonObject::JsonObject(const JsonObject& other) : m_members(other.m_members) {
    if (other.m_index) rebuildIndex();
}

JsonObject& JsonObject::operator=(const JsonObject& other) {
    if (this != &other) {
        m_members = other.m_members;
        m_index.reset();
        if (other.m_index) rebuildIndex();
    }
    return *this;
}

std::optional<std::size_t> JsonObject::indexOf(std::string_view key) const {
    if (m_index) {
        auto found = m_index->find(key);
        if (found == m_index->end()) return std::nullopt;
        return found->second;
    }
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        if (m_members[i].first == key) return i;
    }
    return std::nullopt;
}

const JsonValue* JsonObject::find(std::string_view key) const {
    auto index = indexOf(key);
    return index ? &m_members[*index].second : nullptr;
}

JsonValue* JsonObject::find(std::string_view key) {
    auto index = indexOf(key);
    return index ? &m_members[*index].second : nullptr;
}

void JsonObject::set(std::string key, JsonValue value) {
    if (auto index = indexOf(key)) {
        m_members[*index].second = std::move(value);
        return;
    }
    if (m_index) m_index->emplace(key, m_members.size());
    m_members.emplace_back(std::move(key), std::move(value));
    if (!m_index && m_members.size() > kIndexThreshold) rebuildIndex();
}

void JsonObject::rebuildIndex() {
    m_index = std::make_unique<Index>();
    m_index->reserve(m_members.size());
    for (std::size_t i = 0; i < m_members.size(); ++i) m_index->emplace(m_members[i].first, i);
}

bool JsonObject::operator==(const JsonObject& other) const {
    return m_members == other.m_members;
}

std::optional<bool> JsonValue::boolean() const {
    if (const bool* value = std::get_if<bool>(&m_storage)) return *value;
    return std::nullopt;
}

bool JsonValue::operator==(const JsonValue& other) const {
    return m_storage == other.m_storage;
}

}  // namespace notes
