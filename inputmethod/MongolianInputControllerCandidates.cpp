// The candidate search and the commits of MongolianInputController.

#include <algorithm>

#include "inputmethod/MongolianConverter/MongolianConverter.h"
#include "inputmethod/MongolianInputController.h"
#include "inputmethod/SQLite/DBUtil.h"
#include "inputmethod/WordArray.h"
#include "platform/foundation/Bundle.h"
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
    CandidateList transliteration = getSuggestionOfSpellChecker(letters);
    // The dictionary's keys leave the spelling characters out, so the search does too; the
    // transliteration keeps them, spelling the word exactly as typed.
    const std::u16string key = searchKey(letters);
    if (key.empty()) return transliteration;
    // The first letter names the table for the whole composition, even after Delete.
    if (!m_prefixChar) m_prefixChar = key.substr(0, 1);
    CandidateList rows = retrievePrefix(platform::utf8FromUtf16(*m_prefixChar),
                                        platform::utf8FromUtf16(key), kCandidateLimit, 0);

    // A word is listed once, at its first place: the transliteration can equal a dictionary word
    // further down, and the place it frees goes to the next word.
    CandidateList list;
    list.reserve(rows.size() + 1);
    auto listed = [&list](const std::string& word) {
        return std::any_of(list.begin(), list.end(), [&word](const Candidate& candidate) {
            const std::string* other = wordOf(candidate);
            return other && *other == word;
        });
    };
    const std::string* best = rows.empty() ? nullptr : wordOf(rows.front());
    if (!best || *best != transliteration.front().at(kCandidateWordKey)) {
        list.push_back(transliteration.front());
    }
    for (Candidate& row : rows) {
        const std::string* word = wordOf(row);
        if (word && listed(*word)) continue;
        list.push_back(std::move(row));
    }
    if (list.size() > static_cast<std::size_t>(kCandidateLimit)) list.resize(kCandidateLimit);
    return list;
}

std::u16string MongolianInputController::searchKey(const std::u16string& letters) {
    std::u16string key;
    for (char16_t c : letters) {
        if (!MongolianConverter::isSpellingKey(platform::utf8FromUtf16(std::u16string_view(&c, 1))))
            key += c;
    }
    return key;
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
    platform::logfDebug("\n------------ %s --------------\n buffer：%s",
                        "-[MongolianInputController getSuggestionOfSpellChecker:]",
                        platform::utf8FromUtf16(letters).c_str());
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
    insert(sender, inClientEncoding(text));
    m_preeditString.clear();
    reset();
}

std::u16string MongolianInputController::inClientEncoding(const std::u16string& text) {
    if (platform::UserDefaults::standardUserDefaults().integerForKey("isPUA") == 0) {
        platform::logDebug("提交国际标准编码蒙古文！");
        return text;
    }
    platform::logDebug("提交 非 国际标准编码蒙古文！");
    const CToPua* converter = CToPua::GetInstance();
    return platform::utf16FromWide(converter->Advance(getWCharFromString(text)));
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
    std::wstring text = platform::wideFromUtf16(string);
    // As UTF-8: "%ls" would need the process's character-type locale.
    platform::logfDebug("begin %s", platform::utf8FromUtf16(string).c_str());
    return text;
}

std::u16string MongolianInputController::getStringFromWChar(const std::wstring& text) {
    return platform::utf16FromWide(text);
}

CandidateList MongolianInputController::getRelationArray(const std::string& relations) {
    platform::logDebug(
        "\n------------ -[MongolianInputController getRelationArray:] --------------\n");
    const std::string separator = platform::Bundle::mainBundle().localizedString(",", "");
    CandidateList list;
    std::size_t start = 0;
    while (start <= relations.size()) {
        std::size_t end = separator.empty() ? std::string::npos : relations.find(separator, start);
        if (end == std::string::npos) end = relations.size();
        if (end > start) {
            list.push_back(Candidate{{kCandidateWordKey, relations.substr(start, end - start)}});
        }
        start = end + std::max<std::size_t>(separator.size(), 1);
    }
    WordArray& shared = WordArray::shared();
    shared.replace(list);
    m_candidates = shared.list();
    return list;
}

void MongolianInputController::candidateSelected(const std::u16string& candidate) {
    platform::logDebug(
        "\n------------ -[MongolianInputController candidateSelected:] --------------\n");
    if (!m_candidates) return;
    const std::string word = platform::utf8FromUtf16(candidate);
    for (std::size_t i = 0; i < m_candidates->size(); ++i) {
        const std::string* listed = wordOf((*m_candidates)[i]);
        if (listed && *listed == word) {
            commitCompositionIndex(currentClient(), static_cast<int32_t>(i));
            return;
        }
    }
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
