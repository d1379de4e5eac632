// Sampling. Expected numbers come from the rules by hand, or from the rule recomputed
// here with explicit loops (running values by repeated addition, π in extended precision), never
// from the formula engine under test.

#include "formula/batch_control.h"
#include "graph_helpers.h"
#include "graphs/sampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace graphs_test;

namespace {

constexpr long double PiL = 3.14159265358979323846264338327950288L;
constexpr double U = UndefinedValue;

void Sample(TGraphic& g, const TSettings& s, char separator = ',') {
    Fill_Pixels_Graphic(g, g.FormulaPrepared, g.Formula2Prepared, s, Context(separator));
}

/// The running values start, start + step, (start + step) + step, ... as doubles.
std::vector<double> Running(double start, double step, int count) {
    std::vector<double> v;
    double x = start;
    for (int k = 0; k < count; ++k) {
        v.push_back(x);
        x = x + step;
    }
    return v;
}

} // namespace

// ---- kind 0, Y(X)

TEST(SamplingYofX, ReciprocalOnMinusTenToTenIsDefinedEverywhere) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindYofX, "1/x", -10, 10, 500);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 500u);
    const std::vector<double> xs = Running(-10, 20.0 / 499, 500);
    for (int k = 0; k < 500; ++k) {
        EXPECT_EQ(g.Points[k].x, xs[k]) << k;
        EXPECT_NE(g.Points[k].y, U) << k;
        // The value of x and the quotient each pass through a 15-digit text: within 1.5e-14.
        EXPECT_NEAR(g.Points[k].y, 1.0 / xs[k], 1.5e-14 * std::fabs(1.0 / xs[k])) << k;
        EXPECT_EQ(g.Points[k].z, 0.0);
    }
    // 1/x at some samples, worked out with exact fractions: x rounded to 15 significant digits,
    // the quotient of 1 by that rounded to 15 digits again, and read as the nearest double.
    // Sample 1: x = -9.959919839679358, written -9.95991983967936.
    EXPECT_EQ(g.Points[1].y, -0.100402414486922);
    // Sample 249, the last left of 0: x = -0.020040080160333942, written -0.0200400801603339.
    EXPECT_EQ(g.Points[249].y, -49.899999999967);
    // Sample 250, the first right of 0: x = 0.02004008016030734, written 0.0200400801603073.
    EXPECT_EQ(g.Points[250].y, 49.9000000000332);
    // Sample 499 stops short of 10: x = 9.999999999999973, written 9.99999999999997, whose
    // reciprocal 0.1000000000000003 is 0.1 in 15 digits.
    EXPECT_EQ(g.Points[499].y, 0.1);
    EXPECT_EQ(g.Points[0].y, -0.1);
    EXPECT_EQ(g.BoundMinX, -10);
    EXPECT_EQ(g.BoundMaxX, 10);
    // 1/x is largest just right of 0 and smallest just left of it.
    EXPECT_EQ(g.BoundMaxY, 49.9000000000332);
    EXPECT_EQ(g.BoundMinY, -49.899999999967);
}

TEST(SamplingYofX, RunningValueIsRepeatedAdditionNotMultiplication) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindYofX, "1", 0, 1, 11);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 11u);
    EXPECT_EQ(g.Points[3].x, 0.30000000000000004);
    EXPECT_EQ(g.Points[8].x, 0.7999999999999999);  // 8 * 0.1 would be 0.8
    EXPECT_EQ(g.Points[10].x, 0.9999999999999999); // the end is not hit exactly
    EXPECT_EQ(g.BoundMaxX, 1);                     // but the bound is the clipped end
}

TEST(SamplingYofX, UndefinedPointsKeepTheirXAndStayOutOfTheBounds) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindYofX, "sqrt(x)", -2, 2, 5);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 5u);
    EXPECT_EQ(g.Points[0].x, -2);
    EXPECT_EQ(g.Points[0].y, U);
    EXPECT_EQ(g.Points[1].x, -1);
    EXPECT_EQ(g.Points[1].y, U);
    EXPECT_EQ(g.Points[2].y, 0);
    EXPECT_EQ(g.Points[3].y, 1);
    EXPECT_NEAR(g.Points[4].y, 1.4142135623730951, 1e-14);
    EXPECT_EQ(g.BoundMinY, 0);
    EXPECT_EQ(g.BoundMaxY, g.Points[4].y);
}

