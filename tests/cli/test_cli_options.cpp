// The verb table's parser and usage texts: first with tables of the tests' own, then through the
// built kurvant-cli with its real table.

#include "cli/cli_options.h"
#include "cli/cli_usage.h"
#include "run_cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace kurvant::cli;

// A verb as the next ones will look: a formula, two numbers, an optional file.
const TVerb Tabulate{
    .Name = "tabulate",
    .Description = "prints a formula's values",
    .Positionals = {{.Name = "FORMULA", .Kind = EArgumentKind::Formula},
                    {.Name = "FROM", .Kind = EArgumentKind::Number},
                    {.Name = "TO", .Kind = EArgumentKind::Number},
                    {.Name = "FILE", .Min = 0}},
    .Options = {{.Name = "vars", .ValueName = "LETTERS", .Help = "variables", .Required = true},
                {.Name = "out", .Short = 'o', .ValueName = "FILE", .Help = "file to write"},
                {.Name = "exact", .Help = "no rounding"}},
};

// One with a mode that reads its work from the standard input.
const TVerb Batch{
    .Name = "batch",
    .Positionals = {{.Name = "X", .Min = 2, .Max = 2},
                    {.Name = "Y", .Min = 1, .Max = TPositional::Unbounded}},
    .Options = {{.Name = "vars", .ValueName = "LETTERS", .Required = true},
                {.Name = "sep", .ValueName = "C"},
                {.Name = "lines", .Input = "LINES"}},
};

struct TParseRow {
    const char* Name;
    std::vector<std::string> Args;
    EParseOutcome Outcome;
    std::vector<std::string> Positionals{}; // for Run
    std::string Error{};                    // for UsageError
};

// CTest shows the printed parameter after the test's name: the row's name, not its bytes.
void PrintTo(const TParseRow& row, std::ostream* out) {
    *out << row.Name;
}

class CliOptionsParse : public ::testing::TestWithParam<TParseRow> {};

TEST_P(CliOptionsParse, OutcomePositionalsAndMessage) {
    const TParseRow& row = GetParam();
    const TParseResult result = ParseVerbArguments(Tabulate, row.Args);
    EXPECT_EQ(result.Outcome, row.Outcome) << result.Error;
    EXPECT_EQ(result.Error, row.Error);
    if (row.Outcome == EParseOutcome::Run) {
        EXPECT_EQ(result.Arguments.Positionals, row.Positionals);
    }
}

constexpr EParseOutcome Run = EParseOutcome::Run;
constexpr EParseOutcome Help = EParseOutcome::Help;
constexpr EParseOutcome Error = EParseOutcome::UsageError;

