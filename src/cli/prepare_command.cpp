// kurvant-cli prepare --vars LETTERS [--sep C] FORMULA
// Prints the prepared text, then "rewritten <text>" when a '*' was inserted, else "unchanged".

#include "cli/cli_arguments.h"
#include "cli/commands.h"

#include "formula/prepare.h"

#include <cstdio>

namespace kurvant::cli {

int RunPrepare(const TParsedArguments& args, char defaultSeparator) {
    const std::optional<char> separator = DecimalSeparatorOption(args, defaultSeparator);
    if (!separator) {
        return ExitUsage;
    }
    TFormulaContext context;
    context.DecimalSeparator = *separator;
    std::string formula = args.Positionals[0];
    if (!PrepareFormula(formula, VariablesOption(args), context)) {
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