TEST(SamplingYofX, NoDefinedPointLeavesTheScanStartValues) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindYofX, "sqrt(x)", -3, -1, 3);
    Sample(g, s);
    EXPECT_EQ(g.BoundMaxY, -1e11);
    EXPECT_EQ(g.BoundMinY, 1e11);
    EXPECT_EQ(g.BoundMinX, -3);
    EXPECT_EQ(g.BoundMaxX, -1);
}

TEST(SamplingYofX, IntervalIsClippedBySettingsAxis) {
    TSettings s = DefaultSettings();
    s.MinX = -5;
    s.MaxX = 5;
    TGraphic g = MakeGraph(KindYofX, "2x+1", -10, 10, 11);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 11u);
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(g.Points[k].x, -5 + k);
        EXPECT_EQ(g.Points[k].y, 2 * (-5 + k) + 1);
    }
    EXPECT_EQ(g.BoundMinX, -5);
    EXPECT_EQ(g.BoundMaxX, 5);
    EXPECT_EQ(g.BoundMinY, -9);
    EXPECT_EQ(g.BoundMaxY, 11);
}

TEST(SamplingYofX, NonOverlappingIntervalsRunBackwards) {
    TSettings s = DefaultSettings();
    s.MinX = -10;
    s.MaxX = 3;
    TGraphic g = MakeGraph(KindYofX, "x", 5, 10, 5);
    Sample(g, s);
    const std::vector<double> expected = {5, 4.5, 4, 3.5, 3};
    ASSERT_EQ(g.Points.size(), 5u);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(g.Points[k].x, expected[k]);
    EXPECT_EQ(g.BoundMinX, 5); // set, not scanned: start above end
    EXPECT_EQ(g.BoundMaxX, 3);
}

TEST(SamplingYofX, OneStepGivesOnePointAtTheStart) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindYofX, "5", -3, 7, 1);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 1u);
    EXPECT_EQ(g.Points[0], (TPoint3D{-3, 5, 0}));
    EXPECT_EQ(g.BoundMinX, -3);
    EXPECT_EQ(g.BoundMaxX, 7);
    EXPECT_EQ(g.BoundMinY, 5);
    EXPECT_EQ(g.BoundMaxY, 5);
}

TEST(SamplingYofX, BothSeparatorsGiveTheSamePoints) {
    const TSettings s = DefaultSettings();
    TGraphic a = MakeGraph(KindYofX, "0.5x^2-1.25", -3, 3, 25, -1, 1, 50, "", ',');
    TGraphic b = MakeGraph(KindYofX, "0.5x^2-1.25", -3, 3, 25, -1, 1, 50, "", '.');
    Sample(a, s, ',');
    Sample(b, s, '.');
    EXPECT_EQ(a.Points, b.Points);
    EXPECT_EQ(a.Points[0].y, 0.5 * 9 - 1.25);
}

TEST(SamplingYofX, CurvesNeverTouchZNorTheZBounds) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindYofX, "x", -1, 1, 3);
    g.BoundMaxZ = 42;
    g.BoundMinZ = -42;
    Sample(g, s);
    EXPECT_EQ(g.BoundMaxZ, 42);
    EXPECT_EQ(g.BoundMinZ, -42);
}

TEST(SamplingPoints, OldElementsAreKeptWhereTheLengthsOverlap) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindSurface, "x+10y+100", 0, 2, 3, 0, 1, 2);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 6u);
    // The same record becomes a curve of 8 points: z of the first six stays, new ones are 0.
    TGraphic curve = MakeGraph(KindYofX, "x", -3.5, 0, 8);
    g.Kind = curve.Kind;
    g.Variable = curve.Variable;
    g.FormulaPrepared = curve.FormulaPrepared;
    g.MinX = -3.5;
    g.MaxX = 0;
    g.StepsX = 8;
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 8u);
    const double oldZ[6] = {100, 101, 102, 110, 111, 112};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(g.Points[k].x, -3.5 + 0.5 * k);
        EXPECT_EQ(g.Points[k].y, -3.5 + 0.5 * k);
        EXPECT_EQ(g.Points[k].z, k < 6 ? oldZ[k] : 0.0) << k;
    }
    // Shrinking drops the tail.
    g.StepsX = 2;
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 2u);
    EXPECT_EQ(g.Points[1].z, 101);
}

// ---- kind 1, X(Y)

