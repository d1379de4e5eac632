// OK's checks of the graph dialog without its widgets: the order of the checks, the edit that is
// blamed, the message texts, the conversion notice, and what a passed check writes into a record.

#include "graphs/graph_input.h"

#include "documents/color_text.h"
#include "support/decimal_separator.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

TGraphInput Input(int kind, const char* formula, const char* minX = "-10", const char* maxX = "10",
                  const char* steps = "500") {
    TGraphInput in;
    in.Kind = kind;
    in.Function = formula;
    in.MinX = minX;
    in.MaxX = maxX;
    in.MinY = "-1";
    in.MaxY = "1";
    in.StepsX = steps;
    in.StepsY = "50";
    return in;
}

struct RejectRow {
    const char* Name;
    TGraphInput In;
    TGraphField Failed;
    const char* Message;
};

TGraphInput With(TGraphInput in, void (*change)(TGraphInput&)) {
    change(in);
    return in;
}

void PrintTo(const RejectRow& row, std::ostream* os) {
    *os << row.Name;
}

class Rejection : public testing::TestWithParam<RejectRow> {};

TEST_P(Rejection, BlamesTheEditWithOneErrorBox) {
    const RejectRow& row = GetParam();
    kurvant::TFormulaContext context = kurvant_test::Context(',');
    const TGraphCheck check = CheckGraphInput(row.In, true, context);
    EXPECT_FALSE(check.Ok);
    EXPECT_EQ(check.Failed, row.Failed);
    ASSERT_EQ(check.Messages.size(), 1u);
    EXPECT_TRUE(check.Messages[0].IsError);
    EXPECT_EQ(check.Messages[0].Caption, "Ошибка");
    EXPECT_EQ(check.Messages[0].Text, row.Message);
}

const RejectRow RejectRows[] = {
    {"MinEqualsMax", Input(0, "x", "5", "5"), TGraphField::MaxX,
     "\"Максимум X\" должен быть\n\rбольше \"Минимум X\"!"},
    {"MaxBelowMinPolarNamesAngles", Input(2, "q", "1", "0"), TGraphField::MaxX,
     "\"Максимум угла q\" должен быть\n\rбольше \"Минимум угла q\"!"},
    {"MinNotANumber", Input(0, "x", "abc"), TGraphField::MinX,
     "Поле \"Минимум X\":\n\r'abc' не является числом!"},
    {"MaxNotANumber", Input(0, "x", "1", "1-"), TGraphField::MaxX,
     "Поле \"Максимум X\":\n\r'1-' не является числом!"},
    {"MinOutOfRange", Input(0, "x", "1001"), TGraphField::MinX,
     "Поле \"Минимум X\":\n\rЧисло '1001' не лежит в промежутке\n\rот -1000  до 1000 !"},
    {"PolarRangeHasPi", Input(2, "q", "1001"), TGraphField::MinX,
     "Поле \"Минимум угла q\":\n\rЧисло '1001' не лежит в промежутке\n\rот -1000 Pi до 1000 Pi!"},
    {"SurfaceSecondIntervalOrder",
     With(Input(4, "x*y", "-1", "1", "50"), [](TGraphInput& in) { in.MaxY = "-1"; }),
     TGraphField::MaxY, "\"Максимум Y\" должен быть\n\rбольше \"Минимум Y\"!"},
    {"SphericalSecondIntervalNamesA",
     With(Input(5, "1", "0", "2", "50"), [](TGraphInput& in) { in.MinY = "1"; }), TGraphField::MaxY,
     "\"Максимум угла a\" должен быть\n\rбольше \"Минимум угла a\"!"},
    {"SphericalSecondMinRangeHasPi",
     With(Input(5, "1", "0", "2", "50"), [](TGraphInput& in) { in.MinY = "-2000"; }),
     TGraphField::MinY,
     "Поле \"Минимум угла a\":\n\rЧисло '-2000' не лежит в промежутке\n\rот -1000 Pi до 1000 Pi!"},
    {"SurfaceTooManyFirstSteps", Input(4, "x*y", "-1", "1", "201"), TGraphField::StepsX,
     "Поле \"Количество шагов по X\":\n\rЧисло '201' не лежит в промежутке\n\rот 1 до 200!"},
    {"SurfaceTooManySecondSteps",
     With(Input(4, "x*y", "-1", "1", "200"), [](TGraphInput& in) { in.StepsY = "201"; }),
     TGraphField::StepsY,
     "Поле \"Количество шагов по Y\":\n\rЧисло '201' не лежит в промежутке\n\rот 1 до 200!"},
    {"CurveTooManySteps", Input(0, "x", "-1", "1", "10001"), TGraphField::StepsX,
     "Поле \"Количество шагов по X\":\n\rЧисло '10001' не лежит в промежутке\n\rот 1 до 10000!"},
    {"StepsNotWhole", Input(0, "x", "-1", "1", "5,5"), TGraphField::StepsX,
     "Поле \"Количество шагов по X\":\n\r'5,5' не является натуральным числом!"},
    {"EmptyFormula", Input(0, ""), TGraphField::Function, "Неправильное выражение!"},
    {"DanglingOperator", Input(0, "x+"), TGraphField::Function, "Ошибка в выражении!"},
    {"WrongVariableForKind", Input(1, "x"), TGraphField::Function, "Ошибка в выражении!"},
    {"IntervalCheckedBeforeFormula", Input(0, "x+", "abc"), TGraphField::MinX,
     "Поле \"Минимум X\":\n\r'abc' не является числом!"},
    {"ParametricEmptySecond", Input(3, "u"), TGraphField::Function2, "Неправильное выражение!"},
    {"ParametricBrokenSecond", With(Input(3, "u"), [](TGraphInput& in) { in.Function2 = "u*"; }),
     TGraphField::Function2, "Ошибка в выражении!"},
};

