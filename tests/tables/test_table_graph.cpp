// The record OK stores for a table, the style and the grid the edit command shows, and the grid's
// own operations (row count, normalisation, clearing).

#include "tables/table_graph.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TBuildingRow {
    const char* Name;
    bool Lines;
    bool Points;
    int Building;
    double LineWidth; // 0: the record's earlier value stays
    double PointSize;
};

void PrintTo(const TBuildingRow& row, std::ostream* out) {
    *out << row.Name;
}

class BuildingRows : public ::testing::TestWithParam<TBuildingRow> {};

TEST_P(BuildingRows, StoresWhatIsDrawnWithItsSize) {
    const TBuildingRow& row = GetParam();
    TGraphic g;
    g.LineWidth = -1; // what the record held before
    g.PointSize = -1;
    g.LineWidthIndex = 3;
    g.PointSizeIndex = 3;
    TTableStyle style;
    style.Lines = row.Lines;
    style.Points = row.Points;
    style.LineIndex = 0;
    style.PointIndex = 6;
    StoreTableGraph({TPoint3D{}}, style, g);
    EXPECT_EQ(g.Building, row.Building);
    EXPECT_EQ(g.LineWidth, row.LineWidth);
    EXPECT_EQ(g.PointSize, row.PointSize);
    EXPECT_EQ(g.LineWidthIndex, row.Lines ? 0 : 3);
    EXPECT_EQ(g.PointSizeIndex, row.Points ? 6 : 3);
}

INSTANTIATE_TEST_SUITE_P(Styles, BuildingRows,
                         ::testing::Values(TBuildingRow{"LinesOnly", true, false, 0, 0.25, -1},
                                           TBuildingRow{"PointsOnly", false, true, 1, -1, 5},
                                           TBuildingRow{"LinesAndPoints", true, true, 2, 0.25, 5}),
                         [](const auto& p) { return std::string(p.param.Name); });

TEST(TableGraph, RecordHoldsThePointsTheirBoundsAndTheColour) {
    TGraphic g;
    g.Formula = "kept";
    TTableStyle style;
    style.Color = 0x0000FF;
    style.Gradation = true;
    const std::vector<TPoint3D> points = {TPoint3D{1, -2, 3}, TPoint3D{-4, 5, -6}};
    StoreTableGraph(points, style, g);
    EXPECT_EQ(g.Kind, KindTable);
    EXPECT_EQ(g.Points, points);
    EXPECT_EQ(g.BoundMinX, -4);
    EXPECT_EQ(g.BoundMaxX, 1);
    EXPECT_EQ(g.BoundMinY, -2);
    EXPECT_EQ(g.BoundMaxY, 5);
    EXPECT_EQ(g.BoundMinZ, -6);
    EXPECT_EQ(g.BoundMaxZ, 3);
    EXPECT_EQ(g.Color, 0x0000FFu);
    EXPECT_EQ(g.ColorGL.R, 1.0f);
    EXPECT_EQ(g.ColorGL.B, 0.0f);
    EXPECT_TRUE(g.Gradation);
    EXPECT_EQ(g.Formula, "kept");
    EXPECT_EQ(GraphCaption(g), "Таблица: 2 (.)");
}

TEST(TableGraph, OnePointGivesEqualBounds) {
    TGraphic g;
    StoreTableGraph({TPoint3D{7, 8, 9}}, TTableStyle{}, g);
    EXPECT_EQ(g.BoundMinX, 7);
    EXPECT_EQ(g.BoundMaxX, 7);
    EXPECT_EQ(g.BoundMinZ, 9);
    EXPECT_EQ(g.BoundMaxZ, 9);
}

struct TStyleRow {
    const char* Name;
    int Building;
    int LineIndex;
    int PointIndex;
    bool Lines, Points;
    int ShownLine, ShownPoint;
};

void PrintTo(const TStyleRow& row, std::ostream* out) {
    *out << row.Name;
}

class StyleRows : public ::testing::TestWithParam<TStyleRow> {};

TEST_P(StyleRows, ShowsTheStoredStyle) {
    const TStyleRow& row = GetParam();
    TGraphic g;
    g.Building = static_cast<std::uint8_t>(row.Building);
    g.LineWidthIndex = row.LineIndex;
    g.PointSizeIndex = row.PointIndex;
    const TTableStyle style = TableStyleOf(g);
    EXPECT_EQ(style.Lines, row.Lines);
    EXPECT_EQ(style.Points, row.Points);
    EXPECT_EQ(style.LineIndex, row.ShownLine);
    EXPECT_EQ(style.PointIndex, row.ShownPoint);
}

