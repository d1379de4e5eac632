#include "fuzz_checks.h"

#include "documents/recent_list.h"
#include "memory_file.h"

#include <algorithm>
#include <string>
#include <vector>

namespace fuzz {

namespace {

std::string Broken(const std::vector<std::string>& list) {
    if (list.size() > RecentLimit) {
        return "more entries than the list keeps";
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].empty() || list[i].find_first_of("\r\n") != std::string::npos) {
            return "an entry is empty or holds a line break";
        }
        if (std::find(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(i), list[i]) !=
            list.begin() + static_cast<std::ptrdiff_t>(i)) {
            return "an entry is listed twice";
        }
    }
    return {};
}

} // namespace

std::string CheckRecentList(std::string_view input) {
    static TMemoryFile file;
    if (!file.Put(input)) {
        return {};
    }
    const std::vector<std::string> list = ReadRecentList(file.Path());
    if (std::string broken = Broken(list); !broken.empty()) {
        return broken;
    }
    // What the list writes, it reads back the same.
    std::string written;
    for (const std::string& entry : list) {
        written += entry + '\n';
    }
    if (!file.Put(written) || ReadRecentList(file.Path()) != list) {
        return "the list written does not read back the same";
    }
    // Opening any entry, or a new document, makes it the newest and keeps the rules.
    for (const std::string& path :
         {list.empty() ? std::string("/a.qel") : list.back(), std::string("/new.qel")}) {
        const std::vector<std::string> added = WithRecent(list, path);
        if (added.empty() || added.front() != path) {
            return "the document opened is not the newest";
        }
        if (std::string broken = Broken(added); !broken.empty()) {
            return broken;
        }
    }
    return {};
}

} // namespace fuzz
