#include "documents/recent_list.h"

#include "documents/text_file.h"

#include <algorithm>
#include <utility>

namespace {

// A path the list can hold and read back: not empty, no line break, and not starting with the
// byte-order mark, which the reader takes off a file's first line.
bool Usable(const std::string& path) {
    return !path.empty() && path.find_first_of("\r\n") == std::string::npos &&
           !path.starts_with("\xEF\xBB\xBF");
}

} // namespace

std::vector<std::string> ReadRecentList(const std::string& path) {
    std::vector<std::string> list;
    const auto parse = [&](TLineSource& lines) {
        list.clear();
        while (list.size() < RecentLimit) {
            const std::optional<std::string_view> line = lines.Next();
            if (!line) {
                break;
            }
            std::string entry(*line);
            if (Usable(entry) && std::find(list.begin(), list.end(), entry) == list.end()) {
                list.push_back(std::move(entry));
            }
        }
        return true;
    };
    if (ReadTextFile(path, parse) != TTextRead::Accepted) {
        list.clear();
    }
    return list;
}

bool WriteRecentList(const std::string& path, const std::vector<std::string>& list) {
    std::string bytes;
    for (const std::string& entry : list) {
        bytes += entry;
        bytes += '\n';
    }
    return WriteFileAtomically(path, bytes);
}

std::vector<std::string> WithRecent(std::vector<std::string> list, const std::string& path) {
    if (!Usable(path)) {
        return list;
    }
    std::vector<std::string> newest{path};
    for (std::string& entry : list) {
        if (newest.size() < RecentLimit && entry != path) {
            newest.push_back(std::move(entry));
        }
    }
    return newest;
}
