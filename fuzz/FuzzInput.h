#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The fuzzer's bytes read front to back as the choices a target makes; past the end every read
// answers 0, so a short input is still a whole run.
struct FuzzInput {
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    bool more() const { return at < size; }
    uint8_t byte() { return at < size ? data[at++] : 0; }
    // Little-endian, as many bytes as the type has.
    template <typename T>
    T number() {
        T value = 0;
        for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(T(byte()) << (8 * i));
        return value;
    }
    // Up to `most` bytes as they come, NULs and broken UTF-8 included.
    std::string bytes(size_t most) {
        std::string out;
        while (out.size() < most && more()) out += static_cast<char>(byte());
        return out;
    }
};
