#include "notes/UI/AppDelegate.h"

#include <cstdio>
#include <filesystem>

#include "notes/UI/EditorViewController.h"
#include "notes/UI/MainWindowController.h"
#include "notes/store/SQLite/DBUtil.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"

namespace zelvo {

namespace {

// Two spellings of one folder (relative, through a link) are the same folder.
bool sameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    return std::filesystem::weakly_canonical(a, error) ==
           std::filesystem::weakly_canonical(b, error);
}

}  // namespace

AppDelegate::AppDelegate() {
    registerAction("showHelp:", [this] { showHelp(); });
    registerAction("showWebSite:", [this] { showWebSite(); });
    registerAction("terminate:", [] { platform::Application::sharedApplication().terminate(); });
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    // Before anything is written: another Zelvo on the same folder would overwrite this one's
    // saves, and this one its.
    if (DBUtil::holdDataFolder() == DBUtil::FolderHold::InUse) {
        refuseFolderInUse();
        return;
    }
    DBUtil::initDBDirectory();
    if (!m_window) m_window = std::make_shared<MainWindowController>();
    m_window->showWindow();
    if (std::optional<std::string> reason = DBUtil::unreadableReason()) {
        // The file is left exactly as it is: it may be the user's notes, damaged or not ours.
        platform::Alert alert;
        alert.setMessageText("The notes database cannot be read.");
        alert.setInformativeText(DBUtil::databasePath().value_or("") + "\n\n" + *reason +
                                 "\n\nZelvo leaves this file unchanged; notes cannot be "
                                 "added or saved until it can be read.");
        alert.addButtonWithTitle("OK");
        alert.runModal();
    }
}

void AppDelegate::refuseFolderInUse() {
    m_launchRefused = true;
    const std::string folder = DBUtil::dataDirectory();
    const std::string message = "These notes are open in another Zelvo.";
    const std::string detail = "The notes folder " + folder +
                               " is in use by a Zelvo that is already running. This one closes "
                               "without changing anything; use the one that is open, or quit it "
                               "first.";
    // Also for whoever started it from a terminal.
    std::fprintf(stderr, "%s %s\n", message.c_str(), detail.c_str());
    platform::Alert alert;
    alert.setMessageText(message);
    alert.setInformativeText(detail);
    alert.addButtonWithTitle("OK");
    alert.runModal();
    platform::Application::sharedApplication().terminate();
}

std::optional<std::string> AppDelegate::messageForSecondLaunch(
    const platform::SecondLaunch& launch) {
    std::optional<std::string> database = DBUtil::databaseDirectoryPath();
    if (!database) return std::nullopt;
    const std::filesystem::path ours = std::filesystem::path(*database).parent_path();
    std::filesystem::path asked = DBUtil::dataDirectory([&](const char* name) {
        auto found = launch.environment.find(name);
        return found == launch.environment.end() ? std::nullopt
                                                 : std::optional<std::string>(found->second);
    });
    asked = std::filesystem::path(launch.workingDirectory) / asked;
    if (sameFolder(asked, ours)) return std::nullopt;
    const std::string message = "Zelvo is already running with the notes in " + ours.string() +
                                ", so the notes in " + asked.lexically_normal().string() +
                                " were not opened. Quit Zelvo to open them.";
    platform::logf("-[AppDelegate messageForSecondLaunch:] %s", message.c_str());
    // Shown once the start that asked has had its answer: it waits until then.
    platform::RunLoop::mainRunLoop().performBlock([message] {
        platform::Alert alert;
        alert.setMessageText("Zelvo was started again for other notes.");
        alert.setInformativeText(message);
        alert.addButtonWithTitle("OK");
        alert.runModal();
    });
    return message;
}

void AppDelegate::applicationShouldTerminate(std::function<void(bool)> reply) {
    auto* editor =
        m_window ? dynamic_cast<EditorViewController*>(m_window->editorViewController()) : nullptr;
    if (!editor) return reply(true);
    editor->applicationShouldTerminate(std::move(reply));
}

void AppDelegate::applicationWillTerminate() {
    if (m_window) m_window->sendActionToPanels("saveDocument:");
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows) {
    if (hasVisibleWindows) return false;
    if (m_window) m_window->window()->makeKeyAndOrderFront();
    return true;
}

void AppDelegate::showWebSite() {
    std::optional<std::string> page =
        platform::Bundle::mainBundle().URLForResource(WebSitePage, "html");
    if (!page) {
        platform::log("-[AppDelegate showWebSite:] the page \"zelvo.html\" is missing");
        return;
    }
    platform::Application::sharedApplication().openURL(*page);
}

bool AppDelegate::performMenuAction(const std::string& action) {
    if (platform::Window* key = platform::Window::keyWindow())
        if (platform::Responder* target =
                platform::Responder::targetForAction(action, key->firstResponder()))
            return target->performAction(action);
    if (m_window && m_window->sendActionToPanels(action)) return true;
    return performAction(action);
}

std::shared_ptr<platform::Menu> AppDelegate::makeMainMenu() {
    auto bar = std::make_shared<platform::Menu>("MainMenu");
    auto submenu = [&](const std::string& title) {
        auto menu = std::make_shared<platform::Menu>(title);
        bar->addItemWithTitle(title, "", "").setSubmenu(menu);
        return menu;
    };
    auto item = [this](platform::Menu& menu, const std::string& title, const std::string& action,
                       const std::string& key) {
        menu.addItemWithTitle(title, action, key).setHandler([this, action] {
            performMenuAction(action);
        });
    };
    auto app = submenu("Zelvo");
    item(*app, "Quit Zelvo", "terminate:", "q");
    auto file = submenu("File");
    item(*file, "Save", "saveDocument:", "s");
    item(*file, "Save As…", "saveDocumentAs:", "S");
    file->addItem(platform::MenuItem::separatorItem());
    item(*file, "Preview", "preview:", "p");
    auto view = submenu("View");
    item(*view, "Notes", "menuExpandNaivigator:", "1");
    item(*view, "Unicode", "menuExpandLog:", "2");
    item(*view, "Word Count", "menuExpandInfo:", "3");
    auto help = submenu("Help");
    item(*help, "Zelvo Help", "showHelp:", "?");
    item(*help, "Zelvo Web Site", "showWebSite:", "");
    return bar;
}

}  // namespace zelvo
