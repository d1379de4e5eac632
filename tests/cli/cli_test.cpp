#include "run_cli.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

namespace {

using cli_test::RunCli;
using cli_test::TRun;

using cli_test::TTempFile;

struct TCliRow {
    const char* Name;
    std::vector<std::string> Args;
    int ExitCode;
    const char* Out;
    friend void PrintTo(const TCliRow& row, std::ostream* os) { *os << row.Name; }
};

class CliCommand : public ::testing::TestWithParam<TCliRow> {};

TEST_P(CliCommand, ExitCodeAndOutput) {
    const TCliRow& row = GetParam();
    const TRun run = RunCli(row.Args);
    EXPECT_EQ(run.ExitCode, row.ExitCode) << run.Err;
    EXPECT_EQ(run.Out, row.Out);
    if (row.ExitCode != 0) {
        EXPECT_FALSE(run.Err.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Prepare, CliCommand,
    ::testing::Values(
        TCliRow{"Rewritten",
                {"prepare", "--vars", "x", "--sep", ",", "2x^2 - 3.5x"},
                0,
                "#2#*#x#^#2#-#3,5#*#x#\nrewritten 2*x^2-3,5*x\n"},
        TCliRow{"Unchanged", {"prepare", "--vars", "x", "|x|:2"}, 0, "(abs(#x#))/#2#\nunchanged\n"},
        TCliRow{"DefaultSeparatorOfCLocale",
                {"prepare", "--vars", "q", "2pi"},
                0,
                "#2#*#3.14159265358979#\nrewritten 2*pi\n"},
        TCliRow{"NoVariables", {"prepare", "--vars", "-", "x+1"}, 0, "x+#1#\nunchanged\n"},
        TCliRow{
            "OptionsAfterFormula", {"prepare", "x*y", "--vars", "xy"}, 0, "#x#*#y#\nunchanged\n"},
        TCliRow{"FormulaBeginningWithSigns",
                {"prepare", "--vars", "-", "--3"},
                0,
                "--#3#\nunchanged\n"},
        TCliRow{"EmptyFormula", {"prepare", "--vars", "x", "  "}, 1, ""},
        TCliRow{"MissingVariables", {"prepare", "x"}, 2, ""},
        TCliRow{"TwoFormulas", {"prepare", "--vars", "x", "x", "y"}, 2, ""},
        TCliRow{"BadSeparator", {"prepare", "--vars", "x", "--sep", ";", "x"}, 2, ""},
        TCliRow{"NoCommand", {}, 2, ""}, TCliRow{"UnknownCommand", {"plot"}, 2, ""}),
    [](const auto& p) { return std::string(p.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Eval, CliCommand,
    ::testing::Values(
        TCliRow{"Ok", {"eval", "--vars", "x", "2x^2 - 3.5x", "x=2"}, 0, "ok 1\n"},
        TCliRow{"ValuesAreReadInTheCLocale",
                {"eval", "--vars", "x", "--sep", ",", "x/2", "x=0,5"},
                2,
                ""},
        TCliRow{
            "CommaInFormula", {"eval", "--vars", "-", "--sep", ",", "0,5+1.25"}, 0, "ok 1.75\n"},
        // 0.1 read as a long double is 0.1000000000000000000013553...
        TCliRow{
            "TwentyOneDigits", {"eval", "--vars", "-", "0.1"}, 0, "ok 0.100000000000000000001\n"},
        TCliRow{"HexadecimalValue", {"eval", "--vars", "x", "x*4", "x=0x1p-3"}, 0, "ok 0.5\n"},
        TCliRow{"VariablesInOrder", {"eval", "--vars", "xy", "x-y", "y=1", "x=3"}, 0, "ok 2\n"},
        TCliRow{"SyntaxError", {"eval", "--vars", "x", "2*-x", "x=1"}, 0, "syntax-error\n"},
        TCliRow{"MathError", {"eval", "--vars", "x", "sqrt(x)", "x=-1"}, 0, "math-error\n"},
        TCliRow{"PrepareFailed", {"eval", "--vars", "x", " ", "x=1"}, 0, "prepare-failed\n"},
        TCliRow{"UnsubstitutedVariable", {"eval", "--vars", "x", "x+1"}, 2, ""},
        TCliRow{"SignsAfterDoubleDash", {"eval", "--vars", "-", "--", "--3"}, 0, "ok 3\n"},
        TCliRow{"BadAssignment", {"eval", "--vars", "x", "x", "x=abc"}, 2, ""},
        TCliRow{"MissingFormula", {"eval", "--vars", "x"}, 2, ""}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(CliBatch, OneLinePerInputLine) {
    const std::string input = "x\t2x\tx=1.5\n"
                              "xy\tx*y\ty=2;x=-3\n"
                              "-\t1/0\t\n"
                              "-\t2*-3\t\n"
                              "x\t \t\n"
                              "x\tx\t+\t1\tx=1\r\n"; // tabs inside the formula are part of it
    const TRun run = RunCli({"eval", "--batch"}, input);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "ok 3\nok -6\nmath-error\nsyntax-error\nprepare-failed\nsyntax-error\n");
}

TEST(CliBatch, CommaSeparator) {
    const TRun run = RunCli({"eval", "--batch", "--sep", ","}, "x\tx/2\tx=3\n-\t1.5+2,25\t\n");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "ok 1.5\nok 3.75\n");
}

TEST(CliBatch, MalformedLineKeepsItsPlace) {
    const TRun run = RunCli({"eval", "--batch"}, "x\tx\tx=1\nno tabs here\nx\tx\tx=q\n-\t7\t\n");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "ok 1\nbad-line\nbad-line\nok 7\n");
    EXPECT_FALSE(run.Err.empty());
}

TEST(CliBatch, RefusesFormulaArguments) {
    const TRun run = RunCli({"eval", "--batch", "x+1"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
}

// ---- sample

std::string Document(const std::vector<std::string>& lines) {
    std::string text = "@#^%$*/-Kurvant1\r\n";
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

const std::vector<std::string> Tail = {"clRed", "0", "1", "2", "1", "2"};

std::vector<std::string> WithTail(std::vector<std::string> block) {
    block.insert(block.end(), Tail.begin(), Tail.end());
    return block;
}

// x on -1..1 in three steps: the samples fall on -1, 0 and 1 exactly.
const std::string LineDocument = Document([] {
    std::vector<std::string> lines = {"0.1 0 0 0 0 0", "1"};
    for (const std::string& l : WithTail({"0", "x", "-1 1 3 1"})) {
        lines.push_back(l);
    }
    return lines;
}());

struct TSampleRow {
    const char* Name;
    std::string DocumentText;
    std::vector<std::string> Options;
    std::string SettingsText; // written to a file for --settings when not empty
    const char* Out;
    friend void PrintTo(const TSampleRow& row, std::ostream* os) { *os << row.Name; }
};

class CliSample : public ::testing::TestWithParam<TSampleRow> {};

TEST_P(CliSample, PrintsViewGraphsBoundsAndPoints) {
    const TSampleRow& row = GetParam();
    TTempFile document;
    TTempFile settings;
    std::ofstream(document.Path, std::ios::binary) << row.DocumentText;
    std::vector<std::string> args = {"sample"};
    args.insert(args.end(), row.Options.begin(), row.Options.end());
    if (!row.SettingsText.empty()) {
        std::ofstream(settings.Path, std::ios::binary) << row.SettingsText;
        args.insert(args.end(), {"--settings", settings.Path});
    }
    args.push_back(document.Path);
    const TRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, row.Out);
}

const std::string NarrowSettings = "clWhite\r\nclBlack\r\n1 1 1 1 1 1 1 \r\n"
                                   "-0,5 0,5 -10 10 -10 10\r\n1 1 1 1\r\n0 0 0 0 0 0 \r\n"
                                   "clSilver\r\nclSilver\r\nclSilver\r\n";
// The same with a reversed X interval, which the program does not accept from its file.
const std::string ReversedSettings = "clWhite\r\nclBlack\r\n1 1 1 1 1 1 1 \r\n"
                                     "0,5 -0,5 -10 10 -10 10\r\n1 1 1 1\r\n0 0 0 0 0 0 \r\n"
                                     "clSilver\r\nclSilver\r\nclSilver\r\n";

const char* LineOut = "view 0.10000000000000001 0 0 0 0 0\n"
                      "graphs 1\n"
                      "graph 1 kind 0 visible 1 points 3\n"
                      "bounds -1 1 -1 1 0 0\n"
                      "-1 -1 0\n"
                      "0 0 0\n"
                      "1 1 0\n";

INSTANTIATE_TEST_SUITE_P(
    Sample, CliSample,
    ::testing::Values(
        TSampleRow{"NoGraphs",
                   Document({"0.1 0 0 0 0 0", "0"}),
                   {},
                   "",
                   "view 0.10000000000000001 0 0 0 0 0\ngraphs 0\n"},
        TSampleRow{"ViewLineInOrder",
                   Document({"2 0,5 -3 90 45 -30", "0"}),
                   {},
                   "",
                   "view 2 0.5 -3 90 45 -30\ngraphs 0\n"},
        TSampleRow{"FormulaGraphSampled", LineDocument, {}, "", LineOut},
        TSampleRow{"CommaSeparatorSamplesTheSame", LineDocument, {"--sep", ","}, "", LineOut},
        TSampleRow{"SettingsClipTheInterval",
                   LineDocument,
                   {},
                   NarrowSettings,
                   "view 0.10000000000000001 0 0 0 0 0\n"
                   "graphs 1\n"
                   "graph 1 kind 0 visible 1 points 3\n"
                   "bounds -0.5 0.5 -0.5 0.5 0 0\n"
                   "-0.5 -0.5 0\n"
                   "0 0 0\n"
                   "0.5 0.5 0\n"},
        TSampleRow{"UnreadableSettingsGiveDefaults", LineDocument, {}, ReversedSettings, LineOut},
        TSampleRow{
            "TableKeepsItsPointsAndXYBounds",
            Document([] {
                std::vector<std::string> lines = {"1 0 0 0 0 0", "1"};
                for (const std::string& l : WithTail({"6", "2", "1 2 3", "-4.5 0,25 6", " 0"})) {
                    lines.push_back(l);
                }
                return lines;
            }()),
            {},
            "",
            "view 1 0 0 0 0 0\n"
            "graphs 1\n"
            "graph 1 kind 6 visible 0 points 2\n"
            "bounds -4.5 1 0.25 2 0 0\n"
            "1 2 3\n"
            "-4.5 0.25 6\n"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(CliSample, MoreThanTwentyVisibleGraphsOpenWithTwentyTicked) {
    std::vector<std::string> lines = {"1 0 0 0 0 0", "22"};
    for (int i = 0; i < 22; ++i) {
        for (const std::string& l : WithTail({"6", "0", " 1"})) {
            lines.push_back(l);
        }
    }
    TTempFile document;
    std::ofstream(document.Path, std::ios::binary) << Document(lines);
    const TRun run = RunCli({"sample", document.Path});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("graph 20 kind 6 visible 1 points 0\n"), std::string::npos);
    EXPECT_NE(run.Out.find("graph 21 kind 6 visible 0 points 0\n"), std::string::npos);
    EXPECT_NE(run.Out.find("graph 22 kind 6 visible 0 points 0\n"), std::string::npos);
}

struct TSampleFailureRow {
    const char* Name;
    std::string DocumentText;
    const char* Message;
    friend void PrintTo(const TSampleFailureRow& row, std::ostream* os) { *os << row.Name; }
};

class CliSampleFailure : public ::testing::TestWithParam<TSampleFailureRow> {};

// The open command's message: its first line, then what was wrong and where.
TEST_P(CliSampleFailure, PrintsTheReadersMessageAndExitsWithOne) {
    const TSampleFailureRow& row = GetParam();
    TTempFile document;
    std::ofstream(document.Path, std::ios::binary) << row.DocumentText;
    const TRun run = RunCli({"sample", document.Path});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, std::string(row.Message) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Sample, CliSampleFailure,
    ::testing::Values(
        TSampleFailureRow{"WrongSignature", "@#^%$*/-Kurvant2\r\n0.1 0 0 0 0 0\r\n0\r\n",
                          "Неверный формат файла!\nстрока 1: нет подписи файла"},
        TSampleFailureRow{"EmptyFile", "", "Не удаётся открыть файл!\nфайл пуст"},
        TSampleFailureRow{"CountBeyondBlocks", Document({"0.1 0 0 0 0 0", "3"}),
                          "Не удаётся открыть файл!\nстрока 4: файл обрывается"},
        TSampleFailureRow{"TableCountBeyondLines",
                          Document({"0.1 0 0 0 0 0", "1", "6", "100000", "1 2 3"}),
                          "Не удаётся открыть файл!\nстрока 7: файл обрывается"},
        TSampleFailureRow{
            "SurfaceOf201Steps",
            Document(WithTail({"0.1 0 0 0 0 0", "1", "4", "x*y", "-1 1 201 -1 1 10 1"})),
            "Не удаётся открыть файл!\nстрока 6: число шагов больше 200"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(CliSample, MissingDocumentCannotBeOpened) {
    const TRun run = RunCli({"sample", "/nonexistent/kurvant/plot.qel"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "Не удаётся открыть файл!\nфайл не найден\n");
}

INSTANTIATE_TEST_SUITE_P(
    SampleUsage, CliCommand,
    ::testing::Values(TCliRow{"NoDocument", {"sample"}, 2, ""},
                      TCliRow{"TwoDocuments", {"sample", "a.qel", "b.qel"}, 2, ""},
                      TCliRow{"SettingsWithoutFile", {"sample", "a.qel", "--settings"}, 2, ""},
                      TCliRow{"BadSeparator", {"sample", "--sep", ";", "a.qel"}, 2, ""},
                      TCliRow{"UnknownOption", {"sample", "--vars", "x", "a.qel"}, 2, ""}),
    [](const auto& p) { return std::string(p.param.Name); });

// ---- inputs that are not regular files

// A FIFO or a folder named as an input is refused at once, never waited on: "@" in the
// arguments stands for the special file, "DOC" for a document that reads.
struct TSpecialInputRow {
    const char* Name;
    bool Folder; // else a FIFO
    std::vector<std::string> Args;
    int ExitCode;
    const char* ErrStart;
    friend void PrintTo(const TSpecialInputRow& row, std::ostream* os) { *os << row.Name; }
};

class CliSpecialInput : public ::testing::TestWithParam<TSpecialInputRow> {};

TEST_P(CliSpecialInput, IsRefusedWithoutWaiting) {
    const TSpecialInputRow& row = GetParam();
    TScratchFolder folder;
    const std::string special = folder.File("p.qel");
    ASSERT_EQ(row.Folder ? ::mkdir(special.c_str(), 0700) : ::mkfifo(special.c_str(), 0600), 0);
    const std::string document = folder.File("doc.qel");
    std::ofstream(document, std::ios::binary) << LineDocument;
    std::vector<std::string> args;
    for (const std::string& arg : row.Args) {
        args.push_back(arg == "@"     ? special
                       : arg == "DOC" ? document
                       : arg == "OUT" ? folder.File("out.bmp")
                                      : arg);
    }
    const TRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, row.ExitCode) << run.Err;
    EXPECT_EQ(run.Err.rfind(row.ErrStart, 0), 0u) << run.Err;
    if (row.ExitCode == 0 && row.Args.front() == "sample") {
        // The unusable settings file gives the defaults: the output of no settings at all.
        EXPECT_EQ(run.Out, RunCli({"sample", document}).Out);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliSpecialInput,
    ::testing::Values(
        TSpecialInputRow{"SampleFifo", false, {"sample", "@"}, 1, "Не удаётся открыть файл!"},
        TSpecialInputRow{"SampleFolder", true, {"sample", "@"}, 1, "Не удаётся открыть файл!"},
        TSpecialInputRow{
            "RenderFifo", false, {"render", "@", "-o", "OUT"}, 1, "Не удаётся открыть файл!"},
        TSpecialInputRow{"SampleSettingsFifo", false, {"sample", "--settings", "@", "DOC"}, 0, ""},
        TSpecialInputRow{
            "RenderSettingsFifo", false, {"render", "--settings", "@", "DOC", "-o", "OUT"}, 0, ""},
        TSpecialInputRow{"StatsFifo", false, {"stats", "@"}, 1, "Не удаётся открыть файл!"},
        TSpecialInputRow{"StatsFolder", true, {"stats", "@"}, 1, "Не удаётся открыть файл!"}),
    [](const auto& p) { return std::string(p.param.Name); });

// A picture written to /dev/stdout goes down the pipe that the standard output is, and no file
// takes the place of the link.
TEST(CliRender, PictureToStandardOutputGoesDownThePipe) {
    TTempFile document;
    std::ofstream(document.Path, std::ios::binary) << LineDocument;
    const TRun run = RunCli({"render", "--size", "40x30", document.Path, "-o", "/dev/stdout"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out.substr(0, 2), "BM");
    struct stat info {};
    ASSERT_EQ(::lstat("/dev/stdout", &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

} // namespace
