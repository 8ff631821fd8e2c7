#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/richtext/RichText.h"

namespace platform {

struct HTMLReadOptions {
    // Where relative <img src> paths are looked up; without it they give no picture bytes.
    std::optional<std::filesystem::path> baseFolder;
};

// Reads an HTML document or fragment (UTF-8) as a rich text: paragraphs, divisions and the other
// blocks, headings, lists with their markers, quotations, line breaks, table cells, bold, italic,
// underline, strike-through, sub- and superscript (from the elements and from inline styles),
// links and pictures. Scripts, styles and the head are left out. Broken markup is read as a
// browser would recover it; the result is empty only for a text with nothing to show.
RichText readHTML(std::string_view html, const HTMLReadOptions& options = {});

}  // namespace platform
