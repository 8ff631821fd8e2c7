#include "notes/UI/NoteExporter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileContents.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/richtext/HTMLReader.h"
#include "platform/richtext/PlainTextWriter.h"
#include "platform/richtext/RTFWriter.h"

namespace zelvo {

namespace {

constexpr const char* kWriteFailedMessage = "文件保存失败!";

platform::RichText richTextOf(const std::string& html) {
    // Pictures the note names by relative path live beside the editor page.
    platform::HTMLReadOptions options{platform::Bundle::mainBundle().resourcePath()};
    return platform::readHTML(html, options);
}

}  // namespace

std::string NoteExporter::setupBody(const std::string& editorHTML) {
    return "<body><div class=\"editor_style\">" + editorHTML + "</div></body>";
}

std::string NoteExporter::htmlPage(const std::string& editorHTML, const std::string& fontFamily) {
    std::string page;
    page += "<html>";
    page += "<head>";
    page += "<meta http-equiv=\"content-type\" content=\"text/html;charset=utf-8\"/>";
    page += "<title>建议使用Safari打开</title>";
    page += "<style type=\"text/css\">";
    page +=
        "* {outline: 0px solid transparent; -webkit-tap-highlight-color: rgba(0,0,0,0); "
        "-webkit-touch-callout: none;} ";
    page += "html, body {padding:0;margin:0;font-family:" + fontFamily +
            ", serif;background-color: #282c34;color: #cbcbcb;}";
    page += "body{padding:10px;overflow-y: scroll;-webkit-overflow-scrolling: touch;} ";
    page += "img.zs_active {border: 2px dashed #000;} ";
    page += "audio {padding: 20px 0;} ";
    page += "@font-face {font-family:'" + fontFamily + "';src: url('" + fontFamily +
            ".ttf');font-weight: normal;font-style: normal;}";
    page +=
        ".editor_style{margin:10px auto;padding:10px;-moz-writing-mode: vertical-lr;"
        "-webkit-writing-mode: vertical-lr;-o-writing-mode: vertical-lr;-ms-writing-mode: tb-lr;"
        "writing-mode: vertical-lr;-webkit-text-orientation: sideways-right;line-height: 1.5;"
        "page-break-before: auto;page-break-after: always;}";
    page += "p {padding:0px;margin:0px;line-height: 1.5;}";
    page += "img{max-height:600px;max-width:800px;}";
    page += "</style>";
    page += "</head>";
    page += setupBody(editorHTML);
    page += "</html>";
    return page;
}

std::string NoteExporter::fontPathBesidePage(const std::string& pagePath,
                                             const std::string& fontFamily) {
    return (std::filesystem::path(pagePath).parent_path() / (fontFamily + ".ttf")).string();
}

void NoteExporter::saveDocumentAs() {
    std::optional<ExportPanelChoice> choice = m_host.runSavePanel(ExportPanelSetup{});
    if (!choice) return;
    platform::logf("您选择了 %s 格式", choice->format.c_str());
    // The format is appended as it stands, even to a name that ends with it already. The panel
    // could only ask about the name as typed: the question is about the file really written.
    std::string path = choice->path + choice->format;
    std::error_code error;
    if (std::filesystem::exists(path, error) && !m_host.confirmReplace(path)) return;
    exportToPath(choice->format, path);
}

void NoteExporter::exportToPath(const std::string& format, const std::string& path,
                                std::function<void(bool)> done) {
    if (!done) done = [](bool) {};
    if (format == ".zelvo") {
        std::shared_ptr<NoteObject> note = m_host.selectedNoteObject();
        bool written = saveNoteWithPath(path, note.get());
        if (!written && note) reportFailure(path, std::strerror(errno));
        return done(written);
    }
    if (format != ".txt" && format != ".rtf" && format != ".html" && format != ".pdf") {
        m_host.runAlert("请选择一种格式!", "");
        return done(false);
    }
    // The page's HTML is read first, as the command always did, for the PDF too: that is of the
    // page itself.
    m_host.editorHTML([this, format, path, done](std::optional<std::string> html) {
        writeFromHTML(format, path, html, done);
    });
}

void NoteExporter::writeFromHTML(const std::string& format, const std::string& path,
                                 const std::optional<std::string>& html,
                                 std::function<void(bool)> done) {
    if (!html) {
        reportFailure(path, "the editor page did not answer");
        return done(false);
    }
    if (format == ".html") return done(writeHTMLPage(path, *html));
    if (format == ".pdf") return writePDF(path, std::move(done));
    platform::RichText text = richTextOf(*html);
    done(writeText(path, format == ".txt"
                             ? platform::plainText(text)
                             : platform::rtfData(text, {platform::Font::DisplayFontFamily})));
}

bool NoteExporter::writeText(const std::string& path, const std::string& contents) {
    if (platform::writeFileAtomically(path, contents)) return true;
    reportFailure(path, std::strerror(errno));
    return false;
}

bool NoteExporter::writeHTMLPage(const std::string& path, const std::string& html) {
    const std::string family = platform::Font::DisplayFontFamily;
    // The page's font rule names "<family>.ttf" beside it: put the installed font there, so the
    // page shows its Mongolian wherever it is opened. A page without it still reads, in whatever
    // Mongolian font the reader has, so a font that is not installed is logged, not an error.
    // The export is whole or not at all: the font goes first, and no page is written without the
    // font it names, nor a new font left behind for a page that could not be written.
    std::optional<std::string> fontFile = platform::Font::fileForFamily(family);
    std::optional<std::string> font = fontFile ? platform::contentsOfFile(*fontFile) : std::nullopt;
    std::string target = fontPathBesidePage(path, family);
    bool fontAdded = false;
    if (!font) {
        platform::logf("%s: no font file for %s", __func__, family.c_str());
    } else if (platform::contentsOfFile(target) != font) {
        std::error_code error;
        bool existed = std::filesystem::exists(target, error);
        if (!platform::writeFileAtomically(target, *font)) {
            reportFailure(path, target + ": " + std::strerror(errno));
            return false;
        }
        fontAdded = !existed;
    }
    if (writeText(path, htmlPage(html, family))) return true;
    if (fontAdded) std::filesystem::remove(target);
    return false;
}

void NoteExporter::writePDF(const std::string& path, std::function<void(bool)> done) {
    struct Printing {
        bool printed = false;
        std::string failure;
    };
    auto printing = std::make_shared<Printing>();
    platform::replaceFileAtomicallyLater(
        path,
        [this, printing](const std::filesystem::path& temporary,
                         std::function<void(bool)> finished) {
            m_host.printEditorPage(temporary.string(), [printing, temporary, finished](
                                                           bool printed, const std::string& why) {
                std::error_code error;
                printing->printed = printed && std::filesystem::file_size(temporary, error) > 0;
                printing->failure = why;
                finished(printing->printed);
            });
        },
        [this, path, printing, done](bool written) {
            // The printer's reason, as the other formats give the system's; a printed file that
            // could not be put in place has the system's.
            if (!written)
                reportFailure(path, printing->printed           ? std::strerror(errno)
                                    : printing->failure.empty() ? "the page could not be printed"
                                                                : printing->failure);
            done(written);
        });
}

void NoteExporter::reportFailure(const std::string& path, const std::string& reason) {
    platform::logf("%s: %s: %s", __func__, path.c_str(), reason.c_str());
    m_host.runAlert(kWriteFailedMessage, path + "\n" + reason);
}

void NoteExporter::preview() {
    m_host.editorHTML(
        [this](std::optional<std::string> html) { m_host.runPreview(html.value_or("")); });
}

}  // namespace zelvo
