#include "cli/cli_arguments.h"

#include <cstdio>

namespace kurvant::cli {

bool ParseArguments(const std::vector<std::string>& args, bool batchAllowed, char defaultSeparator,
                    TCliArguments& parsed, std::string& error) {
    parsed = TCliArguments{};
    parsed.DecimalSeparator = defaultSeparator;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            parsed.Positionals.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--vars" || arg == "--sep") {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            const std::string& value = args[++i];
            if (arg == "--vars") {
                parsed.Variables = value == "-" ? std::string() : value;
            } else if (value == "," || value == ".") {
                parsed.DecimalSeparator = value[0];
            } else {
                error = "--sep takes ',' or '.'";
                return false;
            }
        } else if (arg == "--batch" && batchAllowed) {
            parsed.Batch = true;
        } else {
            parsed.Positionals.push_back(arg);
        }
    }
    return true;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr,
                 "kurvant-cli: %s\n"
                 "usage: kurvant-cli prepare --vars LETTERS [--sep C] FORMULA\n"
                 "       kurvant-cli eval --vars LETTERS [--sep C] FORMULA [NAME=VALUE ...]\n"
                 "       kurvant-cli eval --batch [--sep C] < LINES\n"
                 "       kurvant-cli sample [--settings FILE] [--sep C] DOC\n",
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
