// kurvant-cli prepare --vars LETTERS [--sep C] FORMULA
// Prints the prepared text, then "rewritten <text>" when a '*' was inserted, else "unchanged".

#include "cli/cli_arguments.h"

#include "formula/prepare.h"

#include <cstdio>

namespace kurvant::cli {

int RunPrepare(const std::vector<std::string>& args, char defaultSeparator) {
    TCliArguments parsed;
    std::string error;
    if (!ParseArguments(args, false, defaultSeparator, parsed, error)) {
        return UsageError(error);
    }
    if (!parsed.Variables) {
        return UsageError("prepare needs --vars");
    }
    if (parsed.Positionals.size() != 1) {
        return UsageError("prepare takes one formula");
    }
    TFormulaContext context;
    context.DecimalSeparator = parsed.DecimalSeparator;
    std::string formula = parsed.Positionals[0];
    if (!PrepareFormula(formula, *parsed.Variables, context)) {
        std::fputs("Неправильное выражение!\n", stderr);
        return ExitFailure;
    }
    std::printf("%s\n", formula.c_str());
    if (context.FormulaRewritten) {
        std::printf("rewritten %s\n", context.RewrittenFormula.c_str());
    } else {
        std::printf("unchanged\n");
    }
    return ExitOk;
}

} // namespace kurvant::cli
