// The source view's tokenizer and buffer under a stream of edits: tokens lie inside the text and
// never overlap, and undoing every change gives back the text exactly, step by step.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "notes/UI/SourceTextView/SourceBuffer.h"
#include "notes/UI/SourceTextView/SourceParser.h"

namespace {

void checkTokens(const std::u16string& text, int32_t language) {
    struct Seen {
        uint64_t end = 0;
        size_t count = 0;
    } seen;
    zelvo::parseSource(
        text, platform::Range{0, text.size()}, language,
        [](const std::u16string& string, uint32_t kind, platform::Range range, void* user) {
            auto* s = static_cast<Seen*>(user);
            FUZZ_CHECK(kind <= zelvo::SourceTokenPreprocessor);
            FUZZ_CHECK(range.location >= s->end);
            FUZZ_CHECK(range.max() <= string.size());
            s->end = range.max();
            ++s->count;
        },
        &seen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    // The first bytes pick the language; a short text follows, then the edits.
    int32_t language = in.byte() % 6;
    size_t length = in.byte() % 48;
    static const char16_t alphabet[] = u"\t\n ab#\"'/*-[]\\x\u1820";
    auto unit = [&] { return alphabet[in.byte() % (sizeof alphabet / 2 - 1)]; };
    std::u16string start;
    for (size_t i = 0; i < length && in.more(); ++i) start += unit();

    zelvo::SourceBuffer buffer;
    buffer.setLanguage(language);
    buffer.setSource(start);
    checkTokens(start, language);
    std::vector<std::u16string> history{buffer.text()};
    while (in.more() && history.size() < 64) {
        uint8_t op = in.byte();
        uint64_t location = in.byte() % (buffer.text().size() + 2);
        uint64_t span = in.byte() % 8;
        buffer.setSelectedRange(platform::Range{location, span});
        std::u16string before = buffer.text();
        switch (op % 4) {
            case 0:
                buffer.shiftLeft();
                break;
            case 1:
                buffer.shiftRight();
                break;
            case 2:
                buffer.insertNewline();
                break;
            default: {
                std::u16string replacement;
                for (int n = op / 4 % 4; n > 0; --n) replacement += unit();
                buffer.replaceCharacters(buffer.selectedRange(), replacement);
            }
        }
        platform::Range selection = buffer.selectedRange();
        FUZZ_CHECK(selection.max() <= buffer.text().size());
        checkTokens(buffer.text(), language);
        if (buffer.text() != before) history.push_back(buffer.text());
    }
    // Every change of the text was one undo step: undo walks the history back exactly.
    for (size_t i = history.size() - 1; i > 0; --i) {
        FUZZ_CHECK(buffer.undoManager().canUndo());
        FUZZ_CHECK(buffer.text() == history[i]);
        buffer.undoManager().undo();
        FUZZ_CHECK(buffer.text() == history[i - 1]);
        FUZZ_CHECK(buffer.selectedRange().max() <= buffer.text().size());
    }
    FUZZ_CHECK(!buffer.undoManager().canUndo());
    // And redo walks it forward again.
    for (size_t i = 1; i < history.size(); ++i) {
        buffer.undoManager().redo();
        FUZZ_CHECK(buffer.text() == history[i]);
    }
    return 0;
}
