// The breaks of a curve: first the continuity test of one segment on functions written out here,
// then whole curves sampled as the program samples them, whose poles and jumps are known by hand.

#include "graph_helpers.h"
#include "graphs/curve_breaks.h"
#include "graphs/sampling.h"
#include "graphs/segment_continuity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace graphs_test;

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// ---- one segment

struct TSegmentRow {
    const char* Name;
    long double (*F)(long double); ///< not-a-number where the function has no value
    long double A;
    long double B;
    bool Continuous;
};

const TSegmentRow SegmentRows[] = {
    {"OddPole", [](long double x) { return 1 / (x - 0.3L); }, 0, 1, false},
    {"OddPoleReversed", [](long double x) { return 1 / (x - 0.3L); }, 1, 0, false},
    {"EvenPole", [](long double x) { return 1 / ((x - 0.3L) * (x - 0.3L)); }, 0, 1, false},
    // The ends of the left half are nearly level and the right half changes more: halving by the
    // larger change alone would walk away from this pole.
    {"EvenPoleBetweenLevelValues", [](long double x) { return 1 / ((x - 0.26L) * (x - 0.26L)); }, 0,
     1, false},
    {"Jump", [](long double x) { return x < 0.3L ? x : x + 1; }, 0, 1, false},
    {"SmallJumpOnASteepSlope", [](long double x) { return 100 * x + (x < 0.3L ? 0 : 1); }, 0, 1,
     false},
    {"LogarithmicPole", [](long double x) { return std::log(std::fabs(x - 0.3L)); }, 0, 1, false},
    {"UndefinedInBetween", [](long double x) { return std::sqrt(x * x - 0.01L); }, -1, 1.1L, false},
    {"SteepArctangent", [](long double x) { return std::atan(50 * x); }, -0.02L, 0.02L, true},
    {"SteepArctangentReversed", [](long double x) { return std::atan(50 * x); }, 0.03L, -0.02L,
     true},
    {"SteeperHyperbolicTangent", [](long double x) { return std::tanh(1e4L * x); }, -0.02L, 0.03L,
     true},
    {"Exponential", [](long double x) { return std::exp(3 * x); }, 4.9L, 5, true},
    {"NinthPower", [](long double x) { return std::pow(x, 9) / 1000; }, -3, 3, true},
    {"SquareRootCusp", [](long double x) { return std::sqrt(std::fabs(x)); }, -0.5L, 0.7L, true},
    {"CubeRootCusp", [](long double x) { return std::cbrt(x); }, -1, 1.3L, true},
    {"FastOscillation", [](long double x) { return std::sin(1000 * x); }, 0, 0.1L, true},
    {"Constant", [](long double) { return 2.0L; }, -1, 1, true},
};

class SegmentContinuity : public ::testing::TestWithParam<TSegmentRow> {};

TEST_P(SegmentContinuity, IsJudgedFromValuesBetweenTheEnds) {
    const TSegmentRow& row = GetParam();
    int evaluations = 0;
    const TPointFunction f = [&](long double x) -> std::optional<long double> {
        ++evaluations;
        const long double v = row.F(x);
        return std::isnan(v) ? std::nullopt : std::optional<long double>(v);
    };
    EXPECT_EQ(ContinuousBetween(f, row.A, row.B, row.F(row.A), row.F(row.B)), row.Continuous);
    // The middle, then two points a step for at most 40 steps of each walk.
    EXPECT_LE(evaluations, 161);
}

