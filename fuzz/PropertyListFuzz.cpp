// The property-list reader on any bytes (XML or binary): a damaged list is a clean failure, never
// an abort; what it reads writes out as XML that reads back as the same value, but for what the
// XML form cannot hold (a null is left out of its container, a date keeps its whole second), and
// writes out the same again.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

namespace {

using platform::PropertyValue;

bool isNullScalar(const PropertyValue& value) {
    return value.scalar() && value.scalar()->isNull();
}

// Whether `read` is what writing `original` may give back.
bool sameAfterWriting(const PropertyValue& read, const PropertyValue& original) {
    if (const platform::Value* kept = original.scalar()) {
        const platform::Value* back = read.scalar();
        if (!back) return false;
        if (const platform::Date* date = kept->date()) {
            return back->date() && back->date()->timeIntervalSince1970() ==
                                       std::floor(date->timeIntervalSince1970());
        }
        bool real = kept->type() == platform::Value::Type::Float ||
                    kept->type() == platform::Value::Type::Double;
        if (real && std::isnan(kept->doubleValue())) return std::isnan(back->doubleValue());
        return *back == *kept;
    }
    if (const PropertyValue::Array* items = original.array()) {
        if (!read.array()) return false;
        auto back = read.array()->begin(), end = read.array()->end();
        for (const PropertyValue& item : *items) {
            if (isNullScalar(item)) continue;
            if (back == end || !sameAfterWriting(*back++, item)) return false;
        }
        return back == end;
    }
    if (!read.dictionary()) return false;
    size_t kept = 0;
    for (const auto& [key, item] : *original.dictionary()) {
        if (isNullScalar(item)) continue;
        const PropertyValue* back = read.find(key);
        if (!back || !sameAfterWriting(*back, item)) return false;
        ++kept;
    }
    return kept == read.dictionary()->size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::LogCapture quiet;
    quiet.clear();
    auto value =
        platform::PropertyList::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!value) return 0;
    std::string written = platform::PropertyList::xml(*value);
    auto again = platform::PropertyList::parse(written);
    FUZZ_CHECK(again);
    if (!isNullScalar(*value)) FUZZ_CHECK(sameAfterWriting(*again, *value));
    FUZZ_CHECK(platform::PropertyList::xml(*again) == written);
    return 0;
}
