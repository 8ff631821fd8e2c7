// The property-list reader on any bytes (XML or binary): a damaged list is a clean failure, never
// an abort; what it reads writes out as XML that reads back, and writes out the same again.
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::LogCapture quiet;
    quiet.clear();
    auto value =
        platform::PropertyList::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!value) return 0;
    std::string written = platform::PropertyList::xml(*value);
    auto again = platform::PropertyList::parse(written);
    FUZZ_CHECK(again);
    FUZZ_CHECK(platform::PropertyList::xml(*again) == written);
    return 0;
}
