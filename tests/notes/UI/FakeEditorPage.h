#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notes/UI/EditorViewController.h"
#include "notes/UI/NoteNotifications.h"
#include "notes/UI/PanelOutputs.h"
#include "tests/support/FakeWebView.h"
#include "tests/support/JavaScriptLiteral.h"

// The editor page played by the test: each statement is read with a strict string-literal
// decoder (a statement the real engine could not parse fails here too) and answered from a
// little document model.
struct FakeEditorPage {
    std::string html;
    std::optional<std::string> placeholder;
    // What "zelvo_editor.getText();" answers; by default the HTML without its tags.
    std::optional<std::string> text;
    // The text selected in the page, what "zelvo_editor.getSelectedNode();" answers.
    std::string selection;
    std::function<std::string(const std::string&)> format = [](const std::string& s) { return s; };
    bool editable = false;  // as the page starts
    bool answersHTML = true;
    bool answersText = true;
    bool answersFormat = true;
    std::vector<std::string> formatted;           // every argument style_html received
    std::vector<std::vector<std::string>> calls;  // every other zelvo_editor call and its arguments
    std::vector<std::string> callNames;
    // Keys the engine took and has not yet handed to the page. Like the engine, it hands them
    // over one at a time, between the statements it runs: a key typed during a long statement
    // reaches whatever the page holds by then.
    std::string queuedKeys;
    int keysDropped = 0;  // reached the page while it took no typing
    uint64_t keysSeen = 0;
    uint64_t edits = 0;           // the user's, since the note was put in
    std::string noteId = "null";  // the note the page was given, as the program wrote it

    void deliverKey() {
        if (queuedKeys.empty()) return;
        char key = queuedKeys.front();
        queuedKeys.erase(0, 1);
        ++keysSeen;
        if (editable) {
            html += key;
            ++edits;
        } else
            ++keysDropped;
    }

    static std::string stripTags(const std::string& markup) {
        std::string out;
        bool inTag = false;
        for (char c : markup) {
            if (c == '<')
                inTag = true;
            else if (c == '>')
                inTag = false;
            else if (!inTag)
                out += c;
        }
        return out;
    }

    platform::JavaScriptResult respond(const std::string& script) {
        deliverKey();
        if (script.starts_with("zelvo_editor.setHTML(")) {
            // The note's markup, then its id (a number, or null for none).
            size_t comma = script.rfind(", ");
            auto args = comma == std::string::npos
                            ? std::nullopt
                            : jsliteral::callArguments(script.substr(0, comma) + ");",
                                                       "zelvo_editor.setHTML");
            if (!args || args->size() != 1 || !script.ends_with(");"))
                return FakeWebView::failure("arguments");
            html = args->front();
            noteId = script.substr(comma + 2, script.size() - comma - 4);
            edits = 0;
            return FakeWebView::answer("true");
        }
        if (script.starts_with("zelvo_editor.editsSince(")) {
            if (!answersHTML) return FakeWebView::failure();
            uint64_t seen = std::stoull(script.substr(script.find('(') + 1));
            return edits > seen
                       ? FakeWebView::answer(noteId + " " + std::to_string(edits) + " " + html)
                       : FakeWebView::nothing();
        }
        if (auto args = jsliteral::callArguments(script, "zelvo_editor.setPlaceholder")) {
            if (args->size() != 1) return FakeWebView::failure("arguments");
            placeholder = args->front();
            return FakeWebView::answer("true");
        }
        if (auto args = jsliteral::callArguments(script, "style_html")) {
            if (args->size() != 1) return FakeWebView::failure("arguments");
            formatted.push_back(args->front());
            return answersFormat ? FakeWebView::answer(format(args->front()))
                                 : FakeWebView::failure();
        }
        if (script == "zelvo_editor.setEditable(true);" ||
            script == "zelvo_editor.setEditable(false);") {
            editable = script == "zelvo_editor.setEditable(true);";
            return FakeWebView::answer("true");
        }
        if (script == "zelvo_editor.keysSeen();")
            return FakeWebView::answer(std::to_string(keysSeen));
        if (script == "zelvo_editor.getHTML();")
            return answersHTML ? FakeWebView::answer(html) : FakeWebView::failure();
        if (script == "zelvo_editor.getSelectedNode();") return FakeWebView::answer(selection);
        if (script == "zelvo_editor.getText();")
            return answersText ? FakeWebView::answer(text.value_or(stripTags(html)))
                               : FakeWebView::failure();
        std::string prefix = "zelvo_editor.";
        if (script.rfind(prefix, 0) == 0) {
            size_t open = script.find('(');
            if (open != std::string::npos) {
                std::string name = script.substr(prefix.size(), open - prefix.size());
                if (auto args = jsliteral::callArguments(script, prefix + name)) {
                    callNames.push_back(name);
                    calls.push_back(*args);
                    return FakeWebView::answer("true");
                }
            }
        }
        if (script.rfind("zelvo_editor.setHeading('h", 0) == 0 ||
            script.rfind("zelvo_editor.contentHeight = ", 0) == 0) {
            callNames.push_back(script);
            calls.push_back({});
            return FakeWebView::nothing();
        }
        return FakeWebView::failure("SyntaxError: " + script);
    }
};

