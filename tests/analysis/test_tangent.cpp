// Tangent and normal: the five-point derivatives against the exact derivatives of polynomials up
// to degree four, the refined slope against slopes worked out by hand, the failure value, the texts
// of the lines and the messages of refused points.

#include "graphs/graph_helpers.h"

#include "analysis/tangent.h"
#include "graphs/document.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <string>

namespace {

using graphs_test::Context;
using graphs_test::MakeGraph;
using kurvant::TLineKind;

TGraphic Curve(const char* formula, int kind = KindYofX, char separator = ',') {
    return MakeGraph(kind, formula, -10, 10, 500, -1, 1, 50, "", separator);
}

// ---- derivatives ------------------------------------------------------------------------------

struct PolynomialRow {
    const char* Name;
    const char* Formula;
    int Kind;
    std::array<double, 5> Coefficients; // of 1, t, t^2, t^3, t^4
    double Point;
};

void PrintTo(const PolynomialRow& row, std::ostream* os) {
    *os << row.Name;
}

// The polynomial and its derivatives at t, from the coefficients.
double P(const std::array<double, 5>& a, double t, int derivative) {
    double sum = 0;
    for (int k = derivative; k < 5; ++k) {
        double factor = a[static_cast<std::size_t>(k)];
        for (int j = 0; j < derivative; ++j)
            factor *= k - j;
        sum += factor * std::pow(t, k - derivative);
    }
    return sum;
}

class Polynomials : public testing::TestWithParam<PolynomialRow> {};

// One-sided five-point formulas are exact up to degree four; what is left is the engine's rounding
// to fifteen digits, magnified by 1/h and 1/h².
TEST_P(Polynomials, DerivativesAreExactUpToRounding) {
    const PolynomialRow& row = GetParam();
    const TGraphic g = Curve(row.Formula, row.Kind);
    double value = 0;
    const double d1 = kurvant::Differencial_One(g, value, row.Point, 0.01, Context());
    EXPECT_NEAR(value, P(row.Coefficients, row.Point, 0), 1e-12);
    EXPECT_NEAR(d1, P(row.Coefficients, row.Point, 1), 1e-8);
    value = 0;
    const double d2 = kurvant::Differencial_Two(g, value, row.Point, 0.01, Context());
    EXPECT_NEAR(value, P(row.Coefficients, row.Point, 0), 1e-12);
    EXPECT_NEAR(d2, P(row.Coefficients, row.Point, 2), 1e-6);
}

const PolynomialRow PolynomialRows[] = {
    {"Constant", "7", KindYofX, {7, 0, 0, 0, 0}, 1.5},
    {"Line", "2*x+1", KindYofX, {1, 2, 0, 0, 0}, 1},
    {"Square", "x*x", KindYofX, {0, 0, 1, 0, 0}, -2},
    {"Cube", "x*x*x", KindYofX, {0, 0, 0, 1, 0}, 1},
    {"FourthPower", "x^4", KindYofX, {0, 0, 0, 0, 1}, 1.3},
    {"MixedQuartic", "0,5x^4-2x^3+x^2-3x+4", KindYofX, {4, -3, 1, -2, 0.5}, -1.25},
    {"QuarticWithPointMarks", "0.25x^4 + x^3 - 0.5x", KindYofX, {0, -0.5, 0, 1, 0.25}, 0.7},
    {"CubeOfY", "y^3-y", KindXofY, {0, -1, 0, 1, 0}, 2},
};

INSTANTIATE_TEST_SUITE_P(Rows, Polynomials, testing::ValuesIn(PolynomialRows),
                         [](const auto& row) { return std::string(row.param.Name); });

struct FailureRow {
    const char* Name;
    const char* Formula;
    double Point;
};

void PrintTo(const FailureRow& row, std::ostream* os) {
    *os << row.Name;
}

class DerivativeFailure : public testing::TestWithParam<FailureRow> {};

TEST_P(DerivativeFailure, GivesAThousandForBothDerivativeAndValue) {
    const TGraphic g = Curve(GetParam().Formula);
    double value = 0;
    EXPECT_EQ(kurvant::Differencial_One(g, value, GetParam().Point, 0.01, Context()), 1000);
    EXPECT_EQ(value, 1000);
    value = 0;
    EXPECT_EQ(kurvant::Differencial_Two(g, value, GetParam().Point, 0.01, Context()), 1000);
    EXPECT_EQ(value, 1000);
}

const FailureRow FailureRows[] = {
    {"FirstSampleUndefined", "ln(x)", 0},
    {"LastSampleUndefined", "1/(x-1,04)", 1},
    {"MiddleSampleUndefined", "1/(x-1,02)", 1},
    {"SampleOfExactlyFiveHundred", "100x", 4.98},
    {"ValueBeyondFiveHundred", "x*1000", 0.6},
    {"NegativeSampleBeyondFiveHundred", "-x*x", 22.36},
    {"NotAFormula", "x+", 1},
};

INSTANTIATE_TEST_SUITE_P(Rows, DerivativeFailure, testing::ValuesIn(FailureRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(DerivativeSamples, UseFivePointsOnlyAndStayBelowFiveHundred) {
    // Undefined at x + 5h only, and 499 at x + 4h: neither stops the derivative.
    double value = 0;
    const double d1 =
        kurvant::Differencial_One(Curve("100x+1/(x-1,05)*0"), value, 1, 0.01, Context());
    EXPECT_NEAR(d1, 100, 1e-8);
    const double d = kurvant::Differencial_One(Curve("100x"), value, 4.95, 0.01, Context());
    EXPECT_NEAR(d, 100, 1e-8);
    EXPECT_NEAR(value, 495, 1e-12);
}

// The slope the lines use settles to the digits shown wherever the function is smooth on the
// points used, from either side of a pole or an edge of the domain.
struct SlopeRow {
    const char* Name;
    const char* Formula;
    double Point;
    double Slope; // NaN: refused
};

void PrintTo(const SlopeRow& row, std::ostream* os) {
    *os << row.Name;
}

class SettledSlope : public testing::TestWithParam<SlopeRow> {};

TEST_P(SettledSlope, IsRightToSevenDecimalsOrRefused) {
    const SlopeRow& row = GetParam();
    double value = 0;
    const double d = kurvant::SettledDerivative(Curve(row.Formula), value, row.Point, Context());
    if (std::isnan(row.Slope)) {
        EXPECT_EQ(d, 1000);
        EXPECT_EQ(value, 1000);
    } else {
        EXPECT_NEAR(d, row.Slope, 1e-7);
    }
}

const double Refused = std::nan("");

const SlopeRow SlopeRows[] = {
    {"TangentNearItsPole", "tg(x)", 1.5, 1 / (std::cos(1.5) * std::cos(1.5))},
    {"TangentAtAThird", "tg(x)", 0.3, 1 / (std::cos(0.3) * std::cos(0.3))},
    {"RootNearZero", "sqrt(x)", 0.01, 5},
    {"RootAtFour", "sqrt(x)", 4, 0.25},
    {"ReciprocalAtHalf", "1/x", 0.5, -4},
    {"ReciprocalLeftOfZero", "1/x", -0.25, -16},
    {"LogarithmAtTwo", "ln(x)", 2, 0.5},
    {"LogarithmNearItsEdge", "ln(x)", 0.1, 10},
    {"ExponentAtOne", "exp(x)", 1, std::exp(1.0)},
    {"ExponentAtMinusTwo", "exp(x)", -2, std::exp(-2.0)},
    {"SineAtOne", "sin(x)", 1, std::cos(1.0)},
    {"SineAtThree", "3sin(x)", 3, 3 * std::cos(3.0)},
    {"FifthPower", "x^5", 2, 80},
    {"PoleFourStepsAhead", "1/(x-1,04)", 1, -625},
    // Undefined to the right: the left side gives the slope.
    {"EdgeOfTheDomainAhead", "sqrt(1-x)", 0.99, -5},
    {"UndefinedAtThePoint", "ln(x)", 0, Refused},
    {"PoleAtThePoint", "1/(x-1)", 1, Refused},
    {"InfiniteSlope", "sqrt(x)", 0, Refused},
    {"Kink", "abs(x-1)", 1, Refused},
    {"JumpOnTheRight", "round(x)", 0.5, Refused},
    {"JumpOnTheLeft", "round(x)", 1.5, Refused},
};

INSTANTIATE_TEST_SUITE_P(Rows, SettledSlope, testing::ValuesIn(SlopeRows),
                         [](const auto& row) { return std::string(row.param.Name); });

// ---- the lines --------------------------------------------------------------------------------

struct LineRow {
    const char* Name;
    const char* Formula;
    int Kind;
    double Point;
    char Separator;
    const char* Tangent;
    const char* Normal;
};

void PrintTo(const LineRow& row, std::ostream* os) {
    *os << row.Name;
}

class Lines : public testing::TestWithParam<LineRow> {};

TEST_P(Lines, AreWrittenWithSevenDecimals) {
    const LineRow& row = GetParam();
    const TGraphic g = Curve(row.Formula, row.Kind, row.Separator);
    const kurvant::TFormulaContext context = Context(row.Separator);
    const kurvant::TLineFormula tangent =
        kurvant::LineFormula(g, row.Point, TLineKind::Tangent, context);
    ASSERT_TRUE(tangent.Ok) << tangent.Message;
    EXPECT_EQ(tangent.Formula, row.Tangent);
    const kurvant::TLineFormula normal =
        kurvant::LineFormula(g, row.Point, TLineKind::Normal, context);
    ASSERT_TRUE(normal.Ok) << normal.Message;
    EXPECT_EQ(normal.Formula, row.Normal);
}

const LineRow LineRows[] = {
    {"SquareAtOne", "x*x", KindYofX, 1, ',', "1,0000000 +2,0000000 * ( x -1,0000000 )",
     "1,0000000 - 1/2,0000000 * ( x -1,0000000 )"},
    {"CubeAtOne", "x*x*x", KindYofX, 1, ',', "1,0000000 +3,0000000 * ( x -1,0000000 )",
     "1,0000000 - 1/3,0000000 * ( x -1,0000000 )"},
    {"SquareAtMinusTwo", "x*x", KindYofX, -2, ',', "4,0000000 -4,0000000 * ( x +2,0000000 )",
     "4,0000000 + 1/4,0000000 * ( x +2,0000000 )"},
    {"XofYWithPoint", "y^3", KindXofY, 2, '.', "8.0000000 +12.0000000 * ( y -2.0000000 )",
     "8.0000000 - 1/12.0000000 * ( y -2.0000000 )"},
    {"NegativeValueAndSlope", "-x*x-x", KindYofX, 0.5, ',',
     "-0,7500000 -2,0000000 * ( x -0,5000000 )", "-0,7500000 + 1/2,0000000 * ( x -0,5000000 )"},
    {"StraightLine", "2*x+1", KindYofX, 1, ',', "3,0000000 +2,0000000 * ( x -1,0000000 )",
     "3,0000000 - 1/2,0000000 * ( x -1,0000000 )"},
    {"InflectionPoint", "x^3-x", KindYofX, 0, ',', "0,0000000 -1,0000000 * ( x +0,0000000 )",
     "0,0000000 + 1/1,0000000 * ( x +0,0000000 )"},
    {"SlopeRoundsToAThousandWithoutGroups", "999,99999999x+0,0001x*x", KindYofX, 0, ',',
     "0,0000000 +1000,0000000 * ( x +0,0000000 )", "0,0000000 - 1/1000,0000000 * ( x +0,0000000 )"},
};

INSTANTIATE_TEST_SUITE_P(Rows, Lines, testing::ValuesIn(LineRows),
                         [](const auto& row) { return std::string(row.param.Name); });

// A shift that rounds to zero keeps its minus: "( x 0,0000000 )" would read as x·0.
TEST(LineShift, RoundingToZeroKeepsTheSign) {
    const TGraphic g = Curve("x*x");
    const kurvant::TLineFormula below =
        kurvant::LineFormula(g, 0.00000004, TLineKind::Tangent, Context());
    ASSERT_TRUE(below.Ok);
    EXPECT_EQ(below.Formula, "0,0000000 +0,0000001 * ( x -0,0000000 )");
    const kurvant::TLineFormula above =
        kurvant::LineFormula(g, -0.00000004, TLineKind::Tangent, Context());
    ASSERT_TRUE(above.Ok);
    EXPECT_EQ(above.Formula, "0,0000000 -0,0000001 * ( x +0,0000000 )");
}

TEST(LineNumber, SevenDecimalsHalvesAwayFromZeroNeverGrouped) {
    EXPECT_EQ(kurvant::LineNumberText(2, ','), "2,0000000");
    EXPECT_EQ(kurvant::LineNumberText(0.00000005, ','), "0,0000001");
    EXPECT_EQ(kurvant::LineNumberText(-0.00000005, '.'), "-0.0000001");
    EXPECT_EQ(kurvant::LineNumberText(-0.00000004, ','), "-0,0000000");
    EXPECT_EQ(kurvant::LineNumberText(999.99999996, ','), "1000,0000000");
    EXPECT_EQ(kurvant::LineNumberText(-499.5, ','), "-499,5000000");
}

TEST(LineRefusal, FlatSlopeRefusesTheNormalButNotTheTangent) {
    for (const char* formula : {"x*x", "x*x*x"}) {
        const TGraphic g = Curve(formula);
        const kurvant::TLineFormula normal =
            kurvant::LineFormula(g, 0, TLineKind::Normal, Context());
        EXPECT_FALSE(normal.Ok);
        EXPECT_EQ(normal.Message, "Для данной функции первая производная\n\rслишком мала (около "
                                  "нуля).\n\rПопробуйте изменить точку касания / пересечения.");
        const kurvant::TLineFormula tangent =
            kurvant::LineFormula(g, 0, TLineKind::Tangent, Context());
        ASSERT_TRUE(tangent.Ok);
        // The slope is zero up to rounding, so its sign is the rounding's.
        EXPECT_TRUE(tangent.Formula == "0,0000000 +0,0000000 * ( x +0,0000000 )" ||
                    tangent.Formula == "0,0000000 -0,0000000 * ( x +0,0000000 )")
            << tangent.Formula;
    }
}

TEST(LineRefusal, UndefinedSampleOrLargeValueRefusesBoth) {
    const char* message =
        "Для данной функции в данной точке нельзя\n\rпостроить касательную и нормаль!";
    EXPECT_EQ(kurvant::LineFormula(Curve("ln(x)"), 0, TLineKind::Tangent, Context()).Message,
              message);
    EXPECT_EQ(kurvant::LineFormula(Curve("x*x"), 30, TLineKind::Normal, Context()).Message,
              message);
}

// ---- the dialog's list ------------------------------------------------------------------------

TEST(TangentGraphList, ListsYofXAndXofYGraphsAndFindsTheFirstOfAnEntry) {
    TDocument document;
    document.Add(MakeGraph(KindPolar, "2q", 0, 2, 10));
    document.Add(MakeGraph(KindYofX, "x^2", -1, 1, 10));
    document.Add(MakeGraph(KindXofY, "y+1", -1, 1, 10));
    document.Add(MakeGraph(KindParametric, "cos(u)", 0, 6, 10, -1, 1, 50, "sin(u)"));
    document.Add(MakeGraph(KindYofX, "x^2", -5, 5, 10));
    EXPECT_EQ(kurvant::TangentGraphEntries(document),
              (std::vector<std::string>{"Y(X) = x^2", "X(Y) = y+1", "Y(X) = x^2"}));
    EXPECT_EQ(kurvant::TangentGraphIndex(document, "Y(X) = x^2"), 1);
    EXPECT_EQ(kurvant::TangentGraphIndex(document, "X(Y) = y+1"), 2);
    EXPECT_EQ(kurvant::TangentGraphIndex(document, "r(q) = 2q"), -1);
    EXPECT_EQ(kurvant::TangentGraphIndex(document, "Y(X) = x^3"), -1);
}

TEST(TangentGraphList, OtherKindsOnlyGiveAnEmptyList) {
    TDocument document;
    document.Add(MakeGraph(KindSurface, "x*y", -1, 1, 10));
    EXPECT_TRUE(kurvant::TangentGraphEntries(document).empty());
}

} // namespace
