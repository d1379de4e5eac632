#include "tables/table_statistics.h"

#include "tables/fixed_text.h"

#include <cmath>
#include <limits>

namespace {

constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

double GeometricMean(std::span<const double> values) {
    if (values.empty())
        return NotANumber;
    if (values.size() == 1)
        return values[0];
    std::size_t negatives = 0;
    double logarithms = 0;
    for (double value : values) {
        if (value == 0)
            return 0;
        negatives += value < 0 ? 1 : 0;
        logarithms += std::log(std::fabs(value));
    }
    // An odd number of negative factors makes the product negative: it has no real root.
    if (negatives % 2 != 0)
        return NotANumber;
    return std::exp(logarithms / static_cast<double>(values.size()));
}

TColumnStatistics ColumnStatistics(std::span<const double> values) {
    TColumnStatistics s{};
    const double k = static_cast<double>(values.size());
    if (values.empty()) {
        s[StatMinimum] = s[StatMaximum] = s[StatSum] = s[StatSumOfSquares] = 0;
        s[StatMean] = s[StatGeometricMean] = s[StatDeviation] = NotANumber;
        // The square root of 0 / -1 is a zero with a minus; it is shown as a plain zero.
        s[StatCorrectedDeviation] = 0;
        return s;
    }
    double minimum = values[0];
    double maximum = values[0];
    double sum = 0;
    double squares = 0;
    for (double value : values) {
        if (minimum > value)
            minimum = value;
        if (value > maximum)
            maximum = value;
        sum += value;
        squares += value * value;
    }
    const double mean = sum / k;
    double q = 0;
    for (double value : values)
        q += (value - mean) * (value - mean);
    s[StatMinimum] = minimum;
    s[StatMaximum] = maximum;
    s[StatSum] = sum;
    s[StatMean] = mean;
    s[StatGeometricMean] = GeometricMean(values);
    s[StatSumOfSquares] = squares;
    s[StatCorrectedDeviation] = std::sqrt(q / (k - 1));
    s[StatDeviation] = std::sqrt(q / k);
    return s;
}

std::vector<double> ColumnValues(const TTableGrid& grid, int column, char decimalSeparator) {
    std::vector<double> values;
    for (int row = 0; row < grid.RowCount(); ++row) {
        double value = 0;
        if (ReadCellValue(grid.Cell(row, column), decimalSeparator, value))
            values.push_back(value);
    }
    return values;
}

std::string StatisticText(double value, char decimalSeparator, std::string_view groupSeparator) {
    if (std::isnan(value))
        return std::string(UndefinedStatisticText);
    return GroupedFixedText(value, 10, decimalSeparator, groupSeparator);
}

TStatisticsTexts TableStatisticsTexts(const TTableGrid& grid, char decimalSeparator,
                                      std::string_view groupSeparator) {
    TStatisticsTexts texts;
    for (int column = 0; column < 3; ++column) {
        const std::vector<double> values = ColumnValues(grid, column, decimalSeparator);
        const TColumnStatistics s = ColumnStatistics(values);
        for (int row = 0; row < StatisticCount; ++row)
            texts[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
                StatisticText(s[static_cast<std::size_t>(row)], decimalSeparator, groupSeparator);
    }
    return texts;
}
