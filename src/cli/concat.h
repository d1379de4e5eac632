#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kurvant::cli {

/// The parts joined into one string. The messages and usage texts are built with it because
/// "literal" + std::string(view) trips a false -Wrestrict in GCC 12.
inline std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts)
        text += part;
    return text;
}

} // namespace kurvant::cli
