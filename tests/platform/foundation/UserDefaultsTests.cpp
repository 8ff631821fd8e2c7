#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/support/Patience.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

using namespace platform;

namespace {

struct ChangeCounter {
    ChangeCounter()
        : token(NotificationCenter::defaultCenter().addObserver(
              UserDefaults::kDidChangeNotification, [this](const Notification&) { ++count; })) {}
    ~ChangeCounter() { NotificationCenter::defaultCenter().removeObserver(token); }
    int count = 0;
    NotificationCenter::Token token;
};

}  // namespace

TEST(UserDefaults, AbsentKeysReadAsZeroAndNothing) {
    UserDefaults defaults(std::nullopt);
    EXPECT_EQ(defaults.integerForKey("isPUA"), 0);
    EXPECT_EQ(defaults.floatForKey("fontSize"), 0.0);
    EXPECT_FALSE(defaults.boolForKey("x"));
    EXPECT_FALSE(defaults.stringForKey("fontName"));
    EXPECT_FALSE(defaults.objectForKey("bgColor"));
}

TEST(UserDefaults, ChangesPersistAndPostANotice) {
    TemporaryFolder folder;
    auto file = folder.path() / "quillora" / "defaults.plist";
    ChangeCounter changes;
    {
        UserDefaults defaults(file);
        defaults.setInteger(1, "isPUA");
        defaults.setObject(Value("Noto Sans Mongolian"), "fontName");
        defaults.setFloat(18.5, "fontSize");
        EXPECT_EQ(changes.count, 3);
        defaults.removeObjectForKey("missing");  // nothing changed, nothing posted
        EXPECT_EQ(changes.count, 3);
    }
    UserDefaults reread(file);
    EXPECT_EQ(reread.integerForKey("isPUA"), 1);
    EXPECT_EQ(reread.stringForKey("fontName"), "Noto Sans Mongolian");
    EXPECT_DOUBLE_EQ(reread.floatForKey("fontSize"), 18.5);
    reread.removeObjectForKey("isPUA");
    EXPECT_EQ(UserDefaults(file).integerForKey("isPUA"), 0);
}

TEST(UserDefaults, TwoWritersOfOneFileKeepEachOthersKeys) {
    TemporaryFolder folder;
    auto file = folder.path() / "defaults.plist";
    UserDefaults first(file), second(file);
    first.integerForKey("a");  // both have read the (empty) file
    second.integerForKey("a");
    first.setInteger(1, "a");
    second.setInteger(2, "b");
    UserDefaults third(file);
    EXPECT_EQ(third.integerForKey("a"), 1);
    EXPECT_EQ(third.integerForKey("b"), 2);
}

TEST(UserDefaults, AnotherProcessesChangeReachesTheMonitorAndPostsOnce) {
    TemporaryFolder folder;
    ScopedEnvironment config("XDG_CONFIG_HOME", folder.path().string());
    Bundle::setMain("quillora", "org.example.quillora");
    UserDefaults::resetStandardUserDefaults();
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults.file(), folder.path() / "quillora" / "defaults.plist");
    EXPECT_EQ(defaults.integerForKey("isPUA"), 0);
    ChangeCounter changes;

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        UserDefaults other(folder.path() / "quillora" / "defaults.plist");
        other.setInteger(1, "isPUA");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));

    // The file monitor reports in its own time.
    Date limit = Date::now().dateByAddingTimeInterval(kPatience.count());
    while (changes.count == 0 && Date::now() < limit) RunLoop::mainRunLoop().iterate(false);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(defaults.integerForKey("isPUA"), 1);
    // Further monitor events for the same content change nothing and post nothing.
    RunLoop::mainRunLoop().runUntilDate(Date::now().dateByAddingTimeInterval(0.2));
    EXPECT_EQ(changes.count, 1);
    UserDefaults::resetStandardUserDefaults();
}
