#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/WindowController.h"

namespace zelvo {

class SourceRulerView;
class SourceTextView;

// The modal window that shows a note's HTML as coloured source, with line numbers. Nothing is
// read back: edits made here do not reach the note.
class SourceWindowController : public platform::WindowController {
  public:
    SourceWindowController();

    // Opens the window for the HTML and runs it modally until it is closed.
    static void runForHTML(const std::string& html);

    SourceTextView* sourceView() const { return m_sourceView.get(); }
    SourceRulerView* rulerView() const { return m_ruler.get(); }
    const std::string& sourceText() const { return m_sourceText; }
    void setSourceText(std::string text) { m_sourceText = std::move(text); }

    // The keyword colours of the resource "JavaScript.plist" with "lua" in red; absent when the
    // list cannot be read.
    static std::optional<std::map<std::string, platform::Color>> keywordColors();

    bool windowShouldClose(platform::Window& window) override;

  protected:
    void loadWindow() override;
    void windowDidLoad() override;

  private:
    std::shared_ptr<SourceTextView> m_sourceView;
    std::shared_ptr<SourceRulerView> m_ruler;
    std::string m_sourceText;
};

}  // namespace zelvo
