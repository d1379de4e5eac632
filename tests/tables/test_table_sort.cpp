// The two sorts of the table: by a chosen column in either order, and by X then Y within runs of
// equal X; the cells they check and write back.

#include "tables/table_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TPoint3D P(double x, double y, double z = 0) {
    return TPoint3D{x, y, z};
}

double Coordinate(const TPoint3D& p, int column) {
    return column == 0 ? p.x : column == 1 ? p.y : p.z;
}

struct TShellRow {
    const char* Name;
    int Column;
    bool Ascending;
};

void PrintTo(const TShellRow& row, std::ostream* out) {
    *out << row.Name;
}

class ShellSortKeys : public ::testing::TestWithParam<TShellRow> {};

// Rows keep their three coordinates together; the key column ends up ordered.
TEST_P(ShellSortKeys, OrdersWholeRowsByTheKey) {
    const TShellRow& row = GetParam();
    std::vector<TPoint3D> rows;
    for (int i = 0; i < 37; ++i) // keys distinct in each column, in a scrambled order
        rows.push_back(P((i * 17) % 37, (i * 11) % 37 - 18, (i * 5) % 37 + 0.5));
    const std::vector<TPoint3D> before = rows;
    ShellSortRows(rows, row.Column, row.Ascending);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const double a = Coordinate(rows[i - 1], row.Column);
        const double b = Coordinate(rows[i], row.Column);
        EXPECT_TRUE(row.Ascending ? a < b : a > b) << "rows " << i << " and " << i + 1;
    }
    for (const TPoint3D& p : before)
        EXPECT_NE(std::find(rows.begin(), rows.end(), p), rows.end());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ShellSortKeys,
    ::testing::Values(TShellRow{"XAscending", 0, true}, TShellRow{"XDescending", 0, false},
                      TShellRow{"YAscending", 1, true}, TShellRow{"YDescending", 1, false},
                      TShellRow{"ZAscending", 2, true}, TShellRow{"ZDescending", 2, false}),
    [](const auto& p) { return std::string(p.param.Name); });

struct TXThenYRow {
    const char* Name;
    std::vector<TPoint3D> Rows;
    std::vector<TPoint3D> Expected;
};

void PrintTo(const TXThenYRow& row, std::ostream* out) {
    *out << row.Name;
}

class XThenYRows : public ::testing::TestWithParam<TXThenYRow> {};

TEST_P(XThenYRows, SortsRunsOfEqualXByY) {
    std::vector<TPoint3D> rows = GetParam().Rows;
    SortByXThenY(rows);
    EXPECT_EQ(rows, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, XThenYRows,
    ::testing::Values(
        TXThenYRow{"DistinctXOnly", {P(3, 0), P(1, 9), P(2, 5)}, {P(1, 9), P(2, 5), P(3, 0)}},
        TXThenYRow{"RunsOfEqualX",
                   {P(2, 5, 1), P(1, 3, 2), P(2, 1, 3), P(1, -1, 4)},
                   {P(1, -1, 4), P(1, 3, 2), P(2, 1, 3), P(2, 5, 1)}},
        // X closer than 1e-6 to the row before belongs to the same run, and the run is sorted
        // by Y whatever the small X differences.
        TXThenYRow{"NearlyEqualXJoinTheRun",
                   {P(2, 5), P(2.0000005, 0), P(2, 1)},
                   {P(2.0000005, 0), P(2, 1), P(2, 5)}},
        TXThenYRow{"XApartByMoreThanTheToleranceSplitsTheRun",
                   {P(2.000002, 0), P(2, 5)},
                   {P(2, 5), P(2.000002, 0)}},
        // Each step is below the tolerance, so the run goes on although its ends differ more.
        TXThenYRow{"RunChainsFromRowToRow",
                   {P(0.0000012, 1), P(0, 3), P(0.0000006, 2)},
                   {P(0.0000012, 1), P(0.0000006, 2), P(0, 3)}},
        TXThenYRow{"OneRowStays", {P(4, 4, 4)}, {P(4, 4, 4)}}, TXThenYRow{"NoRows", {}, {}}),
    [](const auto& p) { return std::string(p.param.Name); });

TTableGrid GridOf(const std::vector<std::array<const char*, 3>>& rows) {
    TTableGrid grid;
    grid.SetRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 3; ++c)
            grid.SetCell(static_cast<int>(r), c, rows[r][static_cast<std::size_t>(c)]);
    return grid;
}

