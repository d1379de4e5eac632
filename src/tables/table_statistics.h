#pragma once
// The eight statistics of each column of a table, and their texts as the statistics window shows
// them.

#include "tables/table_grid.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// The statistics in the order of the window's rows.
enum TStatistic {
    StatMinimum,
    StatMaximum,
    StatSum,
    StatMean,
    StatGeometricMean,
    StatSumOfSquares,
    StatCorrectedDeviation,
    StatDeviation,
    StatisticCount
};

/// The titles of the rows, in `TStatistic` order (UTF-8).
inline constexpr std::array<std::string_view, StatisticCount> StatisticTitles = {
    "Минимум",
    "Максимум",
    "Сумма",
    "Среднее арифметическое",
    "Среднее геометрическое",
    "Сумма квадратов",
    "Исправленное станд. отклонение",
    "Станд. отклонение"};

/// What a statistic that is not defined shows.
inline constexpr std::string_view UndefinedStatisticText = "НЕТ";

using TColumnStatistics = std::array<double, StatisticCount>;

/// The geometric mean: 0 when a value is 0, the value itself for one value (negative or not), not
/// a number for an odd count of negative values, otherwise exp of the mean of the logarithms of
/// the magnitudes, which neither overflows nor underflows where the product would. Not a number
/// for no values.
double GeometricMean(std::span<const double> values);

/// The statistics of one column's values in row order, every sum held in a double and added in
/// that order: minimum, maximum, sum, mean (sum / k), geometric mean, sum of squares, and the
/// square roots of Q / (k - 1) and Q / k with Q the sum of the squared differences from the mean.
/// One value: the corrected deviation is not a number. No values: minimum, maximum and both sums
/// are 0, the corrected deviation is 0, and the means and the deviation are not numbers.
TColumnStatistics ColumnStatistics(std::span<const double> values);

/// The values of column `column` (0..2) over the shown rows in row order: every cell that
/// `ReadCellValue` takes; the others are left out without a word.
std::vector<double> ColumnValues(const TTableGrid& grid, int column, char decimalSeparator);

/// A statistic as the window shows it: grouped with `groupSeparator`, exactly 10 decimals,
/// "НЕТ" for not a number, "INF" and "-INF" for the infinities.
std::string StatisticText(double value, char decimalSeparator, std::string_view groupSeparator);

/// The window's eight rows of three texts (X, Y, Z) for the shown rows of `grid`.
using TStatisticsTexts = std::array<std::array<std::string, 3>, StatisticCount>;
TStatisticsTexts TableStatisticsTexts(const TTableGrid& grid, char decimalSeparator,
                                      std::string_view groupSeparator);
