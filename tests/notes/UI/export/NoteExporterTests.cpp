#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "notes/UI/NoteExporter.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "tests/notes/UI/export/FakeExportHost.h"
#include "tests/support/FileContents.h"
#include "tests/support/TemporaryFolder.h"

using namespace zelvo;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

const char* kMongolianNote =
    "<p>ᠮᠣᠩᠭᠣᠯ ᠤᠨ\u202Fᠤ "
    "ᠰᠤᠩᠭ᠋ᠤᠭᠠᠷᠠᠢ</p><ul><li>{a}\\b</li></ul>";

}  // namespace

TEST(NoteExport, HTMLPageIsExactlyTheFixedHeadStyleAndBody) {
    std::string expected =
        "<html><head><meta http-equiv=\"content-type\" content=\"text/html;charset=utf-8\"/>"
        "<title>建议使用Safari打开</title><style type=\"text/css\">"
        "* {outline: 0px solid transparent; -webkit-tap-highlight-color: rgba(0,0,0,0); "
        "-webkit-touch-callout: none;} "
        "html, body {padding:0;margin:0;font-family:Noto Sans Mongolian, serif;"
        "background-color: #282c34;color: #cbcbcb;}"
        "body{padding:10px;overflow-y: scroll;-webkit-overflow-scrolling: touch;} "
        "img.zs_active {border: 2px dashed #000;} "
        "audio {padding: 20px 0;} "
        "@font-face {font-family:'Noto Sans Mongolian';src: url('Noto Sans Mongolian.ttf');"
        "font-weight: normal;font-style: normal;}"
        ".editor_style{margin:10px auto;padding:10px;-moz-writing-mode: vertical-lr;"
        "-webkit-writing-mode: vertical-lr;-o-writing-mode: vertical-lr;"
        "-ms-writing-mode: tb-lr;writing-mode: vertical-lr;-webkit-text-orientation: "
        "sideways-right;"
        "line-height: 1.5;page-break-before: auto;page-break-after: always;}"
        "p {padding:0px;margin:0px;line-height: 1.5;}"
        "img{max-height:600px;max-width:800px;}"
        "</style></head><body><div class=\"editor_style\"><p>ᠮᠣᠩᠭᠣᠯ</p></div></body></html>";
    EXPECT_EQ(NoteExporter::htmlPage("<p>ᠮᠣᠩᠭᠣᠯ</p>", "Noto Sans Mongolian"), expected);
    EXPECT_EQ(NoteExporter::setupBody(""), "<body><div class=\"editor_style\"></div></body>");
}

TEST(NoteExport, SaveAsAppendsTheFormatToTheChosenPathAndLogsIt) {
    TemporaryFolder folder("export");
    FakeExportHost host;
    NoteExporter exporter(host);
    host.choice = ExportPanelChoice{folder.file("a.txt"), ".txt"};
    host.html = kMongolianNote;
    platform::LogCapture log;
    exporter.saveDocumentAs();

    ASSERT_EQ(host.panels.size(), 1u);
    const ExportPanelSetup& panel = host.panels[0];
    EXPECT_EQ(panel.fileName, "未命名");
    EXPECT_EQ(panel.message, "请选择文件的格式和存储路径");
    EXPECT_EQ(panel.label, "请选择文件格式: ");
    EXPECT_EQ(panel.formats, (std::vector<std::string>{".txt", ".html", ".rtf", ".pdf"}));
    EXPECT_EQ(panel.format, ".txt");
    EXPECT_TRUE(log.contains("您选择了 .txt 格式"));
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"a.txt.txt"});
    EXPECT_EQ(
        fileContents(folder.file("a.txt.txt")),
        "ᠮᠣᠩᠭᠣᠯ ᠤᠨ\u202Fᠤ ᠰᠤᠩᠭ᠋ᠤᠭᠠᠷᠠᠢ\n\t\u2022\t{a}\\b\n");
    EXPECT_TRUE(host.alerts.empty());
}

TEST(NoteExport, CancelWritesNothingAndUnknownFormatsGetTheAlert) {
    TemporaryFolder folder("export");
    FakeExportHost host;
    NoteExporter exporter(host);
    exporter.saveDocumentAs();  // the panel answers Cancel
    EXPECT_TRUE(folderEntries(folder.path()).empty());
    EXPECT_EQ(host.htmlReads, 0);

    host.choice = ExportPanelChoice{folder.file("b"), ".doc"};
    exporter.saveDocumentAs();
    ASSERT_EQ(host.alerts.size(), 1u);
    EXPECT_EQ(host.alerts[0], std::make_pair(std::string("请选择一种格式!"), std::string()));
    EXPECT_TRUE(folderEntries(folder.path()).empty());
}

