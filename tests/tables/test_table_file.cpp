// The table text file: what each line gives, the refusals that leave everything as it was, the
// grid after a load, and save -> load round trips under both separators.

#include "tables/table_file.h"

#include "documents/file_helpers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

using TLines = std::vector<std::optional<TPoint3D>>;

struct TParseRow {
    const char* Name;
    std::vector<std::string> Lines;
    TTableFileRead Result;
    int RowCount; // or, for a line that is no line of numbers, its number
    TLines Points;
};

void PrintTo(const TParseRow& row, std::ostream* out) {
    *out << row.Name;
}

class ParseRows : public ::testing::TestWithParam<TParseRow> {};

TEST_P(ParseRows, ReadsEachLine) {
    const TParseRow& row = GetParam();
    TTableFile file;
    file.RowCount = -7; // marks a file that was not written
    int failedLine = -1;
    ASSERT_EQ(ParseTableLines(row.Lines, file, &failedLine), row.Result);
    if (row.Result != TTableFileRead::Ok) {
        EXPECT_EQ(file.RowCount, -7);
        EXPECT_TRUE(file.Lines.empty());
        EXPECT_EQ(failedLine, row.RowCount);
        return;
    }
    EXPECT_EQ(failedLine, -1);
    EXPECT_EQ(file.RowCount, row.RowCount);
    EXPECT_EQ(file.Lines, row.Points);
}

constexpr TTableFileRead Ok = TTableFileRead::Ok;
constexpr TTableFileRead Unreadable = TTableFileRead::Unreadable;
constexpr TTableFileRead NotNumbers = TTableFileRead::NotNumbers;

