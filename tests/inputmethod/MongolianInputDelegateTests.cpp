#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "inputmethod/CandidateWindow.h"
#include "inputmethod/FrameworkCandidateList.h"
#include "inputmethod/MongolianInputDelegate.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/imk/InputServer.h"
#include "platform/notify/Notifier.h"
#include "platform/ui/Backends.h"
#include "tests/inputmethod/ControllerFixture.h"
#include "tests/support/Patience.h"

namespace {

using quillora::MongolianInputDelegate;

class RecordingNotifier : public platform::Notifier {
  public:
    explicit RecordingNotifier(std::vector<platform::Notice>* notices) : m_notices(notices) {}
    bool notify(const platform::Notice& notice) override {
        m_notices->push_back(notice);
        return true;
    }
    // Taking notices back removes them from the record.
    void removeAllDeliveredNotices() override { m_notices->clear(); }
    void removeDeliveredNotice(const std::string& name) override {
        std::erase_if(*m_notices, [&name](const platform::Notice& n) { return n.name == name; });
    }

  private:
    std::vector<platform::Notice>* m_notices;
};

// The real delegate over the controller fixture's resources and private configuration folder.
class DelegateTest : public ControllerTest {
  protected:
    void SetUp() override {
        ControllerTest::SetUp();
        m_delegate = std::make_unique<MongolianInputDelegate>();
    }
    void TearDown() override {
        m_delegate.reset();
        ControllerTest::TearDown();
    }

    platform::UserDefaults& defaults() { return platform::UserDefaults::standardUserDefaults(); }
    const platform::Font& candidateFont() { return m_delegate->window().font(); }

    std::unique_ptr<MongolianInputDelegate> m_delegate;
};

TEST_F(DelegateTest, FontSizeBelowTwelveMeansSixteenAndUnknownNamesTheSystemFont) {
    defaults().setFloat(11.5, "fontSize");
    m_delegate->loadPreferences();
    EXPECT_EQ(candidateFont().pointSize(), 16);

    defaults().setFloat(12, "fontSize");
    defaults().setObject(platform::Value(std::string("No Such Font Family 42")), "fontName");
    m_delegate->loadPreferences();
    EXPECT_EQ(candidateFont().pointSize(), 12);
    EXPECT_EQ(candidateFont().familyName(), platform::Font::SystemFontFamily);

    defaults().setObject(platform::Value(std::string(platform::Font::DisplayFontFamily)),
                         "fontName");
    defaults().setFloat(30, "fontSize");
    m_delegate->loadPreferences();
    EXPECT_EQ(candidateFont().familyName(), platform::Font::DisplayFontFamily);
    EXPECT_EQ(candidateFont().pointSize(), 30);
}

TEST_F(DelegateTest, ColoursComeFromHexTextWithDefaultsForAbsentOrBrokenOnes) {
    m_delegate->loadPreferences();
    quillora::CandidateWindow& window = m_delegate->window();
    EXPECT_EQ(window.fgColor(), platform::Color::whiteColor());
    EXPECT_EQ(window.hlColor(), platform::Color::blueColor());
    EXPECT_EQ(window.bgColor().alpha, 0.0);  // absent "alpha"
    EXPECT_EQ(window.bgColor().red, 1.0);    // orange

    defaults().setObject(platform::Value(std::string("#00FF0080")), "fgColor");
    defaults().setObject(platform::Value(std::string("#102030")), "bgColor");
    defaults().setFloat(50, "alpha");
    defaults().setObject(platform::Value(std::string("blue-ish")), "hlColor");
    platform::LogCapture capture;
    m_delegate->loadPreferences();
    EXPECT_EQ(window.fgColor(), platform::Color::calibratedRGB(0, 1, 0, 128 / 255.0));
    EXPECT_DOUBLE_EQ(window.bgColor().red, 0x10 / 255.0);
    EXPECT_DOUBLE_EQ(window.bgColor().alpha, 0.5);
    EXPECT_EQ(window.hlColor(), platform::Color::blueColor());
    EXPECT_TRUE(capture.contains("hlColor is no colour: blue-ish"));

    EXPECT_FALSE(MongolianInputDelegate::colorFromString("#12345"));
    EXPECT_FALSE(MongolianInputDelegate::colorFromString("#12345G78"));
    EXPECT_FALSE(MongolianInputDelegate::colorFromString("1234567"));
}

// The check box writes at once, so the very next candidate commit follows it.
TEST_F(DelegateTest, PrivateUseCheckBoxGovernsTheNextCommit) {
    quillora::MongolianInputController puaController(&client, *m_delegate);
    m_delegate->prefPanel().userToggled("isPUA", true);
    EXPECT_EQ(defaults().integerForKey("isPUA"), 1);
    type(puaController, client, u"ba");
    ASSERT_TRUE(press(puaController, client, key(u" ", platform::imk::KeyCode::Space)));
    ASSERT_EQ(client.inserts.size(), 1u);
    EXPECT_EQ(client.inserts[0].text, converted(u" " + u16(fixture::BA + fixture::A)));

    m_delegate->changeToPua(false);
    EXPECT_EQ(defaults().integerForKey("isPUA"), 0);
    type(puaController, client, u"ba");
    press(puaController, client, key(u" ", platform::imk::KeyCode::Space));
    ASSERT_EQ(client.inserts.size(), 2u);
    EXPECT_EQ(client.inserts[1].text, u" " + u16(fixture::BA + fixture::A));
}

// Another program (here a child process) changes the defaults file: the running delegate hears of
// it through the file monitor, re-applies the font, and the panel opens with the stored state.
TEST_F(DelegateTest, ChangesFromAnotherProcessAreAppliedAndShown) {
    m_delegate->applicationDidFinishLaunching();
    ASSERT_EQ(candidateFont().pointSize(), quillora::CandidateWindow::DefaultFontSize);
    const auto file = defaults().file();
    ASSERT_TRUE(file.has_value());

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::UserDefaults other(*file);
        other.setFloat(40, "fontSize");
        other.setInteger(1, "isPUA");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);