INSTANTIATE_TEST_SUITE_P(Rows, Rejection, testing::ValuesIn(RejectRows),
                         [](const auto& row) { return std::string(row.param.Name); });

struct AcceptRow {
    const char* Name;
    TGraphInput In;
};

void PrintTo(const AcceptRow& row, std::ostream* os) {
    *os << row.Name;
}

class Acceptance : public testing::TestWithParam<AcceptRow> {};

TEST_P(Acceptance, PassesWithoutBoxes) {
    kurvant::TFormulaContext context;
    const TGraphCheck check = CheckGraphInput(GetParam().In, false, context);
    EXPECT_TRUE(check.Ok);
    EXPECT_EQ(check.Failed, TGraphField::None);
    EXPECT_TRUE(check.Messages.empty());
    EXPECT_FALSE(check.Prepared.empty());
}

const AcceptRow AcceptRows[] = {
    {"UndefinedAtOneIsStillAFormula", Input(0, "ln(x-1)")},
    {"CurveTakesTenThousandSteps", Input(0, "x", "-1", "1", "10000")},
    {"SurfaceSetsBothVariables", Input(4, "x*y", "-1", "1", "200")},
    {"SphericalSetsBothVariables", Input(5, "q+a", "0", "2", "50")},
    {"PointTypedWhileSeparatorIsPoint", Input(0, "x", "-0.5", "0,5")},
    {"ParametricSecondUndefinedAtZero",
     With(Input(3, "u"), [](TGraphInput& in) { in.Function2 = "ln(u)"; })},
};

