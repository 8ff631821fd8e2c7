#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A small panel of preferences: check boxes and font choosers in a column, each acting at once
// (no OK button), shown and hidden like an NSPanel. The panel keeps the controls' state; on the
// desktop a toolkit backend draws it and reports the user's changes, headless the state is all
// there is (tests act as the user through userToggled / userChoseFont).
class PreferencePanel {
  public:
    struct Control {
        enum class Kind { CheckBox, FontChooser };
        Kind kind = Kind::CheckBox;
        std::string identifier;
        std::string label;
        bool state = false;
        std::string fontFamily;
        double fontSize = 0;
        std::function<void(bool)> toggled;
        std::function<void(const std::string&, double)> fontChosen;
    };

    // What draws the panel on the desktop; told when it is shown or hidden and when the program
    // changed a control, so it can show the new state.
    class Backend {
      public:
        virtual ~Backend() = default;
        virtual void show(PreferencePanel& panel) = 0;
        virtual void hide() = 0;
        virtual void controlChanged(const Control& control) = 0;
    };

    // The panel's backend comes from the preferencePanels maker of the Backends in use, if any
    // (a program that has a display puts one there).
    explicit PreferencePanel(std::string title);
    ~PreferencePanel();
    PreferencePanel(const PreferencePanel&) = delete;
    PreferencePanel& operator=(const PreferencePanel&) = delete;

    const std::string& title() const { return m_title; }
    const std::vector<Control>& controls() const { return m_controls; }

    void addCheckBox(std::string identifier, std::string label, std::function<void(bool)> action);
    void addFontChooser(std::string identifier, std::string label,
                        std::function<void(const std::string& family, double size)> action);

    // The program sets a control (no action is sent).
    void setCheckBoxState(const std::string& identifier, bool on);
    bool checkBoxState(const std::string& identifier) const;
    void setFont(const std::string& identifier, const std::string& family, double size);
    const Control* control(const std::string& identifier) const;

    // The user changed a control: the state follows and the action is sent.
    void userToggled(const std::string& identifier, bool on);
    void userChoseFont(const std::string& identifier, const std::string& family, double size);

    void makeKeyAndOrderFront();
    void orderOut();
    bool isVisible() const { return m_visible; }

  private:
    Control* find(const std::string& identifier);

    std::string m_title;
    std::vector<Control> m_controls;
    std::unique_ptr<Backend> m_backend;
    bool m_visible = false;
};

}  // namespace platform