    auto& loop = platform::RunLoop::mainRunLoop();
    // The file monitor reports the other program's change in its own time.
    const platform::Date limit = platform::Date::now().dateByAddingTimeInterval(kPatience.count());
    while (candidateFont().pointSize() != 40 && platform::Date::now() < limit)
        loop.runUntilDate(platform::Date::now().dateByAddingTimeInterval(0.01));
    EXPECT_EQ(candidateFont().pointSize(), 40);

    m_delegate->showPreferences();
    EXPECT_TRUE(m_delegate->prefPanel().isVisible());
    EXPECT_TRUE(m_delegate->prefPanel().checkBoxState("isPUA"));
    m_delegate->applicationWillTerminate();
}

// With no settings file the candidates keep the font the window starts with, and the preferences
// name the font they are drawn in, not the system font.
TEST_F(DelegateTest, PreferencesShowTheFontTheCandidatesAreDrawnIn) {
    m_delegate->applicationDidFinishLaunching();
    m_delegate->showPreferences();
    const platform::PreferencePanel::Control* chooser = m_delegate->prefPanel().control("fontName");
    ASSERT_NE(chooser, nullptr);
    const platform::Font drawn = *m_delegate->window().seCandidataView()->font();
    EXPECT_EQ(chooser->fontFamily, drawn.familyName());
    EXPECT_EQ(chooser->fontSize, drawn.pointSize());
    EXPECT_EQ(drawn, quillora::CandidateWindow().font());
    m_delegate->applicationWillTerminate();
}

TEST_F(DelegateTest, InputMenuRunsThePanelsAndFeedback) {
    std::shared_ptr<platform::Menu> menu = m_delegate->menu();
    ASSERT_EQ(menu->numberOfItems(), 3u);
    platform::LogCapture capture;
    EXPECT_TRUE(menu->performActionForItemAtIndex(0, nullptr));
    EXPECT_TRUE(m_delegate->prefPanel().isVisible());
    EXPECT_TRUE(menu->performActionForItemAtIndex(1, nullptr));
    EXPECT_EQ(m_delegate->aboutPanel().timesShown(), 1);
    EXPECT_EQ(m_delegate->aboutPanel().contents().name, "Quillora");
    EXPECT_FALSE(m_delegate->aboutPanel().contents().version.empty());
    EXPECT_TRUE(menu->performActionForItemAtIndex(2, nullptr));
    EXPECT_TRUE(capture.contains("-[MongolianInputDelegate feedback:]"));
}

