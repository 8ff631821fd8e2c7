#pragma once

#include <cstdio>
#include <cstdlib>

// A property of a fuzz target: when it fails, the input is a finding, so stop loudly (libFuzzer
// saves the input; the replay driver exits with the abort).
#define FUZZ_CHECK(condition)                                                             \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "%s:%d: fuzz property failed: %s\n", __FILE__, __LINE__, \
                         #condition);                                                     \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)
