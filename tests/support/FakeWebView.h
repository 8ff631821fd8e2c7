#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/web/WebView.h"

// A web view without an engine: it records what the program asks of the page and answers each
// evaluated statement through a scripted responder; the test plays the page's side (finished
// loads, script messages, navigations) by hand. A statement sent with a completion is answered at
// once, or, while holdAnswers is set, only when the test says (answerNext, answerAll), so that
// the test decides what happens while the page is busy.
class FakeWebView : public platform::WebView {
  public:
    using Responder = std::function<platform::JavaScriptResult(const std::string& script)>;

    static platform::JavaScriptResult answer(std::string text) {
        platform::JavaScriptResult result;
        result.status = platform::JavaScriptResult::Status::Succeeded;
        result.value = std::move(text);
        return result;
    }
    static platform::JavaScriptResult nothing() {
        platform::JavaScriptResult result;
        result.status = platform::JavaScriptResult::Status::Succeeded;
        return result;
    }
    static platform::JavaScriptResult failure(std::string why = "ReferenceError") {
        platform::JavaScriptResult result;
        result.status = platform::JavaScriptResult::Status::Failed;
        result.error = std::move(why);
        return result;
    }

    void setResponder(Responder responder) { m_responder = std::move(responder); }

    // Everything the program evaluated, in order.
    std::vector<std::string> scripts;
    std::vector<std::string> loadedURLs;
    std::vector<std::string> messageNames;  // channels the program opened
    bool holdsInput = false;                // as the program last set it
    uint64_t passedKeys = 0;                // what keysPassed() answers
    bool holdAnswers = false;
    std::function<void()> inputLetGo;  // called when the program lets held keys go
    // Called with the count of the first held events the program passes on while holding input.
    std::function<void(size_t)> heldInputPassed;
    int printCount = 0;
    std::vector<std::string> pdfPaths;

    // The user's side: input events the view keeps while it holds input.
    void holdInputEvents(size_t count) {
        m_held += count;
        m_everHeld += count;
    }

    // The page side.
    void finishLoad() {
        m_loading = false;
        didFinishLoad();
    }
    // Statements sent and not answered yet.
    size_t unanswered() const { return m_unanswered.size(); }
    // The page runs the oldest statement sent and answers it; whether there was one.
    bool answerNext() {
        if (m_unanswered.empty()) return false;
        auto [script, completion] = std::move(m_unanswered.front());
        m_unanswered.pop_front();
        platform::JavaScriptResult result = m_responder ? m_responder(script) : nothing();
        if (completion) completion(result);
        return true;
    }
    // Answers until nothing is left, the statements sent meanwhile too.
    void answerAll() {
        while (answerNext()) {
        }
    }
    void postMessage(const std::string& name, const std::string& body) {
        didReceiveScriptMessage(name, body);
    }
    platform::NavigationPolicy offerNavigation(
        const std::string& url,
        platform::NavigationAction::Kind kind = platform::NavigationAction::Kind::LinkClicked) {
        platform::NavigationAction action;
        action.url = url;
        action.kind = kind;
        return decideNavigation(action);
    }

    void loadFileURL(const std::string& path) override {
        m_url = "file://" + path;
        loadedURLs.push_back(m_url);
        m_loading = true;
    }
    void loadHTMLString(const std::string&, const std::string& baseURL) override {
        m_url = baseURL;
        loadedURLs.push_back(baseURL);
        m_loading = true;
    }
    std::string url() const override { return m_url; }
    bool isLoading() const override { return m_loading; }
    void stopLoading() override { m_loading = false; }
    bool loadFailed() const override { return false; }
    void evaluateJavaScript(const std::string& script, JavaScriptCompletion completion) override {
        scripts.push_back(script);
        m_unanswered.emplace_back(script, std::move(completion));
        if (holdAnswers || m_answering) return;  // an answer under way sends this one next
        m_answering = true;
        answerAll();
        m_answering = false;
    }
    bool print() override {
        ++printCount;
        return true;
    }
    void printToPDF(const std::string& path, const platform::PrintSetup&,
                    PrintCompletion done) override {
        pdfPaths.push_back(path);
        done(true, "");
    }
    void snapshot(SnapshotCompletion done) override { done(std::nullopt); }
    platform::Size frameSize() const override { return m_size; }
    void setFrameSize(platform::Size size) override { m_size = size; }
    uint64_t keysPassed() const override { return passedKeys; }
    void setHeldInput(HeldInput held) override {
        holdsInput = held != HeldInput::Nothing;
        if (holdsInput) return;
        m_held = 0;
        if (inputLetGo) inputLetGo();
    }
    size_t heldInputEvents() const override { return m_held; }
    uint64_t inputEventsEverHeld() const override { return m_everHeld; }
    void passHeldInputEvents(size_t count) override {
        count = std::min(count, m_held);
        m_held -= count;
        if (heldInputPassed) heldInputPassed(count);
    }

  protected:
    void registerScriptMessageName(const std::string& name) override {
        messageNames.push_back(name);
    }

  private:
    Responder m_responder;
    std::deque<std::pair<std::string, JavaScriptCompletion>> m_unanswered;
    bool m_answering = false;
    size_t m_held = 0;
    uint64_t m_everHeld = 0;
    std::string m_url;
    bool m_loading = false;
    platform::Size m_size{800, 600};
};
