// The fill of a table column: the decimals, each value computed afresh from the first value and
// the step, and the stop before a value that, as written, lies outside -1000..1000.

#include "support/machine_number.h"
#include "tables/table_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct TFillRow {
    const char* Name;
    TProgression Kind;
    double First;
    double Step;
    int Count;
    char Separator;
    std::vector<std::string> Expected;
};

void PrintTo(const TFillRow& row, std::ostream* out) {
    *out << row.Name;
}

class FillRows : public ::testing::TestWithParam<TFillRow> {};

TEST_P(FillRows, WritesTheProgressionUntilItLeavesTheRange) {
    const TFillRow& row = GetParam();
    EXPECT_EQ(ProgressionTexts(row.Kind, row.First, row.Step, row.Count, row.Separator),
              row.Expected);
}

constexpr TProgression Arith = TProgression::Arithmetic;
constexpr TProgression Geom = TProgression::Geometric;

std::vector<std::string> Repeated(const std::string& text, std::size_t count) {
    return std::vector<std::string>(count, text);
}

INSTANTIATE_TEST_SUITE_P(
    Progressions, FillRows,
    ::testing::Values(
        TFillRow{"HalvesGetOneDecimal", Arith, 1, 0.5, 5, ',', {"1,0", "1,5", "2,0", "2,5", "3,0"}},
        TFillRow{"WholeStepsGetNoDecimals", Arith, 1, 1, 3, ',', {"1", "2", "3"}},
        TFillRow{"DecimalsOfTheFirstValueCount", Arith, 0.25, 1, 3, '.', {"0.25", "1.25", "2.25"}},
        TFillRow{"DescendingStopsBeforeMinusThousand",
                 Arith,
                 0,
                 -300,
                 10,
                 ',',
                 {"0", "-300", "-600", "-900"}},
        TFillRow{"FirstValueAtTheLimitWritesOneRow", Arith, 1000, 1, 50, ',', {"1000"}},
        TFillRow{"ZeroStepRepeatsTheFirstValue", Arith, 7.5, 0, 4, ',', Repeated("7,5", 4)},
        // The number writer's exponent form would have given "0,00" in every cell.
        TFillRow{"TinyStepCountsItsFixedDecimals",
                 Arith,
                 0,
                 0.00005,
                 3,
                 ',',
                 {"0,00000", "0,00005", "0,00010"}},
        TFillRow{"NegativeFractionHasOneDecimal", Arith, -0.5, 1, 3, ',', {"-0,5", "0,5", "1,5"}},
        TFillRow{"GeometricDoublesWithTenDecimals",
                 Geom,
                 1,
                 2,
                 50,
                 ',',
                 {"1,0000000000", "2,0000000000", "4,0000000000", "8,0000000000", "16,0000000000",
                  "32,0000000000", "64,0000000000", "128,0000000000", "256,0000000000",
                  "512,0000000000"}},
        TFillRow{"GeometricZeroStepThenZeros",
                 Geom,
                 3,
                 0,
                 3,
                 ',',
                 {"3,0000000000", "0,0000000000", "0,0000000000"}},
        TFillRow{"GeometricNegativeZeroHasNoMinus",
                 Geom,
                 -3,
                 0,
                 2,
                 '.',
                 {"-3.0000000000", "0.0000000000"}},
        TFillRow{"GeometricAlternatingSigns",
                 Geom,
                 -1,
                 -2,
                 50,
                 '.',
                 {"-1.0000000000", "2.0000000000", "-4.0000000000", "8.0000000000",
                  "-16.0000000000", "32.0000000000", "-64.0000000000", "128.0000000000",
                  "-256.0000000000", "512.0000000000"}},
        // The power overflows long before the end; zero times it must stay zero.
        TFillRow{"GeometricFromZeroStaysZero", Geom, 0, 1000, 200, ',',
                 Repeated("0,0000000000", 200)},
        TFillRow{"GeometricShrinksToZero",
                 Geom,
                 1,
                 0.5,
                 4,
                 ',',
                 {"1,0000000000", "0,5000000000", "0,2500000000", "0,1250000000"}}),
    [](const auto& p) { return std::string(p.param.Name); });

