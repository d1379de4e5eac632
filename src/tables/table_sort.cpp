#include "tables/table_sort.h"

#include <cmath>
#include <utility>

namespace {

double Key(const TPoint3D& p, int column) {
    return column == 0 ? p.x : column == 1 ? p.y : p.z;
}

// The exchange sort of rows [first, last) by one coordinate, ascending.
void ExchangeSort(std::vector<TPoint3D>& rows, std::size_t first, std::size_t last, int column) {
    for (std::size_t i = first; i + 1 < last; ++i)
        for (std::size_t j = i + 1; j < last; ++j)
            if (Key(rows[i], column) > Key(rows[j], column))
                std::swap(rows[i], rows[j]);
}

void WriteRows(TTableGrid& grid, const std::vector<TPoint3D>& rows, char decimalSeparator) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        grid.SetRow(static_cast<int>(i), rows[i], decimalSeparator);
}

} // namespace

void ShellSortRows(std::vector<TPoint3D>& rows, int keyColumn, bool ascending) {
    const long n = static_cast<long>(rows.size());
    const auto outOfOrder = [&](long a, long b) {
        const double ka = Key(rows[static_cast<std::size_t>(a)], keyColumn);
        const double kb = Key(rows[static_cast<std::size_t>(b)], keyColumn);
        return ascending ? ka > kb : ka < kb;
    };
    for (long gap = n / 2; gap > 0; gap /= 2) {
        for (long i = 0; i < n - gap; ++i) {
            for (long j = i; j >= 0 && outOfOrder(j, j + gap); j -= gap)
                std::swap(rows[static_cast<std::size_t>(j)],
                          rows[static_cast<std::size_t>(j + gap)]);
        }
    }
}

void SortByXThenY(std::vector<TPoint3D>& rows) {
    ExchangeSort(rows, 0, rows.size(), 0);
    std::size_t start = 0;
    for (std::size_t i = 1; i <= rows.size(); ++i) {
        const bool runGoesOn =
            i < rows.size() && std::fabs(rows[i].x - rows[i - 1].x) < SameXTolerance;
        if (runGoesOn)
            continue;
        if (i - start >= 2)
            ExchangeSort(rows, start, i, 1);
        start = i;
    }
}

std::optional<TCellProblem> SortTable(TTableGrid& grid, int keyColumn, bool ascending,
                                      char decimalSeparator) {
    grid.ModifyNumbers(decimalSeparator);
    std::vector<TPoint3D> rows;
    if (auto problem = ReadTablePoints(grid, decimalSeparator, rows))
        return problem;
    if (rows.size() < 2 || keyColumn < 0 || keyColumn > 2)
        return std::nullopt;
    ShellSortRows(rows, keyColumn, ascending);
    WriteRows(grid, rows, decimalSeparator);
    return std::nullopt;
}

std::optional<TCellProblem> SortTableByXThenY(TTableGrid& grid, char decimalSeparator) {
    grid.ModifyNumbers(decimalSeparator);
    std::vector<TPoint3D> rows(static_cast<std::size_t>(grid.RowCount()));
    for (int row = 0; row < grid.RowCount(); ++row) {
        TPoint3D& p = rows[static_cast<std::size_t>(row)];
        double* coordinates[3] = {&p.x, &p.y, &p.z};
        for (int column = 0; column < 3; ++column) {
            if (!ReadCellValue(grid.Cell(row, column), decimalSeparator, *coordinates[column]))
                return TCellProblem{row, column,
                                    "'" + grid.Cell(row, column) + "' не является числом!"};
        }
    }
    SortByXThenY(rows);
    WriteRows(grid, rows, decimalSeparator);
    return std::nullopt;
}
