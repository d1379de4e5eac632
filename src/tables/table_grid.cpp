#include "tables/table_grid.h"

#include "documents/number_line.h"
#include "formula/decimal_text.h"
#include "graphs/number_checks.h"

#include <algorithm>

void TTableGrid::SetRowCount(int rows) {
    Rows = std::clamp(rows, 1, MaxTableRows);
}

const std::string& TTableGrid::Cell(int row, int column) const {
    return Cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

void TTableGrid::SetCell(int row, int column, std::string text) {
    Cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = std::move(text);
}

void TTableGrid::SetRow(int row, const TPoint3D& point, char decimalSeparator) {
    SetCell(row, 0, FloatText(point.x, decimalSeparator));
    SetCell(row, 1, FloatText(point.y, decimalSeparator));
    SetCell(row, 2, FloatText(point.z, decimalSeparator));
}

void TTableGrid::EmptyAll() {
    for (auto& row : Cells)
        row.fill(std::string());
}

void TTableGrid::ClearShown() {
    for (int row = 0; row < Rows; ++row)
        Cells[static_cast<std::size_t>(row)].fill("0");
}

void TTableGrid::ModifyNumbers(char decimalSeparator) {
    for (int row = 0; row < Rows; ++row) {
        for (std::string& cell : Cells[static_cast<std::size_t>(row)]) {
            cell = FloatSeparator(cell, decimalSeparator);
            if (cell.empty())
                cell.push_back('0');
        }
    }
}

std::optional<TCellProblem> ReadTablePoints(const TTableGrid& grid, char decimalSeparator,
                                            std::vector<TPoint3D>& points) {
    std::vector<TPoint3D> read(static_cast<std::size_t>(grid.RowCount()));
    for (int row = 0; row < grid.RowCount(); ++row) {
        TPoint3D& p = read[static_cast<std::size_t>(row)];
        double* coordinates[3] = {&p.x, &p.y, &p.z};
        for (int column = 0; column < 3; ++column) {
            std::string message;
            if (!Is_float_number(grid.Cell(row, column),
                                 TableColumnTitles[static_cast<std::size_t>(column)],
                                 -TableValueLimit, TableValueLimit, *coordinates[column],
                                 decimalSeparator, message))
                return TCellProblem{row, column, std::move(message)};
        }
    }
    points = std::move(read);
    return std::nullopt;
}

bool ReadCellValue(std::string_view text, char decimalSeparator, double& value) {
    const char marks[] = {decimalSeparator};
    return kurvant::ReadDecimalDouble(
        TrimText(text),
        {.Signs = "+-", .Marks = std::string_view(marks, 1), .ExponentLetters = "eE"}, value);
}