// 1 + 100 * 9.99 is 1000 in decimals; the running sum of 9.99 overshoots it and would lose the
// row.
TEST(Fill, RowOfExactlyThousandIsWritten) {
    const std::vector<std::string> texts =
        ProgressionTexts(TProgression::Arithmetic, 1, 9.99, 5000, ',');
    ASSERT_EQ(texts.size(), 101u);
    EXPECT_EQ(texts[1], "10,99");
    EXPECT_EQ(texts[100], "1000,00");
}

// 0.2 * k is k/5 in decimals: every one of the 5000 rows gets its value, the last 1000.
TEST(Fill, FifthsFillAllFiveThousandRows) {
    const std::vector<std::string> texts =
        ProgressionTexts(TProgression::Arithmetic, 0.2, 0.2, 5000, ',');
    ASSERT_EQ(texts.size(), 5000u);
    for (int i = 0; i < 5000; ++i) {
        const int tenths = (i + 1) * 2;
        const std::string expected =
            std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
        ASSERT_EQ(texts[static_cast<std::size_t>(i)], expected) << "row " << i + 1;
    }
}

// Twelve decimals are more than a running sum of 5000 steps keeps: each value is the first plus
// i steps, computed afresh, so every cell is the exact decimal i * 0.123456789012.
TEST(Fill, ManyDecimalsStayExactToTheLastDecimal) {
    const std::vector<std::string> texts =
        ProgressionTexts(TProgression::Arithmetic, 0, 0.123456789012, 5000, ',');
    ASSERT_EQ(texts.size(), 5000u);
    for (long long i = 0; i < 5000; ++i) {
        const long long units = i * 123456789012LL; // in 10^-12
        std::string decimals = std::to_string(units % 1000000000000LL);
        decimals.insert(0, 12 - decimals.size(), '0');
        const std::string expected = std::to_string(units / 1000000000000LL) + "," + decimals;
        ASSERT_EQ(texts[static_cast<std::size_t>(i)], expected) << "row " << i + 1;
    }
}

// Each value is the first times the power of the step: a running product drifts by thousands of
// roundings into the tenth decimal of values near 1000.
TEST(Fill, GeometricValuesStayWithinHalfAUnitOfTheTenthDecimal) {
    volatile double step = 1.0014;
    const std::vector<std::string> texts =
        ProgressionTexts(TProgression::Geometric, 1, step, 5000, '.');
    ASSERT_GT(texts.size(), 4900u);
    ASSERT_LT(texts.size(), 5000u); // 1.0014^4999 is past 1000
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const long double exact = std::pow(static_cast<long double>(step), static_cast<int>(i));
        const long double written = MachineNumber(texts[i]);
        ASSERT_LE(std::fabs(written - exact), 0.5e-10L + 1e-12L) << "row " << i + 1;
    }
    const long double next =
        std::pow(static_cast<long double>(step), static_cast<int>(texts.size()));
    EXPECT_GT(next, 1000.00000000005L);
}

TEST(Fill, ColumnStretchOnlyIsWritten) {
    TTableGrid grid;
    grid.SetRowCount(6);
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 3; ++column)
            grid.SetCell(row, column, "old");
    EXPECT_EQ(FillColumn(grid, 1, 1, 3, TProgression::Arithmetic, 5, 5, ','), 3);
    const std::vector<std::string> y = {"old", "5", "10", "15", "old", "old"};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(grid.Cell(row, 1), y[static_cast<std::size_t>(row)]) << row;
        EXPECT_EQ(grid.Cell(row, 0), "old");
        EXPECT_EQ(grid.Cell(row, 2), "old");
    }
}

TEST(Fill, OneRowStretchWritesOneCell) {
    TTableGrid grid;
    grid.SetRowCount(3);
    EXPECT_EQ(FillColumn(grid, 2, 2, 2, TProgression::Geometric, 2, 3, ','), 1);
    EXPECT_EQ(grid.Cell(2, 2), "2,0000000000");
    EXPECT_EQ(grid.Cell(1, 2), "");
}

TEST(Fill, StopLeavesTheRestOfTheStretch) {
    TTableGrid grid;
    grid.SetRowCount(50);
    for (int row = 0; row < 50; ++row)
        grid.SetCell(row, 0, "keep");
    EXPECT_EQ(FillColumn(grid, 0, 0, 49, TProgression::Geometric, 1, 2, ','), 10);
    EXPECT_EQ(grid.Cell(9, 0), "512,0000000000");
    EXPECT_EQ(grid.Cell(10, 0), "keep");
    EXPECT_EQ(grid.Cell(49, 0), "keep");
}

} // namespace
