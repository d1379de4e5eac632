#pragma once

#include <cstddef>
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

/// The longest argument a message quotes whole, in characters; a longer one is cut to this many
/// with "..." as its last three.
inline constexpr std::size_t MaxQuotedLength = 60;

/// A word of the command line in single quotes for a message, cut to `MaxQuotedLength` characters
/// (never inside a UTF-8 sequence), so that a formula of pages makes a line, not a screenful.
inline std::string QuotedArgument(std::string_view word) {
    const auto isLead = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    std::size_t characters = 0;
    std::size_t cut = word.size(); // where the 58th character starts
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (!isLead(word[i]))
            continue;
        if (characters == MaxQuotedLength - 3)
            cut = i;
        ++characters;
    }
    if (characters <= MaxQuotedLength)
        return Concat({"'", word, "'"});
    return Concat({"'", word.substr(0, cut), "...'"});
}

} // namespace kurvant::cli
