// kurvant-cli stats: a table text file loaded as the table dialog loads it, its statistics printed
// as the statistics window shows them, and the dialog's refusals as exit status 1.

#include "run_cli.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace cli_test;

std::string DataFile(const char* name) {
    return std::string(KURVANT_TEST_DATA) + "/tables/" + name;
}

using TColumns = std::array<const char*, 3>;

const std::array<const char*, 8> Titles = {"Минимум",
                                           "Максимум",
                                           "Сумма",
                                           "Среднее арифметическое",
                                           "Среднее геометрическое",
                                           "Сумма квадратов",
                                           "Исправленное станд. отклонение",
                                           "Станд. отклонение"};

// The printed grid: the titles' line, then each statistic's title and its three texts.
std::string Printed(const std::array<TColumns, 8>& rows) {
    std::string out = "\tX\tY\tZ\n";
    for (std::size_t i = 0; i < rows.size(); ++i)
        out += std::string(Titles[i]) + "\t" + rows[i][0] + "\t" + rows[i][1] + "\t" + rows[i][2] +
               "\n";
    return out;
}

struct TStatsRow {
    const char* Name;
    std::string Table; // a file of tests/data/tables, or the text of a table when it has a blank
    std::vector<std::string> Options;
    std::string Expected;
};

void PrintTo(const TStatsRow& row, std::ostream* out) {
    *out << row.Name;
}

class StatsTables : public ::testing::TestWithParam<TStatsRow> {};

TEST_P(StatsTables, PrintsTheStatisticsWindow) {
    const TStatsRow& row = GetParam();
    TTempFile table;
    std::string path = DataFile(row.Table.c_str());
    if (row.Table.find(' ') != std::string::npos) {
        std::ofstream(table.Path, std::ios::binary) << row.Table;
        path = table.Path;
    }
    std::vector<std::string> args = {"stats"};
    args.insert(args.end(), row.Options.begin(), row.Options.end());
    args.push_back(path);
    const TRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, row.Expected);
}

// statistics.txt: X 1 -2 3 4, Y 2 8 0 1234.5, Z 3 0 5 -1. Worked by hand: sqrt(7) = 2.64575131106,
// sqrt(21/4) = 2.29128784748; Y's squared deviations from 311.125 add up to 1136863.1875, and
// sqrt of a third and a quarter of it are 615.59271911984 and 533.11893314254; Z's add up to
// 22.75, giving 2.75378527364 and 2.38484800354.
const std::array<TColumns, 8> StatisticsComma = {
    TColumns{"-2,0000000000", "0,0000000000", "-1,0000000000"},
    TColumns{"4,0000000000", "1 234,5000000000", "5,0000000000"},
    TColumns{"6,0000000000", "1 244,5000000000", "7,0000000000"},
    TColumns{"1,5000000000", "311,1250000000", "1,7500000000"},
    TColumns{"НЕТ", "0,0000000000", "0,0000000000"},
    TColumns{"30,0000000000", "1 524 058,2500000000", "35,0000000000"},
    TColumns{"2,6457513111", "615,5927191198", "2,7537852736"},
    TColumns{"2,2912878475", "533,1189331425", "2,3848480035"}};

const std::array<TColumns, 8> StatisticsPoint = {
    TColumns{"-2.0000000000", "0.0000000000", "-1.0000000000"},
    TColumns{"4.0000000000", "1,234.5000000000", "5.0000000000"},
    TColumns{"6.0000000000", "1,244.5000000000", "7.0000000000"},
    TColumns{"1.5000000000", "311.1250000000", "1.7500000000"},
    TColumns{"НЕТ", "0.0000000000", "0.0000000000"},
    TColumns{"30.0000000000", "1,524,058.2500000000", "35.0000000000"},
    TColumns{"2.6457513111", "615.5927191198", "2.7537852736"},
    TColumns{"2.2912878475", "533.1189331425", "2.3848480035"}};

const std::array<TColumns, 8> StatisticsUngrouped = {
    TColumns{"-2.0000000000", "0.0000000000", "-1.0000000000"},
    TColumns{"4.0000000000", "1234.5000000000", "5.0000000000"},
    TColumns{"6.0000000000", "1244.5000000000", "7.0000000000"},
    TColumns{"1.5000000000", "311.1250000000", "1.7500000000"},
    TColumns{"НЕТ", "0.0000000000", "0.0000000000"},
    TColumns{"30.0000000000", "1524058.2500000000", "35.0000000000"},
    TColumns{"2.6457513111", "615.5927191198", "2.7537852736"},
    TColumns{"2.2912878475", "533.1189331425", "2.3848480035"}};

// One row of zeros in every column.
const std::array<TColumns, 8> OneZeroRow = {
    TColumns{"0.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"0.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"0.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"0.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"0.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"0.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"НЕТ", "НЕТ", "НЕТ"},
    TColumns{"0.0000000000", "0.0000000000", "0.0000000000"}};

// Rows 2 0 4 in every column: the blank line is a row of zeros. sqrt(8/3) = 1.63299316186.
const std::array<TColumns, 8> TwoZeroFour = {
    TColumns{"0.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"4.0000000000", "4.0000000000", "4.0000000000"},
    TColumns{"6.0000000000", "6.0000000000", "6.0000000000"},
    TColumns{"2.0000000000", "2.0000000000", "2.0000000000"},
    TColumns{"0.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"20.0000000000", "20.0000000000", "20.0000000000"},
    TColumns{"2.0000000000", "2.0000000000", "2.0000000000"},
    TColumns{"1.6329931619", "1.6329931619", "1.6329931619"}};

// short_lines.txt: X 1 2 4, Y 0 3 5, Z 0 0 6; the coordinates a line leaves out are 0.
// Geometric mean of X: 8^(1/3) = 2; deviations: X 14/3, Y 38/3 and Z 24 in squares.
const std::array<TColumns, 8> ShortLines = {
    TColumns{"1.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"4.0000000000", "5.0000000000", "6.0000000000"},
    TColumns{"7.0000000000", "8.0000000000", "6.0000000000"},
    TColumns{"2.3333333333", "2.6666666667", "2.0000000000"},
    TColumns{"2.0000000000", "0.0000000000", "0.0000000000"},
    TColumns{"21.0000000000", "34.0000000000", "36.0000000000"},
    TColumns{"1.5275252317", "2.5166114784", "3.4641016151"},
    TColumns{"1.2472191289", "2.0548046677", "2.8284271247"}};

INSTANTIATE_TEST_SUITE_P(
    Tables, StatsTables,
    ::testing::Values(
        TStatsRow{"CommaAndBlankGroups",
                  "statistics.txt",
                  {"--sep", ",", "--group", " "},
                  Printed(StatisticsComma)},
        TStatsRow{"PointAndCommaGroups",
                  "statistics.txt",
                  {"--sep", ".", "--group", ","},
                  Printed(StatisticsPoint)},
        // The C locale has a point and groups nothing.
        TStatsRow{"CLocaleDefaults", "statistics.txt", {}, Printed(StatisticsUngrouped)},
        TStatsRow{"EmptyGroupGroupsNothing",
                  "statistics.txt",
                  {"--group", ""},
                  Printed(StatisticsUngrouped)},
        TStatsRow{"EmptyFileIsOneRowOfZeros", "empty.txt", {}, Printed(OneZeroRow)},
        TStatsRow{"BlankLineIsARowOfZeros", "2 2 2\r\n\r\n4 4 4\r\n", {}, Printed(TwoZeroFour)},
        TStatsRow{"MissingCoordinatesAreZero", "short_lines.txt", {}, Printed(ShortLines)}),
    [](const auto& p) { return std::string(p.param.Name); });

// The number-line reader skips the exponent letter, as the dialog's load does: "1e5" is 15.
TEST(Stats, ExponentLetterIsSkippedAsTheLoadSkipsIt) {
    TTempFile table;
    std::ofstream(table.Path, std::ios::binary) << "1e5 x=2 3\n";
    const TRun run = RunCli({"stats", table.Path});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("\nСумма\t15.0000000000\t2.0000000000\t3.0000000000\n"),
              std::string::npos)
        << run.Out;
}

std::string LinesOf(const char* line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::string(line) + "\r\n";
    return text;
}

TEST(Stats, FiveThousandLinesAreATable) {
    TTempFile table;
    std::ofstream(table.Path, std::ios::binary) << LinesOf("1 -2 0,5", 5000);
    const TRun run = RunCli({"stats", table.Path});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("\nСумма\t5000.0000000000\t-10000.0000000000\t2500.0000000000\n"),
              std::string::npos)
        << run.Out;
}

struct TRefusalRow {
    const char* Name;
    std::vector<std::string> Args;
    std::string Table; // written to a temporary file named by "TABLE" in Args; empty: none
    int ExitCode;
    const char* Err; // nullptr: any one-line usage message
};

void PrintTo(const TRefusalRow& row, std::ostream* out) {
    *out << row.Name;
}

class StatsRefusals : public ::testing::TestWithParam<TRefusalRow> {};

TEST_P(StatsRefusals, PrintNothingAndSayWhy) {
    const TRefusalRow& row = GetParam();
    TTempFile table;
    std::ofstream(table.Path, std::ios::binary) << row.Table;
    std::vector<std::string> args = {"stats"};
    for (const std::string& arg : row.Args)
        args.push_back(arg == "TABLE" ? table.Path : arg);
    const TRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, row.ExitCode);
    EXPECT_EQ(run.Out, "");
    if (row.Err != nullptr)
        EXPECT_EQ(run.Err, row.Err);
    else
        EXPECT_EQ(run.Err.rfind("kurvant-cli stats: ", 0), 0u) << run.Err;
}

