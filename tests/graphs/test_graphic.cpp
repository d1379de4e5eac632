// The graph record and its captions.

#include "graphs/graphic.h"

#include <gtest/gtest.h>

TEST(Graphic, NewRecordHasTheDefaults) {
    const TGraphic g;
    EXPECT_EQ(g.MinX, -1);
    EXPECT_EQ(g.MaxX, 1);
    EXPECT_EQ(g.MinY, -1);
    EXPECT_EQ(g.MaxY, 1);
    EXPECT_EQ(g.StepsX, 50);
    EXPECT_EQ(g.StepsY, 50);
    EXPECT_TRUE(g.Formula.empty());
    EXPECT_TRUE(g.FormulaPrepared.empty());
    EXPECT_TRUE(g.Formula2.empty());
    EXPECT_TRUE(g.Formula2Prepared.empty());
    EXPECT_EQ(g.Color, 0u);
    EXPECT_EQ(g.ColorGL, (TColorGL{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(g.Kind, 0);
    EXPECT_EQ(g.Variable, 0);
    EXPECT_EQ(g.Building, 0);
    EXPECT_EQ(g.PointSize, 0);
    EXPECT_EQ(g.PointSizeIndex, 0);
    EXPECT_EQ(g.LineWidth, 0);
    EXPECT_EQ(g.LineWidthIndex, 0);
    EXPECT_FALSE(g.Gradation);
    EXPECT_TRUE(g.Points.empty());
    EXPECT_EQ(g.BoundMaxX, 0);
    EXPECT_EQ(g.BoundMinZ, 0);
}

TEST(Graphic, ConstantsOfThePart) {
    EXPECT_EQ(UndefinedValue, 2000);
    EXPECT_EQ(MaxGraphs, 100);
    EXPECT_EQ(SizeTable, (std::array<double, 7>{0.25, 0.5, 1, 2, 3, 4, 5}));
    EXPECT_EQ(sizeof(TPoint3D), 3 * sizeof(double));
}

TEST(Graphic, SetColorRecomputesTheFractions) {
    TGraphic g;
    g.SetColor(0x0000FF);
    EXPECT_EQ(g.ColorGL, (TColorGL{1.0f, 0.0f, 0.0f}));
    g.SetColor(0x800000);
    EXPECT_EQ(g.ColorGL, (TColorGL{0.0f, 0.0f, 128.0f / 255}));
}

struct TCaptionRow {
    const char* Name;
    int Kind;
    const char* Formula;
    const char* Formula2;
    const char* Caption;
    friend void PrintTo(const TCaptionRow& row, std::ostream* os) { *os << row.Name; }
};

std::string CaptionRowName(const ::testing::TestParamInfo<TCaptionRow>& row) {
    return row.param.Name;
}

class GraphCaptionRows : public ::testing::TestWithParam<TCaptionRow> {};

TEST_P(GraphCaptionRows, PrefixAndFormula) {
    const TCaptionRow& row = GetParam();
    TGraphic g;
    g.Kind = static_cast<std::uint8_t>(row.Kind);
    g.Formula = row.Formula;
    g.Formula2 = row.Formula2;
    if (row.Kind == KindTable)
        g.Points.resize(12);
    EXPECT_EQ(GraphCaption(g), row.Caption);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, GraphCaptionRows,
    ::testing::Values(TCaptionRow{"YofX", 0, "sin(x)", "", "Y(X) = sin(x)"},
                      TCaptionRow{"XofY", 1, "y^2", "", "X(Y) = y^2"},
                      TCaptionRow{"Polar", 2, "2q", "", "r(q) = 2q"},
                      TCaptionRow{"Parametric", 3, "cos(u)", "sin(u)",
                                  "X(U) = cos(u); Y(U) = sin(u)"},
                      TCaptionRow{"Surface", 4, "x*y", "zzz", "Z(X,Y) = x*y"},
                      TCaptionRow{"Spherical", 5, "1", "", "p(q,a) = 1"},
                      TCaptionRow{"Table", 6, "ignored", "", "Таблица: 12 (.)"},
                      TCaptionRow{"EmptyParametric", 3, "", "", "X(U) = ; Y(U) = "}),
    CaptionRowName);

TEST(Graphic, EmptyTableCaption) {
    TGraphic g;
    g.Kind = KindTable;
    EXPECT_EQ(GraphCaption(g), "Таблица: 0 (.)");
}

TEST(Graphic, KindLettersAndVariableSets) {
    EXPECT_EQ(KindVariable(0), 'x');
    EXPECT_EQ(KindVariable(1), 'y');
    EXPECT_EQ(KindVariable(2), 'q');
    EXPECT_EQ(KindVariable(3), 'u');
    EXPECT_EQ(KindVariable(4), 'x');
    EXPECT_EQ(KindVariable(5), 'q');
    EXPECT_EQ(KindVariable(6), 0);
    EXPECT_EQ(KindVariableSet(4), "xy");
    EXPECT_EQ(KindVariableSet(5), "qa");
    EXPECT_EQ(KindVariableSet(6), "");
    EXPECT_EQ(GraphKindLabel(7), "");
}
