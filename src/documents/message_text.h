#pragma once
// The program's message texts mark a line break with the two characters "\n\r"; on screen and on
// a terminal that is one break.

#include <string>
#include <string_view>

/// The message with every "\n\r" turned into one line break.
inline std::string MessageLines(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        shown += text[i];
        if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\r') {
            ++i;
        }
    }
    return shown;
}
