#include "cli/cli_arguments.h"

#include "cli/concat.h"

#include "documents/message_text.h"
#include "documents/settings_file.h"

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

void ReadSettingsOption(const TParsedArguments& args, TSettings& settings) {
    const std::optional<std::string> file = args.Value("settings");
    if (!file) {
        Settings_Default(settings);
        return;
    }
    if (!ReadSettingsFile(*file, settings)) {
        Settings_Default(settings);
        std::fprintf(
            stderr,
            "kurvant-cli %.*s: warning: cannot read the settings file %s; using the defaults\n",
            static_cast<int>(args.VerbName().size()), args.VerbName().data(),
            QuotedArgument(*file).c_str());
    }
}

int UsageError(std::string_view verb, const std::string& message) {
    std::fprintf(stderr, "kurvant-cli %.*s: %s\n", static_cast<int>(verb.size()), verb.data(),
                 message.c_str());
    return ExitUsage;
}

std::string TerminalMessage(const std::string& text) {
    std::string out = MessageLines(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

} // namespace kurvant::cli
