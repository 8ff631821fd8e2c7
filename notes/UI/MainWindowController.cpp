#include "notes/UI/MainWindowController.h"

#include <array>
#include <cstdio>

#include "notes/UI/Extend/BackgroundView.h"
#include "notes/UI/InfoViewController.h"
#include "notes/UI/InterfaceFactory.h"
#include "notes/UI/NoteExporter.h"
#include "notes/UI/NoteNotifications.h"
#include "notes/UI/UnicodeViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/View.h"

namespace zelvo {

using platform::Rect;
using platform::View;

MainWindowController::MainWindowController() : WindowController("MainWindowController") {
    registerAction("menuExpandNaivigator:", [this] { menuExpandNaivigator(); });
    registerAction("menuExpandLog:", [this] { menuExpandLog(); });
    registerAction("menuExpandInfo:", [this] { menuExpandInfo(); });
    registerAction("saveDocumentAs:", [this] { saveDocumentAs(); });
    registerAction("preview:", [this] { preview(); });
}

MainWindowController::~MainWindowController() {
    m_exporter.reset();
    if (m_container) m_container->setDelegate(nullptr);
}

double MainWindowController::windowWidth() {
    return window()->frame().width();
}

void MainWindowController::windowDidLoad() {
    WindowController::windowDidLoad();
    m_notesExpanded = true;
    m_unicodeExpanded = false;
    m_infoExpanded = false;

    struct Panel {
        const char* nibName;
        std::shared_ptr<platform::ViewController>* property;
        View* container;
    };
    const std::array<Panel, 5> panels = {{
        {"FileViewController", &m_fileViewController, m_fileView.get()},
        {"NoteViewController", &m_noteViewController, m_left.get()},
        {"EditorViewController", &m_editorViewController, m_editorContainer.get()},
        {"UnicodeViewController", &m_unicodeViewController, m_unicodeView.get()},
        {"InfoViewController", &m_infoViewController, m_infoView.get()},
    }};
    for (const Panel& panel : panels) {
        *panel.property = InterfaceFactory::makeViewController(panel.nibName);
        std::shared_ptr<View> view = (*panel.property)->viewPointer();
        view->setFrame(panel.container->bounds());
        // The panel follows its container when the window is resized.
        view->setAutoresizingMask(View::ViewWidthSizable | View::ViewHeightSizable);
        panel.container->addSubview(view);
    }
}

// Split view: divider 0 moves between 200 and 240; divider 1 stays 320 points from the window's
// right edge.
double MainWindowController::constrainMinCoordinate(platform::SplitView&, double, int index) {
    if (index == 0) return 200;
    if (index == 1) return windowWidth() - 320;
    return 200;
}

double MainWindowController::constrainMaxCoordinate(platform::SplitView&, double, int index) {
    if (index == 0) return 240;
    if (index == 1) return windowWidth() - 320;
    return 300;
}

bool MainWindowController::shouldAdjustSizeOfSubview(platform::SplitView&, View& view) {
    if (&view == m_left.get()) return view.frame().width() > 200;
    return true;
}

bool MainWindowController::canCollapseSubview(platform::SplitView&, View&) {
    return true;
}

void MainWindowController::expandPanelAction() {
    bool notes = m_segment->isSelectedForSegment(0);
    bool unicode = m_segment->isSelectedForSegment(1);
    bool info = m_segment->isSelectedForSegment(2);
    setSegmentImage(notes, 0);
    setSegmentImage(unicode, 1);
    setSegmentImage(info, 2);
    expandNotesAction(notes);
    expandUnicodePannel(unicode);
    expandInfoAction(info);
}

void MainWindowController::setSegmentImage(bool selected, int segment) {
    static const std::array<const char*, 3> names = {"menu_left", "menu_middle", "menu_right"};
    std::string name;
    if (segment >= 0 && segment < int(names.size()))
        name = std::string(names[segment]) + (selected ? "_HL" : "");
    // The empty name is no image at all.
    m_segment->setImage(name.empty() ? std::nullopt : std::optional<std::string>(name), segment);
}

void MainWindowController::menuExpandNaivigator() {
    m_segment->setSelected(!m_segment->isSelectedForSegment(0), 0);
    expandPanelAction();
}

void MainWindowController::menuExpandLog() {
    m_segment->setSelected(!m_segment->isSelectedForSegment(1), 1);
    expandPanelAction();
}

void MainWindowController::menuExpandInfo() {
    m_segment->setSelected(!m_segment->isSelectedForSegment(2), 2);
    expandPanelAction();
}

void MainWindowController::expandNotesAction(bool open) {
    if (open == m_notesExpanded) return;
    m_container->setPosition(open ? 200 : 0, 0);
    Rect frame = m_container->frame();
    frame.size.width = windowWidth() - 80;
    m_container->setFrame(frame);
    m_notesExpanded = open;
}

void MainWindowController::expandUnicodePannel(bool open) {
    if (open == m_unicodeExpanded) return;
    if (open) {
        Rect unicode = m_unicodeView->frame();
        unicode.origin.y = 0;
        unicode.size.height = 96;
        m_unicodeView->setFrame(unicode);
        Rect editor = m_editorContainer->frame();
        editor.origin.y = 100;
        editor.size.height = m_right->frame().height() - 100;
        m_editorContainer->setFrame(editor);
    } else {
        // The editor fills its own container, which the word-count strip may have narrowed:
        // the whole right side would run under that strip.
        m_editorContainer->setFrame(m_rightViewContainer->bounds());
        Rect unicode = m_unicodeView->frame();
        unicode.origin.y = 0;
        unicode.size.height = 0;
        m_unicodeView->setFrame(unicode);
    }
    m_unicodeExpanded = open;
    platform::NotificationCenter::defaultCenter().postNotificationName(
        NOTI_NOTE_UNICODE_SWITCH_CHANGED, static_cast<PanelOutputs*>(this));
}

void MainWindowController::expandInfoAction(bool open) {
    if (open == m_infoExpanded) return;
    double rightWidth = m_right->frame().width();
    if (open) {
        Rect info = m_infoView->frame();
        info.size.width = 40;
        info.origin.x = rightWidth - 40;
        m_infoView->setFrame(info);
        Rect rest = m_rightViewContainer->frame();
        rest.size.width = rightWidth - 40;
        m_rightViewContainer->setFrame(rest);
    } else {
        m_rightViewContainer->setFrame(m_right->bounds());
        Rect info = m_infoView->frame();
        info.origin.x = rightWidth;
        info.size.width = 0;
        m_infoView->setFrame(info);
    }
    m_infoExpanded = open;
    platform::NotificationCenter::defaultCenter().postNotificationName(
        NOTI_NOTE_INFOS_SWITCH_CHANGED, static_cast<PanelOutputs*>(this));
}

std::u16string MainWindowController::utf8ToUnicode(const std::u16string& text) {
    std::u16string out;
    char unit[16];
    for (char16_t c : text) {
        std::snprintf(unit, sizeof unit, "\\U%.4X  ", unsigned(c));
        for (const char* p = unit; *p; ++p) out.push_back(char16_t(*p));
    }
    return out;
}

void MainWindowController::setUnicodeString(const std::u16string& text) {
    auto* panel = dynamic_cast<UnicodeViewController*>(m_unicodeViewController.get());
    if (!panel) return;
    panel->unicodeTextView()->setString(platform::utf8FromUtf16(utf8ToUnicode(text)));
}

void MainWindowController::setUnicodeString(const std::string& text) {
    setUnicodeString(platform::utf16FromUtf8(text));
}

void MainWindowController::setWordCountOfInfos(const std::string& text) {
    auto* panel = dynamic_cast<InfoViewController*>(m_infoViewController.get());
    if (!panel) return;
    panel->wordCountLabel()->setStringValue(text);
}

void MainWindowController::resetWindowTitle() {
    window()->setTitle("Zelvo (Untitled)");
}

void MainWindowController::windowWillClose(platform::Window& window) {
    WindowController::windowWillClose(window);
    sendActionToPanels("saveDocument:");
}

void MainWindowController::windowDidResignKey(platform::Window&) {
    sendActionToPanels("windowDidResignKey:");
}

bool MainWindowController::sendActionToPanels(const std::string& action) {
    if (performAction(action)) return true;
    for (const auto& panel : {m_editorViewController, m_noteViewController, m_fileViewController,
                              m_unicodeViewController, m_infoViewController})
        if (panel && panel->performAction(action)) return true;
    return false;
}

}  // namespace zelvo