INSTANTIATE_TEST_SUITE_P(Functions, SegmentContinuity, ::testing::ValuesIn(SegmentRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(SegmentContinuity, AJumpNoLargerThanTheLeastChangeIsNone) {
    const TPointFunction step = [](long double x) { return x < 0.3L ? 0.0L : 0.25L; };
    EXPECT_TRUE(ContinuousBetween(step, 0, 1, 0, 0.25L, 0.25L));
    EXPECT_FALSE(ContinuousBetween(step, 0, 1, 0, 0.25L, 0.2L));
}

TEST(SegmentContinuity, SamplesWithNothingBetweenThemAreJoinedOnlyWhenLevel) {
    const long double a = 1;
    const long double b = std::nextafter(a, 2.0L);
    const TPointFunction never = [](long double) -> std::optional<long double> {
        ADD_FAILURE() << "no probe fits between the samples";
        return 0.0L;
    };
    EXPECT_TRUE(ContinuousBetween(never, a, b, 5, 5));
    EXPECT_FALSE(ContinuousBetween(never, a, b, 5, 6));
}

// ---- which segments are looked into

std::vector<kurvant::TSample> Samples(const std::vector<double>& values) {
    std::vector<kurvant::TSample> samples;
    for (const double v : values)
        samples.push_back({v, !std::isnan(v)});
    return samples;
}

struct TSuspicionRow {
    const char* Name;
    std::vector<double> Values; ///< not-a-number: undefined
    std::vector<std::size_t> Suspicious;
};

const double NaN = std::nan("");

const TSuspicionRow SuspicionRows[] = {
    {"StraightLine", {0, 1, 2, 3, 4, 5}, {}},
    {"ParabolaWithItsVertexBetweenSamples", {6.25, 2.25, 0.25, 0.25, 2.25, 6.25}, {}},
    {"FlatInflection", {-27, -8, -1, 0, 1, 8, 27}, {}},
    {"ChangeTurnsAgainstBothNeighbours", {1, 2, 3, -3, -2, -1}, {2}},
    {"StepOverFlatNeighbours", {0, 0, 0, 1, 1, 1}, {2}},
    {"SpikeOfAnEvenPole", {1, 1.2, 100, 1.2, 1}, {1, 2}},
    {"LargestChangeFirst", {0, 0, 1, 1, 1, 5, 5}, {4, 1}},
    {"LevelSamplesAcrossAnEvenPole", {1, 2, 25, 25, 2, 1}, {1, 2, 3}},
    {"NoDefinedNeighbour", {NaN, 1, 2, NaN}, {1}},
    {"NeighboursOnlyBeyondAGap", {0, 1, NaN, 5, 0}, {3, 0}},
    {"EndFollowsTheTrendOfItsNeighbours", {-27, -8, -1, 0, 1, 8, 27, 64}, {}},
    {"EndAgainstTheTrend", {5, 0, 1, 2, 3}, {0}},
    {"RoundingNoiseIsNoChange", {1, 1 + 4e-16, 1, 1 - 4e-16, 1}, {}},
};

class Suspicion : public ::testing::TestWithParam<TSuspicionRow> {};

TEST_P(Suspicion, MarksSegmentsWhoseChangeStandsOut) {
    const TSuspicionRow& row = GetParam();
    const std::vector<kurvant::TSample> samples = Samples(row.Values);
    const std::vector<bool> joined(samples.size() - 1, true);
    EXPECT_EQ(SuspiciousSegments(samples, joined), row.Suspicious);
}

INSTANTIATE_TEST_SUITE_P(Changes, Suspicion, ::testing::ValuesIn(SuspicionRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(Suspicion, SegmentsThatDrawingDoesNotJoinAreLeftOut) {
    const std::vector<kurvant::TSample> samples = Samples({0, 0, 0, 1, 1, 1});
    EXPECT_TRUE(SuspiciousSegments(samples, {true, true, false, true, true}).empty());
}

// ---- whole curves

struct TCurveRow {
    const char* Name;
    int Kind;
    const char* Formula;
    const char* Formula2;
    double Min;
    double Max;
    int Steps;
    /// Where the formulas have a pole or a jump, in the running variable (the polar angle in
    /// radians; the interval of the polar kind is in units of π).
    std::vector<long double> Discontinuities;
};

const TCurveRow CurveRows[] = {
    {"TangentPoles", KindYofX, "tg(x)", "", -5, 5, 500, {-3 * Pi / 2, -Pi / 2, Pi / 2, 3 * Pi / 2}},
    {"ReciprocalPole", KindYofX, "1/x", "", -10, 10, 500, {0}},
    {"TwoPoles", KindYofX, "1/(x^2-1)", "", -3, 3, 300, {-1, 1}},
    {"EvenPole", KindYofX, "0.01/(x-0.31)^2", "", -2, 2, 101, {0.31L}},
    {"EvenPoleBetweenLevelSamples", KindYofX, "0.01/(x-0.3)^2", "", -1.72, 2.28, 101, {0.3L}},
    {"RoundingJumps", KindYofX, "round(x)", "", -2, 2, 300, {-1.5L, -0.5L, 0.5L, 1.5L}},
    {"SignJump", KindYofX, "abs(x)/x", "", -1, 1.3, 77, {0}},
    {"SteepArctangent", KindYofX, "arctg(50x)", "", -10, 10, 500, {}},
    // Steps of 1/100 on a curve whose drawn values span 2000: too small to show, though at
    // +-0.5 they stand out where the power is flat.
    {"TinyStepsOnALargeCurve", KindYofX, "x^7+round(x)/100", "", -10, 10, 500, {}},
    {"Exponential", KindYofX, "exp(3x)", "", -5, 5, 500, {}},
    {"NinthPower", KindYofX, "x^9/1000", "", -3, 3, 500, {}},
    {"RemovableHole", KindYofX, "sin(x)/x", "", -10, 10, 500, {}},
    {"DomainEdge", KindYofX, "sqrt(x)", "", -3, 4, 100, {}},
    {"Kink", KindYofX, "abs(x-0.37)", "", -3, 4, 100, {}},
    {"Aliased", KindYofX, "sin(50x)", "", -10, 10, 500, {}},
    {"TangentOfY", KindXofY, "tg(y)", "", -5, 5, 400, {-3 * Pi / 2, -Pi / 2, Pi / 2, 3 * Pi / 2}},
    {"SteepOfY", KindXofY, "arctg(50y)", "", -10, 10, 400, {}},
    {"PolarSecant", KindPolar, "1/cos(q)", "", 0, 2, 300, {Pi / 2, 3 * Pi / 2}},
    {"PolarLimacon", KindPolar, "1+2cos(q)", "", 0, 2, 300, {}},
    {"ParametricTangent",
     KindParametric,
     "u",
     "tg(u)",
     -5,
     5,
     500,
     {-3 * Pi / 2, -Pi / 2, Pi / 2, 3 * Pi / 2}},
    {"ParametricReciprocalInX", KindParametric, "1/u", "u", -3, 3, 300, {0}},
    {"ParametricCircle", KindParametric, "cos(u)", "sin(u)", -5, 5, 500, {}},
};

class CurveBreaks : public ::testing::TestWithParam<TCurveRow> {};

TEST_P(CurveBreaks, AreExactlyWherePolesAndJumpsAreBetweenDrawnSamples) {
    const TCurveRow& row = GetParam();
    const TSettings settings = DefaultSettings();
    TGraphic g =
        MakeGraph(row.Kind, row.Formula, row.Min, row.Max, row.Steps, -1, 1, 50, row.Formula2);
    Fill_Pixels_Graphic(g, settings, Context(','));
    ASSERT_EQ(g.Points.size(), static_cast<std::size_t>(row.Steps));
    ASSERT_TRUE(g.Breaks.empty() || g.Breaks.size() == g.Points.size() - 1);

    // The running variable at each sample, as sampling walks it.
    const double start = row.Kind == KindPolar ? static_cast<double>(Pi * row.Min) : row.Min;
    const double step = row.Kind == KindPolar
                            ? static_cast<double>((row.Max - row.Min) * Pi / (row.Steps - 1))
                            : (row.Max - row.Min) / (row.Steps - 1);
    std::vector<double> t;
    for (double v = start; t.size() < g.Points.size(); v += step)
        t.push_back(v);

    int drawnAcross = 0;
    for (std::size_t k = 0; k + 1 < g.Points.size(); ++k) {
        const bool drawn = !IsCurveGap(g.Kind, g.Points[k]) && !IsCurveGap(g.Kind, g.Points[k + 1]);
        bool across = false;
        for (const long double d : row.Discontinuities)
            across = across || (t[k] < d && d < t[k + 1]);
        if (drawn && across)
            ++drawnAcross;
        EXPECT_EQ(SegmentBroken(g, k), drawn && across) << "segment " << k << " at " << t[k];
    }
    // A row with discontinuities shows some between two drawn samples: the row checks a break.
    EXPECT_EQ(drawnAcross > 0, !row.Discontinuities.empty());
}

INSTANTIATE_TEST_SUITE_P(Formulas, CurveBreaks, ::testing::ValuesIn(CurveRows),
                         [](const auto& row) { return std::string(row.param.Name); });

// The breaks do not depend on the evaluator: the rewriting of the text finds the same.
TEST(CurveBreaks, TheRewritingFindsTheSameBreaksAsTheProgram) {
    const TSettings settings = DefaultSettings();
    for (const char* formula : {"tg(x)", "round(3x)/3+1/(3x-1)"}) {
        TGraphic byProgram = MakeGraph(KindYofX, formula, -5, 5, 300);
        TGraphic byText = byProgram;
        kurvant::TFormulaContext ctx = Context(',');
        Fill_Pixels_Graphic(byProgram, settings, ctx);
        ctx.Evaluator = kurvant::TEvaluator::Text;
        Fill_Pixels_Graphic(byText, settings, ctx);
        EXPECT_FALSE(byProgram.Breaks.empty()) << formula;
        EXPECT_EQ(byProgram.Breaks, byText.Breaks) << formula;
    }
}

// A long formula's probes go one by one instead of in blocks: the same breaks.
TEST(CurveBreaks, ALongFormulaBreaksWhereItsShortEqualDoes) {
    std::string text = "tg(x)";
    for (int k = 1; k <= 400; ++k)
        text += "+0*sin(" + std::to_string(k) + "x)";
    const TSettings settings = DefaultSettings();
    TGraphic longer = MakeGraph(KindYofX, text, -5, 5, 300);
    TGraphic shorter = MakeGraph(KindYofX, "tg(x)", -5, 5, 300);
    const kurvant::TCompiledFormula compiled(longer.FormulaPrepared, "x", Context(','));
    const kurvant::TFormulaProgram* program = compiled.Program();
    ASSERT_GE(program ? program->Steps.size() : 0u, 1000u);
    Fill_Pixels_Graphic(longer, settings, Context(','));
    Fill_Pixels_Graphic(shorter, settings, Context(','));
    EXPECT_EQ(longer.Points, shorter.Points);
    EXPECT_FALSE(longer.Breaks.empty());
    EXPECT_EQ(longer.Breaks, shorter.Breaks);
}

TEST(CurveBreaks, ASecondSamplingForgetsTheFirstsBreaks) {
    const TSettings settings = DefaultSettings();
    TGraphic g = MakeGraph(KindYofX, "tg(x)", -5, 5, 500);
    Fill_Pixels_Graphic(g, settings, Context(','));
    ASSERT_FALSE(g.Breaks.empty());
    g.FormulaPrepared = "#x#";
    Fill_Pixels_Graphic(g, settings, Context(','));
    EXPECT_TRUE(g.Breaks.empty());
}

} // namespace
