#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/foundation/UnicodeString.h"
#include "platform/richtext/HTMLReader.h"
#include "platform/richtext/PlainTextWriter.h"
#include "platform/richtext/RTFWriter.h"
#include "tests/support/CollapsedSpace.h"
#include "tests/support/FileContents.h"
#include "tests/support/TemporaryFolder.h"

using namespace platform;

namespace {

std::string goldenPath(const std::string& name) {
    return std::string(RICHTEXT_GOLDEN) + "/" + name;
}

// With MW_REGENERATE_GOLDEN set the golden file is rewritten from the output (for a person to
// review in the diff); otherwise the output must equal it byte for byte.
void expectGolden(const std::string& output, const std::string& name) {
    if (std::getenv("MW_REGENERATE_GOLDEN")) {
        std::ofstream(goldenPath(name), std::ios::binary) << output;
        return;
    }
    EXPECT_EQ(output, fileContents(goldenPath(name))) << "golden file " << name;
}

}  // namespace

TEST(RichTextGolden, NoteWritesTheSamePlainTextAndRTFAsReviewed) {
    RichText text = readHTML(fileContents(goldenPath("note.html")));
    expectGolden(plainText(text), "note.txt");
    expectGolden(rtfData(text, RTFOptions{"Noto Sans Mongolian", 12}), "note.rtf");
}

// unrtf's text mode prints the fallback "?" for every escaped unit, so the words beyond ASCII are
// read back through its HTML mode, which gives each UTF-16 unit as a numeric entity.
std::string decodeUnitEntities(const std::string& html) {
    std::u16string units;
    for (size_t i = 0; i < html.size();) {
        if (html[i] == '<') {  // unrtf opens and closes font elements between words
            i = html.find('>', i) + 1;
        } else if (html.compare(i, 2, "&#") == 0) {
            size_t end = html.find(';', i);
            units += static_cast<char16_t>(std::stoi(html.substr(i + 2, end - i - 2)));
            i = end + 1;
        } else {
            units += static_cast<char16_t>(static_cast<unsigned char>(html[i++]));
        }
    }
    return utf8FromUtf16(units);
}

std::string unrtf(const std::string& mode, const std::string& path) {
    std::string out = commandOutput("unrtf --" + mode + " '" + path + "' 2>/dev/null");
    std::string body;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        // Its banner: comment lines, a rule, the HTML head.
        if (line.starts_with("###") || line.starts_with("-----") || line.starts_with("<!") ||
            line.starts_with("<meta") || line.starts_with("<html") || line.starts_with("<head") ||
            line.starts_with("</head") || line.starts_with("<title")) {
            continue;
        }
        body += line + "\n";
    }
    return collapsedSpace(body);
}

TEST(RichTextGolden, RTFReadsBackWithUnrtfToTheSameWords) {
    if (std::system("command -v unrtf >/dev/null 2>&1") != 0) GTEST_SKIP() << "unrtf missing";
    RichText text = readHTML(fileContents(goldenPath("note.html")));
    TemporaryFolder folder("richtext");
    std::string path = folder.file("note.rtf");
    std::ofstream(path, std::ios::binary) << rtfData(text);

    std::string words = unrtf("text", path);
    for (const char* expected :
         {"Title {of} the \\note\\", "first line second line continues", "Plain bold, italic,",
          "H2O and x2; both.", "one", "two", "nested", "3. three 4. four", "and a surrogate",
          "(U+1D11E).", "Braces { } and backslash \\ in a heading"}) {
        EXPECT_NE(words.find(expected), std::string::npos) << expected << "\nin:\n" << words;
    }
    // unrtf shows a link's field instruction, not its result: the address stands for the word.
    EXPECT_NE(words.find("A \"https://example.org/a?b=%22c%22\""), std::string::npos);
    std::string html = decodeUnitEntities(unrtf("html", path));
    for (const char* expected :
         {"ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ ᠤᠨ\u202Fᠤ ᠰᠤᠩᠭ᠋ᠤᠭᠠᠷᠠᠢ",
          "surrogate 𝄞 (U+1D11E)"}) {
        EXPECT_NE(html.find(expected), std::string::npos) << expected << "\nin:\n" << html;
    }
}
