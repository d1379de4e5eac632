// What kurvant-cli says when something it was given does not do: one line for every usage error
// with a long argument cut short, a warning for a settings file that cannot be read, the window's
// words and the system's reason for a picture that cannot be written, and an answer for a batch
// line longer than any formula, after which the next line is answered as ever.

#include "run_cli.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using cli_test::RunCli;
using cli_test::TRun;

const std::string Hint = "; 'kurvant-cli --help' lists the verbs";

// A word of `count` copies of `piece`.
std::string Repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

struct TUsageRow {
    const char* Name;
    std::vector<std::string> Args;
    std::string Err; // the one line on stderr, without its break
};

void PrintTo(const TUsageRow& row, std::ostream* out) {
    *out << row.Name;
}

class CliUsageLine : public ::testing::TestWithParam<TUsageRow> {};

TEST_P(CliUsageLine, OneLineAndExitTwo) {
    const TUsageRow& row = GetParam();
    const TRun run = RunCli(row.Args);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, row.Err + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Verbs, CliUsageLine,
    ::testing::Values(TUsageRow{"NoVerb", {}, "kurvant-cli: no verb given" + Hint},
                      TUsageRow{"UnknownVerb", {"plot"}, "kurvant-cli: unknown verb 'plot'" + Hint},
                      TUsageRow{"SixtyCharactersWhole",
                                {Repeated("p", 60)},
                                "kurvant-cli: unknown verb '" + Repeated("p", 60) + "'" + Hint},
                      TUsageRow{"LongVerbCut",
                                {Repeated("p", 61)},
                                "kurvant-cli: unknown verb '" + Repeated("p", 57) + "...'" + Hint},
                      TUsageRow{"CyrillicCutBetweenLetters",
                                {Repeated("я", 100)},
                                "kurvant-cli: unknown verb '" + Repeated("я", 57) + "...'" + Hint},
                      TUsageRow{"LongOptionCut",
                                {"--" + Repeated("x", 200)},
                                "kurvant-cli: unknown option '--" + Repeated("x", 55) + "...'" +
                                    Hint},
                      TUsageRow{"LongOptionOfAVerbCut",
                                {"prepare", "--vars", "x", "--" + Repeated("q", 100), "x"},
                                "kurvant-cli prepare: unknown option '--" + Repeated("q", 55) +
                                    "...'; 'kurvant-cli prepare --help' lists its usage"}),
    [](const auto& p) { return std::string(p.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    EvalValues, CliUsageLine,
    ::testing::Values(TUsageRow{"ValueForALetterNotListed",
                                {"eval", "--vars", "x", "x", "x=1", "y=2"},
                                "kurvant-cli eval: a value for y, which --vars does not list"},
                      TUsageRow{"ValueWithoutVariables",
                                {"eval", "--vars", "-", "1", "x=1"},
                                "kurvant-cli eval: a value for x, which --vars does not list"},
                      TUsageRow{"NoValueForAListedLetter",
                                {"eval", "--vars", "xy", "x+y", "x=1"},
                                "kurvant-cli eval: no value for y of --vars"},
                      TUsageRow{"LongAssignmentCut",
                                {"eval", "--vars", "x", "x", "x" + Repeated("1", 100)},
                                "kurvant-cli eval: 'x" + Repeated("1", 56) +
                                    "...' is not NAME=VALUE"}),
    [](const auto& p) { return std::string(p.param.Name); });

const std::string EmptyDocument = "@#^%$*/-Kurvant1\r\n1 0 0 0 0 0\r\n0\r\n";

TEST(CliSettingsFile, UnreadableFileWarnsOnceAndKeepsTheDefaults) {
    TScratchFolder folder;
    const std::string document = folder.File("empty.qel");
    std::ofstream(document, std::ios::binary) << EmptyDocument;
    const TRun plain = RunCli({"sample", document});
    ASSERT_EQ(plain.ExitCode, 0) << plain.Err;
    EXPECT_EQ(plain.Err, "");
    const std::string broken = folder.File("settings.dat");
    std::ofstream(broken, std::ios::binary) << "not settings\r\n";
    for (const std::string& settings : {folder.File("none.dat"), broken}) {
        const TRun run = RunCli({"sample", "--settings", settings, document});
        EXPECT_EQ(run.ExitCode, 0) << settings;
        EXPECT_EQ(run.Out, plain.Out) << settings;
        EXPECT_EQ(run.Err, "kurvant-cli sample: warning: cannot read the settings file '" +
                               settings + "'; using the defaults\n");
    }
}

struct TPictureRow {
    const char* Name;
    const char* Output; // under the scratch folder
    const char* Reason;
};

void PrintTo(const TPictureRow& row, std::ostream* out) {
    *out << row.Name;
}

class CliPictureSave : public ::testing::TestWithParam<TPictureRow> {};

TEST_P(CliPictureSave, SaysItAsTheWindowDoesWithTheReason) {
    const TPictureRow& row = GetParam();
    TScratchFolder folder;
    const std::string document = folder.File("empty.qel");
    std::ofstream(document, std::ios::binary) << EmptyDocument;
    const TRun run = RunCli({"render", "--size", "40x30", document, "-o", folder.File(row.Output)});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, std::string("Ошибка при сохранении файла области построения графиков!\n") +
                           row.Reason + "\n");
}

INSTANTIATE_TEST_SUITE_P(Outputs, CliPictureSave,
                         ::testing::Values(TPictureRow{"MissingFolder", "none/view.png",
                                                       "Нет такого файла или папки"},
                                           TPictureRow{"AFolder", ".", "Это папка"}),
                         [](const auto& p) { return std::string(p.param.Name); });

// The longest line a document holds, and so the longest a batch line may be.
constexpr std::size_t LongestLine = 64 * 1024;

// A batch line of exactly `length` bytes that evaluates to 1.
std::string BatchLineOfLength(std::size_t length) {
    const std::size_t formulaLength = length - 3; // "-", two tabs
    std::string formula = formulaLength % 2 == 1 ? "1" : " 1";
    while (formula.size() < formulaLength) {
        formula += "+0";
    }
    return "-\t" + formula + "\t";
}

struct TBatchRow {
    const char* Name;
    std::string Input;
    std::string Out;
    int ExitCode;
};

void PrintTo(const TBatchRow& row, std::ostream* out) {
    *out << row.Name;
}

class CliLongBatchLine : public ::testing::TestWithParam<TBatchRow> {};

TEST_P(CliLongBatchLine, IsAnsweredAndTheNextLineToo) {
    const TBatchRow& row = GetParam();
    const TRun run = RunCli({"eval", "--batch"}, row.Input);
    EXPECT_EQ(run.ExitCode, row.ExitCode) << run.Err;
    EXPECT_EQ(run.Out, row.Out);
    // One line on stderr for each line too long.
    EXPECT_EQ(run.Err.empty(), row.ExitCode == 0) << run.Err;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CliLongBatchLine,
    ::testing::Values(TBatchRow{"TenMegabytesThenAGoodLine",
                                std::string(10 * 1024 * 1024, 'a') + "\n-\t1+1\t\n",
                                "line-too-long\nok 2\n", 2},
                      TBatchRow{"LongestLineIsEvaluated",
                                BatchLineOfLength(LongestLine) + "\r\n-\t2\t\n", "ok 1\nok 2\n", 0},
                      TBatchRow{"OneByteMoreIsNot",
                                BatchLineOfLength(LongestLine + 1) + "\n-\t2\t\n",
                                "line-too-long\nok 2\n", 2},
                      TBatchRow{"WithoutABreakAtTheEnd", std::string(LongestLine * 3, '1'),
                                "line-too-long\n", 2}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace
