// kurvant-cli tabulate [--sep C] [--group TEXT] [--var L] FORMULA MIN MAX STEP
// kurvant-cli tabulate [--sep C] [--group TEXT] [--var L] --point P FORMULA
// Prints the lines that the tabulation dialog's "Сохранить" writes after "Считать" with the same
// inputs, in UTF-8 and ended by line feeds; a refused input is the dialog's message on stderr.

#include "cli/cli_arguments.h"
#include "cli/commands.h"

#include "analysis/tabulation.h"
#include "formula/locale_separator.h"

#include <cstdio>

namespace kurvant::cli {

int RunTabulate(const TParsedArguments& args, char defaultSeparator) {
    const std::optional<char> separator = DecimalSeparatorOption(args, defaultSeparator);
    if (!separator) {
        return ExitUsage;
    }
    const std::vector<std::string>& words = args.Positionals;
    TTabulationRequest request;
    request.Formula = words[0];
    request.Variable = args.Value("var").value_or("x");
    if (const std::optional<std::string> point = args.Value("point")) {
        if (words.size() > 1) {
            return UsageError(args.VerbName(), "--point takes no MIN MAX STEP");
        }
        request.PointMode = true;
        request.Min = *point;
    } else {
        if (words.size() < 4) {
            return UsageError(args.VerbName(), "missing MIN MAX STEP or --point P");
        }
        request.Min = words[1];
        request.Max = words[2];
        request.Step = words[3];
    }
    const std::string group = args.Value("group").value_or(LocaleGroupSeparator());
    TFormulaContext context;
    context.DecimalSeparator = *separator;
    const TTabulation table = Tabulate(request, group, context);
    if (table.Message) {
        std::fprintf(stderr, "%s\n", TerminalMessage(table.Message->Text).c_str());
        return ExitFailure;
    }
    std::vector<TTabulationRow> grid{table.Header};
    grid.insert(grid.end(), table.Rows.begin(), table.Rows.end());
    for (const std::string& line : TabulationFileLines(table.Formula, grid)) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    return std::fflush(stdout) == 0 ? ExitOk : ExitFailure;
}

} // namespace kurvant::cli