TEST(SamplingXofY, RolesOfXAndYAreExchanged) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindXofY, "y*y", -2, 2, 5);
    g.StepsX = 999; // not used by this kind
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 5u);
    const double ys[5] = {-2, -1, 0, 1, 2};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(g.Points[k].y, ys[k]);
        EXPECT_EQ(g.Points[k].x, ys[k] * ys[k]);
    }
    EXPECT_EQ(g.BoundMinY, -2);
    EXPECT_EQ(g.BoundMaxY, 2);
    EXPECT_EQ(g.BoundMinX, 0);
    EXPECT_EQ(g.BoundMaxX, 4);
}

TEST(SamplingXofY, ClippedByTheYAxisAndUndefinedKeepsY) {
    TSettings s = DefaultSettings();
    s.MinY = -1;
    s.MaxY = 1;
    TGraphic g = MakeGraph(KindXofY, "ln(y)", -2, 2, 3);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 3u);
    EXPECT_EQ(g.Points[0], (TPoint3D{U, -1, 0}));
    EXPECT_EQ(g.Points[1], (TPoint3D{U, 0, 0}));
    EXPECT_EQ(g.Points[2], (TPoint3D{0, 1, 0}));
    EXPECT_EQ(g.BoundMinY, -1);
    EXPECT_EQ(g.BoundMaxY, 1);
}

TEST(SamplingXofY, OneStep) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindXofY, "3", 4, 6, 1);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 1u);
    EXPECT_EQ(g.Points[0], (TPoint3D{3, 4, 0}));
}

// ---- kind 2, polar

TEST(SamplingPolar, UnitCircleFromZeroToTwoPi) {
    TSettings s = DefaultSettings();
    s.MinX = -0.1; // the angle is not clipped by the X axis
    s.MaxX = 0.1;
    TGraphic g = MakeGraph(KindPolar, "1", 0, 2, 50);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 50u);
    const double step = static_cast<double>((2.0 - 0.0) * PiL / 49);
    const std::vector<double> qs = Running(0, step, 50);
    for (int k = 0; k < 50; ++k) {
        EXPECT_NEAR(g.Points[k].x, std::cos(2 * M_PI * k / 49), 1e-12) << k;
        EXPECT_NEAR(g.Points[k].y, std::sin(2 * M_PI * k / 49), 1e-12) << k;
        const long double q = AtRunTime(static_cast<long double>(qs[k]));
        EXPECT_EQ(g.Points[k].x, static_cast<double>(std::cos(q)));
        EXPECT_EQ(g.Points[k].y, static_cast<double>(std::sin(q)));
    }
    EXPECT_NEAR(g.BoundMaxX, 1, 1e-12);
    EXPECT_NEAR(g.BoundMinX, -1, 1e-2); // 49 steps: no sample at exactly π
    EXPECT_NEAR(g.BoundMaxY, 1, 1e-2);
    EXPECT_NEAR(g.BoundMinY, -1, 1e-2);
}

TEST(SamplingPolar, CapAppliesToEachCoordinateOnItsOwn) {
    const TSettings s = DefaultSettings();
    // q = 0, π/2, π, 3π/2, 2π.
    TGraphic g = MakeGraph(KindPolar, "2000", 0, 2, 5);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 5u);
    EXPECT_EQ(g.Points[0].x, U);             // 2000 > 1000
    EXPECT_NEAR(g.Points[0].y, 0, 1e-9);     // 0 is kept
    EXPECT_NEAR(g.Points[1].x, 0, 1e-9);     // cos π/2 ≈ 0
    EXPECT_EQ(g.Points[1].y, U);             // 2000 sin π/2
    EXPECT_NEAR(g.Points[2].x, -2000, 1e-9); // no lower cap
    EXPECT_NEAR(g.Points[2].y, 0, 1e-9);
    EXPECT_NEAR(g.Points[3].x, 0, 1e-9);
    EXPECT_NEAR(g.Points[3].y, -2000, 1e-9);
    EXPECT_EQ(g.Points[4].x, U);
    EXPECT_NEAR(g.Points[4].y, 0, 1e-9);
    EXPECT_NEAR(g.BoundMinX, -2000, 1e-9);
    EXPECT_NEAR(g.BoundMaxX, 0, 1e-9);
    EXPECT_NEAR(g.BoundMinY, -2000, 1e-9);
    EXPECT_NEAR(g.BoundMaxY, 0, 1e-9);
}

TEST(SamplingPolar, UndefinedRadiusMakesBothCoordinatesUndefined) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindPolar, "ln(q)", 0, 1, 2); // q = 0 fails, q = π works
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 2u);
    EXPECT_EQ(g.Points[0].x, U);
    EXPECT_EQ(g.Points[0].y, U);
    EXPECT_NEAR(g.Points[1].x, -std::log(M_PI), 1e-12);
    EXPECT_EQ(g.BoundMinX, g.Points[1].x);
    EXPECT_EQ(g.BoundMaxX, g.Points[1].x);
}

TEST(SamplingPolar, OneStepIsTheStartAngle) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindPolar, "3", 0.5, 2, 1);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 1u);
    EXPECT_NEAR(g.Points[0].x, 0, 1e-12);
    EXPECT_NEAR(g.Points[0].y, 3, 1e-12);
}

// ---- kind 3, parametric

TEST(SamplingParametric, EachFormulaFailsOnItsOwn) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindParametric, "sqrt(u)", -2, 2, 5, -1, 1, 50, "2u");
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 5u);
    EXPECT_EQ(g.Points[0], (TPoint3D{U, -4, 0}));
    EXPECT_EQ(g.Points[1], (TPoint3D{U, -2, 0}));
    EXPECT_EQ(g.Points[2], (TPoint3D{0, 0, 0}));
    EXPECT_EQ(g.Points[3], (TPoint3D{1, 2, 0}));
    EXPECT_EQ(g.Points[4].y, 4);
    EXPECT_EQ(g.BoundMinX, 0);
    EXPECT_EQ(g.BoundMaxX, g.Points[4].x);
    EXPECT_EQ(g.BoundMinY, -4);
    EXPECT_EQ(g.BoundMaxY, 4);
}

TEST(SamplingParametric, ParameterIsClippedByTheXAxis) {
    TSettings s = DefaultSettings();
    s.MinX = -5;
    s.MaxX = 5;
    s.MinY = 0; // the Y axis plays no part
    TGraphic g = MakeGraph(KindParametric, "u", -10, 10, 11, -1, 1, 50, "1");
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 11u);
    for (int k = 0; k < 11; ++k)
        EXPECT_EQ(g.Points[k], (TPoint3D{-5.0 + k, 1, 0}));
}

TEST(SamplingParametric, OneStep) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindParametric, "u+1", 2, 3, 1, -1, 1, 50, "u-1");
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 1u);
    EXPECT_EQ(g.Points[0], (TPoint3D{3, 1, 0}));
}

// ---- kind 4, surface

TEST(SamplingSurface, RowByRowIndexJTimesStepsXPlusI) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindSurface, "x+10y", 0, 2, 3, 0, 1, 2);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 6u);
    const std::vector<TPoint3D> expected = {{0, 0, 0},  {1, 0, 1},  {2, 0, 2},
                                            {0, 1, 10}, {1, 1, 11}, {2, 1, 12}};
    EXPECT_EQ(g.Points, expected);
    EXPECT_EQ(g.Points[4], (TPoint3D{1, 1, 11})); // i = 1, j = 1
    EXPECT_EQ(g.BoundMinX, 0);
    EXPECT_EQ(g.BoundMaxX, 2);
    EXPECT_EQ(g.BoundMinY, 0);
    EXPECT_EQ(g.BoundMaxY, 1);
    EXPECT_EQ(g.BoundMinZ, 0);
    EXPECT_EQ(g.BoundMaxZ, 12);
}

TEST(SamplingSurface, ClippedOnBothAxesAndFailedPointsAreAllUndefined) {
    TSettings s = DefaultSettings();
    s.MinX = -5;
    s.MaxX = 5;
    s.MinY = -2;
    s.MaxY = 2;
    TGraphic g = MakeGraph(KindSurface, "sqrt(x)+y", -10, 10, 11, -10, 10, 5);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 55u);
    for (int j = 0; j < 5; ++j) {
        for (int i = 0; i < 11; ++i) {
            const TPoint3D& p = g.Points[j * 11 + i];
            const double x = -5 + i, y = -2 + j;
            if (x < 0) {
                EXPECT_EQ(p, (TPoint3D{U, U, U})) << i << "," << j;
            } else {
                EXPECT_EQ(p.x, x);
                EXPECT_EQ(p.y, y);
                EXPECT_NEAR(p.z, std::sqrt(x) + y, 1e-13);
            }
        }
    }
    EXPECT_EQ(g.BoundMinX, -5);
    EXPECT_EQ(g.BoundMaxX, 5);
    EXPECT_EQ(g.BoundMinY, -2);
    EXPECT_EQ(g.BoundMaxY, 2);
    EXPECT_EQ(g.BoundMinZ, -2);
    EXPECT_NEAR(g.BoundMaxZ, std::sqrt(5.0) + 2, 1e-13);
}

