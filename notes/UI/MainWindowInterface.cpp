// The interface file "MainWindowController" as code: the window, its toolbar strip, the group
// list's place, the split view with the note list and the editor side, and the panel switch.
#include "notes/UI/Extend/BackgroundView.h"
#include "notes/UI/MainWindowController.h"
#include "platform/ui/Button.h"
#include "platform/ui/PlainTextView.h"
#include "platform/ui/SegmentedControl.h"

namespace zelvo {

using platform::Rect;
using platform::View;

namespace {
constexpr double initialWidth = 1000, windowHeight = 640;
constexpr double toolbarHeight = 40, groupListWidth = 80, noteListWidth = 200;
constexpr unsigned fill = View::ViewWidthSizable | View::ViewHeightSizable;
}  // namespace

void MainWindowController::loadWindow() {
    auto window = std::make_shared<platform::Window>(Rect(120, 120, initialWidth, windowHeight));
    window->setTitle("Zelvo");
    window->setMinSize({800, 480});
    View& content = *window->contentView();
    content.setAutoresizingMask(fill);
    const double bodyHeight = windowHeight - toolbarHeight;

    // The toolbar strip along the top: add and remove note, and the panel switch at the right.
    auto toolbar =
        std::make_shared<BackgroundView>(Rect(0, bodyHeight, initialWidth, toolbarHeight));
    toolbar->setBackgroundColor(platform::Color::calibratedRGB(0.90, 0.90, 0.91));
    toolbar->setAutoresizingMask(View::ViewWidthSizable | View::ViewMinYMargin);
    m_addNoteItem = std::make_shared<platform::Button>(Rect(groupListWidth + 8, 6, 32, 28));
    m_addNoteItem->setImageName("toolbar_add");
    m_addNoteItem->setToolTip("New note");
    m_addNoteItem->setAction([this](platform::Control&) { sendActionToPanels("addNote:"); });
    m_removeNoteItem = std::make_shared<platform::Button>(Rect(groupListWidth + 44, 6, 32, 28));
    m_removeNoteItem->setImageName("toolbar_remove");
    m_removeNoteItem->setToolTip("Delete note");
    m_removeNoteItem->setAction([this](platform::Control&) { sendActionToPanels("removeNote:"); });
    m_segment = std::make_shared<platform::SegmentedControl>(Rect(initialWidth - 140, 6, 126, 28));
    m_segment->setAutoresizingMask(View::ViewMinXMargin);
    m_segment->setTrackingMode(platform::SegmentedControl::Tracking::SelectAny);
    m_segment->setSegmentCount(3);
    for (int i = 0; i < 3; ++i) m_segment->setWidth(40, i);
    m_segment->setSelected(true, 0);
    m_segment->setImage("menu_left_HL", 0);
    m_segment->setImage("menu_middle", 1);
    m_segment->setImage("menu_right", 2);
    m_segment->setAction([this](platform::Control&) { expandPanelAction(); });
    toolbar->addSubview(m_addNoteItem);
    toolbar->addSubview(m_removeNoteItem);
    toolbar->addSubview(m_segment);
    content.addSubview(toolbar);

    // The group list's place along the left edge.
    m_fileView = std::make_shared<BackgroundView>(Rect(0, 0, groupListWidth, bodyHeight));
    m_fileView->setBackgroundColor(platform::Color::calibratedRGB(0.20, 0.22, 0.25));
    m_fileView->setAutoresizingMask(View::ViewHeightSizable);
    content.addSubview(m_fileView);
    m_leftSepline =
        std::make_shared<platform::ImageView>(Rect(groupListWidth - 1, 0, 1, bodyHeight));
    m_leftSepline->setImageName("sepline");
    m_leftSepline->setAutoresizingMask(View::ViewHeightSizable);

    // The split view: the note list, then the editor side.
    m_container = std::make_shared<platform::SplitView>(
        Rect(groupListWidth, 0, initialWidth - groupListWidth, bodyHeight));
    m_container->setAutoresizingMask(fill);
    m_container->setDelegate(this);
    m_left = std::make_shared<BackgroundView>(Rect(0, 0, noteListWidth, bodyHeight));
    const double rightX = noteListWidth + m_container->dividerThickness();
    const double rightWidth = m_container->frame().width() - rightX;
    m_right = std::make_shared<View>(Rect(rightX, 0, rightWidth, bodyHeight));
    m_container->addSubview(m_left);
    m_container->addSubview(m_right);
    content.addSubview(m_container);

    // The editor side: the editor over the (closed) Unicode panel, the (closed) info panel at the
    // right edge.
    m_rightViewContainer = std::make_shared<View>(Rect(0, 0, rightWidth, bodyHeight));
    m_rightViewContainer->setAutoresizingMask(fill);
    m_editorContainer = std::make_shared<View>(Rect(0, 0, rightWidth, bodyHeight));
    m_editorContainer->setAutoresizingMask(fill);
    m_unicodeView = std::make_shared<View>(Rect(0, 0, rightWidth, 0));
    m_unicodeView->setAutoresizingMask(View::ViewWidthSizable | View::ViewMaxYMargin);
    m_rightViewContainer->addSubview(m_editorContainer);
    m_rightViewContainer->addSubview(m_unicodeView);
    m_infoView = std::make_shared<View>(Rect(rightWidth, 0, 0, bodyHeight));
    m_infoView->setAutoresizingMask(View::ViewMinXMargin | View::ViewHeightSizable);
    m_rightSepline = std::make_shared<platform::ImageView>(Rect(0, 0, 1, bodyHeight));
    m_rightSepline->setImageName("sepline");
    m_rightSepline->setAutoresizingMask(View::ViewHeightSizable);
    m_right->addSubview(m_rightViewContainer);
    m_right->addSubview(m_infoView);
    m_right->addSubview(m_rightSepline);
    content.addSubview(m_leftSepline);

    setWindow(window);
}

}  // namespace zelvo
