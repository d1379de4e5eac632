#pragma once
// File names as the save commands complete them.

#include <string>
#include <string_view>

/// `path` with `extension` (such as ".qel") appended unless it already ends in it, compared
/// without regard to the case of Latin letters: "plot" becomes "plot.qel", "a.QEL" stays.
inline std::string WithExtension(std::string path, std::string_view extension) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    bool ends = path.size() >= extension.size();
    for (std::size_t i = 0; ends && i < extension.size(); ++i) {
        ends = lower(path[path.size() - extension.size() + i]) == lower(extension[i]);
    }
    if (!ends) {
        path += extension;
    }
    return path;
}
