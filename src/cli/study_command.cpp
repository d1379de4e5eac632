// kurvant-cli zeros|extrema|area [--sep C] [--group TEXT] [--var L] [--timeout S] FORMULA A B
// kurvant-cli intersect [--sep C] [--group TEXT] [--var L] [--timeout S] FORMULA FORMULA2 A B
// Prints the grid that "Найти" of the study dialog fills with the same inputs, tab-separated: the
// header line, then one line per result; nothing when nothing is found. A refused input is the
// dialog's message on stderr. What the dialog says under its grid (more results than listed, a
// place the study could not resolve, the time ran out) goes to stderr, with exit status 3.

#include "cli/cli_arguments.h"
#include "cli/commands.h"

#include "analysis/function_study.h"
#include "formula/locale_separator.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace kurvant::cli {

namespace {

void PrintLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            line += '\t';
        }
        line += cells[i];
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

// A study that leaves something out: what it found is printed, and the status says so.
constexpr int ExitIncomplete = 3;
constexpr double DefaultTimeout = 60;

int RunStudy(const TParsedArguments& args, char defaultSeparator, TStudyKind kind) {
    const std::optional<char> separator = DecimalSeparatorOption(args, defaultSeparator);
    if (!separator) {
        return ExitUsage;
    }
    double seconds = DefaultTimeout;
    if (const std::optional<std::string> text = args.Value("timeout")) {
        // Either decimal mark, as everywhere numbers are typed.
        std::string number = *text;
        std::replace(number.begin(), number.end(), ',', '.');
        const char* end = number.data() + number.size();
        const auto [stop, error] = std::from_chars(number.data(), end, seconds);
        if (error != std::errc() || stop != end || !(seconds > 0) || !std::isfinite(seconds)) {
            return UsageError(args.VerbName(),
                              "--timeout takes a number of seconds above 0, not '" + *text + "'");
        }
    }
    TStudyLimits limits;
    const auto now = std::chrono::steady_clock::now();
    const auto room = std::chrono::duration<double>(seconds);
    if (room < std::chrono::steady_clock::time_point::max() - now) {
        limits.Deadline =
            now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(room);
    }
    const std::vector<std::string>& words = args.Positionals;
    const bool two = kind == TStudyKind::Intersections;
    TStudyRequest request;
    request.Kind = kind;
    request.First.Formula = words[0];
    if (two) {
        request.Second.Formula = words[1];
    }
    request.Variable = args.Value("var").value_or("x");
    request.Min = words[two ? 2 : 1];
    request.Max = words[two ? 3 : 2];
    TFormulaContext context;
    context.DecimalSeparator = *separator;
    const TStudy study =
        Study(request, args.Value("group").value_or(LocaleGroupSeparator()), context, limits);
    if (study.Message && !study.Message->Information) {
        std::fprintf(stderr, "%s\n", TerminalMessage(study.Message->Text).c_str());
        return ExitFailure;
    }
    if (!study.Rows.empty()) {
        PrintLine(study.Header);
        for (const std::vector<std::string>& row : study.Rows) {
            PrintLine(row);
        }
    }
    const bool printed = std::fflush(stdout) == 0;
    if (!study.Note.empty()) {
        std::fprintf(stderr, "%s\n", TerminalMessage(study.Note).c_str());
        // Out of time before anything was found is a failure; anything else found stands.
        return !printed || (study.Stopped && study.Rows.empty()) ? ExitFailure : ExitIncomplete;
    }
    return printed ? ExitOk : ExitFailure;
}

} // namespace

int RunZeros(const TParsedArguments& args, char defaultSeparator) {
    return RunStudy(args, defaultSeparator, TStudyKind::Zeros);
}

int RunExtrema(const TParsedArguments& args, char defaultSeparator) {
    return RunStudy(args, defaultSeparator, TStudyKind::Extrema);
}

int RunIntersect(const TParsedArguments& args, char defaultSeparator) {
    return RunStudy(args, defaultSeparator, TStudyKind::Intersections);
}

int RunArea(const TParsedArguments& args, char defaultSeparator) {
    return RunStudy(args, defaultSeparator, TStudyKind::Area);
}

} // namespace kurvant::cli
