#pragma once

#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "notes/UI/NoteExporter.h"

// The export to a path with a host that answers at once: whether a file was written.
inline bool exported(zelvo::NoteExporter& exporter, const std::string& format,
                     const std::string& path) {
    bool written = false;
    exporter.exportToPath(format, path, [&](bool done) { written = done; });
    return written;
}

// The window around the export, recorded: a scripted editor page, a scripted save panel, and the
// alerts and previews it was asked for.
class FakeExportHost : public zelvo::ExportHost {
  public:
    std::optional<std::string> html = std::string("<p>note</p>");
    std::optional<zelvo::ExportPanelChoice> choice;
    std::optional<std::string> pdfBytes = std::string("%PDF-1.5 fake");
    std::shared_ptr<NoteObject> note;

    std::vector<zelvo::ExportPanelSetup> panels;
    std::vector<std::pair<std::string, std::string>> alerts;
    std::vector<std::string> previews;
    std::vector<std::string> printedPaths;
    std::vector<std::string> replaceQuestions;
    bool replaceAnswer = false;
    int htmlReads = 0;

    void editorHTML(std::function<void(std::optional<std::string>)> answer) override {
        ++htmlReads;
        answer(html);
    }
    void printEditorPage(const std::string& path,
                         std::function<void(bool, const std::string&)> done) override {
        printedPaths.push_back(path);
        if (pdfBytes) std::ofstream(path, std::ios::binary) << *pdfBytes;
        done(pdfBytes.has_value(), "");
    }
    std::optional<zelvo::ExportPanelChoice> runSavePanel(
        const zelvo::ExportPanelSetup& setup) override {
        panels.push_back(setup);
        return choice;
    }
    bool confirmReplace(const std::string& path) override {
        replaceQuestions.push_back(path);
        return replaceAnswer;
    }
    void runAlert(const std::string& message, const std::string& informativeText) override {
        alerts.emplace_back(message, informativeText);
    }
    void runPreview(const std::string& htmlText) override { previews.push_back(htmlText); }
    std::shared_ptr<NoteObject> selectedNoteObject() override { return note; }
};
