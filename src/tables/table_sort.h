#pragma once
// The two sorts of the table dialog: by one column with the dialog's key and order, and by X and
// then by Y within runs of equal X.

#include "tables/table_grid.h"

#include <optional>
#include <vector>

/// Rows whose X values differ by less than this count as one run in `SortByXThenY`.
inline constexpr double SameXTolerance = 1e-6;

/// Shell sort of whole rows on coordinate `keyColumn` (0 X, 1 Y, 2 Z) with the gaps n div 2,
/// n div 4, ..., 1. Rows with equal keys may change their order.
void ShellSortRows(std::vector<TPoint3D>& rows, int keyColumn, bool ascending);

/// Exchange sort by X ascending, then every run of rows whose X differs from the row before by
/// less than `SameXTolerance` sorted by Y ascending the same way.
void SortByXThenY(std::vector<TPoint3D>& rows);

/// "Сортировать": the cells are normalised (`Modify_Number`) and checked as OK checks them; when
/// every cell passes, there are two rows or more and a key is chosen (`keyColumn` 0..2; -1 for
/// "нет"), the rows are sorted and every shown cell is written anew in the number writer's form.
/// Gives the cell that failed the check.
std::optional<TCellProblem> SortTable(TTableGrid& grid, int keyColumn, bool ascending,
                                      char decimalSeparator);

/// "BitBtn1": the cells are normalised and read with `ReadCellValue` (no range), then sorted by
/// `SortByXThenY` and written anew. A cell that is not a number stops it before any value changes;
/// its message is that of a number check ("'...' не является числом!").
std::optional<TCellProblem> SortTableByXThenY(TTableGrid& grid, char decimalSeparator);