class RecordingOutputs : public zelvo::PanelOutputs {
  public:
    bool unicode = false;
    bool info = false;
    std::vector<std::string> unicodeStrings;
    std::vector<std::string> wordCounts;
    bool unicodeExpanded() const override { return unicode; }
    bool infoExpanded() const override { return info; }
    void setUnicodeString(const std::string& text) override { unicodeStrings.push_back(text); }
    void setWordCountOfInfos(const std::string& count) override { wordCounts.push_back(count); }
};

// An editor over the fake page, with its notes store and clock recorded.
struct EditorHarness {
    FakeEditorPage page;
    FakeWebView* web = nullptr;
    std::vector<NoteObject> updates;
    bool updateSucceeds = true;
    std::vector<std::string> openedURLs;
    std::vector<std::string> sourcesShown;
    std::optional<std::pair<std::string, std::string>> linkAnswer;
    std::optional<std::string> chosenImage;
    std::optional<std::string> pickedColour;
    std::optional<std::pair<std::string, double>> pickedFont;
    std::vector<std::string> linkDialogTitles;
    platform::Date clock = platform::Date::dateWithTimeIntervalSince1970(1'800'000'000);
    std::unique_ptr<zelvo::EditorViewController> editor;
    int updatedNotices = 0;
    std::shared_ptr<NoteObject> lastUpdated;
    platform::NotificationCenter::Token updatedObserver = 0;

    explicit EditorHarness(bool load = true) {
        auto fake = std::make_unique<FakeWebView>();
        web = fake.get();
        web->setResponder([this](const std::string& script) { return page.respond(script); });
        web->inputLetGo = [this] {
            pass(heldKeys);
            heldKeys.clear();
        };
        web->heldInputPassed = [this](size_t count) {
            pass(heldKeys.substr(0, count));
            heldKeys.erase(0, count);
        };
        zelvo::EditorServices services;
        services.updateNote = [this](const NoteObject& note) {
            updates.push_back(note);
            return updateSucceeds;
        };
        services.updateFailureReason = [] {
            return std::string("attempt to write a readonly database");
        };
        services.now = [this] { return clock; };
        services.openURL = [this](const std::string& url) { openedURLs.push_back(url); };
        services.editorPagePath = "/opt/zelvo/editor.html";
        services.showSource = [this](const std::string& html) { sourcesShown.push_back(html); };
        services.runLinkDialog = [this](const std::string& title) {
            linkDialogTitles.push_back(title);
            return linkAnswer;
        };
        services.chooseImage = [this] { return chosenImage; };
        services.runColorPanel = [this] { return pickedColour; };
        services.runFontPanel = [this] { return pickedFont; };
        editor = std::make_unique<zelvo::EditorViewController>(std::move(fake), services);
        updatedObserver = platform::NotificationCenter::defaultCenter().addObserver(
            NOTI_NOTE_UPDATED, [this](const platform::Notification& notification) {
                ++updatedNotices;
                auto note = notification.objectAs<std::shared_ptr<NoteObject>>();
                lastUpdated = note ? *note : nullptr;
            });
        editor->view();
        if (load) web->finishLoad();
    }
    // The page's HTML as the editor reads it back (the fake page answers at once).
    std::optional<std::string> readHTML() {
        std::optional<std::string> html;
        editor->getHTML([&](std::optional<std::string> answer) { html = std::move(answer); });
        return html;
    }
    // Whether the editor lets the program quit (asked with the fake page answering at once).
    bool letsQuit() {
        bool quit = false;
        editor->applicationShouldTerminate([&](bool answer) { quit = answer; });
        return quit;
    }
    ~EditorHarness() {
        platform::NotificationCenter::defaultCenter().removeObserver(updatedObserver);
    }

    static std::shared_ptr<NoteObject> note(int32_t id, std::optional<std::string> text,
                                            std::optional<std::string> summary = std::string()) {
        auto made = std::make_shared<NoteObject>();
        made->setN_id(id);
        made->setN_text(std::move(text));
        made->setN_summary(std::move(summary));
        return made;
    }
    // The user edits the page, which reports the edit of the note it holds.
    void type(const std::string& html) {
        page.html = html;
        ++page.edits;
        reportEdit();
    }
    void reportEdit() {
        web->postMessage("contentChanged", page.noteId == "null" ? "" : page.noteId);
    }
    // The user presses keys: the view keeps them while it holds keys, else the engine queues them
    // for the page.
    void typeKeys(const std::string& keys) {
        if (web->holdsInput) {
            heldKeys += keys;
            web->holdInputEvents(keys.size());
        } else
            pass(keys);
    }
    // The view hands keys to the engine, which queues them for the page.
    void pass(const std::string& keys) {
        page.queuedKeys += keys;
        web->passedKeys += keys.size();
    }
    // The engine, idle, hands the page every queued key; the page reports the edit.
    void settleKeys() {
        bool any = !page.queuedKeys.empty();
        while (!page.queuedKeys.empty()) page.deliverKey();
        if (any) reportEdit();
    }
    std::string heldKeys;  // typed while the view held keys
};
