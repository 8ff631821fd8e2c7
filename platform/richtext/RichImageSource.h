#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/richtext/RichText.h"

namespace platform {

// The bytes behind an <img src>: a data: URL (base64 or percent-encoded), a file: URL, or a path
// (relative ones against `baseFolder`). Nothing is fetched from the network: other schemes, and
// files that cannot be read, give no bytes.
std::optional<std::vector<uint8_t>> imageBytesForSource(
    const std::string& source, const std::optional<std::filesystem::path>& baseFolder);

// Fills in format, data and pixel sizes from the bytes; the format stays Unknown for anything but
// PNG and JPEG, the two kinds of picture RTF embeds.
void describeImage(RichImage& image, std::vector<uint8_t> bytes);

}  // namespace platform