INSTANTIATE_TEST_SUITE_P(Graphs, StyleRows,
                         ::testing::Values(TStyleRow{"Lines", 0, 4, 1, true, false, 4, 1},
                                           TStyleRow{"Points", 1, 4, 1, false, true, 4, 1},
                                           TStyleRow{"Both", 2, 5, 6, true, true, 5, 6},
                                           TStyleRow{"IndexOutsideTheBox", 2, 9, -1, true, true, 2,
                                                     2}),
                         [](const auto& p) { return std::string(p.param.Name); });

TEST(TableGraph, EditShowsEveryPointInTheNumberWritersForm) {
    TGraphic g;
    g.Points = {TPoint3D{1.5, -0.00001, 0}, TPoint3D{2, 3, 4}};
    TTableGrid grid;
    grid.SetRowCount(7);
    grid.SetCell(2, 0, "hidden");
    ASSERT_TRUE(LoadGraphIntoGrid(g, grid, ','));
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(0, 0), "1,5");
    EXPECT_EQ(grid.Cell(0, 1), "-0,00001");
    EXPECT_EQ(grid.Cell(1, 2), "4");
    EXPECT_EQ(grid.Cell(2, 0), "hidden");
}

TEST(TableGraph, TableWithoutPointsOpensAsOneRowOfZeros) {
    TGraphic g;
    TTableGrid grid;
    grid.SetRowCount(3);
    grid.SetCell(0, 0, "stale");
    ASSERT_TRUE(LoadGraphIntoGrid(g, grid, ','));
    EXPECT_EQ(grid.RowCount(), 1);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(grid.Cell(0, column), "0");
}

TEST(TableGraph, TableLongerThanTheGridIsRefusedAndTheGridStays) {
    TGraphic g;
    g.Points.resize(MaxTableRows + 1);
    TTableGrid grid;
    grid.SetRowCount(2);
    grid.SetCell(0, 0, "mine");
    EXPECT_FALSE(LoadGraphIntoGrid(g, grid, ','));
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(0, 0), "mine");
    EXPECT_EQ(TableTooLongMessage(5001),
              "Количество точек таблицы (5001) больше 5000:\n\rтакую таблицу нельзя изменить в "
              "этом окне!");
    g.Points.resize(MaxTableRows);
    EXPECT_TRUE(LoadGraphIntoGrid(g, grid, ','));
    EXPECT_EQ(grid.RowCount(), MaxTableRows);
}

TEST(TableGrid, RowCountIsHeldToItsRange) {
    TTableGrid grid;
    EXPECT_EQ(grid.RowCount(), 1);
    grid.SetRowCount(0);
    EXPECT_EQ(grid.RowCount(), 1);
    grid.SetRowCount(MaxTableRows + 1);
    EXPECT_EQ(grid.RowCount(), MaxTableRows);
}

TEST(TableGrid, NormalisationTouchesOnlyTheShownRows) {
    TTableGrid grid;
    grid.SetRowCount(2);
    grid.SetCell(0, 0, " 2.5 ");
    grid.SetCell(1, 2, "");
    grid.SetCell(2, 0, "3.5");
    grid.ModifyNumbers(',');
    EXPECT_EQ(grid.Cell(0, 0), "2,5");
    EXPECT_EQ(grid.Cell(0, 1), "0");
    EXPECT_EQ(grid.Cell(1, 2), "0");
    EXPECT_EQ(grid.Cell(2, 0), "3.5");
    EXPECT_EQ(grid.Cell(2, 1), "");
}

TEST(TableGrid, ClearAndEmpty) {
    TTableGrid grid;
    grid.SetRowCount(2);
    grid.SetCell(0, 0, "5");
    grid.SetCell(3, 1, "6");
    grid.ClearShown();
    EXPECT_EQ(grid.Cell(0, 0), "0");
    EXPECT_EQ(grid.Cell(1, 2), "0");
    EXPECT_EQ(grid.Cell(3, 1), "6");
    grid.EmptyAll();
    EXPECT_EQ(grid.Cell(0, 0), "");
    EXPECT_EQ(grid.Cell(3, 1), "");
    EXPECT_EQ(grid.Cell(MaxTableRows - 1, 2), "");
}

TEST(TableGrid, CheckReadsEveryShownRowInRange) {
    TTableGrid grid;
    grid.SetRowCount(2);
    const char* cells[2][3] = {{"-1000", "1000", "0,5"}, {"1e-5", "+2", "-0"}};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            grid.SetCell(row, column, cells[row][column]);
    grid.SetCell(2, 0, "not shown, not checked");
    std::vector<TPoint3D> points;
    ASSERT_FALSE(ReadTablePoints(grid, ',', points));
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], (TPoint3D{-1000, 1000, 0.5}));
    EXPECT_EQ(points[1], (TPoint3D{1e-5, 2, 0}));
}

} // namespace