INSTANTIATE_TEST_SUITE_P(Rows, Acceptance, testing::ValuesIn(AcceptRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(ConversionNotice, ShownOnlyWithAsteriksAndAnInsertedStar) {
    kurvant::TFormulaContext context;
    TGraphCheck on = CheckGraphInput(Input(0, "2x"), true, context);
    ASSERT_TRUE(on.Ok);
    ASSERT_EQ(on.Messages.size(), 1u);
    EXPECT_FALSE(on.Messages[0].IsError);
    EXPECT_EQ(on.Messages[0].Caption, "Преобразование");
    EXPECT_EQ(on.Messages[0].Text, "Ваше выражение Y(X) будет преобразовано в следующее:\n\r2*x");

    EXPECT_TRUE(CheckGraphInput(Input(0, "2x"), false, context).Messages.empty());
    EXPECT_TRUE(CheckGraphInput(Input(0, "2*x"), true, context).Messages.empty());
}

TEST(ConversionNotice, ParametricNamesEachFormula) {
    kurvant::TFormulaContext context;
    TGraphInput in = Input(3, "3u");
    in.Function2 = "2u";
    const TGraphCheck check = CheckGraphInput(in, true, context);
    ASSERT_TRUE(check.Ok);
    ASSERT_EQ(check.Messages.size(), 2u);
    EXPECT_EQ(check.Messages[0].Text,
              "Ваше выражение X(U) будет преобразовано в следующее:\n\r3*u");
    EXPECT_EQ(check.Messages[1].Text,
              "Ваше выражение Y(U) будет преобразовано в следующее:\n\r2*u");
}

TEST(ConversionNotice, PrecedesAFailureOfTheSecondFormula) {
    kurvant::TFormulaContext context;
    const TGraphCheck check = CheckGraphInput(Input(3, "2u"), true, context);
    EXPECT_FALSE(check.Ok);
    ASSERT_EQ(check.Messages.size(), 2u);
    EXPECT_FALSE(check.Messages[0].IsError);
    EXPECT_TRUE(check.Messages[1].IsError);
}

TGraphic Stored(const TGraphInput& in, TGraphic graphic, const TGraphStyle& style = {}) {
    kurvant::TFormulaContext context;
    const TGraphCheck check = CheckGraphInput(in, false, context);
    EXPECT_TRUE(check.Ok);
    StoreGraphInput(in, check, style, graphic);
    return graphic;
}

TEST(StoreGraphInput, XofYUsesTheSecondIntervalAndLeavesTheFirst) {
    TGraphic before;
    before.MinX = -7;
    before.MaxX = 7;
    before.StepsX = 77;
    const TGraphic g = Stored(Input(1, "y^2", "-3", "4", "300"), before);
    EXPECT_EQ(g.MinY, -3);
    EXPECT_EQ(g.MaxY, 4);
    EXPECT_EQ(g.StepsY, 300);
    EXPECT_EQ(g.MinX, -7);
    EXPECT_EQ(g.MaxX, 7);
    EXPECT_EQ(g.StepsX, 77);
    EXPECT_EQ(g.Variable, 'y');
    EXPECT_EQ(g.Kind, 1);
}

TEST(StoreGraphInput, PolarCopiesThePreparedFormula) {
    const TGraphic g = Stored(Input(2, "2q", "0", "2"), TGraphic{});
    EXPECT_EQ(g.Formula2Prepared, g.FormulaPrepared);
    EXPECT_EQ(g.Variable, 'q');
    EXPECT_EQ(g.MinX, 0);
    EXPECT_EQ(g.MaxX, 2);
}

TEST(StoreGraphInput, OtherKindKeepsTheOldSecondFormula) {
    TGraphic before;
    before.Formula2 = "sin(u)";
    before.Formula2Prepared = "sin(#u#)";
    const TGraphic g = Stored(Input(0, "x"), before);
    EXPECT_EQ(g.Formula2, "sin(u)");
    EXPECT_EQ(g.Formula2Prepared, "sin(#u#)");
}

TEST(StoreGraphInput, PointsTakeTheirSizeAndColourFractions) {
    TGraphStyle style;
    style.Color = clRed;
    style.Building = 1;
    style.SizeIndex = 4;
    style.Gradation = true;
    TGraphic before;
    before.LineWidthIndex = 6;
    const TGraphic g = Stored(Input(0, "x"), before, style);
    EXPECT_EQ(g.Building, 1);
    EXPECT_EQ(g.PointSize, 3);
    EXPECT_EQ(g.PointSizeIndex, 4);
    EXPECT_EQ(g.LineWidthIndex, 6);
    EXPECT_EQ(g.Color, clRed);
    EXPECT_EQ(g.ColorGL, (TColorGL{1.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(g.Gradation);
}

// The colour box's items: the custom entry (black) and the twenty named colours.
std::vector<TColor> BoxItems() {
    std::vector<TColor> items{clBlack};
    for (const TColorName& c : ColorNames)
        items.push_back(c.Value);
    return items;
}

TEST(ProposedColor, RunsMaroonGreenOliveFromAZeroCounter) {
    const std::vector<TColor> items = BoxItems();
    const TColor expected[] = {clMaroon, clGreen, clOlive, clNavy};
    std::int32_t counter = 0;
    for (TColor c : expected) {
        EXPECT_EQ(items[static_cast<std::size_t>(ProposedColorItem(counter, items, clWhite))], c);
        ++counter; // adding the graph
    }
}

TEST(ProposedColor, SkipsTheBackgroundOnceAndCountsTheSkip) {
    const std::vector<TColor> items = BoxItems();
    std::int32_t counter = 14; // item 16: white
    const int item = ProposedColorItem(counter, items, clWhite);
    EXPECT_EQ(items[static_cast<std::size_t>(item)], clMoneyGreen);
    EXPECT_EQ(counter, 15);

    counter = 0; // maroon on a maroon background
    EXPECT_EQ(items[static_cast<std::size_t>(ProposedColorItem(counter, items, clMaroon))],
              clGreen);
    EXPECT_EQ(counter, 1);
}

TEST(ProposedColor, WrapsAroundTheBox) {
    const std::vector<TColor> items = BoxItems();
    std::int32_t counter = 19;
    EXPECT_EQ(ProposedColorItem(counter, items, clWhite), 0);
    counter = 20;
    EXPECT_EQ(ProposedColorItem(counter, items, clWhite), 1);
}

// The named colours from item `first` on, as the graphs of a document may have them.
std::vector<TColor> NamedFrom(std::size_t first) {
    std::vector<TColor> colors;
    for (std::size_t i = first; i < ColorNames.size(); ++i)
        colors.push_back(ColorNames[i].Value);
    return colors;
}

struct TFreeColorRow {
    const char* Name;
    std::vector<TColor> Used; ///< the colours of the document's graphs
    TColor Background;
    std::int32_t Counter;
    TColor Custom; ///< the colour of the box's custom entry
    int Item;      ///< the item proposed
    std::int32_t CounterAfter;
};

void PrintTo(const TFreeColorRow& row, std::ostream* out) {
    *out << row.Name;
}

class FreeColor : public ::testing::TestWithParam<TFreeColorRow> {};

TEST_P(FreeColor, IsTheFirstPaletteColourNoGraphHas) {
    const TFreeColorRow& row = GetParam();
    std::vector<TColor> items = BoxItems();
    items[0] = row.Custom;
    std::int32_t counter = row.Counter;
    EXPECT_EQ(FreeColorItem(counter, items, row.Background, row.Used), row.Item);
    EXPECT_EQ(counter, row.CounterAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, FreeColor,
    ::testing::Values(
        TFreeColorRow{"NoGraphsTakeMaroon", {}, clWhite, 7, clBlack, 2, 7},
        // Five graphs, the second deleted: its colour comes back, whatever the counter says.
        TFreeColorRow{"DeletedGraphsColourComesBack",
                      {clMaroon, clOlive, clNavy, clPurple},
                      clWhite,
                      5,
                      clBlack,
                      3,
                      5},
        TFreeColorRow{"SkipsTheBackground", {clMaroon}, clGreen, 1, clBlack, 4, 1},
        TFreeColorRow{
            "StoredCustomColoursDoNotCount", {0x123456, clMaroon}, clWhite, 0, clBlack, 3, 0},
        TFreeColorRow{"BlackIsTheLastOfThePalette", NamedFrom(1), clWhite, 0, clBlack, 1, 0},
        // The custom entry's colour is no palette colour, even one that no graph has.
        TFreeColorRow{"CustomEntryIsNeverProposedFree", NamedFrom(0), clWhite, 3, 0x123456, 5, 3},
        TFreeColorRow{"AllUsedCyclesByTheCounter", NamedFrom(0), clWhite, 19, clBlack, 0, 19},
        TFreeColorRow{"AllUsedSkipsTheBackgroundByTheCounter", NamedFrom(0), clWhite, 14, clBlack,
                      17, 15}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace
