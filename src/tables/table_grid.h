#pragma once
// The grid of a table graph as its dialog holds it: up to 5000 rows of three cell texts (X, Y, Z),
// of which the first `RowCount` are shown. Rows past the count keep their texts, so lowering the
// count hides rows and raising it shows their earlier texts again. Texts are UTF-8.

#include "graphs/graphic.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The most rows a table may have.
inline constexpr int MaxTableRows = 5000;
/// Every coordinate of a table graph lies within -1000..1000 (checked on OK, save and sort).
inline constexpr double TableValueLimit = 1000;
/// The titles of the columns, also the names the cell check gives them.
inline constexpr std::array<std::string_view, 3> TableColumnTitles = {"X", "Y", "Z"};

class TTableGrid {
public:
    /// One shown row; every cell of every row empty.
    TTableGrid() : Cells(MaxTableRows) {}

    /// The number of shown rows, 1..`MaxTableRows`.
    [[nodiscard]] int RowCount() const { return Rows; }
    /// Shows `rows` rows, held to 1..`MaxTableRows`. No cell changes.
    void SetRowCount(int rows);

    /// The text of a cell; `row` 0..`MaxTableRows` - 1 (shown or not), `column` 0..2.
    [[nodiscard]] const std::string& Cell(int row, int column) const;
    void SetCell(int row, int column, std::string text);
    /// Writes the point into the cells of `row` in the number writer's form (fixed notation).
    void SetRow(int row, const TPoint3D& point, char decimalSeparator);

    /// Empties every cell of all rows, shown or not (the add command starts so).
    void EmptyAll();
    /// "Очистить всё": every cell of the shown rows becomes "0".
    void ClearShown();
    /// `Modify_Number`: every cell of the shown rows through `FloatSeparator`, and "0" where that
    /// leaves nothing.
    void ModifyNumbers(char decimalSeparator);

private:
    int Rows = 1;
    std::vector<std::array<std::string, 3>> Cells;
};

/// A cell that is not a number the table can take, with the message to show (UTF-8).
struct TCellProblem {
    int Row = 0;    ///< 0-based
    int Column = 0; ///< 0 X, 1 Y, 2 Z
    std::string Message;
};

/// `Cells_Is_Numbers`: the shown cells row by row, X, Y, Z within a row, each checked with
/// `Is_float_number` for a value in -1000..1000 with the column's title after the bounds. Fills
/// `points` (one per shown row) when every cell passes; otherwise gives the first cell that failed.
std::optional<TCellProblem> ReadTablePoints(const TTableGrid& grid, char decimalSeparator,
                                            std::vector<TPoint3D>& points);

/// A cell read as the statistics and the exact sort read it, with no range: blanks around it, an
/// optional sign, digits with the decimal separator, an optional exponent; finite values only.
/// "inf", "nan", hexadecimal and digit-group separators are no numbers.
bool ReadCellValue(std::string_view text, char decimalSeparator, double& value);
