// kurvant-cli eval --vars LETTERS [--sep C] FORMULA [NAME=VALUE ...]
// kurvant-cli eval --batch [--sep C]   (lines LETTERS<TAB>FORMULA<TAB>NAME=VALUE;NAME=VALUE)
// Prints one line per formula: "ok <value>", "syntax-error", "math-error" or "prepare-failed";
// in batch mode "bad-line" for a line not in that form and "line-too-long" for a line longer than
// the longest formula a document holds, of which no more than that is read.
// The formula's program computes the value; --literal makes the rewriting of its text do it.

#include "cli/cli_arguments.h"
#include "cli/commands.h"
#include "cli/concat.h"

#include "documents/text_file.h"

#include "formula/compiled_formula.h"
#include "formula/evaluate.h"
#include "formula/prepare.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace kurvant::cli {

namespace {

struct TAssignment {
    char Name = 0;
    long double Value = 0;
};

// NAME=VALUE: a single character, then any text strtold takes whole (decimal or hexadecimal).
bool ParseAssignment(std::string_view text, TAssignment& assignment) {
    if (text.size() < 3 || text[1] != '=') {
        return false;
    }
    const std::string value(text.substr(2));
    char* end = nullptr;
    assignment.Name = text[0];
    assignment.Value = std::strtold(value.c_str(), &end);
    return end == value.c_str() + value.size();
}

std::string EvaluationLine(std::string formula, const std::string& variables,
                           const std::vector<TAssignment>& assignments, TFormulaContext& context) {
    if (!PrepareFormula(formula, variables, context)) {
        return "prepare-failed";
    }
    // The values are substituted in the order given, whatever evaluates them.
    std::string letters;
    std::vector<long double> values;
    for (const TAssignment& assignment : assignments) {
        letters += assignment.Name;
        values.push_back(assignment.Value);
    }
    long double value = 0;
    switch (
        TCompiledFormula(formula, letters, context).Evaluate(values, value, context.Evaluator)) {
    case EvalOk: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "ok %.21Lg", value);
        return buffer;
    }
    case EvalSyntaxError:
        return "syntax-error";
    case EvalMathError:
        return "math-error";
    }
    return "syntax-error";
}

void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

// One input line of the batch mode; false when it is not in the expected form.
bool EvaluateBatchLine(std::string_view line, TFormulaContext& context, std::string& output) {
    const std::size_t firstTab = line.find('\t');
    const std::size_t lastTab = line.rfind('\t');
    if (firstTab == std::string_view::npos || firstTab == lastTab) {
        return false;
    }
    const std::string_view letters = line.substr(0, firstTab);
    const std::string formula(line.substr(firstTab + 1, lastTab - firstTab - 1));
    std::string_view rest = line.substr(lastTab + 1);
    std::vector<TAssignment> assignments;
    while (!rest.empty()) {
        const std::size_t semicolon = rest.find(';');
        const std::string_view item = rest.substr(0, semicolon);
        if (!item.empty()) {
            TAssignment assignment;
            if (!ParseAssignment(item, assignment)) {
                return false;
            }
            assignments.push_back(assignment);
        }
        rest =
            semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
    }
    const std::string variables = letters == "-" ? std::string() : std::string(letters);
    output = EvaluationLine(formula, variables, assignments, context);
    return true;
}

// The lines of a stream, each held only up to a limit: the rest of a longer line is read past
// and dropped, so that input without line breaks (/dev/zero) takes no more memory than one line.
class TBoundedLines {
public:
    TBoundedLines(std::FILE* input, std::size_t maxLength)
        : Input(input), MaxLength(maxLength), Chunk(64 * 1024) {}

    enum class TLine { Line, TooLong, End };

