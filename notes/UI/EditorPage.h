#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notes/UI/PageOperations.h"
#include "platform/web/WebView.h"

namespace zelvo {

// What the page answers when asked for the user's edits since a count: the note they were made
// in, their count and the page's own serialisation of its content.
struct PageEdits {
    bool answered = false;            // false: the page did not answer
    std::optional<int32_t> noteId;    // the note the page was given with its content
    uint64_t count = 0;               // the edits made in it since it was put in
    std::optional<std::string> html;  // absent when there were no more than asked about
};

// The editor page's script (zelvo_editor and style_html) as typed calls. Every statement is sent
// to the page and its answer taken by a callback; none waits. An answer that did not come (no
// page yet, a script error) is absent, never "".
//
// Statements that must follow one another with nothing in between go into one operation
// (perform): the page's operations run one at a time.
class EditorPage {
  public:
    using Answer = std::function<void(std::optional<std::string> value)>;
    using Done = std::function<void()>;

    // The page is asked for at every statement: it may come later, or never.
    explicit EditorPage(std::function<platform::WebView*()> view);

    // Queued behind the page's other operations (see PageOperations).
    void perform(PageOperations::Operation operation) {
        m_operations.perform(std::move(operation));
    }
    bool idle() const { return m_operations.idle(); }
    // One statement queued on its own, its answer ignored.
    void command(const std::string& statement);

    // One statement now, whatever else runs; its answer (logged when it failed).
    void evaluate(const std::string& statement, Answer answer);
    // "zelvo_editor.<function>("<argument>", ...);", every argument escaped so that it reaches the
    // page exactly and can never end the statement.
    static std::string call(const std::string& function,
                            std::initializer_list<std::string> arguments = {});

    // Puts the note's HTML in (the placeholder for an empty note), telling the page whose it is;
    // whether the page took it.
    void setHTML(const std::string& html, std::optional<int32_t> noteId,
                 std::function<void(bool taken)> done);
    void setPlaceholder(const std::string& text);
    // Whether the page takes typing. Locking waits first until every key handed to the engine
    // has reached the page, so the keys typed before belong to the note the page holds.
    void setEditable(bool editable, Done done);
    // Runs `done` once every click and key handed to the engine so far has reached the page: what
    // the page reports then includes them.
    void afterInputArrived(Done done);
    void editsSince(uint64_t seen, std::function<void(PageEdits)> done);
    void getHTML(Answer answer) { evaluate(call("getHTML"), std::move(answer)); }
    void getText(Answer answer) { evaluate(call("getText"), std::move(answer)); }
    void getSelectedNode(Answer answer) { evaluate(call("getSelectedNode"), std::move(answer)); }
    void styleHTML(const std::string& html, Answer answer);

    // Keys typed and clicks made on the page from now on wait before the engine until let go
    // (see WebView::setHeldInput); keys typed before, still waiting for a click to reach the page,
    // go on once it has.
    void holdInput();
    void letInputGo();
    // The input events the view has held so far, a mark that stays put while they are passed on.
    uint64_t inputHeldSoFar() const;
    // While input stays held, the events held before the mark go on to the page (once a click on
    // its way has reached it); those after it keep waiting.
    void passHeldInput(uint64_t mark);
    // The view handed a mouse button press to the engine: the keys typed after it wait until the
    // page has seen it, so they go where the click put the caret (the engine passes clicks and
    // keys on separately, and a busy page may see the keys first).
    void buttonPressed();
    // A page (re)loaded: the view's counts begin again.
    void pageDidLoad();

  private:
    using Result = std::function<void(const platform::JavaScriptResult& result)>;
    struct Wait;
    // One statement now, and the engine's whole result: a null answer is not a failure.
    void evaluateResult(const std::string& statement, Result result);
    void waitForKeysInFlight(Done done);
    // Asks the page for its count (keys or presses seen) until it reaches what the view passed.
    void waitUntilSeen(const std::string& statement, std::function<uint64_t()> passed,
                       std::shared_ptr<Wait> wait, Done done);
    void updateHeldKeys();
    // Runs `done` once no click is on its way to the page.
    void afterClicksSeen(Done done);
    void clicksSeen();
    void passHeldUpToMark();

    std::function<platform::WebView*()> m_view;
    PageOperations m_operations;
    bool m_inputHeld = false;        // by the operations (a switch)
    bool m_waitingForPress = false;  // a click on its way to the page
    // Input events held before this mark (see inputHeldSoFar) go on although the operations hold
    // input: the keys typed after a click and before the operations held keys, which belong to
    // the page as it is, once the click has reached it, and those passed on by passHeldInput.
    uint64_t m_passUpTo = 0;
    std::vector<Done> m_afterClicks;
    // Keys and clicks passed to the page that it never saw (see Wait).
    uint64_t m_keysUnseen = 0;
    uint64_t m_pressesUnseen = 0;
    // Lets an answer that comes late see whether this page object is still there.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

}  // namespace zelvo