// The dialog's box: the load failure, then on a line of its own what was wrong and where.
#define LOAD_FAILURE(reason) "Не удалось загрузить до конца файл таблицы!\n" reason "\n"

INSTANTIATE_TEST_SUITE_P(
    Refusals, StatsRefusals,
    ::testing::Values(TRefusalRow{"FourNumbers",
                                  {DataFile("bad_four_numbers.txt")},
                                  "",
                                  1,
                                  LOAD_FAILURE("строка 2: ожидалось три числа")},
                      TRefusalRow{"TokenWithoutDigits",
                                  {DataFile("bad_token_without_digits.txt")},
                                  "",
                                  1,
                                  LOAD_FAILURE("строка 2: ожидалось три числа")},
                      TRefusalRow{"MissingFile",
                                  {"/nonexistent/kurvant/table.txt"},
                                  "",
                                  1,
                                  LOAD_FAILURE("файл не удаётся прочитать")},
                      TRefusalRow{"MoreLinesThanTheTableHasRows",
                                  {"TABLE"},
                                  LinesOf("1 2 3", 5001),
                                  1,
                                  LOAD_FAILURE("больше 5000 строк")},
                      TRefusalRow{"NoTable", {}, "", 2, nullptr},
                      TRefusalRow{"TwoTables", {"TABLE", "TABLE"}, "1 2 3", 2, nullptr},
                      TRefusalRow{"BadSeparator", {"--sep", ";", "TABLE"}, "1 2 3", 2, nullptr},
                      TRefusalRow{"GroupWithoutText", {"TABLE", "--group"}, "1 2 3", 2, nullptr}),
    [](const auto& p) { return std::string(p.param.Name); });

// The locale's separators are the defaults. A Russian locale is made for the test when the system
// has none, in a folder of its own.
TEST(Stats, RussianLocaleGivesCommaAndNoBreakSpaceGroups) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kurvant-locales-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string made = (folder / "ru_RU.UTF-8").string();
    const int status =
        std::system(("localedef -i ru_RU -f UTF-8 " + Quoted(made) + " >/dev/null 2>&1").c_str());
    if (status != 0 || !std::filesystem::exists(made)) {
        std::filesystem::remove_all(folder);
        GTEST_SKIP() << "localedef cannot make a Russian locale here";
    }
    const TRun run = RunCli({"stats", DataFile("statistics.txt")}, "",
                            // glibc never frees the path of a LOCPATH locale; no leak of ours.
                            "ASAN_OPTIONS=detect_leaks=0 LOCPATH=" + Quoted(folder.string()) +
                                " LC_ALL=ru_RU.UTF-8");
    std::filesystem::remove_all(folder);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const bool narrow = run.Out.find("1\u202f234,5000000000") != std::string::npos;
    const bool wide = run.Out.find("1\u00a0234,5000000000") != std::string::npos;
    EXPECT_TRUE(narrow || wide) << run.Out;
    EXPECT_NE(run.Out.find("\t1,5000000000\t"), std::string::npos) << run.Out;
}

} // namespace
