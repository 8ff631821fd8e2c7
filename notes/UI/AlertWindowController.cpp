#include "notes/UI/AlertWindowController.h"

#include "notes/UI/Extend/BackgroundView.h"
#include "notes/UI/MButton.h"
#include "notes/UI/MTextField.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"

namespace zelvo {

using platform::Rect;

AlertWindowController::AlertWindowController() : WindowController("AlertWindowController") {}

AlertWindowController::AlertWindowController(std::optional<std::string> title,
                                             std::optional<std::string> content)
    : WindowController("AlertWindowController"),
      m_titleString(std::move(title)),
      m_contentString(std::move(content)) {}

std::shared_ptr<AlertWindowController> AlertWindowController::alertWithTitle(
    std::optional<std::string> title, std::optional<std::string> content) {
    return std::make_shared<AlertWindowController>(std::move(title), std::move(content));
}

AlertWindowController::~AlertWindowController() {
    if (m_titleTextFiled) m_titleTextFiled->setDelegate(nullptr);
    if (m_contentTextFiled) m_contentTextFiled->setDelegate(nullptr);
}

// The interface file "AlertWindowController": a white panel with the two labelled fields, OK
// (off until both fields hold text) and a close button.
void AlertWindowController::loadWindow() {
    auto window = std::make_shared<platform::Window>(
        Rect(300, 300, 420, 170),
        platform::WindowStyleMask::Titled | platform::WindowStyleMask::Closable);
    window->setTitle("Link");
    m_bgView = std::make_shared<BackgroundView>(Rect(0, 0, 420, 170));
    auto addField = [this](const std::string& label, double y) {
        auto caption = platform::TextField::labelWithString(label, Rect(16, y, 70, 28));
        m_bgView->addSubview(caption);
        auto field = std::make_shared<MTextField>(Rect(90, y, 310, 28));
        field->setDelegate(this);
        m_bgView->addSubview(field);
        return field;
    };
    m_titleTextFiled = addField("Text", 116);
    m_contentTextFiled = addField("Address", 76);
    m_okBtn = std::make_shared<MButton>(Rect(310, 16, 90, 32));
    m_okBtn->setTitle("OK");
    m_okBtn->setEnabled(false);
    m_okBtn->setAction([this](platform::Control&) { OKBtn(); });
    m_closeButton = std::make_shared<MButton>(Rect(210, 16, 90, 32));
    m_closeButton->setTitle("Cancel");
    m_closeButton->setAction([this](platform::Control&) { closeBtn(); });
    m_bgView->addSubview(m_closeButton);
    m_bgView->addSubview(m_okBtn);
    for (MButton* button : {m_okBtn.get(), m_closeButton.get()}) button->awakeFromNib();
    for (MTextField* field : {m_titleTextFiled.get(), m_contentTextFiled.get()})
        field->awakeFromNib();
    window->contentView()->addSubview(m_bgView);
    setWindow(window);
}

void AlertWindowController::windowDidLoad() {
    WindowController::windowDidLoad();
    m_bgView->setBackgroundColor(platform::Color::whiteColor());
    if (m_titleString) m_titleTextFiled->setStringValue(*m_titleString);
    if (m_contentString) m_contentTextFiled->setStringValue(*m_contentString);
}

void AlertWindowController::controlTextDidChange(platform::TextField&) {
    if (!m_titleTextFiled->stringValue().empty() && !m_contentTextFiled->stringValue().empty())
        m_okBtn->setEnabled(true);
    platform::logf("%s", "-[AlertWindowController controlTextDidChange:]");
}

void AlertWindowController::OKBtn() {
    if (m_delegate)
        m_delegate->didClickOKButton(m_titleTextFiled->stringValue(),
                                     m_contentTextFiled->stringValue());
    platform::Application::sharedApplication().stopModal();
    close();
}

void AlertWindowController::closeBtn() {
    platform::Application::sharedApplication().stopModal();
    platform::logf("%s self:%p", "-[AlertWindowController closeBtn:]", static_cast<void*>(this));
    // Ending the run alone would leave the dialog on screen after its caller let the controller
    // go.
    close();
}

bool AlertWindowController::windowShouldClose(platform::Window&) {
    platform::Application::sharedApplication().stopModal();
    return true;
}

}  // namespace zelvo
