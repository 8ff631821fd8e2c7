#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/ui/gtk/ProcessEnvironment.h"

namespace {

bool launchedWith(const std::string& entry) {
    auto context = platform::gtk::launchContext();
    gchar** environment = g_app_launch_context_get_environment(context.get());
    bool found = false;
    for (gchar** e = environment; e && *e && !found; ++e) found = entry == *e;
    g_strfreev(environment);
    return found;
}

// Settings made for this program tune its own libraries; launched programs (a browser opening a
// help page) must not inherit them, and what the user set stays as the user set it.
TEST(ProcessEnvironment, OwnSettingsStayInThisProcessAndNeverOverrideTheUsers) {
    setenv("MW_TEST_USERS_CHOICE", "theirs", 1);
    platform::gtk::setOwnEnvironment("MW_TEST_USERS_CHOICE", "ours");
    platform::gtk::setOwnEnvironment("MW_TEST_OWN_SETTING", "1");

    EXPECT_STREQ(std::getenv("MW_TEST_USERS_CHOICE"), "theirs");
    EXPECT_STREQ(std::getenv("MW_TEST_OWN_SETTING"), "1");
    EXPECT_TRUE(launchedWith("MW_TEST_USERS_CHOICE=theirs"));
    EXPECT_FALSE(launchedWith("MW_TEST_OWN_SETTING=1"));
}

}  // namespace
