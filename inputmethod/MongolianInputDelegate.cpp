#include "inputmethod/MongolianInputDelegate.h"

#include <cstdlib>
#include <filesystem>

#include "inputmethod/CandidateWindow.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Font.h"
#include "platform/notify/Notifier.h"

namespace quillora {
namespace {

constexpr const char* kMethodLine = "\n------MongolianInputDelegate------ %s --------------\n";

void logMethod(const char* name) {
    platform::logf(kMethodLine, name);
}

// For the operations a key leads to (the notice of the switch to English mode).
void logMethodDebug(const char* name) {
    platform::logfDebug(kMethodLine, name);
}

// Colours that stand when a preference holds none: the background orange, the text white and
// the highlight blue.
constexpr platform::Color kDefaultBackground = platform::Color::calibratedRGB(1.0, 0.5, 0.0);

std::optional<std::filesystem::path> iconPath() {
    const auto& bundle = platform::Bundle::mainBundle();
    if (auto png = bundle.pathForResource("Quillora", "png")) return png;
    return bundle.pathForResource("Quillora", "svg");
}

// The first user-domain application-support folder ($XDG_DATA_HOME, else ~/.local/share).
std::optional<std::string> userDataDirectory() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return std::string(data);
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::string(home) + "/.local/share";
    }
    return std::nullopt;
}

}  // namespace

MongolianInputDelegate::MongolianInputDelegate()
    : m_candidateWindow(std::make_unique<CandidateWindow>()),
      m_aboutPanel(
          {"Quillora",
           platform::Bundle::mainBundle().infoValue("CFBundleShortVersionString").value_or(""),
           "Traditional Mongolian input method.\n\n"
           "Word list: the headwords of the written-mongol-keyboard package (MIT licence), "
           "converted to traditional script; word counts from the song lyrics of the "
           "mongolian-nlp project.",
           "", iconPath() ? std::optional<std::string>(iconPath()->string()) : std::nullopt}),
      m_prefPanel("Quillora Preferences") {
    buildMainMenu();
    buildPanels();
    logMethod("-[MongolianInputDelegate awakeFromNib]");
}

MongolianInputDelegate::~MongolianInputDelegate() {
    if (m_defaultsObserver)
        platform::NotificationCenter::defaultCenter().removeObserver(*m_defaultsObserver);
}

MongolianInputDelegate* MongolianInputDelegate::sharedAppDelegate() {
    return dynamic_cast<MongolianInputDelegate*>(
        platform::Application::sharedApplication().delegate());
}

void MongolianInputDelegate::buildMainMenu() {
    m_menu = std::make_shared<platform::Menu>("Quillora");
    m_menu->addItemWithTitle("Preferences…", "showPreferences:", "").setHandler([this] {
        showPreferences();
    });
    m_menu->addItemWithTitle("About Quillora…", "showAboutUs:", "").setHandler([this] {
        showAboutUs();
    });
    m_feedbackMenuItem = &m_menu->addItemWithTitle("Feedback…", "feedback:", "");
    m_feedbackMenuItem->setHandler([this] { feedback(); });
}

void MongolianInputDelegate::buildPanels() {
    m_prefPanel.addCheckBox(kIsPUAKey,
                            "Private-use glyph codes (for programs without Mongolian shaping)",
                            [this](bool on) { changeToPua(on); });
    m_prefPanel.addFontChooser(kFontNameKey, "Candidate font",
                               [](const std::string& family, double size) {
                                   auto& defaults = platform::UserDefaults::standardUserDefaults();
                                   defaults.setObject(platform::Value(family), kFontNameKey);
                                   defaults.setFloat(size, kFontSizeKey);
                               });
}

void MongolianInputDelegate::applicationDidFinishLaunching() {
    logMethod("-[MongolianInputDelegate applicationDidFinishLaunching:]");
    loadPreferences();
    m_defaultsObserver = platform::NotificationCenter::defaultCenter().addObserver(
        platform::UserDefaults::kDidChangeNotification,
        [this](const platform::Notification& notification) { preferencesChanged(notification); });
    platform::UserDefaults::standardUserDefaults().startMonitoring();
    if (auto folder = userDataDirectory()) platform::logf("user_data_dir: %s", folder->c_str());
}

void MongolianInputDelegate::applicationWillTerminate() {
    platform::logf("--%s -- \n ---- IMKServer 被销毁！",
                   "-[MongolianInputDelegate applicationWillTerminate:]");
}

void MongolianInputDelegate::preferencesChanged(const platform::Notification& notification) {
    if (notification.name == platform::UserDefaults::kDidChangeNotification) loadPreferences();
}

void MongolianInputDelegate::loadPreferences() {
    updateUISettings();
    updateIMESettings();
}

std::optional<platform::Color> MongolianInputDelegate::colorFromString(const std::string& text) {
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#') return std::nullopt;
    double components[4] = {0, 0, 0, 1};
    for (std::size_t i = 1, c = 0; i < text.size(); i += 2, ++c) {
        char* end = nullptr;
        const std::string pair = text.substr(i, 2);
        const long value = std::strtol(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) return std::nullopt;
        components[c] = value / 255.0;
    }
    return platform::Color::calibratedRGB(components[0], components[1], components[2],
                                          components[3]);
}

