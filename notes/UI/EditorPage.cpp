#include "notes/UI/EditorPage.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/web/JavaScriptString.h"

namespace zelvo {

using platform::logf;

EditorPage::EditorPage(std::function<platform::WebView*()> view) : m_view(std::move(view)) {}

std::string EditorPage::call(const std::string& function,
                             std::initializer_list<std::string> arguments) {
    std::string statement = "zelvo_editor." + function + "(";
    bool first = true;
    for (const std::string& argument : arguments) {
        if (!first) statement += ", ";
        statement += platform::quoteJavaScriptString(argument);
        first = false;
    }
    return statement + ");";
}

void EditorPage::evaluate(const std::string& statement, Answer answer) {
    if (!answer) return evaluateResult(statement, nullptr);
    evaluateResult(statement,
                   [answer = std::move(answer)](const platform::JavaScriptResult& result) {
                       answer(result.succeeded() ? result.value : std::nullopt);
                   });
}

void EditorPage::evaluateResult(const std::string& statement, Result result) {
    platform::WebView* page = m_view();
    if (!page) {
        // A page still to come has nothing to run a statement on; it shows the note once loaded.
        if (result) result(platform::JavaScriptResult{});
        return;
    }
    // The statement's name only: its arguments are the user's notes.
    std::string name = statement.substr(0, std::min(statement.find('('), size_t(40)));
    std::weak_ptr<int> alive = m_alive;
    page->evaluateJavaScript(statement, [name, alive, result = std::move(result)](
                                            const platform::JavaScriptResult& answer) {
        if (!answer.succeeded())
            logf("-[EditorViewController stringByEvaluatingJavaScriptFromString:] %s: %s",
                 name.c_str(), answer.error.c_str());
        if (!alive.lock() || !result) return;
        result(answer);
    });
}

void EditorPage::command(const std::string& statement) {
    perform([this, statement](PageOperations::Finished finished) {
        evaluate(statement, [finished](std::optional<std::string>) { finished(); });
    });
}

void EditorPage::setHTML(const std::string& html, std::optional<int32_t> noteId,
                         std::function<void(bool)> done) {
    std::string id = noteId ? std::to_string(*noteId) : "null";
    // A stored note may hold bytes that are no UTF-8: the page shows each as U+FFFD and keeps
    // every readable character, while the row stays as it is until the user edits.
    std::string statement = "zelvo_editor.setHTML(" +
                            platform::quoteJavaScriptString(platform::validUtf8(html)) + ", " + id +
                            ");";
    evaluate(statement, [done = std::move(done)](std::optional<std::string> answer) {
        done(answer.has_value());
    });
}

void EditorPage::setPlaceholder(const std::string& text) {
    evaluate(call("setPlaceholder", {text}), nullptr);
}

void EditorPage::setEditable(bool editable, Done done) {
    std::string statement =
        editable ? "zelvo_editor.setEditable(true);" : "zelvo_editor.setEditable(false);";
    if (editable) {
        evaluate(statement, [done = std::move(done)](std::optional<std::string>) { done(); });
        return;
    }
    holdInput();
    std::weak_ptr<int> alive = m_alive;
    afterInputArrived([this, alive, statement, done = std::move(done)] {
        if (!alive.lock()) return;
        evaluate(statement, [done](std::optional<std::string>) { done(); });
    });
}

void EditorPage::afterInputArrived(Done done) {
    std::weak_ptr<int> alive = m_alive;
    afterClicksSeen([this, alive, done = std::move(done)] {
        if (!alive.lock()) return;
        waitForKeysInFlight(done);
    });
}

void EditorPage::editsSince(uint64_t seen, std::function<void(PageEdits)> done) {
    evaluateResult("zelvo_editor.editsSince(" + std::to_string(seen) + ");",
                   [done = std::move(done)](const platform::JavaScriptResult& result) {
                       // "<note id> <count> <markup>", the id "null" for a page given no note; null
                       // (no value) when there were no more edits.
                       PageEdits edits{result.succeeded(), std::nullopt, 0, std::nullopt};
                       std::optional<std::string> answer = result.value;
                       if (!answer) return done(std::move(edits));
                       size_t idEnd = answer->find(' ');
                       size_t countEnd =
                           idEnd == std::string::npos ? idEnd : answer->find(' ', idEnd + 1);
                       if (countEnd == std::string::npos)
                           return done(PageEdits{});  // not the page's own answer
                       if (answer->compare(0, idEnd, "null") != 0)
                           edits.noteId = int32_t(std::strtol(answer->c_str(), nullptr, 10));
                       edits.count = std::strtoull(answer->c_str() + idEnd + 1, nullptr, 10);
                       answer->erase(0, countEnd + 1);
                       edits.html = std::move(answer);
                       done(std::move(edits));
                   });
}

void EditorPage::styleHTML(const std::string& html, Answer answer) {
    evaluate("style_html(" + platform::quoteJavaScriptString(html) + ");", std::move(answer));
}

void EditorPage::holdInput() {
    if (!m_inputHeld && m_waitingForPress) m_passUpTo = std::max(m_passUpTo, inputHeldSoFar());
    m_inputHeld = true;
    updateHeldKeys();
}

void EditorPage::letInputGo() {
    m_inputHeld = false;
    updateHeldKeys();
}

uint64_t EditorPage::inputHeldSoFar() const {
    platform::WebView* page = m_view();
    return page ? page->inputEventsEverHeld() : 0;
}

void EditorPage::passHeldInput(uint64_t mark) {
    m_passUpTo = std::max(m_passUpTo, mark);
    // A click on its way holds the keys behind it until the page has seen it (clicksSeen).
    if (m_inputHeld && !m_waitingForPress) passHeldUpToMark();
}

void EditorPage::passHeldUpToMark() {
    platform::WebView* page = m_view();
    if (!page) return;
    uint64_t passed = page->inputEventsEverHeld() - page->heldInputEvents();
    if (m_passUpTo > passed) page->passHeldInputEvents(size_t(m_passUpTo - passed));
}

void EditorPage::updateHeldKeys() {
    using Held = platform::WebView::HeldInput;
    if (platform::WebView* page = m_view())
        page->setHeldInput(m_inputHeld         ? Held::KeysAndClicks
                           : m_waitingForPress ? Held::Keys
                                               : Held::Nothing);
}

void EditorPage::buttonPressed() {
    // A wait under way compares with the view's count at every answer: it covers this press too.
    if (m_waitingForPress) return;
    m_waitingForPress = true;
    updateHeldKeys();
    std::weak_ptr<int> alive = m_alive;
    // A click the page never sees (on its scroll bar, say) is given up soon: the page is idle.
    auto wait = std::make_shared<Wait>(&m_pressesUnseen, std::chrono::milliseconds(500));
    waitUntilSeen(
        call("pressesSeen"),
        [this] {
            platform::WebView* page = m_view();
            return page ? page->buttonPressesPassed() : 0;
        },
        wait,
        [this, alive] {
            if (alive.lock()) clicksSeen();
        });
}

void EditorPage::clicksSeen() {
    m_waitingForPress = false;
    platform::WebView* page = m_view();
    if (m_inputHeld && page) {
        // Typed before the operations held keys: into the page as it is.
        passHeldUpToMark();
    } else {
        updateHeldKeys();
    }
    std::vector<Done> waiting;
    waiting.swap(m_afterClicks);
    for (Done& done : waiting) done();
}

void EditorPage::afterClicksSeen(Done done) {
    if (!m_waitingForPress) return done();
    m_afterClicks.push_back(std::move(done));
}

// ---- Keys and clicks on their way -------------------------------------------------------------

// A key or click still to come is given up only once the page has kept answering at once,
// without another arriving, for a good while: a page slow to answer is busy with them (typing
// into a large note can take seconds a key).
// What was given up is counted as unseen from then on, so that the next wait is for what comes
// after it.
struct EditorPage::Wait {
    using Clock = std::chrono::steady_clock;
    static constexpr auto prompt = std::chrono::milliseconds(100);
    Wait(uint64_t* unseen, Clock::duration quietest) : unseen(unseen), quietest(quietest) {}
    uint64_t* unseen;
    Clock::duration quietest;
    uint64_t last = 0;
    Clock::time_point quietSince = Clock::now();
};

void EditorPage::pageDidLoad() {
    // The view counts afresh with each page.
    m_keysUnseen = 0;
    m_pressesUnseen = 0;
}

void EditorPage::waitForKeysInFlight(Done done) {
    platform::WebView* page = m_view();
    if (!page || page->keysPassed() == 0) return done();
    waitUntilSeen(
        call("keysSeen"),
        [this] {
            platform::WebView* view = m_view();
            return view ? view->keysPassed() : 0;
        },
        std::make_shared<Wait>(&m_keysUnseen, std::chrono::seconds(2)), std::move(done));
}

void EditorPage::waitUntilSeen(const std::string& statement, std::function<uint64_t()> passed,
                               std::shared_ptr<Wait> wait, Done done) {
    Wait::Clock::time_point asked = Wait::Clock::now();
    evaluate(statement,
             [this, statement, passed, wait, asked, done](std::optional<std::string> answer) {
                 Wait::Clock::time_point answered = Wait::Clock::now();
                 if (!answer) {
                     logf("Editor: %s did not answer: what is on its way to the page goes on",
                          statement.c_str());
                     return done();
                 }
                 uint64_t seen = std::strtoull(answer->c_str(), nullptr, 10) + *wait->unseen;
                 if (seen >= passed()) return done();
                 if (seen != wait->last || answered - asked > Wait::prompt) {
                     wait->last = seen;
                     wait->quietSince = answered;
                 } else if (answered - wait->quietSince > wait->quietest) {
                     logf("Editor: %s stays behind what was passed to the page: it is given up",
                          statement.c_str());
                     *wait->unseen += passed() - seen;
                     return done();
                 }
                 waitUntilSeen(statement, passed, wait, done);
             });
}

}  // namespace zelvo