    /// The next line without its end (LF or CR LF). `TooLong` comes as soon as a line passes
    /// the limit, before the rest of it is read; that rest is skipped by the next call.
    TLine Next(std::string& line) {
        line.clear();
        bool skipping = Skipping;
        Skipping = false;
        while (true) {
            if (Position == Filled) {
                Position = 0;
                Filled = std::fread(Chunk.data(), 1, Chunk.size(), Input);
                if (Filled == 0) {
                    return skipping || line.empty() ? TLine::End : Finish(line);
                }
            }
            const char c = Chunk[Position++];
            if (c == '\n') {
                if (skipping) {
                    skipping = false;
                    continue;
                }
                return Finish(line);
            }
            if (skipping) {
                continue;
            }
            line.push_back(c);
            // One byte more than the limit may be the CR of the line's end.
            if (line.size() > MaxLength + 1) {
                Skipping = true;
                return TLine::TooLong;
            }
        }
    }

private:
    TLine Finish(std::string& line) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return line.size() > MaxLength ? TLine::TooLong : TLine::Line;
    }

    std::FILE* Input;
    std::size_t MaxLength;
    std::vector<char> Chunk;
    std::size_t Position = 0;
    std::size_t Filled = 0;
    bool Skipping = false; // the rest of a line already answered as too long
};

int RunBatch(TFormulaContext& context) {
    int exitCode = ExitOk;
    std::string line;
    TBoundedLines lines(stdin, MaxTextLineLength);
    for (long number = 1;; ++number) {
        const TBoundedLines::TLine read = lines.Next(line);
        if (read == TBoundedLines::TLine::End) {
            break;
        }
        if (read == TBoundedLines::TLine::TooLong) {
            std::fprintf(stderr, "kurvant-cli: line %ld is longer than %zu bytes\n", number,
                         MaxTextLineLength);
            PrintLine("line-too-long");
            // Whoever waits for the answer gets it before the rest of the line is read.
            std::fflush(stdout);
            exitCode = ExitUsage;
            continue;
        }
        std::string output;
        if (!EvaluateBatchLine(line, context, output)) {
            std::fprintf(stderr, "kurvant-cli: line %ld is not LETTERS<TAB>FORMULA<TAB>VALUES\n",
                         number);
            // Keeps one output line per input line for whoever compares them.
            output = "bad-line";
            exitCode = ExitUsage;
        }
        PrintLine(output);
    }
    return exitCode;
}

} // namespace

int RunEval(const TParsedArguments& args, char defaultSeparator) {
    const std::optional<char> separator = DecimalSeparatorOption(args, defaultSeparator);
    if (!separator) {
        return ExitUsage;
    }
    TFormulaContext context;
    context.DecimalSeparator = *separator;
    context.Evaluator = args.Has("literal") ? TEvaluator::Text : TEvaluator::Program;
    if (args.Has("batch")) {
        return RunBatch(context);
    }
    std::vector<TAssignment> assignments;
    for (std::size_t i = 1; i < args.Positionals.size(); ++i) {
        TAssignment assignment;
        if (!ParseAssignment(args.Positionals[i], assignment)) {
            return UsageError(args.VerbName(),
                              Concat({QuotedArgument(args.Positionals[i]), " is not NAME=VALUE"}));
        }
        assignments.push_back(assignment);
    }
    // Every letter of --vars takes one value, and only those letters take one.
    const std::string variables = VariablesOption(args);
    for (const TAssignment& assignment : assignments) {
        if (variables.find(assignment.Name) == std::string::npos) {
            const char name[] = {assignment.Name, '\0'};
            return UsageError(args.VerbName(),
                              Concat({"a value for ", name, ", which --vars does not list"}));
        }
    }
    for (const char letter : variables) {
        const auto given = [letter](const TAssignment& a) { return a.Name == letter; };
        if (std::find_if(assignments.begin(), assignments.end(), given) == assignments.end()) {
            const char name[] = {letter, '\0'};
            return UsageError(args.VerbName(), Concat({"no value for ", name, " of --vars"}));
        }
    }
    PrintLine(EvaluationLine(args.Positionals[0], variables, assignments, context));
    return ExitOk;
}

} // namespace kurvant::cli
