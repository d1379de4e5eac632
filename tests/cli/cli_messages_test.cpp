// What kurvant-cli says when what it was given does not do: one line for a usage error with a
// long argument cut short, a warning for a settings file it cannot read, the window's words and
// the system's reason for a picture it cannot write, and an answer for a batch line longer than
// any formula, after which the next line is answered as ever.

#include "run_cli.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Times(const std::string& piece, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

const std::string Hint = "; 'kurvant-cli --help' lists the verbs\n";
// The longest line a document holds, and so the longest batch line.
constexpr std::size_t Longest = 64 * 1024;

// A batch line of exactly `length` bytes whose formula is 1.
std::string BatchLine(std::size_t length) {
    std::string formula = (length - 3) % 2 == 1 ? "1" : " 1";
    while (formula.size() < length - 3)
        formula += "+0";
    return "-\t" + formula + "\t";
}

struct TMessageRow {
    const char* Name;
    std::vector<std::string> Args; // "DIR/" is replaced by a folder that holds empty.qel
    std::string Input;
    int ExitCode;
    std::string Out;
    std::string Err;
};

void PrintTo(const TMessageRow& row, std::ostream* out) {
    *out << row.Name;
}

class CliMessages : public ::testing::TestWithParam<TMessageRow> {};

TEST_P(CliMessages, ExitCodeOutputAndWords) {
    const TMessageRow& row = GetParam();
    TScratchFolder folder;
    std::ofstream(folder.File("empty.qel"), std::ios::binary)
        << "@#^%$*/-Kurvant1\r\n1 0 0 0 0 0\r\n0\r\n";
    std::vector<std::string> args = row.Args;
    for (std::string& arg : args)
        if (arg.starts_with("DIR/"))
            arg = folder.File(arg.substr(4));
    const cli_test::TRun run = cli_test::RunCli(args, row.Input);
    EXPECT_EQ(run.ExitCode, row.ExitCode);
    EXPECT_EQ(run.Out, row.Out);
    std::string err = row.Err;
    if (const std::size_t dir = err.find("DIR/"); dir != std::string::npos)
        err.replace(dir, 4, folder.File(""));
    EXPECT_EQ(run.Err, err);
}

INSTANTIATE_TEST_SUITE_P(
    Usage, CliMessages,
    ::testing::Values(
        TMessageRow{"NoVerb", {}, "", 2, "", "kurvant-cli: no verb given" + Hint},
        TMessageRow{"UnknownVerb", {"plot"}, "", 2, "", "kurvant-cli: unknown verb 'plot'" + Hint},
        TMessageRow{"SixtyCharactersWhole",
                    {Times("p", 60)},
                    "",
                    2,
                    "",
                    "kurvant-cli: unknown verb '" + Times("p", 60) + "'" + Hint},
        TMessageRow{"LongVerbCut",
                    {Times("p", 61)},
                    "",
                    2,
                    "",
                    "kurvant-cli: unknown verb '" + Times("p", 57) + "...'" + Hint},
        TMessageRow{"CyrillicCutBetweenLetters",
                    {Times("я", 100)},
                    "",
                    2,
                    "",
                    "kurvant-cli: unknown verb '" + Times("я", 57) + "...'" + Hint},
        TMessageRow{"LongOptionOfAVerbCut",
                    {"prepare", "--vars", "x", "--" + Times("q", 100), "x"},
                    "",
                    2,
                    "",
                    "kurvant-cli prepare: unknown option '--" + Times("q", 55) +
                        "...'; 'kurvant-cli prepare --help' lists its usage\n"},
        TMessageRow{"ValueForALetterNotListed",
                    {"eval", "--vars", "x", "x", "x=1", "y=2"},
                    "",
                    2,
                    "",
                    "kurvant-cli eval: a value for y, which --vars does not list\n"},
        TMessageRow{"NoValueForAListedLetter",
                    {"eval", "--vars", "xy", "x+y", "x=1"},
                    "",
                    2,
                    "",
                    "kurvant-cli eval: no value for y of --vars\n"}),
    [](const auto& p) { return std::string(p.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Files, CliMessages,
    ::testing::Values(
        TMessageRow{"MissingSettingsWarnsAndSamples",
                    {"sample", "--settings", "DIR/none.dat", "DIR/empty.qel"},
                    "",
                    0,
                    "view 1 0 0 0 0 0\ngraphs 0\n",
                    "kurvant-cli sample: warning: cannot read the settings file "
                    "'DIR/none.dat'; using the defaults\n"},
        TMessageRow{"PictureInAMissingFolder",
                    {"render", "--size", "40x30", "DIR/empty.qel", "-o", "DIR/none/a.png"},
                    "",
                    1,
                    "",
                    "Ошибка при сохранении файла области построения графиков!\n"
                    "Нет такого файла или папки\n"},
        TMessageRow{"PictureOverAFolder",
                    {"render", "DIR/empty.qel", "-o", "DIR/."},
                    "",
                    1,
                    "",
                    "Ошибка при сохранении файла области построения графиков!\nЭто папка\n"}),
    [](const auto& p) { return std::string(p.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    BatchLines, CliMessages,
    ::testing::Values(TMessageRow{"TenMegabytesThenAGoodLine",
                                  {"eval", "--batch"},
                                  Times("a", 10 << 20) + "\n-\t1+1\t\n",
                                  2,
                                  "line-too-long\nok 2\n",
                                  "kurvant-cli: line 1 is longer than 65536 bytes\n"},
                      TMessageRow{"LongestLineIsEvaluated",
                                  {"eval", "--batch"},
                                  BatchLine(Longest) + "\r\n-\t2\t\n",
                                  0,
                                  "ok 1\nok 2\n",
                                  ""},
                      TMessageRow{"OneByteMoreIsNot",
                                  {"eval", "--batch"},
                                  "-\t2\t\n" + BatchLine(Longest + 1),
                                  2,
                                  "ok 2\nline-too-long\n",
                                  "kurvant-cli: line 2 is longer than 65536 bytes\n"},
                      TMessageRow{"WithoutABreakAtTheEnd",
                                  {"eval", "--batch"},
                                  Times("1", 3 * Longest),
                                  2,
                                  "line-too-long\n",
                                  "kurvant-cli: line 1 is longer than 65536 bytes\n"}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace
