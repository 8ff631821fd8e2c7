#include "platform/graphics/WordTokenizer.h"

#include <unicode/brkiter.h>
#include <unicode/utext.h>

namespace platform {

struct WordTokenizer::Impl {
    std::unique_ptr<icu::BreakIterator> iterator;

    std::optional<Range> scanFrom(int32_t start) {
        for (int32_t end = iterator->following(start); end != icu::BreakIterator::DONE;
             start = end, end = iterator->next()) {
            if (iterator->getRuleStatus() != UBRK_WORD_NONE) {
                return Range{static_cast<uint64_t>(start), static_cast<uint64_t>(end - start)};
            }
        }
        return std::nullopt;
    }
};

WordTokenizer::WordTokenizer(std::u16string text) : m_text(std::move(text)) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> iterator(
        icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) return;
    // The iterator reads the text in place; m_text lives as long as it does.
    UText* ut =
        utext_openUChars(nullptr, m_text.data(), static_cast<int64_t>(m_text.size()), &status);
    if (U_SUCCESS(status)) iterator->setText(ut, status);
    utext_close(ut);
    if (U_FAILURE(status)) return;
    m_impl = std::make_unique<Impl>(Impl{std::move(iterator)});
}

WordTokenizer::~WordTokenizer() = default;

std::optional<Range> WordTokenizer::first() {
    if (!m_impl) return std::nullopt;
    return m_impl->scanFrom(m_impl->iterator->first());
}

std::optional<Range> WordTokenizer::next() {
    if (!m_impl) return std::nullopt;
    return m_impl->scanFrom(m_impl->iterator->current());
}

}  // namespace platform
