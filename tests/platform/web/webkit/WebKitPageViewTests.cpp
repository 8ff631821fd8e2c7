#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/foundation/RunLoop.h"
#include "platform/web/JavaScriptString.h"
#include "platform/web/WebView.h"
#include "platform/web/webkit/WebKitBackend.h"
#include "tests/support/LoopbackHTTPServer.h"
#include "tests/support/Patience.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestOutput.h"
#include "tests/support/WebViewWaits.h"

namespace {

using platform::JavaScriptResult;
using platform::NavigationAction;
using platform::NavigationPolicy;

class WebKitPageViewTest : public ::testing::Test {
  protected:
    platform::ScopedBackends engine;  // the web engine, for the length of a test
    void SetUp() override {
        platform::webkit::install(*engine);
        view = platform::WebView::create(platform::Size{400, 300});
        ASSERT_TRUE(view) << "no display";
    }
    std::string writePage(const std::string& body) {
        std::string path = (folder.path() / "page.html").string();
        std::ofstream(path) << "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>"
                            << body << "</body></html>";
        return path;
    }
    void load(const std::string& body) {
        view->loadFileURL(writePage(body));
        ASSERT_TRUE(waitForLoad(*view, kPatience));
    }

    TemporaryFolder folder;
    std::unique_ptr<platform::WebView> view;
};

TEST_F(WebKitPageViewTest, EvaluationAnswersTextsAndTellsFailuresApart) {
    int loads = 0;
    view->setLoadFinishedHandler([&] { ++loads; });
    load("<p id=p>ᠮᠣᠩᠭᠣᠯ</p>");
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(view->url().rfind("file://", 0), 0u);

    JavaScriptResult text =
        evaluateNow(*view, "document.getElementById('p').textContent;", kPatience);
    ASSERT_TRUE(text.succeeded());
    EXPECT_EQ(text.value, "ᠮᠣᠩᠭᠣᠯ");
    EXPECT_EQ(evaluateNow(*view, "6 * 7;", kPatience).value, "42");
    EXPECT_EQ(evaluateNow(*view, "'';", kPatience).value, "");

    JavaScriptResult undefinedAnswer = evaluateNow(*view, "undefined;", kPatience);
    EXPECT_TRUE(undefinedAnswer.succeeded());
    EXPECT_FALSE(undefinedAnswer.value);

    JavaScriptResult thrown = evaluateNow(*view, "no_such_object.call();", kPatience);
    EXPECT_EQ(thrown.status, JavaScriptResult::Status::Failed);
    EXPECT_FALSE(thrown.value);
    EXPECT_NE(thrown.error, "");

    JavaScriptResult broken = evaluateNow(*view, "f(\"C:\\user\");", kPatience);
    EXPECT_FALSE(broken.succeeded());
}

TEST_F(WebKitPageViewTest, EscapedTextsArriveInThePageExactly) {
    load("");
    std::string text = "C:\\user \"quoted\" \u201Ccurly\u201D it's\r\n\u2028\u2029\t\x01 ᠮᠣᠩᠭᠣᠯ";
    JavaScriptResult echoed = evaluateNow(
        *view, "(function (s) { return s; })(" + platform::quoteJavaScriptString(text) + ");",
        kPatience);
    ASSERT_TRUE(echoed.succeeded()) << echoed.error;
    EXPECT_EQ(echoed.value, text);
}

// The page answers in its own time, never inside the call, and statements keep their order
// behind a slow one.
TEST_F(WebKitPageViewTest, AnswersComeLaterAndInTheOrderTheStatementsWereSent) {
    load("");
    std::vector<std::string> answers;
    auto keep = [&](const JavaScriptResult& result) {
        answers.push_back(result.value.value_or("<none>"));
    };
    view->evaluateJavaScript(
        "(function () { var end = Date.now() + 400; while (Date.now() < end) {} return 'slow'; "
        "})();",
        keep);
    view->evaluateJavaScript("'after';", keep);
    EXPECT_TRUE(answers.empty());
    ASSERT_TRUE(turnTheLoopUntil([&] { return answers.size() == 2; }));
    EXPECT_EQ(answers, (std::vector<std::string>{"slow", "after"}));
}

TEST_F(WebKitPageViewTest, ScriptMessagesReachTheirNamedHandler) {
    std::vector<std::string> selections, changes;
    view->addScriptMessageHandler("selection",
                                  [&](const std::string& body) { selections.push_back(body); });
    view->addScriptMessageHandler("change",
                                  [&](const std::string& body) { changes.push_back(body); });
    load("");
    evaluateNow(*view,
                "window.webkit.messageHandlers.selection.postMessage('ᠠ\"b');"
                "window.webkit.messageHandlers.change.postMessage('');",
                kPatience);
    evaluateNow(*view, "1;", kPatience);  // messages are delivered before a later answer
    EXPECT_EQ(selections, std::vector<std::string>{"ᠠ\"b"});
    EXPECT_EQ(changes, std::vector<std::string>{""});
}

TEST_F(WebKitPageViewTest, TheNavigationHandlerDecidesEveryNavigation) {
    std::vector<NavigationAction> offered;
    std::string first = writePage("<a id=a href=\"https://example.invalid/x\">x</a>");
    view->setNavigationHandler([&](const NavigationAction& action) {
        offered.push_back(action);
        return action.url.find("page.html") != std::string::npos ? NavigationPolicy::Allow
                                                                 : NavigationPolicy::Ignore;
    });
    view->loadFileURL(first);
    ASSERT_TRUE(waitForLoad(*view, kPatience));
    std::string pageURL = view->url();
    ASSERT_EQ(offered.size(), 1u);

    evaluateNow(*view, "document.getElementById('a').click();", kPatience);
    evaluateNow(*view, "location.href = 'file:///etc/hostname';", kPatience);
    // Decisions come from the page's process in their own time.
    platform::Date limit = platform::Date::now().dateByAddingTimeInterval(kPatience.count());
    while (offered.size() < 3 && platform::Date::now() < limit)
        platform::RunLoop::mainRunLoop().runUntilDate(
            platform::Date::now().dateByAddingTimeInterval(0.02));
    ASSERT_GE(offered.size(), 3u);
    EXPECT_EQ(offered[1].url, "https://example.invalid/x");
    EXPECT_EQ(offered[1].kind, NavigationAction::Kind::LinkClicked);
    EXPECT_EQ(offered[2].url, "file:///etc/hostname");
    EXPECT_EQ(view->url(), pageURL);
    EXPECT_EQ(
        evaluateNow(*view, "document.getElementById('a') ? 'still' : 'gone';", kPatience).value,
        "still");
}

TEST_F(WebKitPageViewTest, PrintsToAPDFFileAndTakesASnapshot) {
    load(
        "<p style=\"writing-mode: vertical-lr; font: 24px 'Noto Sans Mongolian'\">ᠮᠣᠩᠭᠣᠯ "
        "ᠪᠢᠴᠢᠭ</p>");
    std::string pdf = testOutputPath("web-view-print.pdf").string();
    std::remove(pdf.c_str());
    ASSERT_TRUE(printToPDFNow(*view, pdf));
    std::ifstream file(pdf, std::ios::binary);
    std::string head(4, '\0');
    file.read(head.data(), 4);
    EXPECT_EQ(head, "%PDF");

    std::optional<platform::Image> picture = snapshotNow(*view);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 400);
    EXPECT_EQ(picture->height(), 300);
    int inked = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) inked += picture->pixel(x, y).red < 0.5;
    EXPECT_GT(inked, 50);
}

