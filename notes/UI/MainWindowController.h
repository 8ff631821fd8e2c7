#pragma once

#include <memory>
#include <optional>
#include <string>

#include "notes/UI/NoteExporter.h"
#include "notes/UI/PanelOutputs.h"
#include "notes/store/NoteObject.h"
#include "platform/ui/SplitView.h"
#include "platform/ui/WindowController.h"

namespace platform {
class Button;
class ImageView;
class SegmentedControl;
class View;
class ViewController;
}  // namespace platform

namespace zelvo {

class BackgroundView;

// The main window: the group list, the split view with the note list and the editor side, the
// Unicode and word-count panels under and beside the editor, and the panel switch. It owns the
// five panel controllers, made from their interface files, and is the split view's delegate.
// Panels reach it only through the two panel-switch notices, which carry it as their object
// (a PanelOutputs*).
class MainWindowController : public platform::WindowController,
                             public platform::SplitViewDelegate,
                             public ExportHost,
                             public PanelOutputs {
  public:
    MainWindowController();
    ~MainWindowController() override;

    // Split view delegate.
    double constrainMinCoordinate(platform::SplitView& splitView, double proposedMinimum,
                                  int dividerIndex) override;
    double constrainMaxCoordinate(platform::SplitView& splitView, double proposedMaximum,
                                  int dividerIndex) override;
    bool shouldAdjustSizeOfSubview(platform::SplitView& splitView, platform::View& view) override;
    bool canCollapseSubview(platform::SplitView& splitView, platform::View& view) override;

    // Closing the window stores the note being edited first; so does leaving it, when changed.
    void windowWillClose(platform::Window& window) override;
    void windowDidResignKey(platform::Window& window) override;

    // Panel switching: the segmented control's action and the three menu actions.
    void expandPanelAction();
    void menuExpandNaivigator();
    void menuExpandLog();
    void menuExpandInfo();
    void setSegmentImage(bool selected, int segment);
    void expandNotesAction(bool open);
    void expandUnicodePannel(bool open);
    void expandInfoAction(bool open);

    // The code points of the text, each UTF-16 unit as "\U" with at least four upper-case hex
    // digits and two blanks.
    static std::u16string utf8ToUnicode(const std::u16string& text);
    void setUnicodeString(const std::u16string& text);
    // What the panels feed, as the editor hands it over.
    void setUnicodeString(const std::string& text) override;
    void setWordCountOfInfos(const std::string& text) override;

    bool unicodeExpanded() const override { return m_unicodeExpanded; }
    void setUnicodeExpanded(bool flag) { m_unicodeExpanded = flag; }
    bool infoExpanded() const override { return m_infoExpanded; }
    void setInfoExpanded(bool flag) { m_infoExpanded = flag; }
    bool notesExpanded() const { return m_notesExpanded; }
    bool isSaving() const { return m_saving; }
    void setSaving(bool flag) { m_saving = flag; }

    // Export (MainWindowControllerExport.cpp): Save As through the save panel, the HTML page's
    // body, Preview, the note archive writer and printing the editor page to a PDF file.
    void saveDocumentAs();
    void setupBody(std::function<void(std::string body)> answer);
    void preview();
    bool saveNoteWithPath(const std::optional<std::string>& path, const NoteObject* note);
    void saveAsPdf(const std::string& path,
                   std::function<void(bool printed, const std::string& failure)> done);
    // What the export asks of the window: the editor page, the panels, the note list.
    void editorHTML(std::function<void(std::optional<std::string>)> answer) override;
    void printEditorPage(const std::string& path,
                         std::function<void(bool, const std::string&)> done) override;
    std::optional<ExportPanelChoice> runSavePanel(const ExportPanelSetup& setup) override;
    bool confirmReplace(const std::string& path) override;
    void runAlert(const std::string& message, const std::string& informativeText) override;
    void runPreview(const std::string& html) override;
    std::shared_ptr<NoteObject> selectedNoteObject() override;

    // Sets the window title to "Zelvo (Untitled)".
    void resetWindowTitle();
    // Actions that do nothing.
    void viewInPDFView() {}
    void newDocument() {}

    // Sends an action ("saveDocument:", "addNote:") to this controller, else to the first panel
    // controller that answers it; whether someone did.
    bool sendActionToPanels(const std::string& action);

    // The outlets and panel controllers (null until the window is loaded).
    platform::SplitView* container() const { return m_container.get(); }
    platform::View* left() const { return m_left.get(); }
    platform::View* right() const { return m_right.get(); }
    platform::View* editorContainer() const { return m_editorContainer.get(); }
    platform::View* rightViewContainer() const { return m_rightViewContainer.get(); }
    platform::View* unicodeView() const { return m_unicodeView.get(); }
    platform::View* infoView() const { return m_infoView.get(); }
    BackgroundView* fileView() const { return m_fileView.get(); }
    platform::SegmentedControl* segment() const { return m_segment.get(); }
    platform::Button* addNoteItem() const { return m_addNoteItem.get(); }
    platform::Button* removeNoteItem() const { return m_removeNoteItem.get(); }
    platform::ViewController* fileViewController() const { return m_fileViewController.get(); }
    platform::ViewController* noteViewController() const { return m_noteViewController.get(); }
    platform::ViewController* editorViewController() const { return m_editorViewController.get(); }
    platform::ViewController* unicodeViewController() const {
        return m_unicodeViewController.get();
    }
    platform::ViewController* infoViewController() const { return m_infoViewController.get(); }

  protected:
    void loadWindow() override;
    void windowDidLoad() override;

  private:
    double windowWidth();
    NoteExporter& exporter();

    std::shared_ptr<platform::SplitView> m_container;
    std::shared_ptr<platform::View> m_left, m_right, m_editorContainer, m_rightViewContainer;
    std::shared_ptr<platform::View> m_unicodeView, m_infoView;
    std::shared_ptr<BackgroundView> m_fileView;
    std::shared_ptr<platform::ImageView> m_rightSepline, m_leftSepline;
    std::shared_ptr<platform::Button> m_addNoteItem, m_removeNoteItem;
    std::shared_ptr<platform::SegmentedControl> m_segment;
    bool m_infoExpanded = false;
    bool m_notesExpanded = true;
    bool m_unicodeExpanded = false;
    bool m_saving = false;
    std::shared_ptr<platform::ViewController> m_fileViewController, m_noteViewController,
        m_editorViewController, m_unicodeViewController, m_infoViewController;
    std::unique_ptr<NoteExporter> m_exporter;
};

}  // namespace zelvo
