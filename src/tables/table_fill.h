#pragma once
// Filling a stretch of one table column with an arithmetic or a geometric progression.

#include "tables/table_grid.h"

#include <string>
#include <vector>

enum class TProgression {
    Arithmetic, ///< first + i * step
    Geometric   ///< first * step^i
};

/// The decimals of the arithmetic fill: the larger of the written decimals of the step and of the
/// first value.
int ArithmeticDecimals(double first, double step);

/// The texts of at most `count` rows of a fill, row i (from 0) holding the progression's value i
/// computed afresh from `first` and `step` (no running sum or product, so no error piles up): the
/// arithmetic fill with `ArithmeticDecimals`, the geometric one with 10 decimals. The fill stops
/// before the first value whose text, as rounded to its decimals, lies outside -1000..1000, so
/// every text written passes the table's own check.
std::vector<std::string> ProgressionTexts(TProgression kind, double first, double step, int count,
                                          char decimalSeparator);

/// Writes `ProgressionTexts` into `column` (0..2) from `firstRow` to `lastRow` (0-based, both
/// included); rows after the stop and outside the stretch keep their cells. Returns the number of
/// rows written.
int FillColumn(TTableGrid& grid, int column, int firstRow, int lastRow, TProgression kind,
               double first, double step, char decimalSeparator);