TEST_F(DelegateTest, EnglishModeNoticeGoesToTheNotifierAndAFailureIsOnlyLogged) {
    quillora::MongolianInputController english(&client, *m_delegate);
    {
        ScopedEnvironment debugging("QUILLORA_LOG", std::string("syslog"));
        platform::LogCapture capture;  // no notifier installed: the notice is logged only
        shiftTap(english, client);
        EXPECT_TRUE(capture.contains("not shown"));
    }
    std::vector<platform::Notice> notices;
    platform::ScopedBackends installed;
    installed->notifier = std::make_shared<RecordingNotifier>(&notices);
    shiftTap(english, client);  // back to Mongolian: no notice
    shiftTap(english, client);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].title, "Quillora");
    EXPECT_EQ(notices[0].name, "Quillora");
    EXPECT_EQ(notices[0].description, "Switched to English mode");
    // Back to Mongolian, the notice is taken off the desktop rather than left to its timeout.
    shiftTap(english, client);
    EXPECT_TRUE(notices.empty());
}

// A deployment notice replaces the notices shown before it.
TEST_F(DelegateTest, DeploymentNoticesReplaceTheOnesBefore) {
    std::vector<platform::Notice> notices;
    platform::ScopedBackends installed;
    installed->notifier = std::make_shared<RecordingNotifier>(&notices);
    m_delegate->messageNotify("Switched to English mode");
    m_delegate->onDeploymentStarted();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].title, "Quillora Input Method Editor");
    EXPECT_EQ(notices[0].description, "Deploying...\nWait a second...");
    m_delegate->onDeploymentFailed();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].description,
              "Deployment failed!\nFailed to load your custom settings and schemas.");
}

// A record of the keys in the system log would be a record of everything typed: with debugging
// off, nothing on the way of a key writes a line at all, be it a letter, a search, a commit, a
// digit, a mark, the command prefix or the switch to English mode and the keys typed in it.
TEST_F(DelegateTest, TypingWritesNothingToTheLog) {
    ScopedEnvironment quiet("QUILLORA_LOG", std::nullopt);
    ScopedEnvironment quietToo("ZELVO_LOG", std::nullopt);
    quillora::MongolianInputController typing(&client, *m_delegate);
    platform::LogCapture capture;
    type(typing, client, u"bar");
    press(typing, client, key(u"\x7f", platform::imk::KeyCode::Delete));
    type(typing, client, u"gu");
    press(typing, client, key(u"\r", platform::imk::KeyCode::Return));
    type(typing, client, u"ba2");
    type(typing, client, u"ab,7:!x");
    press(typing, client, key(u"\r", platform::imk::KeyCode::Return));
    type(typing, client, u"m");
    press(typing, client, key(u" ", platform::imk::KeyCode::Space));
    type(typing, client, u"ba");
    shiftTap(typing, client);
    type(typing, client, u"en");
    shiftTap(typing, client);
    ASSERT_EQ(insertedTexts().front(), u"bagu");
    EXPECT_EQ(capture.lines(), std::vector<std::string>{});
}

class FakeServer : public platform::imk::InputServer {
  public:
    void showFrameworkCandidates(const std::vector<std::u16string>& candidates) override {
        shown = candidates;
        visible = true;
    }
    void hideFrameworkCandidates() override { visible = false; }
    bool frameworkCandidatesVisible() const override { return visible; }
    void setDisconnectedHandler(std::function<void()>) override {}

    std::vector<std::u16string> shown;
    bool visible = false;
};

TEST_F(DelegateTest, WithoutADisplayCandidatesGoToTheFrameworksList) {
    FakeServer server;
    m_delegate->setCandidatePresenter(std::make_unique<quillora::FrameworkCandidateList>(server));
    quillora::MongolianInputController typing(&client, *m_delegate);
    EXPECT_TRUE(m_delegate->candidateWindow().isHidden());
    type(typing, client, u"ba");
    ASSERT_TRUE(server.visible);
    ASSERT_FALSE(server.shown.empty());
    EXPECT_EQ(server.shown[0], u16(fixture::BA + fixture::A));
    // A digit chooses from the list the framework shows.
    ASSERT_TRUE(press(typing, client, key(u"2", 19)));
    EXPECT_FALSE(server.visible);
    EXPECT_EQ(client.inserts.size(), 1u);
}

}  // namespace
