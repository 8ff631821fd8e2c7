#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notes/store/NoteObject.h"

namespace zelvo {

// The user default holding the path of the last note archive written.
inline constexpr const char* NOTE_LASTSAVED_PATH_KEY = "NOTE_LASTSAVED_PATH_KEY";

// How the save panel of Save As is set up: the panel's texts and its accessory (a label and a
// format chooser), frames in points of the accessory.
struct ExportPanelSetup {
    std::string fileName = "未命名";
    std::string message = "请选择文件的格式和存储路径";
    bool extensionHidden = true;
    bool canCreateDirectories = true;
    double accessoryWidth = 230, accessoryHeight = 40;
    std::string label = "请选择文件格式: ";
    double labelX = 0, labelY = 10, labelWidth = 140, labelHeight = 20;
    double comboX = 150, comboY = 8, comboWidth = 80, comboHeight = 25;
    std::vector<std::string> formats = {".txt", ".html", ".rtf", ".pdf"};
    std::string format = ".txt";
};

// What the user chose in the save panel: the path of its URL and the format chooser's text.
struct ExportPanelChoice {
    std::string path;
    std::string format;
};

// What the export needs of the window around it: the editor page, the note list, the panels.
// MainWindowController is the real one; the tests bring a recording one.
class ExportHost {
  public:
    virtual ~ExportHost() = default;
    // The editor page's HTML as it is (unsaved edits included), answered once the page gave it;
    // absent when the page did not answer.
    virtual void editorHTML(std::function<void(std::optional<std::string> html)> answer) = 0;
    // Prints the rendered editor page into a PDF file at the path; `done` learns whether it was
    // written, and when not, why where the printer told (empty otherwise).
    virtual void printEditorPage(
        const std::string& path,
        std::function<void(bool printed, const std::string& failure)> done) = 0;
    // Runs the save panel modally; absent when the user did not press OK.
    virtual std::optional<ExportPanelChoice> runSavePanel(const ExportPanelSetup& setup) = 0;
    // Asks whether to replace the existing file at the path; whether the user agreed.
    virtual bool confirmReplace(const std::string& path) = 0;
    // Runs an alert with one "OK" button modally.
    virtual void runAlert(const std::string& message, const std::string& informativeText) = 0;
    // Shows the HTML in the full-screen preview, modally.
    virtual void runPreview(const std::string& html) = 0;
    virtual std::shared_ptr<NoteObject> selectedNoteObject() = 0;
};

// Save As, Preview and the note archive of the main window: takes the note out of the editor as
// plain text, an HTML page, RTF or PDF. Every file is written whole or not at all (a temporary file
// renamed into place), and a failure is told to the user in an alert.
class NoteExporter {
  public:
    explicit NoteExporter(ExportHost& host) : m_host(host) {}

    // The Save As command: the panel, then the file in the chosen format.
    void saveDocumentAs();
    // Writes the note in a format (".txt", ".html", ".rtf", ".pdf", ".zelvo") to the path as it
    // stands; an unknown format gets the "请选择一种格式!" alert. `done` learns whether a file was
    // written (once the editor page gave its HTML, for the formats made of it).
    void exportToPath(const std::string& format, const std::string& path,
                      std::function<void(bool written)> done = nullptr);
    // The Preview command.
    void preview();

    // The page's body: the editor's HTML in the vertical-writing division.
    static std::string setupBody(const std::string& editorHTML);
    // The whole HTML page for the editor's HTML, its font rule naming `fontFamily`.
    static std::string htmlPage(const std::string& editorHTML, const std::string& fontFamily);
    // The file the page's font rule points at, for a page at `pagePath`: "<family>.ttf" beside it.
    static std::string fontPathBesidePage(const std::string& pagePath,
                                          const std::string& fontFamily);

    // The note archive: a zip with the one entry "ZelvoFiles" (JSON with "n_text", "n_id",
    // "version"), dated a day back. Does nothing while it runs already or without a path or a
    // note. Whether the archive was written; on success the path is kept under
    // NOTE_LASTSAVED_PATH_KEY.
    bool saveNoteWithPath(const std::optional<std::string>& path, const NoteObject* note);
    bool isSaving() const { return m_saving; }

  private:
    bool writeText(const std::string& path, const std::string& contents);
    // The formats made of the editor's HTML (absent: the page did not answer).
    void writeFromHTML(const std::string& format, const std::string& path,
                       const std::optional<std::string>& html, std::function<void(bool)> done);
    bool writeHTMLPage(const std::string& path, const std::string& html);
    void writePDF(const std::string& path, std::function<void(bool)> done);
    void reportFailure(const std::string& path, const std::string& reason);

    ExportHost& m_host;
    bool m_saving = false;
};

}  // namespace zelvo
