#include "platform/richtext/RichImageSource.h"

#include <glib.h>

#include <memory>

#include "platform/foundation/FileContents.h"
#include "platform/foundation/Owned.h"

namespace platform {

namespace {

bool startsWithNoCase(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           g_ascii_strncasecmp(text.c_str(), prefix.data(), prefix.size()) == 0;
}

std::optional<std::vector<uint8_t>> dataURLBytes(const std::string& source) {
    size_t comma = source.find(',');
    if (comma == std::string::npos) return std::nullopt;
    std::string header = source.substr(0, comma);
    std::string payload = source.substr(comma + 1);
    bool base64 = header.size() >= 7 &&
                  g_ascii_strcasecmp(header.c_str() + header.size() - 7, ";base64") == 0;
    if (base64) {
        gsize length = 0;
        Owned<guchar, g_free> decoded(g_base64_decode(payload.c_str(), &length));
        if (!decoded) return std::vector<uint8_t>{};
        return std::vector<uint8_t>(decoded.get(), decoded.get() + length);
    }
    Owned<char, g_free> unescaped(g_uri_unescape_string(payload.c_str(), nullptr));
    if (!unescaped) return std::nullopt;
    std::string_view text(unescaped.get());
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::optional<std::vector<uint8_t>> fileBytes(const std::filesystem::path& path) {
    std::optional<std::string> contents = contentsOfFile(path);
    if (!contents) return std::nullopt;
    return std::vector<uint8_t>(contents->begin(), contents->end());
}

uint32_t bigEndian(std::span<const uint8_t> bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value = (value << 8) | bytes[at + i];
    return value;
}

// The frame header (SOFn) holds the size; markers C4 (tables), C8 and CC are no frames.
bool jpegSize(std::span<const uint8_t> bytes, uint32_t& width, uint32_t& height) {
    size_t i = 2;
    while (i + 4 <= bytes.size()) {
        if (bytes[i] != 0xFF) return false;
        uint8_t marker = bytes[i + 1];
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2;
            continue;
        }
        size_t length = bigEndian(bytes, i + 2, 2);
        bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && i + 9 <= bytes.size()) {
            height = bigEndian(bytes, i + 5, 2);
            width = bigEndian(bytes, i + 7, 2);
            return true;
        }
        if (marker == 0xDA || length < 2) return false;
        i += 2 + length;
    }
    return false;
}

}  // namespace

std::optional<std::vector<uint8_t>> imageBytesForSource(
    const std::string& source, const std::optional<std::filesystem::path>& baseFolder) {
    if (source.empty()) return std::nullopt;
    if (startsWithNoCase(source, "data:")) return dataURLBytes(source);
    if (startsWithNoCase(source, "file:")) {
        Owned<char, g_free> path(g_filename_from_uri(source.c_str(), nullptr, nullptr));
        if (!path) return std::nullopt;
        return fileBytes(path.get());
    }
    Owned<char, g_free> scheme(g_uri_parse_scheme(source.c_str()));
    if (scheme) return std::nullopt;
    std::filesystem::path path(source);
    if (path.is_relative()) {
        if (!baseFolder) return std::nullopt;
        path = *baseFolder / path;
    }
    return fileBytes(path);
}

void describeImage(RichImage& image, std::vector<uint8_t> bytes) {
    static const uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    image.format = RichImage::Format::Unknown;
    image.pixelWidth = image.pixelHeight = 0;
    std::span<const uint8_t> view(bytes);
    if (view.size() >= 24 &&
        std::equal(std::begin(pngSignature), std::end(pngSignature), view.begin())) {
        image.format = RichImage::Format::PNG;
        image.pixelWidth = bigEndian(view, 16, 4);
        image.pixelHeight = bigEndian(view, 20, 4);
    } else if (view.size() >= 4 && view[0] == 0xFF && view[1] == 0xD8) {
        uint32_t width = 0, height = 0;
        if (jpegSize(view, width, height)) {
            image.format = RichImage::Format::JPEG;
            image.pixelWidth = width;
            image.pixelHeight = height;
        }
    }
    image.data = std::move(bytes);
}

}  // namespace platform
