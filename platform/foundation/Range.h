#pragma once

#include <cstdint>
#include <limits>

namespace platform {

// NSNotFound: the location of an unset range.
inline constexpr uint64_t NotFound = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());

// A run of UTF-16 units (NSRange): unsigned location and length.
struct Range {
    uint64_t location = 0;
    uint64_t length = 0;

    constexpr uint64_t max() const { return location + length; }
    constexpr bool contains(uint64_t index) const { return index >= location && index < max(); }
    constexpr bool operator==(const Range&) const = default;
};

// NSIntersectionRange: the overlap, or (0, 0) when the ranges do not overlap.
constexpr Range intersectionRange(Range a, Range b) {
    uint64_t start = a.location > b.location ? a.location : b.location;
    uint64_t end = a.max() < b.max() ? a.max() : b.max();
    if (end <= start) return {0, 0};
    return {start, end - start};
}

}  // namespace platform