TEST(SamplingSurface, RunningValuesAddUpPerRowAndColumn) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindSurface, "0", 0, 1, 11, 0, 0.7, 8);
    Sample(g, s);
    const std::vector<double> xs = Running(0, 1.0 / 10, 11);
    const std::vector<double> ys = Running(0, 0.7 / 7, 8);
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 11; ++i)
            EXPECT_EQ(g.Points[j * 11 + i], (TPoint3D{xs[i], ys[j], 0}));
}

TEST(SamplingSurface, OneByOne) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindSurface, "7", -1, 1, 1, -3, 3, 1);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 1u);
    EXPECT_EQ(g.Points[0], (TPoint3D{-1, -3, 7}));
    EXPECT_EQ(g.BoundMaxX, 1);
    EXPECT_EQ(g.BoundMaxY, 3);
}

TEST(SamplingSurface, UsesTheRecordsFormulaNotTheArgument) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindSurface, "5", 0, 1, 2, 0, 1, 2);
    Fill_Pixels_Graphic(g, "#1#", "", s, Context(','));
    EXPECT_EQ(g.Points[3].z, 5);
}

// ---- kind 5, spherical

TEST(SamplingSpherical, UnitSphereFollowsTheRule) {
    TSettings s = DefaultSettings();
    s.MinX = s.MaxX = 0; // angles are not clipped
    TGraphic g = MakeGraph(KindSpherical, "1", 0, 2, 9, 0, 1, 5);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 45u);
    const std::vector<double> qs = Running(0, static_cast<double>(2.0 * PiL / 8), 9);
    const std::vector<double> as = Running(0, static_cast<double>(1.0 * PiL / 4), 5);
    for (int j = 0; j < 5; ++j) {
        for (int i = 0; i < 9; ++i) {
            const long double q = AtRunTime<long double>(qs[i]);
            const long double a = AtRunTime<long double>(as[j]);
            const TPoint3D& p = g.Points[j * 9 + i];
            EXPECT_EQ(p.x, static_cast<double>(1.0L * std::cos(q) * std::sin(a)));
            EXPECT_EQ(p.y, static_cast<double>(1.0L * std::sin(q) * std::sin(a)));
            EXPECT_EQ(p.z, static_cast<double>(1.0L * std::cos(a)));
            EXPECT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z, 1, 1e-12);
        }
    }
    EXPECT_NEAR(g.BoundMaxZ, 1, 1e-12);
    EXPECT_NEAR(g.BoundMinZ, -1, 1e-12);
    EXPECT_NEAR(g.BoundMaxX, 1, 1e-12);
    EXPECT_NEAR(g.BoundMinY, -1, 1e-12);
}

TEST(SamplingSpherical, CapAppliesToEachCoordinateOnItsOwn) {
    const TSettings s = DefaultSettings();
    // q = 0, π, 2π; a = 0, π/2, π.
    TGraphic g = MakeGraph(KindSpherical, "2000", 0, 2, 3, 0, 1, 3);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 9u);
    for (int i = 0; i < 3; ++i) { // a = 0: on the z axis, z = 2000 is capped
        EXPECT_NEAR(g.Points[i].x, 0, 1e-9);
        EXPECT_NEAR(g.Points[i].y, 0, 1e-9);
        EXPECT_EQ(g.Points[i].z, U);
    }
    EXPECT_EQ(g.Points[3].x, U); // a = π/2, q = 0: x = 2000
    EXPECT_NEAR(g.Points[3].y, 0, 1e-9);
    EXPECT_NEAR(g.Points[3].z, 0, 1e-9);
    EXPECT_NEAR(g.Points[4].x, -2000, 1e-9); // q = π
    EXPECT_EQ(g.Points[5].x, U);             // q = 2π
    for (int i = 6; i < 9; ++i)              // a = π: z = -2000, no lower cap
        EXPECT_NEAR(g.Points[i].z, -2000, 1e-9);
    EXPECT_NEAR(g.BoundMinX, -2000, 1e-9);
    EXPECT_NEAR(g.BoundMinZ, -2000, 1e-9);
    EXPECT_NEAR(g.BoundMaxZ, 0, 1e-9);
}