// The pages keep nothing between runs: the engine writes no cache or site data into the home
// (where Zelvo's notes folder is).
TEST_F(WebKitPageViewTest, TheEngineWritesNothingIntoTheHome) {
    load("<p>ᠮᠣᠩᠭᠣᠯ</p>");
    ASSERT_TRUE(snapshotNow(*view));
    view.reset();
    for (const char* folder : {"XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        std::error_code error;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(std::getenv(folder), error)) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name != "WebKitCache" && name != "hsts-storage.sqlite" && name != "storage")
                << entry.path();
        }
    }
}

// Pages are drawn in software: this process never loads a GL driver (Mesa's brings LLVM, some
// 40 MB resident) for them.
TEST_F(WebKitPageViewTest, ThePageIsDrawnWithoutAGLDriverInThisProcess) {
    load("<p>ᠮᠣᠩᠭᠣᠯ</p>");
    ASSERT_TRUE(snapshotNow(*view));
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        EXPECT_EQ(line.find("/dri/"), std::string::npos) << line;
        EXPECT_EQ(line.find("libLLVM"), std::string::npos) << line;
    }
}

// Whatever a page refers to on the network stays there, even in a page with no policy of its own;
// local files and data: URLs still load.
TEST_F(WebKitPageViewTest, PagesLoadNothingFromTheNetwork) {
    LoopbackHTTPServer server;
    ASSERT_NE(server.port(), 0);
    const std::string at = server.url();
    load(
        "<img id=remote src='" + at + "/img'><div style='width:9px;height:9px;background:url(" +
        at + "/background)'></div><link rel=stylesheet href='" + at + "/sheet'><iframe src='" + at +
        "/frame'></iframe><img id=data src='data:image/png;base64,"
        "iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAYAAABytg0kAAAAEUlEQVR4nGP4z8DwH4QZYAwAR8oH+WdZbrcAAAAASU"
        "VORK5CYII='><script>fetch('" +
        at + "/fetch').catch(function () {});</script>");
    std::string shown;
    for (int tries = 0; tries < 100 && shown.empty(); ++tries) {
        shown = evaluateNow(*view,
                            "var d = document.getElementById('data'); d.complete ? "
                            "String(d.naturalWidth) : '';",
                            kPatience)
                    .value.value_or("");
        if (shown.empty())
            platform::RunLoop::mainRunLoop().runUntilDate(
                platform::Date::now().dateByAddingTimeInterval(0.05));
    }
    EXPECT_EQ(shown, "2");
    platform::RunLoop::mainRunLoop().runUntilDate(
        platform::Date::now().dateByAddingTimeInterval(0.5));
    EXPECT_EQ(server.requests(), std::vector<std::string>{});
}

}  // namespace
