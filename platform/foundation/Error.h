#pragma once

#include <map>
#include <string>

namespace platform {

// NSLocalizedDescriptionKey and NSCocoaErrorDomain.
inline constexpr const char* LocalizedDescriptionKey = "NSLocalizedDescription";
inline constexpr const char* CocoaErrorDomain = "NSCocoaErrorDomain";

// NSError: what went wrong, handed to a caller that asked for it through an out-parameter.
struct Error {
    std::string domain;
    long code = 0;
    std::map<std::string, std::string> userInfo;

    static Error errorWithDomain(std::string domain, long code, std::string description) {
        return Error{std::move(domain), code, {{LocalizedDescriptionKey, std::move(description)}}};
    }
    // The text under LocalizedDescriptionKey, or an empty text.
    std::string localizedDescription() const {
        auto it = userInfo.find(LocalizedDescriptionKey);
        return it == userInfo.end() ? std::string() : it->second;
    }
    bool operator==(const Error&) const = default;
};

}  // namespace platform
