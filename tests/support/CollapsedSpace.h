#pragma once

#include <string>
#include <string_view>

// Text with each run of HTML white space (blank, tab, line feed, carriage return, form feed) made
// one blank and none at either end: how a browser shows the text of one block.
inline std::string collapsedSpace(std::string_view text) {
    std::string out;
    bool space = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        out += c;
    }
    return out;
}
