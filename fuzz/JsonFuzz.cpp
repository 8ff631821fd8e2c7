// The JSON codec: any text either fails cleanly or gives a value that writes out as a text which
// reads back as the same value and writes out the same again.
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "notes/store/json/JsonCodecAdditions.h"
#include "platform/foundation/Log.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::LogCapture quiet;  // failures are logged; keep them out of the system log
    quiet.clear();
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto value = notes::JSONFragmentValue(text);
    if (!value) return 0;
    auto written = notes::JSONFragment(*value);
    FUZZ_CHECK(written);
    auto again = notes::JSONFragmentValue(*written);
    FUZZ_CHECK(again && *again == *value);
    FUZZ_CHECK(notes::JSONFragment(*again) == written);
    return 0;
}