std::optional<platform::Color> MongolianInputDelegate::colorForKey(const std::string& key) const {
    auto text = platform::UserDefaults::standardUserDefaults().stringForKey(key);
    if (!text) return std::nullopt;
    auto color = colorFromString(*text);
    if (!color) platform::logf("Preference %s is no colour: %s", key.c_str(), text->c_str());
    return color;
}

void MongolianInputDelegate::updateUISettings() {
    logMethod("-[MongolianInputDelegate updateUISettings]");
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    platform::Color background = colorForKey("bgColor").value_or(kDefaultBackground);
    background.alpha = defaults.floatForKey("alpha") / 100.0;
    m_candidateWindow->setBgColor(background);
    m_candidateWindow->setRadius(static_cast<float>(defaults.floatForKey("radius")));
    m_candidateWindow->setFgColor(colorForKey("fgColor").value_or(platform::Color::whiteColor()));
    m_candidateWindow->setHlColor(colorForKey("hlColor").value_or(platform::Color::blueColor()));

    // What the user has not chosen stays the window's own Mongolian font. The system font has
    // no Mongolian letters: a list set in it is drawn in a fallback font that the preferences,
    // which show the window's font, would not name.
    const platform::Font standard = CandidateWindow::defaultFont();
    std::string name = defaults.stringForKey(kFontNameKey).value_or("");
    if (name.empty()) name = standard.familyName();
    double size = standard.pointSize();
    if (defaults.objectForKey(kFontSizeKey)) {
        size = defaults.floatForKey(kFontSizeKey);
        if (size < 12) size = 16;
    }
    m_candidateWindow->setFont(
        platform::Font::fontWithName(name, size).value_or(platform::Font::systemFont(size)));
}

void MongolianInputDelegate::updateIMESettings() {
    m_switchingPolicy = static_cast<std::int32_t>(
        platform::UserDefaults::standardUserDefaults().integerForKey("switchingPolicy"));
}

void MongolianInputDelegate::changeToPua(bool state) {
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    defaults.setInteger(state ? 1 : 0, kIsPUAKey);
    defaults.synchronize();
    platform::logf("切换到ps模式。状态是：%ld", static_cast<long>(state ? 1 : 0));
}

void MongolianInputDelegate::showPreferences() {
    logMethod("-[MongolianInputDelegate showPreferences:]");
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    // Another program may have changed the file since the last notice arrived.
    defaults.synchronize();
    m_prefPanel.setCheckBoxState(kIsPUAKey, defaults.integerForKey(kIsPUAKey) != 0);
    m_prefPanel.setFont(kFontNameKey, m_candidateWindow->font().familyName(),
                        m_candidateWindow->font().pointSize());
    m_prefPanel.makeKeyAndOrderFront();
}

void MongolianInputDelegate::showAboutUs() {
    logMethod("-[MongolianInputDelegate showAboutUs:]");
    m_aboutPanel.makeKeyAndOrderFront();
}

void MongolianInputDelegate::feedback() {
    logMethod("-[MongolianInputDelegate feedback:]");
    std::optional<std::string> page =
        platform::Bundle::mainBundle().URLForResource(kFeedbackPage, "html");
    if (!page) {
        platform::log("Feedback page missing from the resources");
        return;
    }
    platform::Application::sharedApplication().openURL(*page);
}

void MongolianInputDelegate::handleKeyUpEvent(const platform::imk::InputEvent&) {}

void MongolianInputDelegate::onSchemaChangedWithNewSchema(const std::string& schema) {
    platform::logfDebug("Schema changed to: %s", schema.c_str());
}

namespace {

void deploymentNotice(const char* line, const char* subtitle, const char* text) {
    platform::logDebug(line);
    auto& notifier = platform::Notifier::shared();
    notifier.removeAllDeliveredNotices();
    notifier.notify({"Quillora Input Method Editor", std::string(subtitle) + "\n" + text,
                     MongolianInputDelegate::kNoticeName, std::nullopt});
}

}  // namespace

void MongolianInputDelegate::onDeploymentStarted() {
    deploymentNotice("Deployment started.", "Deploying...", "Wait a second...");
}

void MongolianInputDelegate::onDeploymentSuccessful() {
    deploymentNotice("Deployment successful.", "Deployment successful!", "Have fun :)");
}

void MongolianInputDelegate::onDeploymentFailed() {
    deploymentNotice("Deployment failed.", "Deployment failed!",
                     "Failed to load your custom settings and schemas.");
}

void MongolianInputDelegate::setCandidateWindow(std::unique_ptr<CandidateWindow> window) {
    if (window) m_candidateWindow = std::move(window);
}

CandidatePresenter& MongolianInputDelegate::candidateWindow() {
    if (m_presenter) return *m_presenter;
    return *m_candidateWindow;
}

void MongolianInputDelegate::setCandidatePresenter(std::unique_ptr<CandidatePresenter> presenter) {
    m_presenter = std::move(presenter);
}

void MongolianInputDelegate::messageNotify(const std::string& message) {
    logMethodDebug("-[MongolianInputDelegate messageNotify:]");
    auto icon = iconPath();
    platform::Notifier::shared().notify(
        {"Quillora", message, kNoticeName,
         icon ? std::optional<std::string>(icon->string()) : std::nullopt});
}

void MongolianInputDelegate::withdrawNotice() {
    platform::Notifier::shared().removeDeliveredNotice(kNoticeName);
}

}  // namespace quillora
