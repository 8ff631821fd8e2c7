#pragma once

#include <string>
#include <vector>

#include "platform/imk/InputClient.h"

// A client text field as an input method sees it, with no display: the document text, the
// marked text inside it, and a record of every call. It behaves as a real client does: an insert
// replaces the marked text (or goes at the caret when there is none) and leaves no marked text;
// new marked text replaces the old; an empty marked text removes it.
class FakeInputClient : public platform::imk::InputClient {
  public:
    struct Insert {
        std::u16string text;
        platform::Range replacementRange;
    };
    struct Mark {
        std::u16string text;
        platform::imk::MarkAttributes attributes;
        platform::Range selectionRange;
        platform::Range replacementRange;
    };

    void insertText(const std::u16string& text, platform::Range replacementRange) override {
        inserts.push_back({text, replacementRange});
        document += text;
        markedText.clear();
    }
    void setMarkedText(const std::u16string& text, const platform::imk::MarkAttributes& attributes,
                       platform::Range selectionRange, platform::Range replacementRange) override {
        marks.push_back({text, attributes, selectionRange, replacementRange});
        markedText = text;
    }
    platform::TextAttributes attributesForCharacterIndex(std::uint64_t index,
                                                         platform::Rect* lineRect) override {
        attributeQueries.push_back(index);
        if (lineRect) *lineRect = caretRect;
        return {};
    }
    void overrideKeyboardWithKeyboardNamed(const std::string& name) override {
        keyboardOverrides.push_back(name);
    }

    // What the user sees: the committed text followed by the marked text.
    std::u16string visibleText() const { return document + markedText; }
    bool hasMarkedText() const { return !markedText.empty(); }

    std::u16string document;
    std::u16string markedText;
    platform::Rect caretRect{100, 500, 2, 18};
    std::vector<Insert> inserts;
    std::vector<Mark> marks;
    std::vector<std::uint64_t> attributeQueries;
    std::vector<std::string> keyboardOverrides;
};
