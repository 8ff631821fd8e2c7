// The export commands of the main window: the window's side of NoteExporter.
#include <filesystem>

#include "notes/UI/EditorViewController.h"
#include "notes/UI/MainWindowController.h"
#include "notes/UI/NoteViewController.h"
#include "notes/UI/PreviewHTMLWindow.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Application.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/SavePanel.h"
#include "platform/ui/TextField.h"
#include "platform/web/WebView.h"

namespace zelvo {

using platform::Rect;

NoteExporter& MainWindowController::exporter() {
    if (!m_exporter) m_exporter = std::make_unique<NoteExporter>(*this);
    return *m_exporter;
}

void MainWindowController::saveDocumentAs() {
    exporter().saveDocumentAs();
}

void MainWindowController::setupBody(std::function<void(std::string)> answer) {
    editorHTML([answer](std::optional<std::string> html) {
        answer(NoteExporter::setupBody(html.value_or("")));
    });
}

void MainWindowController::preview() {
    exporter().preview();
}

bool MainWindowController::saveNoteWithPath(const std::optional<std::string>& path,
                                            const NoteObject* note) {
    return exporter().saveNoteWithPath(path, note);
}

void MainWindowController::saveAsPdf(const std::string& path,
                                     std::function<void(bool, const std::string&)> done) {
    auto* editor = dynamic_cast<EditorViewController*>(m_editorViewController.get());
    platform::WebView* page = editor ? editor->webview() : nullptr;
    if (!page) return done(false, "");
    // Pages follow one another down the document; nothing is centred.
    page->printToPDF(path, platform::PrintSetup{}, std::move(done));
}

void MainWindowController::editorHTML(std::function<void(std::optional<std::string>)> answer) {
    auto* editor = dynamic_cast<EditorViewController*>(m_editorViewController.get());
    if (!editor) return answer(std::nullopt);
    editor->getHTML(std::move(answer));
}

void MainWindowController::printEditorPage(const std::string& path,
                                           std::function<void(bool, const std::string&)> done) {
    saveAsPdf(path, std::move(done));
}

std::optional<ExportPanelChoice> MainWindowController::runSavePanel(const ExportPanelSetup& setup) {
    platform::SavePanel panel;
    panel.setNameFieldStringValue(setup.fileName);
    panel.setMessage(setup.message);
    panel.setExtensionHidden(setup.extensionHidden);
    panel.setCanCreateDirectories(setup.canCreateDirectories);
    // The format is appended after the panel: the exporter asks about the file really written.
    panel.setAsksBeforeReplacing(false);

    auto accessory =
        std::make_shared<platform::View>(Rect(0, 0, setup.accessoryWidth, setup.accessoryHeight));
    auto label = platform::TextField::labelWithString(
        setup.label, Rect(setup.labelX, setup.labelY, setup.labelWidth, setup.labelHeight));
    auto formats = std::make_shared<platform::ComboBox>(
        Rect(setup.comboX, setup.comboY, setup.comboWidth, setup.comboHeight));
    formats->setEditable(false);
    formats->addItemsWithObjectValues(setup.formats);
    formats->setStringValue(setup.format);
    accessory->addSubview(label);
    accessory->addSubview(formats);
    panel.setAccessoryView(accessory);

    if (panel.runModal() != platform::SavePanel::ModalResponseOK || !panel.path()) {
        return std::nullopt;
    }
    return ExportPanelChoice{*panel.path(), formats->stringValue()};
}

bool MainWindowController::confirmReplace(const std::string& path) {
    platform::Alert alert;
    alert.setMessageText("\u201C" + std::filesystem::path(path).filename().string() +
                         "\u201D already exists. Do you want to replace it?");
    alert.setInformativeText("A file with the same name already exists in \u201C" +
                             std::filesystem::path(path).parent_path().string() +
                             "\u201D. Replacing it will overwrite its current contents.");
    alert.addButtonWithTitle("Cancel");
    alert.addButtonWithTitle("Replace");
    return alert.runModal() == platform::Alert::FirstButtonReturn + 1;
}

void MainWindowController::runAlert(const std::string& message,
                                    const std::string& informativeText) {
    platform::Alert alert;
    alert.setMessageText(message);
    alert.addButtonWithTitle("OK");
    alert.setInformativeText(informativeText);
    alert.runModal();
}

void MainWindowController::runPreview(const std::string& html) {
    auto preview = std::make_shared<PreviewHTMLWindow>();
    preview->setHtmlString(html);
    platform::Application::sharedApplication().runModalForWindow(*preview->window());
}

std::shared_ptr<NoteObject> MainWindowController::selectedNoteObject() {
    auto* notes = dynamic_cast<NoteViewController*>(m_noteViewController.get());
    return notes ? notes->selectedNoteObject() : nullptr;
}

}  // namespace zelvo
