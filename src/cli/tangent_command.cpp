// kurvant-cli tangent [--sep C] [--normal] [--kind 0|1] FORMULA X0
// Prints the formula text of the tangent (or the normal) that the tangent dialog hands to the
// graph dialog for a graph of that kind and formula at X0; a refusal is the dialog's message on
// stderr. The graph is the one the graph dialog would store for FORMULA.

#include "cli/cli_arguments.h"
#include "cli/commands.h"

#include "analysis/tangent.h"
#include "graphs/graph_input.h"
#include "graphs/number_checks.h"

#include <cstdio>

namespace kurvant::cli {

namespace {

int Refuse(const std::string& message) {
    std::fprintf(stderr, "%s\n", TerminalMessage(message).c_str());
    return ExitFailure;
}

std::string TrimmedLower(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    std::string out = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

} // namespace

int RunTangent(const TParsedArguments& args, char defaultSeparator) {
    const std::optional<char> separator = DecimalSeparatorOption(args, defaultSeparator);
    if (!separator) {
        return ExitUsage;
    }
    const std::string kindText = args.Value("kind").value_or("0");
    if (kindText != "0" && kindText != "1") {
        return UsageError(args.VerbName(), "--kind takes 0 (Y(X)) or 1 (X(Y))");
    }
    TFormulaContext context;
    context.DecimalSeparator = *separator;

    // The graph as the graph dialog checks and stores it; a formula it refuses is no graph.
    TGraphInput input;
    input.Kind = kindText[0] - '0';
    input.Function = TrimmedLower(args.Positionals[0]);
    input.MinX = "-10";
    input.MaxX = "10";
    input.StepsX = "500";
    const TGraphCheck check = CheckGraphInput(input, false, context);
    if (!check.Ok) {
        return Refuse(check.Messages.empty() ? std::string() : check.Messages.back().Text);
    }
    TGraphic graphic;
    StoreGraphInput(input, check, TGraphStyle{}, graphic);

    double x0 = 0;
    std::string message;
    if (!ReadFloatField(TangentPointLabel, args.Positionals[1], "", -MaxTangentPoint,
                        MaxTangentPoint, x0, *separator, message)) {
        return Refuse(message);
    }
    const TLineKind kind = args.Has("normal") ? TLineKind::Normal : TLineKind::Tangent;
    const TLineFormula line = LineFormula(graphic, x0, kind, context);
    if (!line.Ok) {
        return Refuse(line.Message);
    }
    std::printf("%s\n", line.Formula.c_str());
    return std::fflush(stdout) == 0 ? ExitOk : ExitFailure;
}

} // namespace kurvant::cli
