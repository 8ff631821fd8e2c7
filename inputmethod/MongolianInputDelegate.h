#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "inputmethod/InputMethodDelegate.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Color.h"
#include "platform/imk/InputEvent.h"
#include "platform/ui/AboutPanel.h"
#include "platform/ui/Application.h"
#include "platform/ui/Menu.h"
#include "platform/ui/PreferencePanel.h"

namespace quillora {

class CandidateWindow;
class MongolianInputController;

// The application delegate of the input method: one per process, made at start-up with what the
// program's interface holds (the input menu, the preference and about panels, the candidate
// window). It applies the user's preferences to the candidate window at launch and on every
// change of the user defaults, by this process or another, and posts the short notices.
// Controllers reach it through sharedAppDelegate. Main thread only.
class MongolianInputDelegate final : public InputMethodDelegate,
                                     public platform::ApplicationDelegate {
  public:
    static constexpr const char* kConnectionName = "Quillora_1_Connection";
    static constexpr const char* kNoticeName = "Quillora";
    // The feedback page among the resources: how to reach the makers.
    static constexpr const char* kFeedbackPage = "feedback";
    // Preference keys of the user defaults.
    static constexpr const char* kIsPUAKey = "isPUA";
    static constexpr const char* kFontNameKey = "fontName";
    static constexpr const char* kFontSizeKey = "fontSize";

    MongolianInputDelegate();
    ~MongolianInputDelegate() override;
    MongolianInputDelegate(const MongolianInputDelegate&) = delete;
    MongolianInputDelegate& operator=(const MongolianInputDelegate&) = delete;

    // The shared application's delegate, when it is this class.
    static MongolianInputDelegate* sharedAppDelegate();

    // ---- Application ----
    void applicationDidFinishLaunching() override;
    void applicationWillTerminate() override;
    void preferencesChanged(const platform::Notification& notification);
    void loadPreferences();
    void updateUISettings();
    void updateIMESettings();

    // ---- Panels and menu actions ----
    // The private-use check box: stores the state under "isPUA" and flushes it at once.
    void changeToPua(bool state);
    void showPreferences() override;
    void showAboutUs() override;
    void feedback() override;
    std::shared_ptr<platform::Menu> menu() override { return m_menu; }
    platform::PreferencePanel& prefPanel() { return m_prefPanel; }
    platform::AboutPanel& aboutPanel() { return m_aboutPanel; }

    // ---- What controllers use ----
    // Where candidates are shown: the candidate window, or the presenter put in its place.
    CandidatePresenter& candidateWindow() override;
    CandidateWindow& window() { return *m_candidateWindow; }
    // Shows the candidates through another presenter (the framework's own list when there is no
    // display); null goes back to the window.
    void setCandidatePresenter(std::unique_ptr<CandidatePresenter> presenter);
    void messageNotify(const std::string& message) override;
    void withdrawNotice() override;
    bool usingUSKbLayout() const override { return m_usingUSKbLayout; }
    std::int32_t switchingPolicy() const { return m_switchingPolicy; }

    // ---- Carried for the framework, called by nothing of Quillora's own ----
    // Key ups are not watched: nothing is done with one.
    void handleKeyUpEvent(const platform::imk::InputEvent& event);
    void onSchemaChangedWithNewSchema(const std::string& schema);
    // Each takes back the notices shown before and shows one about a deployment.
    void onDeploymentStarted();
    void onDeploymentSuccessful();
    void onDeploymentFailed();
    // The controller of the active client; nothing sets it, so it stays null.
    MongolianInputController* currentInputController() const { return m_currentInputController; }
    void setCurrentInputController(MongolianInputController* controller) {
        m_currentInputController = controller;
    }
    // Replaces the candidate window (null keeps the one there is).
    void setCandidateWindow(std::unique_ptr<CandidateWindow> window);
    // The input menu's items the interface held: no update item is made, the feedback item is.
    platform::MenuItem* updateMenuItem() const { return m_updateMenuItem; }
    platform::MenuItem* feedbackMenuItem() const { return m_feedbackMenuItem; }

    // A colour stored as "#RRGGBBAA" (or "#RRGGBB"); absent when the text is no such colour.
    static std::optional<platform::Color> colorFromString(const std::string& text);

  private:
    void buildMainMenu();
    void buildPanels();
    std::optional<platform::Color> colorForKey(const std::string& key) const;

    std::shared_ptr<platform::Menu> m_menu;
    std::unique_ptr<CandidateWindow> m_candidateWindow;
    std::unique_ptr<CandidatePresenter> m_presenter;  // replaces the window when set
    platform::AboutPanel m_aboutPanel;
    platform::PreferencePanel m_prefPanel;
    std::int32_t m_switchingPolicy = 0;
    bool m_usingUSKbLayout = false;
    std::optional<platform::NotificationCenter::Token> m_defaultsObserver;
    platform::MenuItem* m_updateMenuItem = nullptr;                // in m_menu; never made
    platform::MenuItem* m_feedbackMenuItem = nullptr;              // in m_menu
    MongolianInputController* m_currentInputController = nullptr;  // borrowed; never set
};

}  // namespace quillora