TEST(NoteExport, EveryFormatWritesItsFileWhole) {
    TemporaryFolder folder("export");
    FakeExportHost host;
    host.html = kMongolianNote;
    NoteExporter exporter(host);

    ASSERT_TRUE(exported(exporter, ".html", folder.file("note.html")));
    std::string page = fileContents(folder.file("note.html"));
    EXPECT_TRUE(page.starts_with(
        "<html><head><meta http-equiv=\"content-type\" content=\"text/html;charset=utf-8\"/>"));
    EXPECT_TRUE(page.ends_with(std::string(kMongolianNote) + "</div></body></html>"));
    // The font the page's rule names stands beside it, the installed file itself.
    if (auto font = platform::Font::fileForFamily(platform::Font::DisplayFontFamily)) {
        EXPECT_EQ(fileContents(folder.file("Noto Sans Mongolian.ttf")), fileContents(*font));
    }

    ASSERT_TRUE(exported(exporter, ".rtf", folder.file("note.rtf")));
    std::string rtf = fileContents(folder.file("note.rtf"));
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
    EXPECT_NE(rtf.find("Noto Sans Mongolian;"), std::string::npos);
    EXPECT_NE(rtf.find("\\u8239?"), std::string::npos);  // U+202F
    EXPECT_NE(rtf.find("\\{a\\}\\\\b"), std::string::npos);

    ASSERT_TRUE(exported(exporter, ".pdf", folder.file("note.pdf")));
    EXPECT_EQ(fileContents(folder.file("note.pdf")), "%PDF-1.5 fake");
    // The page printed into a temporary file that was then renamed.
    ASSERT_EQ(host.printedPaths.size(), 1u);
    EXPECT_NE(host.printedPaths[0], folder.file("note.pdf"));
    EXPECT_TRUE(host.alerts.empty());
}

TEST(NoteExport, FailuresAreReportedAndLeaveNoFile) {
    TemporaryFolder folder("export");
    FakeExportHost host;
    NoteExporter exporter(host);
    for (const char* format : {".txt", ".html", ".rtf", ".pdf"}) {
        // A folder that does not exist.
        std::string path = folder.file("missing/note") + format;
        host.alerts.clear();
        EXPECT_FALSE(exported(exporter, format, path)) << format;
        ASSERT_EQ(host.alerts.size(), 1u) << format;
        EXPECT_EQ(host.alerts[0].first, "文件保存失败!");
        EXPECT_NE(host.alerts[0].second.find(path), std::string::npos);
    }
    // A printer that fails, and a page that does not answer: the old file stays as it was.
    std::ofstream(folder.file("old.pdf")) << "old";
    host.pdfBytes.reset();
    host.alerts.clear();
    EXPECT_FALSE(exported(exporter, ".pdf", folder.file("old.pdf")));
    host.html.reset();
    EXPECT_FALSE(exported(exporter, ".txt", folder.file("old.pdf")));
    EXPECT_EQ(host.alerts.size(), 2u);
    EXPECT_EQ(fileContents(folder.file("old.pdf")), "old");
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"old.pdf"});
}

// The panel could only ask about the name as typed; the file really written gets its own question.
TEST(NoteExport, AnExistingFinalFileIsReplacedOnlyWhenTheUserAgrees) {
    TemporaryFolder folder("export");
    FakeExportHost host;
    NoteExporter exporter(host);
    std::ofstream(folder.file("mine.txt")) << "mine";
    host.choice = ExportPanelChoice{folder.file("mine"), ".txt"};
    exporter.saveDocumentAs();
    EXPECT_EQ(host.replaceQuestions, std::vector<std::string>{folder.file("mine.txt")});
    EXPECT_EQ(fileContents(folder.file("mine.txt")), "mine");

    host.replaceAnswer = true;
    exporter.saveDocumentAs();
    EXPECT_EQ(fileContents(folder.file("mine.txt")), "note\n");
    host.choice = ExportPanelChoice{folder.file("new"), ".txt"};
    exporter.saveDocumentAs();
    EXPECT_EQ(host.replaceQuestions.size(), 2u);
    EXPECT_TRUE(host.alerts.empty());
}

// A page without the font its style names is half an export: nothing of it is left behind.
TEST(NoteExport, AnHTMLPageWhoseFontCannotBeCopiedIsNotWritten) {
    if (!platform::Font::fileForFamily(platform::Font::DisplayFontFamily))
        GTEST_SKIP() << "the display font is not installed";
    TemporaryFolder folder("export");
    FakeExportHost host;
    NoteExporter exporter(host);
    // A folder where the font goes: no writer can put a file in its place, root included.
    fs::create_directory(folder.file("Noto Sans Mongolian.ttf"));
    EXPECT_FALSE(exported(exporter, ".html", folder.file("note.html")));
    ASSERT_EQ(host.alerts.size(), 1u);
    EXPECT_EQ(host.alerts[0].first, "文件保存失败!");
    EXPECT_NE(host.alerts[0].second.find("Noto Sans Mongolian.ttf"), std::string::npos);
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"Noto Sans Mongolian.ttf"});
}

TEST(NoteExport, PreviewShowsTheEditorsHTML) {
    FakeExportHost host;
    NoteExporter exporter(host);
    exporter.preview();
    host.html.reset();
    exporter.preview();
    EXPECT_EQ(host.previews, (std::vector<std::string>{"<p>note</p>", ""}));
}
