#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "notes/UI/PreviewHTMLWindow.h"
#include "notes/UI/previewPDFWindow.h"
#include "notes/UI/previewWindow.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Application.h"
#include "platform/web/PDFView.h"
#include "platform/web/WebContentView.h"
#include "tests/support/FakeWebView.h"
#include "tests/support/TestOutput.h"
#include "textview/TXTextView.h"

using zelvo::PreviewHTMLWindow;

namespace {

// The preview over a fake page that the test finishes loading by hand.
class FakePagePreview : public PreviewHTMLWindow {
  public:
    FakeWebView* page = nullptr;

  protected:
    std::unique_ptr<platform::WebView> makeWebView(platform::Size) override {
        auto fake = std::make_unique<FakeWebView>();
        page = fake.get();
        return fake;
    }
};

class PreviewTest : public ::testing::Test {
  protected:
    void SetUp() override { preview = std::make_shared<FakePagePreview>(); }
    void TearDown() override { platform::Application::setMenuBarVisible(true); }
    // What the page was asked to show last.
    std::string lastStatement() const {
        return preview->page->scripts.empty() ? "" : preview->page->scripts.back();
    }

    ZelvoFolders folders;
    platform::LogCapture log;
    std::shared_ptr<FakePagePreview> preview;
};

TEST_F(PreviewTest, LoadsThePreviewPageOnceInAFullScreenWindowWithoutMenuBar) {
    platform::Window* window = preview->window();
    ASSERT_NE(preview->page, nullptr);
    ASSERT_EQ(preview->page->loadedURLs.size(), 1u);
    EXPECT_EQ(preview->page->loadedURLs[0],
              "file://" + std::string(ZELVO_TEST_RESOURCES) + "/preview.html");
    EXPECT_TRUE(preview->resourcesLoaded());
    ASSERT_TRUE(preview->baseURL().has_value());
    EXPECT_EQ(preview->baseURL()->rfind("file://", 0), 0u);
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_FALSE(window->hasShadow());
    EXPECT_EQ(window->title(), "");
    // Without screens the frame is empty before its origin moves up by 40.
    EXPECT_EQ(window->frame(), platform::Rect(0, 40, 0, 0));
    EXPECT_FALSE(platform::Application::menuBarVisible());
    EXPECT_EQ(preview->page->messageNames, (std::vector<std::string>{"print", "exitFullScreen"}));
}

TEST_F(PreviewTest, UnsetHtmlShowsTheDefaultHeadingButEmptyHtmlStaysEmpty) {
    preview->window();
    preview->page->finishLoad();
    EXPECT_EQ(preview->htmlString(), PreviewHTMLWindow::DefaultHTML);
    EXPECT_EQ(lastStatement(),
              "zelvo_editor.setHTML(\"<h3> ᠨᠢᠭᠡ ᠲᠡᠮᠳᠡᠭᠯᠡᠯ\u202Fᠢᠶᠡᠨ "
              "ᠰᠤᠩᠭ\u180Bᠤᠭᠠᠷᠠᠢ</h3>\");");
    EXPECT_EQ(log.lines().front(), "baseURL-----> " + *preview->baseURL());

    auto empty = std::make_shared<FakePagePreview>();
    empty->setHtmlString("");
    empty->window();
    empty->page->finishLoad();
    EXPECT_EQ(empty->page->scripts.back(), "zelvo_editor.setHTML(\"\");");
    // Every finished load pushes the HTML again.
    empty->page->finishLoad();
    EXPECT_EQ(empty->page->scripts.size(), 2u);
}

TEST_F(PreviewTest, EscapingLetsQuotesLineBreaksAndBackslashesThroughAndTurnsCurlyQuotes) {
    EXPECT_EQ(PreviewHTMLWindow::removeQuotesFromHTML("<a href=\"x\">\r\n</a>"),
              "<a href=\\\"x\\\">\\r\\n</a>");
    EXPECT_EQ(PreviewHTMLWindow::removeQuotesFromHTML("\u201Cᠮ\u201D"), "&quot;ᠮ&quot;");
    // A backslash reaches the page as a backslash, and cannot end the literal early.
    EXPECT_EQ(PreviewHTMLWindow::removeQuotesFromHTML("C:\\notes\\"), "C:\\\\notes\\\\");
    EXPECT_EQ(PreviewHTMLWindow::removeQuotesFromHTML(""), "");
}

TEST_F(PreviewTest, ThePageNeverNavigatesAwayFromItself) {
    preview->window();
    FakeWebView& page = *preview->page;
    EXPECT_EQ(page.offerNavigation(page.loadedURLs[0], platform::NavigationAction::Kind::Other),
              platform::NavigationPolicy::Allow);
    EXPECT_EQ(page.offerNavigation("https://example.org/"), platform::NavigationPolicy::Ignore);
    EXPECT_EQ(page.offerNavigation("file:///etc/passwd"), platform::NavigationPolicy::Ignore);
}

TEST_F(PreviewTest, PrintingClampsTheNegativeMarginsAndSaysSo) {
    platform::PrintSetup setup = PreviewHTMLWindow::printSetup();
    EXPECT_EQ(setup.orientation, platform::PrintSetup::Orientation::Landscape);
    EXPECT_EQ(setup.paperSize, (platform::Size{120, 240}));
    EXPECT_EQ(setup.leftMargin, 0);
    EXPECT_EQ(setup.bottomMargin, 0);
    EXPECT_EQ(setup.topMargin, 0);
    EXPECT_EQ(setup.rightMargin, 0);
    EXPECT_EQ(setup.scalingFactor, 1.0);
    EXPECT_NE(log.lines().back().find("below zero"), std::string::npos);

    preview->window();
    preview->page->postMessage("print", "");
    EXPECT_EQ(preview->page->printCount, 1);
}

TEST_F(PreviewTest, ExitEndsTheModalRunClosesAndBringsTheMenuBarBack) {
    platform::Window* window = preview->window();
    platform::RunLoop::mainRunLoop().performBlock(
        [&] { preview->page->postMessage("exitFullScreen", ""); });
    platform::Application::sharedApplication().runModalForWindow(*window);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(platform::Application::menuBarVisible());

    // Closing the window any other way ends the run and brings the bar back too.
    auto other = std::make_shared<FakePagePreview>();
    platform::Window* second = other->window();
    EXPECT_FALSE(platform::Application::menuBarVisible());
    platform::RunLoop::mainRunLoop().performBlock([&] { second->performClose(); });
    platform::Application::sharedApplication().runModalForWindow(*second);
    EXPECT_FALSE(second->isVisible());
    EXPECT_TRUE(platform::Application::menuBarVisible());
}

// The two windows nothing opens: the attributed text in its text view, "21.pdf" in its PDF view.
TEST(SideWindowTest, ShowTheirTextAndTheirPdfPage) {
    ZelvoFolders folders;
    zelvo::previewWindow text;
    text.setAttributedString(platform::AttributedString(u"ᠮᠣᠩᠭᠣᠯ"));
    text.window();
    ASSERT_TRUE(text.myTextView()->attributedText().has_value());
    EXPECT_EQ(text.myTextView()->text(), std::optional<std::u16string>(u"ᠮᠣᠩᠭᠣᠯ"));

    zelvo::previewPDFWindow pdf;
    platform::Window& window = *pdf.window();
    ASSERT_NE(pdf.myPDFDocument(), nullptr);
    EXPECT_EQ(pdf.myPdfView()->document(), pdf.myPDFDocument());
    ASSERT_EQ(pdf.myPDFDocument()->pageCount(), 1);
    EXPECT_EQ(pdf.myPDFDocument()->pageSize(0), (platform::Size{420, 297}));

    // Drawn: the page stands white on the grey ground, its dark title band across its top.
    platform::View& content = *window.contentView();
    auto context = platform::GraphicsContext::imageContext(int(content.frame().width()),
                                                           int(content.frame().height()));
    content.displayInContext(*context);
    platform::Image image = context->makeImage();
    image.writePNG(testOutputPath("zelvo-pdf-preview.png").string());
    platform::Rect page = pdf.myPdfView()->convertRectToView(pdf.myPdfView()->pageRect(0), nullptr);
    double scale = page.width() / 420;
    auto at = [&](double x, double yFromTop) {
        return image.pixel(int(page.minX() + x * scale), int(page.maxY() - yFromTop * scale));
    };
    EXPECT_GT(at(300, 150).red, 0.95);      // paper
    EXPECT_LT(at(300, 20).red, 0.3);        // the title band
    EXPECT_LT(image.pixel(2, 2).red, 0.8);  // the ground around the page
    EXPECT_LT(image.pixel(2, 2).red, at(300, 150).red);
}

}  // namespace