INSTANTIATE_TEST_SUITE_P(
    Values, CliOptionsParse,
    ::testing::Values(
        TParseRow{
            "NegativeNumbers", {"--vars", "x", "x^2", "-2", "-0.5"}, Run, {"x^2", "-2", "-0.5"}},
        TParseRow{"NumbersWithExponentOrLeadingPoint",
                  {"x", "-1e3", "-.5", "--vars", "x"},
                  Run,
                  {"x", "-1e3", "-.5"}},
        TParseRow{
            "FormulasBeginningWithSigns", {"--vars", "x", "-x", "1", "2"}, Run, {"-x", "1", "2"}},
        TParseRow{"WordsWithAMinusWhereANumberIsExpected",
                  {"--vars", "x", "x", "-pi/2", "-inf"},
                  Run,
                  {"x", "-pi/2", "-inf"}},
        TParseRow{"ShortOptionWhereANumberIsExpectedIsTheOption",
                  {"--vars", "x", "x", "-o", "out", "-nan", "-q"},
                  Run,
                  {"x", "-nan", "-q"}},
        TParseRow{
            "DashAloneIsAFile", {"--vars", "x", "x", "0", "1", "-"}, Run, {"x", "0", "1", "-"}},
        TParseRow{"DoubleDashEndsTheOptions",
                  {"--vars", "x", "--", "--x", "-q", "--exact"},
                  Run,
                  {"--x", "-q", "--exact"}},
        TParseRow{"ShortOptionAndValuesBeginningWithDashes",
                  {"-o", "-", "--vars", "-", "x", "0", "1"},
                  Run,
                  {"x", "0", "1"}},
        TParseRow{"HelpWhateverElseIsMissing", {"--help"}, Help},
        TParseRow{"ShortHelpAfterArguments", {"--vars", "x", "x", "-h"}, Help},
        TParseRow{"HelpAfterDoubleDashIsAFormula",
                  {"--vars", "h", "--", "-h", "0", "1"},
                  Run,
                  {"-h", "0", "1"}}),
    [](const auto& p) { return std::string(p.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Errors, CliOptionsParse,
    ::testing::Values(
        TParseRow{"UnknownLongOption",
                  {"--vars", "x", "--bogus", "x", "0", "1"},
                  Error,
                  {},
                  "unknown option '--bogus'"},
        TParseRow{"LongOptionWordIsNeverAFormula",
                  {"--vars", "x", "--x", "0", "1"},
                  Error,
                  {},
                  "unknown option '--x'"},
        TParseRow{"NegativeNumberWhereAFileIsExpected",
                  {"--vars", "x", "x", "0", "1", "-2"},
                  Error,
                  {},
                  "unknown option '-2'"},
        TParseRow{
            "ValueMissingAtTheEnd", {"x", "0", "1", "--vars"}, Error, {}, "--vars needs LETTERS"},
        TParseRow{"OptionInTheValuesPlace",
                  {"--vars", "--exact", "x", "0", "1"},
                  Error,
                  {},
                  "--vars needs LETTERS"},
        TParseRow{"RequiredOptionMissing", {"x", "0", "1"}, Error, {}, "missing --vars LETTERS"},
        TParseRow{"ArgumentMissing", {"--vars", "x", "x", "0"}, Error, {}, "missing TO"},
        TParseRow{"ArgumentTooMany",
                  {"--vars", "x", "x", "0", "1", "f", "g"},
                  Error,
                  {},
                  "unexpected argument 'g'"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(CliOptionsValues, LastValueWinsAndFlagsAreSeen) {
    const TParseResult result =
        ParseVerbArguments(Tabulate, {"--vars", "x", "x", "0", "1", "--exact", "--vars", "xy"});
    ASSERT_EQ(result.Outcome, EParseOutcome::Run) << result.Error;
    EXPECT_EQ(result.Arguments.Value("vars"), "xy");
    EXPECT_TRUE(result.Arguments.Has("exact"));
    EXPECT_FALSE(result.Arguments.Has("out"));
    EXPECT_EQ(result.Arguments.Value("out"), std::nullopt);
}

TEST(CliOptionsValues, UndeclaredNameIsAProgrammingError) {
    const TParseResult result = ParseVerbArguments(Tabulate, {"--vars", "x", "x", "0", "1"});
    EXPECT_THROW((void)result.Arguments.Has("output"), std::logic_error);
    EXPECT_THROW((void)result.Arguments.Value("var"), std::logic_error);
}

TEST(CliOptionsInput, ReplacesArgumentsAndRequiredOptions) {
    const TParseResult alone = ParseVerbArguments(Batch, {"--sep", ",", "--lines"});
    EXPECT_EQ(alone.Outcome, EParseOutcome::Run) << alone.Error;
    const TParseResult withArgument = ParseVerbArguments(Batch, {"--lines", "a"});
    EXPECT_EQ(withArgument.Error, "--lines takes no arguments: 'a' is one");
    const TParseResult withRequired = ParseVerbArguments(Batch, {"--lines", "--vars", "x"});
    EXPECT_EQ(withRequired.Error, "--lines reads LINES instead of --vars");
    const TParseResult ordinary = ParseVerbArguments(Batch, {"--vars", "x", "a", "b", "c", "d"});
    EXPECT_EQ(ordinary.Outcome, EParseOutcome::Run) << ordinary.Error;
    EXPECT_EQ(ParseVerbArguments(Batch, {"--vars", "x", "a", "b"}).Error, "missing Y");
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

TEST(CliOptionsUsage, SynopsisShowsCountsRequiredOptionsAndInputForm) {
    const std::vector<std::string> tabulate = Lines(VerbUsage(Tabulate));
    ASSERT_FALSE(tabulate.empty());
    EXPECT_EQ(tabulate[0], "usage: kurvant-cli tabulate --vars LETTERS [-o FILE] [--exact] "
                           "FORMULA FROM TO [FILE]");
    const std::vector<std::string> batch = Lines(VerbUsage(Batch));
    ASSERT_GE(batch.size(), 3u);
    EXPECT_EQ(batch[0], "usage: kurvant-cli batch --vars LETTERS [--sep C] X X Y [Y ...]");
    EXPECT_EQ(batch[1], "       kurvant-cli batch --lines [--sep C] < LINES");
    EXPECT_EQ(batch[2], "");
}

TEST(CliOptionsUsage, OptionRowsLineUpWithHelpLast) {
    const std::string usage = VerbUsage(Tabulate);
    EXPECT_NE(usage.find("\noptions:\n"
                         "      --vars LETTERS  variables\n"
                         "  -o, --out FILE      file to write\n"
                         "      --exact         no rounding\n"
                         "  -h, --help          prints this text\n\n"),
              std::string::npos)
        << usage;
}

// ---- the built program

using cli_test::RunCli;
using cli_test::TRun;

long LineCount(const std::string& text) {
    return static_cast<long>(std::count(text.begin(), text.end(), '\n'));
}

const std::vector<std::string> AllVerbs = {"prepare", "eval", "sample", "render", "stats"};

// A row of the verb list: the name indented, then its description.
void ExpectEveryVerbListed(const std::string& usage) {
    for (const std::string& verb : AllVerbs)
        EXPECT_NE(usage.find("\n  " + verb + "  "), std::string::npos) << verb << '\n' << usage;
}

TEST(CliHelp, ProgramHelpListsEveryVerb) {
    for (const char* help : {"--help", "-h"}) {
        const TRun run = RunCli({help});
        EXPECT_EQ(run.ExitCode, 0) << help;
        EXPECT_EQ(run.Err, "") << help;
        ExpectEveryVerbListed(run.Out);
    }
}

TEST(CliHelp, UsageErrorsWithoutAVerbPointToTheHelp) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"plot"}}) {
        const TRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(LineCount(run.Err), 1) << run.Err;
        EXPECT_NE(run.Err.find("; 'kurvant-cli --help' lists the verbs\n"), std::string::npos);
    }
    EXPECT_EQ(RunCli({"plot"}).Err.rfind("kurvant-cli: unknown verb 'plot';", 0), 0u);
}

struct TVerbHelpRow {
    const char* Verb;
    std::vector<std::string> Options; // as the option list spells them
};

void PrintTo(const TVerbHelpRow& row, std::ostream* out) {
    *out << row.Verb;
}

class CliVerbHelp : public ::testing::TestWithParam<TVerbHelpRow> {};

TEST_P(CliVerbHelp, ListsEveryOption) {
    const TVerbHelpRow& row = GetParam();
    for (const char* help : {"--help", "-h"}) {
        const TRun run = RunCli({row.Verb, help});
        EXPECT_EQ(run.ExitCode, 0) << help;
        EXPECT_EQ(run.Err, "") << help;
        EXPECT_EQ(run.Out.rfind("usage: kurvant-cli " + std::string(row.Verb) + " ", 0), 0u)
            << run.Out;
        for (const std::string& option : row.Options)
            EXPECT_NE(run.Out.find("  " + option + "  "), std::string::npos) << option;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Verbs, CliVerbHelp,
    ::testing::Values(
        TVerbHelpRow{"prepare", {"    --vars LETTERS", "    --sep C", "-h, --help"}},
        TVerbHelpRow{"eval", {"    --vars LETTERS", "    --sep C", "    --batch", "-h, --help"}},
        TVerbHelpRow{"sample", {"    --settings FILE", "    --sep C", "-h, --help"}},
        TVerbHelpRow{"render",
                     {"    --settings FILE", "    --size WxH", "    --autoscale", "    --sep C",
                      "-o, --output OUT", "-h, --help"}},
        TVerbHelpRow{"stats", {"    --sep C", "    --group TEXT", "-h, --help"}}),
    [](const auto& p) { return std::string(p.param.Verb); });

struct TOneLineRow {
    const char* Name;
    std::vector<std::string> Args;
    const char* Named; // what the line must name
};

void PrintTo(const TOneLineRow& row, std::ostream* out) {
    *out << row.Name;
}

class CliOneLineError : public ::testing::TestWithParam<TOneLineRow> {};

TEST_P(CliOneLineError, ExitsWithTwo) {
    const TOneLineRow& row = GetParam();
    const TRun run = RunCli(row.Args);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(LineCount(run.Err), 1) << run.Err;
    EXPECT_NE(run.Err.find(row.Named), std::string::npos) << run.Err;
}

INSTANTIATE_TEST_SUITE_P(
    UnknownOption, CliOneLineError,
    ::testing::Values(
        TOneLineRow{"Program", {"--frobnicate"}, "'--frobnicate'"},
        TOneLineRow{"Prepare", {"prepare", "--vars", "x", "--frobnicate", "x"}, "'--frobnicate'"},
        TOneLineRow{"SampleShort", {"sample", "-q", "a.qel"}, "'-q'"},
        TOneLineRow{"RenderWithValue",
                    {"render", "--colour", "red", "a.qel", "-o", "x.bmp"},
                    "'--colour'"}),
    [](const auto& p) { return std::string(p.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    MissingValue, CliOneLineError,
    ::testing::Values(
        TOneLineRow{"EvalSepBeforeAnOption",
                    {"eval", "--vars", "x", "x", "--sep", "--batch"},
                    "--sep needs C"},
        TOneLineRow{"SampleSettings", {"sample", "a.qel", "--settings"}, "--settings needs FILE"},
        TOneLineRow{"RenderOutput", {"render", "a.qel", "-o"}, "-o needs OUT"}),
    [](const auto& p) { return std::string(p.param.Name); });

struct TEvalRow {
    const char* Name;
    std::vector<std::string> Args;
    const char* Out;
};

void PrintTo(const TEvalRow& row, std::ostream* out) {
    *out << row.Name;
}

class CliNegativeArgument : public ::testing::TestWithParam<TEvalRow> {};

TEST_P(CliNegativeArgument, IsAValue) {
    const TRun run = RunCli(GetParam().Args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, GetParam().Out);
}

INSTANTIATE_TEST_SUITE_P(
    Eval, CliNegativeArgument,
    ::testing::Values(TEvalRow{"Integer", {"eval", "--vars", "-", "-2"}, "ok -2\n"},
                      TEvalRow{"Fraction", {"eval", "-0.5", "--vars", "-"}, "ok -0.5\n"},
                      TEvalRow{
                          "NegatedVariable", {"eval", "--vars", "x", "-x", "x=-1.5"}, "ok 1.5\n"}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace
