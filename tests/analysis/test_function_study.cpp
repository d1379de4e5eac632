// The function study against values known in closed form: zeros, extrema, intersections and
// integrals of formulas evaluated by the engine, with poles, jumps, touching zeros, flat and
// undefined stretches among them; then the grid texts and messages that the dialog and the
// command line show.

#include "analysis/function_study.h"
#include "formula/prepare.h"
#include "graphs/document.h"
#include "settings/settings.h"

#include <QUndoStack>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

namespace {

using kurvant::TAreaOutcome;
using kurvant::TStudyKind;

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double E = std::numbers::e_v<long double>;
constexpr long double PlaceTolerance = 1e-9L;

std::unique_ptr<kurvant::TStudyFunction> Function(const char* formula) {
    kurvant::TFormulaContext context;
    std::string prepared = formula;
    EXPECT_TRUE(kurvant::PrepareFormula(prepared, "x", context)) << formula;
    return kurvant::FormulaFunction(prepared, 'x', context);
}

// ---- zeros ------------------------------------------------------------------------------------

struct TZerosRow {
    const char* Name;
    const char* Formula;
    long double A;
    long double B;
    std::vector<long double> Zeros;
};

void PrintTo(const TZerosRow& row, std::ostream* os) {
    *os << row.Name;
}

class Zeros : public testing::TestWithParam<TZerosRow> {};

TEST_P(Zeros, AreFoundWhereTheyAreAndNowhereElse) {
    const TZerosRow& row = GetParam();
    const std::vector<long double> found = kurvant::FindZeros(*Function(row.Formula), row.A, row.B);
    ASSERT_EQ(found.size(), row.Zeros.size());
    for (std::size_t i = 0; i < found.size(); ++i)
        EXPECT_NEAR(static_cast<double>(found[i]), static_cast<double>(row.Zeros[i]),
                    static_cast<double>(PlaceTolerance))
            << i;
}

INSTANTIATE_TEST_SUITE_P(
    ClosedForms, Zeros,
    testing::Values(
        TZerosRow{"SinAtMultiplesOfPi",
                  "sin(x)",
                  -10,
                  10,
                  {-3 * Pi, -2 * Pi, -Pi, 0, Pi, 2 * Pi, 3 * Pi}},
        TZerosRow{"TgAtMultiplesOfPiNotAtItsPoles", "tg(x)", -4, 4.1L, {-Pi, 0, Pi}},
        TZerosRow{"ReciprocalHasNone", "1/x", -1, 1, {}},
        TZerosRow{"ReciprocalPoleBetweenScanPoints", "1/x", -1, 1.3L, {}},
        TZerosRow{"SquareTouchesBetweenScanPoints", "x^2", -1, 1.3L, {0}},
        TZerosRow{"SineSquaredTouches", "sin(x)^2", 1, 10, {Pi, 2 * Pi, 3 * Pi}},
        TZerosRow{"NegativeTouchFromBelow", "-(x-0.7)^2", -1, 2.3L, {0.7L}},
        TZerosRow{"JumpThroughZeroIsNone", "round(x)-0.5", 0.1L, 0.93L, {}},
        TZerosRow{"CubicThree", "x^3-3x", -2.5L, 2.6L, {-std::sqrt(3.0L), 0, std::sqrt(3.0L)}},
        TZerosRow{"LogarithmAtOne", "ln(x)", 0.5L, 3, {1}},
        TZerosRow{"ExponentAtLnTwo", "exp(x)-2", -1, 2, {std::log(2.0L)}},
        TZerosRow{"RootWithItsDomainEdge", "sqrt(x)-1.5", -1, 5, {2.25L}},
        TZerosRow{"Arcsine", "arcsin(x)-0.5", -1, 1, {std::sin(0.5L)}},
        TZerosRow{"Composition", "sin(exp(x))", 0, 2, {std::log(Pi), std::log(2 * Pi)}},
        TZerosRow{"StretchOfZerosIsNone", "x-x", -1, 1, {}},
        TZerosRow{"ZeroAtTheEnd", "x-1", 0, 1, {1}},
        TZerosRow{"UndefinedEverywhere", "ln(-x^2-1)", -1, 1, {}}));

// ---- extrema ----------------------------------------------------------------------------------

struct TExtremaRow {
    const char* Name;
    const char* Formula;
    long double A;
    long double B;
    std::vector<kurvant::TExtremum> Extrema;
};

void PrintTo(const TExtremaRow& row, std::ostream* os) {
    *os << row.Name;
}

class Extrema : public testing::TestWithParam<TExtremaRow> {};

TEST_P(Extrema, AreTheInteriorPeaksAndValleys) {
    const TExtremaRow& row = GetParam();
    const std::vector<kurvant::TExtremum> found =
        kurvant::FindExtrema(*Function(row.Formula), row.A, row.B);
    ASSERT_EQ(found.size(), row.Extrema.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(found[i].X), static_cast<double>(row.Extrema[i].X),
                    static_cast<double>(PlaceTolerance))
            << i;
        EXPECT_NEAR(static_cast<double>(found[i].Y), static_cast<double>(row.Extrema[i].Y), 1e-9)
            << i;
        EXPECT_EQ(found[i].Maximum, row.Extrema[i].Maximum) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ClosedForms, Extrema,
    testing::Values(
        TExtremaRow{"CubicAtPlusMinusOne", "x^3-3x", -3, 3.1L, {{-1, 2, true}, {1, -2, false}}},
        TExtremaRow{"ConstantHasNone", "5", -1, 1, {}}, TExtremaRow{"EndsAreNone", "x^2", 1, 2, {}},
        TExtremaRow{"Cosine", "cos(x)", -1, 7, {{0, 1, true}, {Pi, -1, false}, {2 * Pi, 1, true}}},
        TExtremaRow{"PoleIsNone", "1/x^2", -1, 1.3L, {}},
        TExtremaRow{"Kink", "abs(x-0.3)", -1, 1, {{0.3L, 0, false}}},
        TExtremaRow{"ExponentTimesX", "x*exp(-x)", 0.2L, 5, {{1, 1 / E, true}}},
        TExtremaRow{"FlatBottomOfFourthPower", "(x-0.25)^4", -1, 1.3L, {{0.25L, 0, false}}},
        TExtremaRow{"IdentityIsNone", "sin(x)^2+cos(x)^2", -3, 3, {}},
        TExtremaRow{"SteepQuadraticFarOut", "(x-1000.5)^2", 990, 1010, {{1000.5L, 0, false}}}));

// ---- integrals --------------------------------------------------------------------------------

struct TAreaRow {
    const char* Name;
    const char* Formula;
    long double A;
    long double B;
    TAreaOutcome Outcome;
    long double Integral;
    long double Absolute;
};

void PrintTo(const TAreaRow& row, std::ostream* os) {
    *os << row.Name;
}

class Areas : public testing::TestWithParam<TAreaRow> {};

TEST_P(Areas, AreTheIntegralAndTheIntegralOfTheMagnitude) {
    const TAreaRow& row = GetParam();
    const kurvant::TArea area = kurvant::Integrate(*Function(row.Formula), row.A, row.B);
    ASSERT_EQ(area.Outcome, row.Outcome);
    if (row.Outcome != TAreaOutcome::Ok)
        return;
    const auto near = [](long double got, long double want) {
        return std::fabs(got - want) <= 1e-9L * std::max(1.0L, std::fabs(want));
    };
    EXPECT_TRUE(near(area.Integral, row.Integral)) << static_cast<double>(area.Integral);
    EXPECT_TRUE(near(area.Absolute, row.Absolute)) << static_cast<double>(area.Absolute);
    EXPECT_LE(area.Error, 1e-9L * std::max(1.0L, row.Absolute));
}

INSTANTIATE_TEST_SUITE_P(
    ClosedForms, Areas,
    testing::Values(
        TAreaRow{"SineOverHalfPeriod", "sin(x)", 0, Pi, TAreaOutcome::Ok, 2, 2},
        TAreaRow{"SineOverPeriodCancels", "sin(x)", 0, 2 * Pi, TAreaOutcome::Ok, 0, 4},
        TAreaRow{"LogarithmOneToE", "ln(x)", 1, E, TAreaOutcome::Ok, 1, 1},
        // The engine gives these no value very near 0, and they do not grow like a
        // pole there: a stretch without values, not a divergence.
        TAreaRow{"LogarithmNearZero", "ln(x)", 0, 1, TAreaOutcome::Undefined, 0, 0},
        TAreaRow{"InverseRootNearZero", "1/sqrt(x)", 0, 1, TAreaOutcome::Undefined, 0, 0},
        TAreaRow{"InverseRootAwayFromZero", "1/sqrt(x)", 0.25L, 4, TAreaOutcome::Ok, 3, 3},
        TAreaRow{"Parabola", "x^2-1", -1, 2, TAreaOutcome::Ok, 0, 8.0L / 3},
        TAreaRow{"JumpsAddUp", "round(x)", 0, 2, TAreaOutcome::Ok, 2, 2},
        TAreaRow{"ReciprocalDiverges", "1/x", -1, 1, TAreaOutcome::Divergent, 0, 0},
        TAreaRow{"ReciprocalPoleBetweenScanPoints", "1/x", -1, 1.3L, TAreaOutcome::Divergent, 0, 0},
        TAreaRow{"InverseSquareDiverges", "1/x^2", 0, 1, TAreaOutcome::Divergent, 0, 0},
        // A thousand periods per unit: the scan cannot split it into parts that settle, and the
        // evaluations run out.
        TAreaRow{"UnresolvedOscillation", "sin(1000x)", 0, 100, TAreaOutcome::Inaccurate, 0, 0},
        TAreaRow{"RootUndefinedOnHalf", "sqrt(x)", -1, 1, TAreaOutcome::Undefined, 0, 0},
        TAreaRow{"LogarithmUndefinedOnHalf", "ln(x)", -1, 1, TAreaOutcome::Undefined, 0, 0}));

// ---- the grid as the dialog and the command line show it ----------------------------------

struct TStudyRow {
    const char* Name;
    TStudyKind Kind;
    const char* Formula;
    const char* Formula2;
    const char* Variable;
    const char* Min;
    const char* Max;
    std::vector<std::vector<std::string>> Grid; // the header first
    const char* Message;                        // "" for none
    bool Information;
};

void PrintTo(const TStudyRow& row, std::ostream* os) {
    *os << row.Name;
}

class StudyGrid : public testing::TestWithParam<TStudyRow> {};

TEST_P(StudyGrid, ShowsTheResultsOrTheMessage) {
    const TStudyRow& row = GetParam();
    kurvant::TStudyRequest request;
    request.Kind = row.Kind;
    request.First.Formula = row.Formula;
    request.Second.Formula = row.Formula2;
    request.Variable = row.Variable;
    request.Min = row.Min;
    request.Max = row.Max;
    kurvant::TFormulaContext context;
    context.DecimalSeparator = ',';
    const kurvant::TStudy study = kurvant::Study(request, " ", context);
    std::vector<std::vector<std::string>> grid;
    if (!study.Header.empty())
        grid.push_back(study.Header);
    grid.insert(grid.end(), study.Rows.begin(), study.Rows.end());
    EXPECT_EQ(grid, row.Grid);
    EXPECT_EQ(study.Message ? study.Message->Text : std::string(), row.Message);
    if (study.Message) {
        EXPECT_EQ(study.Message->Information, row.Information);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StudyGrid,
    testing::Values(TStudyRow{"ZerosOfSineInT",
                              TStudyKind::Zeros,
                              "sin(t)",
                              "",
                              "T",
                              "-4",
                              "4",
                              {{"t"}, {"-3,1415926536"}, {"0,0000000000"}, {"3,1415926536"}},
                              "",
                              false},
                    TStudyRow{"ExtremaWithTheirKinds",
                              TStudyKind::Extrema,
                              "x^3-3x",
                              "",
                              "x",
                              "-3",
                              "3,1",
                              {{"x", "f(x)", "вид"},
                               {"-1,0000000000", "2,0000000000", "максимум"},
                               {"1,0000000000", "-2,0000000000", "минимум"}},
                              "",
                              false},
                    TStudyRow{"IntersectionsWithTheCommonValue",
                              TStudyKind::Intersections,
                              "x^2",
                              "x+2",
                              "x",
                              "-3",
                              "3",
                              {{"x", "f(x)"},
                               {"-1,0000000000", "1,0000000000"},
                               {"2,0000000000", "4,0000000000"}},
                              "",
                              false},
                    TStudyRow{"ZeroGrouped",
                              TStudyKind::Zeros,
                              "x-1500",
                              "",
                              "x",
                              "0",
                              "2000",
                              {{"x"}, {"1 500,0000000000"}},
                              "",
                              false},
                    TStudyRow{"Area",
                              TStudyKind::Area,
                              "sin(x)",
                              "",
                              "x",
                              "0",
                              "3,14159265358979",
                              {{"интеграл", "площадь", "погрешность"},
                               {"2,0000000000", "2,0000000000", "0,0000000000"}},
                              "",
                              false},
                    TStudyRow{"NothingFoundIsInformation",
                              TStudyKind::Zeros,
                              "x^2+1",
                              "",
                              "x",
                              "-1",
                              "1",
                              {{"x"}},
                              "На отрезке нулей не найдено",
                              true},
                    TStudyRow{"NoExtrema",
                              TStudyKind::Extrema,
                              "x",
                              "",
                              "x",
                              "-1",
                              "1",
                              {{"x", "f(x)", "вид"}},
                              "На отрезке экстремумов не найдено",
                              true},
                    TStudyRow{"NoIntersections",
                              TStudyKind::Intersections,
                              "x",
                              "x+1",
                              "x",
                              "-1",
                              "1",
                              {{"x", "f(x)"}},
                              "На отрезке пересечений не найдено",
                              true},
                    TStudyRow{"NoFormula",
                              TStudyKind::Zeros,
                              "  ",
                              "",
                              "x",
                              "-1",
                              "1",
                              {},
                              "Выберите график или введите формулу!",
                              false},
                    TStudyRow{"NoSecondFormula",
                              TStudyKind::Intersections,
                              "x",
                              "",
                              "x",
                              "-1",
                              "1",
                              {},
                              "Выберите график или введите формулу!",
                              false},
                    TStudyRow{"SyntaxError",
                              TStudyKind::Zeros,
                              "x+",
                              "",
                              "x",
                              "-1",
                              "1",
                              {},
                              "Ошибка в выражении!",
                              false},
                    TStudyRow{"ReversedInterval",
                              TStudyKind::Zeros,
                              "x",
                              "",
                              "x",
                              "1",
                              "-1",
                              {},
                              "Максимальное значение должно быть\n\rбольше минимального значения!",
                              false},
                    TStudyRow{"EmptyInterval",
                              TStudyKind::Area,
                              "x",
                              "",
                              "x",
                              "1",
                              "1",
                              {},
                              "Максимальное значение должно быть\n\rбольше минимального значения!",
                              false},
                    TStudyRow{"TooLong",
                              TStudyKind::Zeros,
                              "x",
                              "",
                              "x",
                              "-600000",
                              "600000",
                              {},
                              "Отрезок должен быть не длиннее\n\r1 000 000 единиц!",
                              false},
                    TStudyRow{"NotANumber",
                              TStudyKind::Zeros,
                              "x",
                              "",
                              "x",
                              "a",
                              "1",
                              {},
                              "Поле \"Начало отрезка\":\n\r'a' не является числом!",
                              false},
                    TStudyRow{"NotALetter",
                              TStudyKind::Zeros,
                              "x",
                              "",
                              "1",
                              "-1",
                              "1",
                              {},
                              "Имя переменной должно\n\rбыть буквой латинского алфавита!",
                              false},
                    TStudyRow{"UndefinedArea",
                              TStudyKind::Area,
                              "sqrt(x)",
                              "",
                              "x",
                              "-1",
                              "1",
                              {},
                              "Функция не определена на всём отрезке",
                              false},
                    TStudyRow{"DivergentArea",
                              TStudyKind::Area,
                              "1/x^2",
                              "",
                              "x",
                              "0",
                              "1",
                              {},
                              "Интеграл на отрезке расходится",
                              false}));

// ---- a graph's formula and the marks ------------------------------------------------------

TEST(StudyOfAGraph, TakesItsFormulaLetterAndIntervalAndMarksSwapForXofY) {
    TDocument document;
    TGraphic g;
    g.Kind = KindXofY;
    g.Variable = 'y';
    g.Formula = "y^2-4";
    g.FormulaPrepared = g.Formula;
    kurvant::TFormulaContext context;
    ASSERT_TRUE(kurvant::PrepareFormula(g.FormulaPrepared, "y", context));
    g.MinY = -3;
    g.MaxY = 5;
    g.StepsY = 7;
    g.SetColor(clMaroon); // the colour a first graph is proposed
    document.Add(g);
    const std::string entry = document.Caption(0);
    const kurvant::TStudyFormula formula = kurvant::StudyFormulaOf(document, entry);
    EXPECT_EQ(formula.Variable, 'y');
    EXPECT_EQ(formula.Samples.size(), 8U);
    EXPECT_EQ(kurvant::StudyIntervalOf(document, entry), std::make_pair(-3.0, 5.0));
    EXPECT_FALSE(kurvant::StudyIntervalOf(document, "y^2-4"));

    kurvant::TStudyRequest request;
    request.First = formula;
    request.Variable = ""; // the graph's letter needs none
    request.Min = "-3";
    request.Max = "5";
    const kurvant::TStudy study = kurvant::Study(request, "", context);
    ASSERT_EQ(study.Points.size(), 2U);
    EXPECT_EQ(study.Header, std::vector<std::string>{"y"});

    const int colours = document.ColorCounter;
    TSettings settings;
    const int index = kurvant::AddStudyMarks(document, settings, study.Points, true, "Нули: y^2-4");
    ASSERT_EQ(index, 1);
    const TGraphic& marks = document.Graph(index);
    EXPECT_EQ(marks.Kind, KindTable);
    EXPECT_EQ(marks.Building, 1); // points only
    EXPECT_NEAR(marks.Points[0].x, 0, 1e-12);
    EXPECT_NEAR(marks.Points[0].y, -2, 1e-9);
    EXPECT_EQ(document.Caption(index), "Нули: y^2-4");
    EXPECT_GT(document.ColorCounter, colours);
    EXPECT_GE(marks.PointSize, 6);   // larger than any point of the point box
    EXPECT_EQ(marks.Color, clGreen); // the graph is maroon
    EXPECT_EQ(kurvant::AddStudyMarks(document, settings, {}, false, "x"), -1);
    // An ordinary graph from then on: one step of the history takes it away again, and brings
    // it back with its caption.
    document.History().undo();
    EXPECT_EQ(document.GraphCount(), 1);
    document.History().redo();
    ASSERT_EQ(document.GraphCount(), 2);
    EXPECT_EQ(document.Caption(1), "Нули: y^2-4");
    EXPECT_GE(document.Graph(1).PointSize, 6);
}

} // namespace
