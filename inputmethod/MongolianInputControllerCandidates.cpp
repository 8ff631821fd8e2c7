// The candidate search and the commits of MongolianInputController.

#include "inputmethod/MongolianConverter/MongolianConverter.h"
#include "inputmethod/MongolianInputController.h"
#include "inputmethod/SQLite/DBUtil.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/foundation/UserDefaults.h"
#include "shaping/ToPua.h"

namespace quillora {

using platform::imk::InputClient;

namespace {

// The word of a candidate; absent when it has none.
const std::string* wordOf(const Candidate& candidate) {
    auto found = candidate.find(kCandidateWordKey);
    return found == candidate.end() ? nullptr : &found->second;
}

// The character table is loaded before the first transliteration and kept; nothing reads it.
void loadCharacterTableOnce() {
    static bool loaded = false;
    if (!loaded) loaded = DBUtil::getCharacterDic().has_value();
}

}  // namespace

CandidateList MongolianInputController::getMongolianWords() {
    const std::u16string& letters = m_originalBuffer;
    if (letters.empty()) return {};
    // The first character names the table for the whole composition, even after Delete.
    if (!m_prefixChar) m_prefixChar = letters.substr(0, 1);

    CandidateList rows = retrievePrefix(platform::utf8FromUtf16(*m_prefixChar),
                                        platform::utf8FromUtf16(letters), kCandidateLimit, 0);
    CandidateList transliteration = getSuggestionOfSpellChecker(letters);

    CandidateList list;
    list.reserve(rows.size() + 1);
    const std::string* best = rows.empty() ? nullptr : wordOf(rows.front());
    if (!best || *best != transliteration.front().at(kCandidateWordKey)) {
        list.push_back(transliteration.front());
    }
    list.insert(list.end(), std::make_move_iterator(rows.begin()),
                std::make_move_iterator(rows.end()));
    if (list.size() > static_cast<std::size_t>(kCandidateLimit)) list.resize(kCandidateLimit);
    return list;
}

CandidateList MongolianInputController::retrievePrefix(const std::string& table,
                                                       const std::string& letters, int32_t limit,
                                                       int32_t offset) {
    return DBUtil::getWordsWithPrefixChar(table, letters, limit, offset);
}

CandidateList MongolianInputController::getSuggestionOfSpellChecker(const std::u16string& letters) {
    loadCharacterTableOnce();
    std::u16string word;
    for (char16_t c : letters) {
        if (auto mapped = mapKey(c)) word += *mapped;
    }
    return {Candidate{{kCandidateWordKey, platform::utf8FromUtf16(word)}}};
}

CandidateList MongolianInputController::sortByFrequency(CandidateList candidates) {
    return candidates;
}

std::optional<std::u16string> MongolianInputController::mapKey(char16_t character) {
    auto mapped = MongolianConverter::Convert_English_To_Mongolian(
        platform::utf8FromUtf16(std::u16string_view(&character, 1)));
    if (!mapped) return std::nullopt;
    return platform::utf16FromUtf8(*mapped);
}

void MongolianInputController::commitComposition(InputClient* sender) {
    platform::logDebug(
        "这是标志位：---- -[MongolianInputController commitComposition:] --------------\n");
    commitTypedLetters(sender);
}

void MongolianInputController::commitCompositionIsSpace(InputClient* sender, bool isSpace) {
    platform::logDebug(
        "这是标志位：------------ -[MongolianInputController commitComposition:isSpace:] "
        "--------------\n");
    if (!isSpace) {
        commitTypedLetters(sender);
        return;
    }
    platform::logDebug("insert text firts!");
    commitCandidate(sender, 0);
}

void MongolianInputController::commitCompositionIndex(InputClient* sender, int32_t index) {
    platform::logDebug(
        "这是标志位：---------- -[MongolianInputController commitComposition:index:string:] "
        "--------------\n");
    if (index < 0) {
        commitTypedLetters(sender);
        return;
    }
    commitCandidate(sender, static_cast<std::size_t>(index));
}

void MongolianInputController::commitCandidate(InputClient* sender, std::size_t index) {
    // Only the list built for this composition can be chosen from. Without one (a command
    // prefix, or no letter typed since the last commit), or for an entry without a word (a
    // transliteration of keys the key map lacks), the typed letters are what the user meant.
    if (!m_candidates || index >= m_candidates->size()) {
        commitTypedLetters(sender);
        return;
    }
    const std::string* word = wordOf((*m_candidates)[index]);
    if (!word || word->empty()) {
        commitTypedLetters(sender);
        return;
    }

    std::u16string text = platform::utf16FromUtf8(*word);
    if (isMongolianFirst(text)) {
        platform::logDebug("蒙文范围内");
        text.insert(text.begin(), u' ');
    } else {
        platform::logDebug("蒙文范围外");
    }
    // The blank goes through the converter with the word.
    if (platform::UserDefaults::standardUserDefaults().integerForKey("isPUA") != 0) {
        platform::logDebug("提交 非 国际标准编码蒙古文！");
        const CToPua* converter = CToPua::GetInstance();
        text = platform::utf16FromWide(converter->Advance(getWCharFromString(text)));
    } else {
        platform::logDebug("提交国际标准编码蒙古文！");
    }
    insert(sender, text);
    m_preeditString.clear();
    reset();
}

void MongolianInputController::commitTypedLetters(InputClient* sender) {
    const std::u16string& letters = m_composedBuffer.empty() ? m_originalBuffer : m_composedBuffer;
    // An empty composition has nothing to give; inserting "" would only disturb the client.
    if (!letters.empty()) insert(sender, letters);
    m_preeditString.clear();
    reset();
}

bool MongolianInputController::isMongolianFirst(std::u16string_view string) {
    return !string.empty() && string.front() >= 0x1820 && string.front() <= 0x1842;
}

std::wstring MongolianInputController::getWCharFromString(const std::u16string& string) {
    // Our own decoding: the C library's multibyte conversion needs a process-wide locale change,
    // and glibc has no locale named "UTF-8" to change to.
    return platform::wideFromUtf16(string);
}

void MongolianInputController::commitString(const std::u16string& string) {
    m_caret = static_cast<int32_t>(string.size());
    showPreeditString(string);
    insert(currentClient(), string);
    m_preeditString.clear();
    candidateWindow().hideCandidates();
}

void MongolianInputController::insert(InputClient* client, const std::u16string& text) {
    if (client) client->insertText(text, platform::imk::kNoRange);
}

}  // namespace quillora
