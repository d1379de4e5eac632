#pragma once
// File names as the save commands complete them.

#include <span>
#include <string>
#include <string_view>

/// Whether `path` ends in `extension` (such as ".qel"), compared without regard to the case of
/// Latin letters only: every rule of names and formats compares so, so that a name the save
/// dialog takes as named is the name whose format the writer finds.
inline bool EndsWithExtension(std::string_view path, std::string_view extension) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (extension.empty() || path.size() < extension.size()) {
        return false;
    }
    for (std::size_t i = 0; i < extension.size(); ++i) {
        if (lower(path[path.size() - extension.size() + i]) != lower(extension[i])) {
            return false;
        }
    }
    return true;
}

/// `path` with `extension` appended unless it already ends in it: "plot" becomes "plot.qel",
/// "a.QEL" stays.
inline std::string WithExtension(std::string path, std::string_view extension) {
    if (!EndsWithExtension(path, extension)) {
        path += extension;
    }
    return path;
}

/// The position in `extensions` of the one that ends `path`, or -1.
inline int ExtensionIndex(std::string_view path, std::span<const std::string_view> extensions) {
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (EndsWithExtension(path, extensions[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

/// The name a save writes when the user typed `typed` and chose the filter entry `chosen`, whose
/// extension is `extensions[chosen]`: a name that ends in any of `extensions` stays as typed (a
/// typed extension wins over the entry), any other gets the chosen entry's extension (an entry
/// out of range or without one adds nothing).
inline std::string SaveName(std::string typed, std::span<const std::string_view> extensions,
                            int chosen) {
    if (ExtensionIndex(typed, extensions) >= 0 || chosen < 0 ||
        static_cast<std::size_t>(chosen) >= extensions.size()) {
        return typed;
    }
    return WithExtension(std::move(typed), extensions[static_cast<std::size_t>(chosen)]);
}
