#pragma once
// A table graph and the table dialog's grid: the record that OK stores, and the grid and style that
// the edit command shows.

#include "tables/table_grid.h"

#include <cstddef>
#include <string>
#include <vector>

/// The error box of the add command when the document is full (UTF-8).
inline constexpr const char* TableAddCaption = "Построение таблично заданного графика";
/// The error box of the edit command for a table longer than the grid (caption "Ошибка").
std::string TableTooLongMessage(std::size_t points);

/// How a table graph is drawn, as the dialog's controls hold it.
struct TTableStyle {
    TColor Color = 0;
    bool Lines = true;   ///< "линии"
    bool Points = false; ///< "точки"
    int LineIndex = 2;   ///< item of the line box, index into `SizeTable`
    int PointIndex = 2;  ///< item of the point box
    bool Gradation = false;
};

/// OK's record: kind 6, the points in row order, the bounds over them (each maximum starting at
/// -1e11 and each minimum at 1e11), the colour with its fractions, the gradation, and `Building`
/// 0 (lines), 1 (points) or 2 (both) with the width and the size of what is drawn. The width or
/// size of what is not drawn and every field a table does not use keep what they held.
void StoreTableGraph(const std::vector<TPoint3D>& points, const TTableStyle& style,
                     TGraphic& graphic);

/// The style of a stored table graph as the dialog shows it; a size index outside the box gives
/// the default item 2.
TTableStyle TableStyleOf(const TGraphic& graphic);

/// The edit command's grid: one row per point in the number writer's form, or one row of "0" for
/// a table without points. False, with the grid untouched, when the table has more points than
/// the grid has rows.
bool LoadGraphIntoGrid(const TGraphic& graphic, TTableGrid& grid, char decimalSeparator);
