#include "inputmethod/tools/WordList.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

#include "inputmethod/MongolianConverter/KeyMap.h"

namespace quillora::tools {

namespace {

bool readList(const std::string& path, bool suffixes, const KeyMap& keyMap,
              std::vector<Entry>& entries, std::string* error) {
    std::ifstream stream(path);
    if (!stream) {
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(stream, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) {
            *error = path + ":" + std::to_string(number) + ": expected <text>\\t<count>";
            return false;
        }
        Entry entry;
        entry.text = line.substr(0, tab);
        try {
            entry.count = std::stoll(line.substr(tab + 1));
        } catch (const std::exception&) {
            *error = path + ":" + std::to_string(number) + ": the count is no number";
            return false;
        }
        auto key = keyMap.romanise(entry.text);
        if (!key || key->empty() || !std::isalpha(static_cast<unsigned char>(key->front()))) {
            std::fprintf(stderr, "%s:%d: no key for \"%s\", left out\n", path.c_str(), number,
                         entry.text.c_str());
            continue;
        }
        entry.key = *key;
        entry.table = static_cast<char>(std::tolower(static_cast<unsigned char>(key->front())));
        entry.isSuffix = suffixes;
        entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace

std::optional<std::vector<Entry>> readWordList(const std::string& keyMapPath,
                                               const std::string& wordsPath,
                                               const std::string& suffixesPath,
                                               std::string* error) {
    auto keyMap = KeyMap::read(keyMapPath);
    if (!keyMap) {
        *error = "cannot read the key map " + keyMapPath;
        return std::nullopt;
    }
    std::vector<Entry> entries;
    if (!readList(wordsPath, false, *keyMap, entries, error) ||
        !readList(suffixesPath, true, *keyMap, entries, error)) {
        return std::nullopt;
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.count != b.count) return a.count > b.count;
        return !a.isSuffix && b.isSuffix;
    });
    const auto total = static_cast<int64_t>(entries.size());
    for (int64_t i = 0; i < total; ++i) {
        entries[i].id = i + 1;
        entries[i].rank = total - i;
    }
    return entries;
}

}  // namespace quillora::tools