// A digit-group separator inside a number is skipped as any other character is: the no-break
// space of a Windows-1251 file (read as U+00A0) and the narrow one of a UTF-8 file alike.

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseRows,
    ::testing::Values(
        TParseRow{"ThreeNumbers", {"1 2 3"}, Ok, 1, {TPoint3D{1, 2, 3}}},
        TParseRow{"EitherMarkAndBlankRuns", {"1,5   -2.25  3"}, Ok, 1, {TPoint3D{1.5, -2.25, 3}}},
        TParseRow{"TwoNumbersLeaveZZero", {"1 2"}, Ok, 1, {TPoint3D{1, 2, 0}}},
        TParseRow{"OneNumberLeavesYAndZZero", {"7"}, Ok, 1, {TPoint3D{7, 0, 0}}},
        TParseRow{"BlankLineKeepsItsRow",
                  {"1 2 3", "   ", "4 5 6"},
                  Ok,
                  3,
                  {TPoint3D{1, 2, 3}, std::nullopt, TPoint3D{4, 5, 6}}},
        TParseRow{"OneBlankLineMakesOneRow", {""}, Ok, 1, {std::nullopt}},
        TParseRow{"EmptyFileMakesOneRow", {}, Ok, 1, {}},
        TParseRow{"NoBreakSpaceGroups",
                  {"1\u00a0234,5 -2\u00a0000 3"},
                  Ok,
                  1,
                  {TPoint3D{1234.5, -2000, 3}}},
        TParseRow{"NarrowNoBreakSpaceGroups",
                  {"1\u202f234,5 -2\u202f000 3"},
                  Ok,
                  1,
                  {TPoint3D{1234.5, -2000, 3}}},
        TParseRow{"FourNumbers", {"1 2 3", "1 2 3 4"}, NotNumbers, 2, {}},
        TParseRow{"TokenWithoutDigits", {"1 - 3"}, NotNumbers, 1, {}},
        TParseRow{"ExponentFormDoesNotReadBack", {"", "", "1E-6 0 0"}, NotNumbers, 3, {}}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(TableFile, FiveThousandLinesAreTakenAndOneMoreIsRefused) {
    std::vector<std::string> lines(MaxTableRows, "1 2 3");
    TTableFile file;
    ASSERT_EQ(ParseTableLines(lines, file), TTableFileRead::Ok);
    EXPECT_EQ(file.RowCount, MaxTableRows);
    lines.push_back("");
    TTableFile refused;
    EXPECT_EQ(ParseTableLines(lines, refused), TTableFileRead::TooManyLines);
    EXPECT_TRUE(refused.Lines.empty());
}

struct TDataFileRow {
    const char* Name;
    const char* File;
    TTableFileRead Result;
    TLines Points;
};

void PrintTo(const TDataFileRow& row, std::ostream* out) {
    *out << row.Name;
}

class DataFiles : public ::testing::TestWithParam<TDataFileRow> {};

TEST_P(DataFiles, ReadAsTheDialogLoadsThem) {
    const TDataFileRow& row = GetParam();
    TTableFile file;
    ASSERT_EQ(ReadTableFile(DataPath(std::string("tables/") + row.File), file), row.Result);
    if (row.Result == TTableFileRead::Ok) {
        EXPECT_EQ(file.Lines, row.Points);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DataFiles,
    ::testing::Values(
        TDataFileRow{"CrLfEndsBothMarks",
                     "points_crlf.txt",
                     Ok,
                     {TPoint3D{1, 2, 3}, TPoint3D{-1.5, 2.25, 0}, TPoint3D{0, 0, 0.001}}},
        TDataFileRow{"LfAndCrEndsWithABlankLine",
                     "mixed_ends_blank_line.txt",
                     Ok,
                     {TPoint3D{4, 5, 6}, std::nullopt, TPoint3D{7.5, 8, 9}, TPoint3D{10, 11, 12}}},
        TDataFileRow{"ShortLines",
                     "short_lines.txt",
                     Ok,
                     {TPoint3D{1, 0, 0}, TPoint3D{2, 3, 0}, TPoint3D{4, 5, 6}}},
        TDataFileRow{"Empty", "empty.txt", Ok, {}},
        TDataFileRow{"FourNumbers", "bad_four_numbers.txt", NotNumbers, {}},
        TDataFileRow{"TokenWithoutDigits", "bad_token_without_digits.txt", NotNumbers, {}},
        TDataFileRow{"Missing", "no_such_file.txt", Unreadable, {}}),
    [](const auto& p) { return std::string(p.param.Name); });

TTableGrid FilledGrid(int rows, const char* text) {
    TTableGrid grid;
    grid.SetRowCount(rows);
    for (int row = 0; row < MaxTableRows; ++row)
        for (int column = 0; column < 3; ++column)
            grid.SetCell(row, column, text);
    return grid;
}

TEST(TableFile, LoadSetsTheRowCountAndKeepsTheRowsOfBlankLines) {
    TTableGrid grid = FilledGrid(5, "9");
    grid.SetCell(1, 1, "");
    TTableFile file;
    ASSERT_EQ(ParseTableLines({"1.5 2 3", "", "-4 0,25"}, file), TTableFileRead::Ok);
    ApplyTableFile(file, grid, ',');
    EXPECT_EQ(grid.RowCount(), 3);
    const std::vector<std::array<std::string, 3>> expected = {
        {"1,5", "2", "3"}, {"9", "0", "9"}, {"-4", "0,25", "0"}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(grid.Cell(row, column),
                      expected[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)])
                << row << ' ' << column;
    // The rows the file no longer shows keep their texts.
    EXPECT_EQ(grid.Cell(3, 0), "9");
}

TEST(TableFile, EmptyFileLeavesOneRowAsItWas) {
    TTableGrid grid = FilledGrid(4, "8");
    TTableFile file;
    ASSERT_EQ(ParseTableLines({}, file), TTableFileRead::Ok);
    ApplyTableFile(file, grid, ',');
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Cell(0, 0), "8");
}

TEST(TableFile, LinesAreWrittenWithCrLfInFixedNotation) {
    TScratchFolder folder;
    const std::string path = folder.File("t.txt");
    ASSERT_TRUE(WriteTableFile(path, {TPoint3D{1, 2.5, 0}, TPoint3D{-0.00001, 1000, -1000}}, ','));
    EXPECT_EQ(FileBytes(path), "1 2,5 0\r\n-0,00001 1000 -1000\r\n");
}

class RoundTrip : public ::testing::TestWithParam<char> {};

TEST_P(RoundTrip, SavedTableLoadsBackUnderEitherSeparator) {
    const char separator = GetParam();
    const std::vector<TPoint3D> points = {TPoint3D{0.00001, -999.999999999999, 123.456},
                                          TPoint3D{-0.5, 0, 1000}, TPoint3D{1e-4, 2e-7, -3}};
    TScratchFolder folder;
    const std::string path = folder.File("round.txt");
    ASSERT_TRUE(WriteTableFile(path, points, separator));
    for (const char reader : {',', '.'}) {
        TTableFile file;
        ASSERT_EQ(ReadTableFile(path, file), TTableFileRead::Ok) << reader;
        ASSERT_EQ(file.RowCount, 3);
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_EQ(file.Lines[i], points[i]) << i;
        TTableGrid grid;
        ApplyTableFile(file, grid, reader);
        std::vector<TPoint3D> again;
        ASSERT_FALSE(ReadTablePoints(grid, reader, again));
        EXPECT_EQ(again, points);
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, RoundTrip, ::testing::Values(',', '.'), [](const auto& p) {
    return std::string(p.param == ',' ? "Comma" : "Point");
});

TEST(TableFile, FolderThatDoesNotExistCannotBeWritten) {
    EXPECT_FALSE(WriteTableFile("/nonexistent-kurvant-folder/t.txt", {TPoint3D{}}, ','));
}

struct TLoadMessageRow {
    const char* Name;
    TTableFileRead Result;
    int FailedLine;
    const char* Message;
};

void PrintTo(const TLoadMessageRow& row, std::ostream* out) {
    *out << row.Name;
}

class LoadMessages : public ::testing::TestWithParam<TLoadMessageRow> {};

TEST_P(LoadMessages, SayWhatWasWrongAndWhereOnASecondLine) {
    const TLoadMessageRow& row = GetParam();
    EXPECT_EQ(TableLoadFailureMessage(row.Result, row.FailedLine), row.Message);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, LoadMessages,
    ::testing::Values(
        TLoadMessageRow{"Read", TTableFileRead::Ok, 0, ""},
        TLoadMessageRow{"Unreadable", Unreadable, 0,
                        "Не удалось загрузить до конца файл таблицы!\n\rфайл не удаётся прочитать"},
        TLoadMessageRow{"NotNumbers", NotNumbers, 17,
                        "Не удалось загрузить до конца файл таблицы!\n\rстрока 17: ожидалось три "
                        "числа"},
        TLoadMessageRow{"TooManyLines", TTableFileRead::TooManyLines, 0,
                        "Не удалось загрузить до конца файл таблицы!\n\rбольше 5000 строк"}),
    [](const auto& p) { return std::string(p.param.Name); });

struct TLargeFileRow {
    const char* Name;
    std::string Head; // refused within these lines, before megabytes of good ones
    TTableFileRead Result;
    int FailedLine;
};

void PrintTo(const TLargeFileRow& row, std::ostream* out) {
    *out << row.Name;
}

class LargeFileRefusal : public ::testing::TestWithParam<TLargeFileRow> {};

TEST_P(LargeFileRefusal, StopsReadingAtTheRefusedLine) {
    const TLargeFileRow& row = GetParam();
    TScratchFolder folder;
    const std::string path = folder.File("big.txt");
    std::string bytes = row.Head;
    while (bytes.size() < 16u * 1024 * 1024)
        bytes += "1 2 3\r\n";
    PutBytes(path, bytes);
    TTableFile file;
    file.RowCount = -7;
    int failedLine = -1;
    std::size_t bytesRead = 0;
    EXPECT_EQ(ReadTableFile(path, file, &failedLine, &bytesRead), row.Result);
    EXPECT_EQ(failedLine, row.FailedLine);
    EXPECT_EQ(file.RowCount, -7);
    // The line refused lies in the first chunk read, or the one after it.
    EXPECT_LE(bytesRead, 2u * 64 * 1024);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LargeFileRefusal,
    ::testing::Values(TLargeFileRow{"SecondLineNoNumbers", "1 2 3\r\nx y\r\n", NotNumbers, 2},
                      TLargeFileRow{"FourNumbersOnLineThree", "\r\n1\r\n1 2 3 4\r\n", NotNumbers,
                                    3},
                      TLargeFileRow{"MoreLinesThanRows", "", TTableFileRead::TooManyLines, -1}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(TableFile, SaveMessageQuotesTheName) {
    EXPECT_EQ(TableSaveMessage("/tmp/a.txt"), "Не удалось сохранить в файл\n\r\"/tmp/a.txt\"!");
    EXPECT_EQ(TableSaveMessage("/tmp/a.txt", EACCES),
              "Не удалось сохранить в файл\n\r\"/tmp/a.txt\"!\n\rНет доступа");
}

} // namespace