TEST(SamplingSpherical, FailedEvaluationIsUndefinedInAllThree) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindSpherical, "ln(q)", 0, 1, 2, 0.5, 0.5, 1);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 2u);
    EXPECT_EQ(g.Points[0], (TPoint3D{U, U, U}));
    EXPECT_NEAR(g.Points[1].x, -std::log(M_PI), 1e-12);
    EXPECT_NEAR(g.BoundMaxZ, 0, 1e-12);
}

TEST(SamplingTable, TablesAreNotSampled) {
    const TSettings s = DefaultSettings();
    TGraphic g;
    g.Kind = KindTable;
    g.Points = {{1, 2, 3}};
    g.BoundMaxX = 7;
    Sample(g, s);
    EXPECT_EQ(g.Points, (std::vector<TPoint3D>{{1, 2, 3}}));
    EXPECT_EQ(g.BoundMaxX, 7);
}

TEST(SamplingEdges, StepCountBelowOneGivesNoPoints) {
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindYofX, "x", -1, 1, 0);
    g.Points = {{1, 2, 3}};
    Sample(g, s);
    EXPECT_TRUE(g.Points.empty());
    EXPECT_EQ(g.BoundMinX, -1); // the bounds are set all the same
    EXPECT_EQ(g.BoundMaxY, -1e11);
    TGraphic surface = MakeGraph(KindSurface, "x", -1, 1, 5, -1, 1, -3);
    Sample(surface, s);
    EXPECT_TRUE(surface.Points.empty());
}

TEST(SamplingEdges, ValueBeyondTheDoubleRangeIsStoredAsInfinity) {
    // 10^400 is a finite long double (up to about 1.19E4932) but no double.
    static_assert(std::numeric_limits<long double>::max_exponent10 > 400);
    const TSettings s = DefaultSettings();
    TGraphic g = MakeGraph(KindYofX, "10^400", 0, 1, 2);
    Sample(g, s);
    ASSERT_EQ(g.Points.size(), 2u);
    EXPECT_EQ(g.Points[0].y, std::numeric_limits<double>::infinity());
    EXPECT_EQ(g.Points[1].y, std::numeric_limits<double>::infinity());
    EXPECT_EQ(g.BoundMaxY, std::numeric_limits<double>::infinity());
}

// Sampling off the window's thread reports its share done through the context's control: every
// kind counts exactly the work `SamplingWork` announces, by the programs and by the rewriting,
// and a cancelled control stops before any evaluation.
TEST(SamplingControl, CountsTheAnnouncedWorkAndStopsWhenCancelled) {
    struct TCase {
        int Kind;
        const char* Formula;
        const char* Formula2;
    };
    const TCase cases[] = {{KindYofX, "sin(x)", ""},     {KindXofY, "y^2", ""},
                           {KindPolar, "1+q", ""},       {KindParametric, "cos(u)", "sin(u)"},
                           {KindSurface, "x*y-1/x", ""}, {KindSpherical, "2+a", ""},
                           {KindYofX, "1/0+x", ""},      {KindSurface, "x*y+@", ""}};
    const TSettings settings = DefaultSettings();
    for (const TCase& c : cases) {
        for (const kurvant::TEvaluator evaluator :
             {kurvant::TEvaluator::Program, kurvant::TEvaluator::Text}) {
            TGraphic g = MakeGraph(c.Kind, c.Formula, -1, 1, 300, -1, 1, 7, c.Formula2);
            kurvant::TFormulaContext ctx = Context(',');
            ctx.Evaluator = evaluator;
            kurvant::TBatchControl control;
            ctx.Batch = &control;
            Fill_Pixels_Graphic(g, settings, ctx);
            EXPECT_EQ(control.Done.load(), SamplingWork(g)) << c.Formula;
            EXPECT_GT(SamplingWork(g), 0u);

            kurvant::TBatchControl cancelled;
            cancelled.Cancel = true;
            ctx.Batch = &cancelled;
            Fill_Pixels_Graphic(g, settings, ctx);
            EXPECT_EQ(cancelled.Done.load(), 0u) << c.Formula;
        }
    }
    TGraphic table;
    table.Kind = KindTable;
    table.Points = {{1, 2, 3}};
    EXPECT_EQ(SamplingWork(table), 0u);
}
