#include "platform/richtext/HTMLReader.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "platform/foundation/Owned.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/richtext/RichImageSource.h"
#include "platform/richtext/RichTextBuilder.h"

namespace platform {

namespace {

// libxml2's xmlFree is a pointer the library may change at run time, so it is called, not named
// as the release function itself.
void freeXml(xmlChar* text) {
    xmlFree(text);
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// libxml2 keeps only the characters XML allows: it drops the control characters other than tab,
// line feed and carriage return, U+FFFE and U+FFFF, and reads NUL as a blank. A browser keeps them
// in the text, and so does the note, so they cross the parser disguised as a pair of private-use
// characters it keeps: U+10FFFD, then U+10FF00 plus the character's index (a U+10FFFD of the text
// itself goes the same way, so nothing else is ever read as a disguise).
constexpr std::string_view kDisguise = "\xF4\x8F\xBF\xBD";  // U+10FFFD
constexpr std::string_view kIndexLead = "\xF4\x8F\xBC";     // U+10FF00 to U+10FF3F
constexpr unsigned char kNonCharacterFFFE = 0x20, kNonCharacterFFFF = 0x21, kItself = 0x22;

void appendDisguised(std::string& out, unsigned char index) {
    out += kDisguise;
    out += kIndexLead;
    out += static_cast<char>(0x80 + index);
}

// Well-formed UTF-8 (every malformed byte read as U+FFFD, as the editor reads it) with the
// characters libxml2 would lose disguised.
std::string parserInput(std::string_view html) {
    std::string text = validUtf8(html);
    std::string out;
    out.reserve(text.size());
    // Byte patterns suffice: in well-formed UTF-8 a lead byte never matches inside a character.
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::string_view rest = std::string_view(text).substr(i);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            appendDisguised(out, c);
        } else if (rest.starts_with("\xEF\xBF\xBE") || rest.starts_with("\xEF\xBF\xBF")) {
            appendDisguised(out, rest[2] == '\xBE' ? kNonCharacterFFFE : kNonCharacterFFFF);
            i += 2;
        } else if (rest.starts_with(kDisguise)) {
            appendDisguised(out, kItself);
            i += kDisguise.size() - 1;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// Text as the parser gives it back, with the disguised characters as they were.
std::string undisguised(std::string_view text) {
    if (text.find(kDisguise) == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        std::string_view rest = text.substr(i);
        if (rest.size() >= 8 && rest.starts_with(kDisguise) &&
            rest.substr(4).starts_with(kIndexLead)) {
            unsigned char index =
                static_cast<unsigned char>(static_cast<unsigned char>(rest[7]) - 0x80);
            if (index <= kItself) {
                if (index < 0x20) {
                    out += static_cast<char>(index);
                } else if (index == kItself) {
                    out += kDisguise;
                } else {
                    out += index == kNonCharacterFFFE ? "\uFFFE" : "\uFFFF";
                }
                i += 8;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

std::optional<std::string> attribute(xmlNode* node, const char* name) {
    Owned<xmlChar, freeXml> value(xmlGetProp(node, reinterpret_cast<const xmlChar*>(name)));
    if (!value) return std::nullopt;
    return undisguised(reinterpret_cast<const char*>(value.get()));
}

std::optional<uint32_t> dimensionAttribute(xmlNode* node, const char* name) {
    auto value = attribute(node, name);
    if (!value) return std::nullopt;
    char* end = nullptr;
    long number = std::strtol(value->c_str(), &end, 10);
    if (end == value->c_str() || number <= 0 || number > 100000) return std::nullopt;
    return static_cast<uint32_t>(number);
}

std::string trim(std::string_view text) {
    size_t start = text.find_first_not_of(" \t\n\r\f");
    if (start == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(" \t\n\r\f");
    return std::string(text.substr(start, end - start + 1));
}

// The few declarations of a style attribute that change how characters look.
void applyInlineStyle(const std::string& declarations, CharacterStyle& style) {
    size_t at = 0;
    while (at < declarations.size()) {
        size_t end = declarations.find(';', at);
        if (end == std::string::npos) end = declarations.size();
        std::string declaration = declarations.substr(at, end - at);
        at = end + 1;
        size_t colon = declaration.find(':');
        if (colon == std::string::npos) continue;
        std::string property = lower(trim(declaration.substr(0, colon)));
        std::string value = lower(trim(declaration.substr(colon + 1)));
        if (property == "font-weight") {
            int weight = std::atoi(value.c_str());
            style.bold = value == "bold" || value == "bolder" || weight >= 600;
        } else if (property == "font-style") {
            style.italic = value.starts_with("italic") || value.starts_with("oblique");
        } else if (property == "text-decoration" || property == "text-decoration-line") {
            if (value.find("none") != std::string::npos) {
                style.underline = style.strikethrough = false;
            }
            if (value.find("underline") != std::string::npos) style.underline = true;
            if (value.find("line-through") != std::string::npos) style.strikethrough = true;
        } else if (property == "vertical-align") {
            if (value == "super") style.script = CharacterStyle::Script::Superscript;
            if (value == "sub") style.script = CharacterStyle::Script::Subscript;
            if (value == "baseline") style.script = CharacterStyle::Script::Baseline;
        }
    }
}

class Walker {
  public:
    explicit Walker(const HTMLReadOptions& options) : m_options(options) {}

    void walkChildren(xmlNode* node, const CharacterStyle& style, bool preformatted) {
        for (xmlNode* child = node->children; child; child = child->next) {
            walk(child, style, preformatted);
        }
    }

    RichText finish() { return m_builder.finish(); }

  private:
    void walk(xmlNode* node, CharacterStyle style, bool preformatted) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            if (node->content) {
                m_builder.text(undisguised(reinterpret_cast<const char*>(node->content)), style,
                               preformatted);
            }
            return;
        }
        if (node->type != XML_ELEMENT_NODE) return;
        std::string name = lower(reinterpret_cast<const char*>(node->name));
        static const std::set<std::string> hidden = {"head",   "script", "style",    "title",
                                                     "meta",   "link",   "template", "noscript",
                                                     "iframe", "object", "select",   "textarea"};
        if (hidden.contains(name)) return;

        if (name == "b" || name == "strong") style.bold = true;
        if (name == "i" || name == "em" || name == "cite" || name == "var" || name == "dfn") {
            style.italic = true;
        }
        if (name == "u" || name == "ins") style.underline = true;
        if (name == "s" || name == "strike" || name == "del") style.strikethrough = true;
        if (name == "sup") style.script = CharacterStyle::Script::Superscript;
        if (name == "sub") style.script = CharacterStyle::Script::Subscript;
        if (name == "a") {
            if (auto href = attribute(node, "href")) style.link = *href;
        }
        if (auto declarations = attribute(node, "style")) applyInlineStyle(*declarations, style);

        if (name == "br") {
            m_builder.lineBreak(style);
        } else if (name == "img") {
            m_builder.image(image(node), style);
        } else if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
            m_builder.beginHeading(name[1] - '0');
            walkChildren(node, style, preformatted);
            m_builder.endHeading();
        } else if (name == "ul" || name == "ol" || name == "menu" || name == "dir") {
            int start = 1;
            if (auto value = attribute(node, "start")) start = std::atoi(value->c_str());
            m_builder.beginList(name == "ol", start);
            walkChildren(node, style, preformatted);
            m_builder.endList();
        } else if (name == "li") {
            m_builder.beginListItem();
            walkChildren(node, style, preformatted);
            m_builder.endListItem();
        } else if (name == "blockquote") {
            m_builder.beginQuote();
            walkChildren(node, style, preformatted);
            m_builder.endQuote();
        } else if (name == "td" || name == "th") {
            m_builder.cellSeparator(style);
            walkChildren(node, style, preformatted);
        } else if (isBlock(name)) {
            m_builder.beginBlock();
            walkChildren(node, style, preformatted || name == "pre" || name == "xmp");
            m_builder.endBlock();
        } else {
            walkChildren(node, style, preformatted);
        }
    }

    static bool isBlock(const std::string& name) {
        static const std::set<std::string> blocks = {
            "p",       "div",     "pre",    "xmp",   "address", "article",  "aside",
            "section", "header",  "footer", "nav",   "main",    "figure",   "figcaption",
            "center",  "dl",      "dt",     "dd",    "form",    "fieldset", "legend",
            "table",   "caption", "thead",  "tbody", "tfoot",   "tr",       "hr",
            "details", "summary", "hgroup", "body",  "html"};
        return blocks.contains(name);
    }

    RichImage image(xmlNode* node) {
        RichImage picture;
        picture.source = attribute(node, "src").value_or("");
        picture.alt = attribute(node, "alt").value_or("");
        picture.requestedWidth = dimensionAttribute(node, "width");
        picture.requestedHeight = dimensionAttribute(node, "height");
        if (auto bytes = imageBytesForSource(picture.source, m_options.baseFolder)) {
            describeImage(picture, std::move(*bytes));
        }
        return picture;
    }

    const HTMLReadOptions& m_options;
    RichTextBuilder m_builder;
};

}  // namespace

RichText readHTML(std::string_view html, const HTMLReadOptions& options) {
    if (html.empty()) return {};
    const std::string input = parserInput(html);
    if (input.size() > INT_MAX) return {};
    Owned<xmlDoc, xmlFreeDoc> document(htmlReadMemory(
        input.data(), static_cast<int>(input.size()), nullptr, "UTF-8",
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
    if (!document) return {};
    Walker walker(options);
    for (xmlNode* node = document->children; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) walker.walkChildren(node, {}, false);
    }
    return walker.finish();
}

}  // namespace platform
