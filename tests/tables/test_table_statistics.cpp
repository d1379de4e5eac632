// The eight statistics of a column as the statistics window shows them, the geometric mean's
// rules, and which cell texts count as numbers.

#include "tables/table_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using TTexts = std::array<std::string, StatisticCount>;

struct TStatisticsRow {
    const char* Name;
    std::vector<double> Values;
    TTexts Expected; // minimum, maximum, sum, mean, geometric, squares, corrected, deviation
};

void PrintTo(const TStatisticsRow& row, std::ostream* out) {
    *out << row.Name;
}

class StatisticsRows : public ::testing::TestWithParam<TStatisticsRow> {};

TEST_P(StatisticsRows, ShowsEveryStatistic) {
    const TStatisticsRow& row = GetParam();
    const TColumnStatistics s = ColumnStatistics(row.Values);
    for (std::size_t i = 0; i < StatisticCount; ++i)
        EXPECT_EQ(StatisticText(s[i], ',', " "), row.Expected[i]) << StatisticTitles[i];
}

const std::string None(UndefinedStatisticText);

std::vector<double> Repeated(double value, std::size_t count) {
    return std::vector<double>(count, value);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, StatisticsRows,
    ::testing::Values(
        // 24^(1/4), sqrt(5/3) and sqrt(1.25), each cut after the tenth decimal where the next
        // digit is below 5.
        TStatisticsRow{"OneToFour",
                       {1, 2, 3, 4},
                       {"1,0000000000", "4,0000000000", "10,0000000000", "2,5000000000",
                        "2,2133638394", "30,0000000000", "1,2909944487", "1,1180339887"}},
        TStatisticsRow{"OneNegativeValue",
                       {-3},
                       {"-3,0000000000", "-3,0000000000", "-3,0000000000", "-3,0000000000",
                        "-3,0000000000", "9,0000000000", None, "0,0000000000"}},
        // sqrt(50) = 7.07106781186547...
        TStatisticsRow{"NegativeProductHasNoGeometricMean",
                       {-2, 8},
                       {"-2,0000000000", "8,0000000000", "6,0000000000", "3,0000000000", None,
                        "68,0000000000", "7,0710678119", "5,0000000000"}},
        // sqrt(12.5) = 3.53553390593273...
        TStatisticsRow{"ZeroMakesTheGeometricMeanZero",
                       {0, 5},
                       {"0,0000000000", "5,0000000000", "5,0000000000", "2,5000000000",
                        "0,0000000000", "25,0000000000", "3,5355339059", "2,5000000000"}},
        // sqrt(18) = 4.24264068711928...
        TStatisticsRow{"EvenCountOfNegativesHasAGeometricMean",
                       {-2, -8},
                       {"-8,0000000000", "-2,0000000000", "-10,0000000000", "-5,0000000000",
                        "4,0000000000", "68,0000000000", "4,2426406871", "3,0000000000"}},
        TStatisticsRow{"NoValues",
                       {},
                       {"0,0000000000", "0,0000000000", "0,0000000000", None, None, "0,0000000000",
                        "0,0000000000", None}},
        TStatisticsRow{"ThousandsAreGrouped",
                       {1234.5},
                       {"1 234,5000000000", "1 234,5000000000", "1 234,5000000000",
                        "1 234,5000000000", "1 234,5000000000", "1 523 990,2500000000", None,
                        "0,0000000000"}},
        // The product 1000^103 is beyond the double range.
        TStatisticsRow{"ProductThatWouldOverflow",
                       Repeated(1000, 103),
                       {"1 000,0000000000", "1 000,0000000000", "103 000,0000000000",
                        "1 000,0000000000", "1 000,0000000000", "103 000 000,0000000000",
                        "0,0000000000", "0,0000000000"}},
        // The product 0.1^400 is below the smallest double.
        TStatisticsRow{"ProductThatWouldUnderflow",
                       Repeated(0.1, 400),
                       {"0,1000000000", "0,1000000000", "40,0000000000", "0,1000000000",
                        "0,1000000000", "4,0000000000", "0,0000000000", "0,0000000000"}}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(Statistics, MinimumAndMaximumFollowTheValuesNotTheirOrder) {
    const std::vector<double> values = {3, -7, 12, 0, 12, -7};
    const TColumnStatistics s = ColumnStatistics(values);
    EXPECT_EQ(s[StatMinimum], -7);
    EXPECT_EQ(s[StatMaximum], 12);
    EXPECT_EQ(s[StatSum], 13);
}

TEST(Statistics, InfiniteResultsKeepTheFormattersText) {
    const std::vector<double> values = {1e200, -1e200};
    const TColumnStatistics s = ColumnStatistics(values);
    EXPECT_EQ(StatisticText(s[StatSumOfSquares], ',', " "), "INF");
    EXPECT_EQ(StatisticText(s[StatCorrectedDeviation], ',', " "), "INF");
    EXPECT_EQ(StatisticText(s[StatGeometricMean], ',', " "), None);
    EXPECT_EQ(StatisticText(s[StatSum], ',', " "), "0,0000000000");
}

struct TGeometricRow {
    const char* Name;
    std::vector<double> Values;
    double Expected; // not a number: none
};

void PrintTo(const TGeometricRow& row, std::ostream* out) {
    *out << row.Name;
}

class GeometricRows : public ::testing::TestWithParam<TGeometricRow> {};

TEST_P(GeometricRows, FollowsTheRules) {
    const TGeometricRow& row = GetParam();
    const double mean = GeometricMean(row.Values);
    if (std::isnan(row.Expected))
        EXPECT_TRUE(std::isnan(mean)) << mean;
    else
        EXPECT_NEAR(mean, row.Expected, 1e-12 * std::fabs(row.Expected)) << mean;
}

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Means, GeometricRows,
    ::testing::Values(TGeometricRow{"TwoAndEight", {2, 8}, 4},
                      TGeometricRow{"MagnitudesFarApart", {1e-200, 1e200}, 1},
                      TGeometricRow{"OneValueIsItself", {5}, 5},
                      TGeometricRow{"OneNegativeValueIsItself", {-5}, -5},
                      TGeometricRow{"ZeroWinsOverNegatives", {-3, 0}, 0},
                      TGeometricRow{"OddCountOfNegatives", {-1, -1, -1}, NaN},
                      TGeometricRow{"EvenCountOfNegatives", {-1, -4, 2, 8}, std::sqrt(8.0)},
                      TGeometricRow{"NoValues", {}, NaN}),
    [](const auto& p) { return std::string(p.param.Name); });

struct TCellRow {
    const char* Name;
    const char* Text;
    char Separator;
    bool Ok;
    double Value;
};

void PrintTo(const TCellRow& row, std::ostream* out) {
    *out << row.Name;
}

class CellRows : public ::testing::TestWithParam<TCellRow> {};

TEST_P(CellRows, ReadsOnlyNumbers) {
    const TCellRow& row = GetParam();
    double value = -123;
    EXPECT_EQ(ReadCellValue(row.Text, row.Separator, value), row.Ok);
    EXPECT_EQ(value, row.Ok ? row.Value : -123);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, CellRows,
    ::testing::Values(
        TCellRow{"Comma", "2,5", ',', true, 2.5}, TCellRow{"PointUnderComma", "2.5", ',', false, 0},
        TCellRow{"Point", "2.5", '.', true, 2.5}, TCellRow{"BlanksAround", " 7 ", ',', true, 7},
        TCellRow{"Exponent", "-1e-5", '.', true, -1e-5}, TCellRow{"PlusSign", "+3", ',', true, 3},
        TCellRow{"Infinity", "inf", '.', false, 0}, TCellRow{"NotANumber", "nan", '.', false, 0},
        TCellRow{"BlankGroups", "1 000", ',', false, 0},
        TCellRow{"NoBreakGroups", "1\u00a0000", ',', false, 0},
        TCellRow{"PointGroups", "1.000,5", ',', false, 0}, TCellRow{"Empty", "", ',', false, 0},
        TCellRow{"Hexadecimal", "0x10", '.', false, 0},
        TCellRow{"BeyondTheDoubleRange", "1e400", '.', false, 0},
        TCellRow{"Word", "abc", ',', false, 0}, TCellRow{"TwoMinus", "--1", ',', false, 0}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(Statistics, CellThatIsNoNumberLeavesOnlyItsColumn) {
    TTableGrid grid;
    grid.SetRowCount(3);
    const char* cells[4][3] = {{"1", "1", "0"},
                               {"2", "abc", "0"},
                               {"3", "3", "0"},
                               {"100", "100", "100"}}; // the fourth row is hidden
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column)
            grid.SetCell(row, column, cells[row][column]);
    const TStatisticsTexts texts = TableStatisticsTexts(grid, ',', "");
    EXPECT_EQ(texts[StatSum][0], "6,0000000000");
    EXPECT_EQ(texts[StatMean][0], "2,0000000000");
    EXPECT_EQ(texts[StatSum][1], "4,0000000000");
    EXPECT_EQ(texts[StatMean][1], "2,0000000000");
    EXPECT_EQ(texts[StatDeviation][1], "1,0000000000");
    EXPECT_EQ(texts[StatGeometricMean][2], "0,0000000000");
    EXPECT_EQ(texts[StatMaximum][2], "0,0000000000");
}

TEST(Statistics, ColumnWithoutNumbersShowsTheEmptyColumnsTexts) {
    TTableGrid grid;
    grid.SetRowCount(2);
    grid.SetCell(0, 2, "x");
    grid.SetCell(1, 2, "inf");
    const TStatisticsTexts texts = TableStatisticsTexts(grid, '.', ",");
    const std::array<std::string, StatisticCount> expected = {
        "0.0000000000", "0.0000000000", "0.0000000000", None,
        None,           "0.0000000000", "0.0000000000", None};
    for (std::size_t i = 0; i < StatisticCount; ++i)
        EXPECT_EQ(texts[i][2], expected[i]) << StatisticTitles[i];
}

} // namespace
