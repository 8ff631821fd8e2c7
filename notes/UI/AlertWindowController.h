#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/TextField.h"
#include "platform/ui/WindowController.h"

namespace zelvo {

class BackgroundView;
class MButton;
class MTextField;

// Receives what the link dialog's two fields hold when OK is pressed: the link's text, then its
// address.
class AlertWindowControllerDelegate {
  public:
    virtual ~AlertWindowControllerDelegate() = default;
    virtual void didClickOKButton(const std::string& title, const std::string& content) = 0;
};

// The link dialog: two entry fields (the link's text and its address) and OK, run modally. OK
// becomes available once both fields hold text and stays so; OK reports to the delegate, then
// ends the modal run and closes the dialog, as do the close button and the window's close box.
class AlertWindowController : public platform::WindowController,
                              public platform::TextFieldDelegate {
  public:
    AlertWindowController();
    AlertWindowController(std::optional<std::string> title, std::optional<std::string> content);
    static std::shared_ptr<AlertWindowController> alertWithTitle(
        std::optional<std::string> title, std::optional<std::string> content);
    ~AlertWindowController() override;

    AlertWindowControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(AlertWindowControllerDelegate* delegate) { m_delegate = delegate; }
    const std::optional<std::string>& titleString() const { return m_titleString; }
    void setTitleString(std::optional<std::string> text) { m_titleString = std::move(text); }
    const std::optional<std::string>& contentString() const { return m_contentString; }
    void setContentString(std::optional<std::string> text) { m_contentString = std::move(text); }

    void controlTextDidChange(platform::TextField& field) override;
    void OKBtn();
    void closeBtn();
    bool windowShouldClose(platform::Window& window) override;

    // Outlets (null until the window is loaded).
    MTextField* titleTextFiled() const { return m_titleTextFiled.get(); }
    MTextField* contentTextFiled() const { return m_contentTextFiled.get(); }
    MButton* okBtn() const { return m_okBtn.get(); }
    BackgroundView* bgView() const { return m_bgView.get(); }

  protected:
    void loadWindow() override;
    void windowDidLoad() override;

  private:
    AlertWindowControllerDelegate* m_delegate = nullptr;  // not owned
    std::shared_ptr<MTextField> m_titleTextFiled, m_contentTextFiled;
    std::shared_ptr<MButton> m_okBtn, m_closeButton;
    std::shared_ptr<BackgroundView> m_bgView;
    std::optional<std::string> m_titleString, m_contentString;
};

}  // namespace zelvo
