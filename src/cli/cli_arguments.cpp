#include "cli/cli_arguments.h"

#include <cstdio>

namespace kurvant::cli {

std::optional<char> DecimalSeparatorOption(const TParsedArguments& args, char defaultSeparator) {
    const std::optional<std::string> value = args.Value("sep");
    if (!value)
        return defaultSeparator;
    if (*value == "," || *value == ".")
        return (*value)[0];
    UsageError(args.VerbName(), "--sep takes ',' or '.'");
    return std::nullopt;
}

std::string VariablesOption(const TParsedArguments& args) {
    const std::string letters = args.Value("vars").value_or("-");
    return letters == "-" ? std::string() : letters;
}

int UsageError(std::string_view verb, const std::string& message) {
    std::fprintf(stderr, "kurvant-cli %.*s: %s\n", static_cast<int>(verb.size()), verb.data(),
                 message.c_str());
    return ExitUsage;
}

std::string TerminalMessage(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\r')
            ++i;
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

} // namespace kurvant::cli