std::vector<std::string> Column(const TTableGrid& grid, int column) {
    std::vector<std::string> cells;
    for (int row = 0; row < grid.RowCount(); ++row)
        cells.push_back(grid.Cell(row, column));
    return cells;
}

TEST(SortTable, WritesTheRowsBackInTheNumberWritersForm) {
    TTableGrid grid = GridOf({{"3", "2.50", "1e-5"}, {"-1", "", " 7 "}, {"2", "0", "0"}});
    EXPECT_FALSE(SortTable(grid, 0, true, ','));
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"-1", "2", "3"}));
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"0", "0", "2,5"}));
    EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"7", "0", "0,00001"}));
}

TEST(SortTable, DescendingByZ) {
    TTableGrid grid = GridOf({{"1", "1", "1"}, {"2", "2", "3"}, {"3", "3", "2"}});
    EXPECT_FALSE(SortTable(grid, 2, false, '.'));
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"2", "3", "1"}));
}

struct TRefusedRow {
    const char* Name;
    std::vector<std::array<const char*, 3>> Cells;
    int Row;
    int Column;
    std::string Message;
};

void PrintTo(const TRefusedRow& row, std::ostream* out) {
    *out << row.Name;
}

class SortRefusals : public ::testing::TestWithParam<TRefusedRow> {};

// The first bad cell in reading order is named, and no value moves.
TEST_P(SortRefusals, StopsAtTheFirstBadCell) {
    const TRefusedRow& row = GetParam();
    TTableGrid grid = GridOf(row.Cells);
    const std::optional<TCellProblem> problem = SortTable(grid, 0, true, ',');
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->Row, row.Row);
    EXPECT_EQ(problem->Column, row.Column);
    EXPECT_EQ(problem->Message, row.Message);
    for (std::size_t r = 0; r < row.Cells.size(); ++r)
        EXPECT_EQ(grid.Cell(static_cast<int>(r), 0), row.Cells[r][0]);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, SortRefusals,
    ::testing::Values(
        TRefusedRow{
            "NotANumber", {{"2", "1", "1"}, {"1", "abc", "1"}}, 1, 1, "'abc' не является числом!"},
        TRefusedRow{"OutOfRangeNamesTheColumn",
                    {{"2", "1", "1500"}, {"1", "1", "1"}},
                    0,
                    2,
                    "Число '1500' не лежит в промежутке\n\rот -1000 Z до 1000 Z!"},
        TRefusedRow{"RowsBeforeColumns",
                    {{"2", "1", "x"}, {"y", "1", "1"}},
                    0,
                    2,
                    "'x' не является числом!"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(SortTable, NoKeyChecksButMovesNothing) {
    TTableGrid grid = GridOf({{"3", "0", "0"}, {"1", "0", "0"}});
    EXPECT_FALSE(SortTable(grid, -1, true, ','));
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"3", "1"}));
    grid.SetCell(1, 1, "bad");
    EXPECT_TRUE(SortTable(grid, -1, true, ','));
}

TEST(SortTable, OneRowIsLeftAsItIs) {
    TTableGrid grid = GridOf({{"5", "2,50", "1"}});
    EXPECT_FALSE(SortTable(grid, 0, true, ','));
    EXPECT_EQ(grid.Cell(0, 1), "2,50");
}

TEST(SortTableByXThenY, TakesValuesOutsideTheRangeAndWritesThemBack) {
    TTableGrid grid = GridOf({{"5000", "1", "0"}, {"-2", "7", "0"}, {"-2", "3", "0"}});
    EXPECT_FALSE(SortTableByXThenY(grid, ','));
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"-2", "-2", "5000"}));
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"3", "7", "1"}));
}

TEST(SortTableByXThenY, CellThatIsNoNumberStopsBeforeAnyChange) {
    TTableGrid grid = GridOf({{"3", "1", "0"}, {"1", "2", "1e5x"}});
    const std::optional<TCellProblem> problem = SortTableByXThenY(grid, ',');
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->Row, 1);
    EXPECT_EQ(problem->Column, 2);
    EXPECT_EQ(problem->Message, "'1e5x' не является числом!");
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"3", "1"}));
}

} // namespace
