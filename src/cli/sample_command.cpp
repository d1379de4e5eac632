// kurvant-cli sample [--settings FILE] [--sep C] DOC
// Opens DOC as the program opens a document, samples every formula graph with the settings (the
// defaults, or FILE read as the program reads its settings file), without automatic scaling, and
// prints the view, then every graph with its bounds and points. Numbers are printed with %.17g in
// the C locale, so they compare exactly. --literal samples by rewriting the formulas' texts
// instead of by their programs: the two print the same.

#include "cli/cli_arguments.h"
#include "cli/commands.h"

#include "documents/document_file.h"
#include "documents/settings_file.h"

#include <cstdio>
#include <optional>

namespace kurvant::cli {

namespace {

void PrintNumbers(const char* head, std::initializer_list<double> numbers) {
    std::fputs(head, stdout);
    bool first = head[0] == '\0';
    for (double number : numbers) {
        std::printf(first ? "%.17g" : " %.17g", number);
        first = false;
    }
    std::fputc('\n', stdout);
}

void PrintDocument(const TDocument& document) {
    const ViewState& v = document.View;
    PrintNumbers("view", {v.ScaleX, v.ShiftX, v.ShiftY, v.AngleX, v.AngleY, v.AngleZ});
    std::printf("graphs %d\n", document.GraphCount());
    for (int i = 0; i < document.GraphCount(); ++i) {
        const TGraphic& g = document.Graph(i);
        std::printf("graph %d kind %d visible %d points %zu\n", i + 1, g.Kind,
                    document.Visible(i) ? 1 : 0, g.Points.size());
        PrintNumbers("bounds", {g.BoundMinX, g.BoundMaxX, g.BoundMinY, g.BoundMaxY, g.BoundMinZ,
                                g.BoundMaxZ});
        for (const TPoint3D& p : g.Points) {
            PrintNumbers("", {p.x, p.y, p.z});
        }
    }
}

} // namespace

int RunSample(const TParsedArguments& args, char defaultSeparator) {
    const std::optional<char> separator = DecimalSeparatorOption(args, defaultSeparator);
    if (!separator) {
        return ExitUsage;
    }
    TSettings settings;
    ReadSettingsOption(args, settings);
    TFormulaContext context;
    context.DecimalSeparator = *separator;
    context.Evaluator = args.Has("literal") ? TEvaluator::Text : TEvaluator::Program;
    TDocument document;
    TDocumentFault fault;
    const TDocumentRead result =
        ReadDocumentFile(args.Positionals[0], document, settings, context, &fault);
    if (result != TDocumentRead::Ok) {
        std::fprintf(stderr, "%s\n", TerminalMessage(DocumentReadMessage(result, fault)).c_str());
        return ExitFailure;
    }
    PrintDocument(document);
    return std::fflush(stdout) == 0 ? ExitOk : ExitFailure;
}

} // namespace kurvant::cli
