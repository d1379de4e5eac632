// The function study against values known in closed form: zeros, extrema, intersections and
// integrals of formulas evaluated by the engine, with poles, jumps, touching zeros, flat and
// undefined stretches among them; then the grid texts and messages that the dialog and the
// command line show.

#include "analysis/function_study.h"
#include "app/random_formula.h"
#include "formula/prepare.h"
#include "graphs/document.h"
#include "settings/settings.h"

#include <QUndoStack>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using kurvant::TAreaOutcome;
using kurvant::TStudyKind;

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double E = std::numbers::e_v<long double>;
constexpr long double PlaceTolerance = 1e-9L;

long double NearestReciprocalZero(long double x) {
    return 1 / (std::round(1 / (x * Pi)) * Pi);
}

std::unique_ptr<kurvant::TStudyFunction> Function(const char* formula) {
    kurvant::TFormulaContext context;
    std::string prepared = formula;
    EXPECT_TRUE(kurvant::PrepareFormula(prepared, "x", context)) << formula;
    return kurvant::FormulaFunction(prepared, 'x', context);
}

// ---- every study against its closed form ------------------------------------------------------

// What a study must say besides its points.
enum class TGap { None, TooMany, Unresolved };

struct TCase {
    const char* Name;
    TStudyKind Kind; // zeros, extrema or area
    const char* Formula;
    long double A;
    long double B;
    std::vector<kurvant::TExtremum> Points; // the points found (zeros: X only), when listed
    TGap Gap = TGap::None;
    // Where the points are too many to list: the true point nearest x, and how many are found.
    long double (*Nearest)(long double) = nullptr;
    std::size_t Count = 0;
    // The integral's outcome, its value (and that of |f|).
    TAreaOutcome Outcome = TAreaOutcome::Ok;
    long double Integral = 0;
    long double Absolute = 0; ///< negative: no closed form to check it by
};

void PrintTo(const TCase& row, std::ostream* os) {
    *os << row.Name;
}

long double NearestMultipleOfPi(long double x) {
    return std::round(x / Pi) * Pi;
}
long double NearestPeakOfSine(long double x) {
    return std::round((x - Pi / 2) / Pi) * Pi + Pi / 2;
}

TGap GapOf(const kurvant::TStudyGaps& gaps) {
    EXPECT_FALSE(gaps.StoppedAt);
    return gaps.TooMany ? TGap::TooMany : gaps.Unresolved ? TGap::Unresolved : TGap::None;
}

// A found point is where the closed form puts it, within the width the study claims for it or
// the test's tolerance, whichever is larger; and the width is no excuse: at most 10^-6.
void ExpectPlace(const char* what, std::size_t i, long double found, long double width,
                 long double truth) {
    EXPECT_LE(width, 1e-6L) << what << ' ' << i;
    const long double allowed = std::max(width, PlaceTolerance);
    EXPECT_LE(std::fabs(found - truth), allowed)
        << what << ' ' << i << ": " << static_cast<double>(found) << " for "
        << static_cast<double>(truth) << ", width " << static_cast<double>(width);
}

class Studies : public testing::TestWithParam<TCase> {};

TEST_P(Studies, FindWhatTheClosedFormHasAndSayWhatTheyMiss) {
    const TCase& row = GetParam();
    const auto f = Function(row.Formula);
    if (row.Kind == TStudyKind::Area) {
        const kurvant::TArea area = kurvant::Integrate(*f, row.A, row.B);
        ASSERT_EQ(area.Outcome, row.Outcome);
        if (row.Outcome != TAreaOutcome::Ok && row.Outcome != TAreaOutcome::Inaccurate)
            return;
        // The estimate holds the truth within its error, and an exact one reaches the precision.
        const long double tolerance =
            row.Outcome == TAreaOutcome::Ok ? 1e-9L * std::max(1.0L, row.Absolute) : area.Error;
        EXPECT_LE(std::fabs(area.Integral - row.Integral), tolerance)
            << static_cast<double>(area.Integral) << " ± " << static_cast<double>(area.Error);
        if (row.Absolute >= 0) {
            EXPECT_LE(std::fabs(area.Absolute - row.Absolute), tolerance)
                << static_cast<double>(area.Absolute);
        }
        if (row.Outcome == TAreaOutcome::Ok) {
            EXPECT_LE(area.Error, 1e-9L * std::max(1.0L, row.Absolute));
        }
        return;
    }
    std::vector<kurvant::TExtremum> found;
    TGap gap = TGap::None;
    if (row.Kind == TStudyKind::Zeros) {
        const kurvant::TZeros zeros = kurvant::FindZeros(*f, row.A, row.B);
        for (const kurvant::TZero& z : zeros.Points)
            found.push_back({z.X, 0, false, z.Width});
        gap = GapOf(zeros.Gaps);
    } else {
        const kurvant::TExtrema extrema = kurvant::FindExtrema(*f, row.A, row.B);
        found = extrema.Points;
        gap = GapOf(extrema.Gaps);
    }
    EXPECT_EQ(gap, row.Gap);
    const bool listed = row.Nearest == nullptr;
    ASSERT_EQ(found.size(), listed ? row.Points.size() : row.Count);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const kurvant::TExtremum& e = found[i];
        const long double truth = listed ? row.Points[i].X : row.Nearest(e.X);
        ExpectPlace(row.Name, i, e.X, e.Width, truth);
        if (i > 0) {
            EXPECT_GT(e.X, found[i - 1].X) << i; // ascending, each once
        }
        if (row.Kind != TStudyKind::Extrema)
            continue;
        if (listed) {
            EXPECT_NEAR(static_cast<double>(e.Y), static_cast<double>(row.Points[i].Y), 1e-9) << i;
            EXPECT_EQ(e.Maximum, row.Points[i].Maximum) << i;
        } else {
            // The closed forms of the long lists are sine's peaks and valleys.
            EXPECT_NEAR(static_cast<double>(std::fabs(e.Y)), 1, 1e-12) << i;
            EXPECT_EQ(e.Maximum, e.Y > 0) << i;
        }
    }
}

constexpr long double SinOneOverXFromZero = 0.504067061906928371L; // sin(1) - Ci(1)

INSTANTIATE_TEST_SUITE_P(
    ClosedForms, Studies,
    testing::Values(
        // zeros
        TCase{"SinAtMultiplesOfPi",
              TStudyKind::Zeros,
              "sin(x)",
              -10,
              10,
              {{-3 * Pi}, {-2 * Pi}, {-Pi}, {0}, {Pi}, {2 * Pi}, {3 * Pi}}},
        TCase{"TgAtMultiplesOfPiNotAtItsPoles",
              TStudyKind::Zeros,
              "tg(x)",
              -4,
              4.1L,
              {{-Pi}, {0}, {Pi}}},
        TCase{"ReciprocalHasNone", TStudyKind::Zeros, "1/x", -1, 1, {}},
        TCase{"ReciprocalPoleBetweenSamples", TStudyKind::Zeros, "1/x", -1, 1.3L, {}},
        TCase{"SquareTouchesBetweenSamples", TStudyKind::Zeros, "x^2", -1, 1.3L, {{0}}},
        TCase{
            "SineSquaredTouches", TStudyKind::Zeros, "sin(x)^2", 1, 10, {{Pi}, {2 * Pi}, {3 * Pi}}},
        TCase{"NegativeTouchFromBelow", TStudyKind::Zeros, "-(x-0.7)^2", -1, 2.3L, {{0.7L}}},
        TCase{"JumpThroughZeroIsNone", TStudyKind::Zeros, "round(x)-0.5", 0.1L, 0.93L, {}},
        TCase{"CubicThree",
              TStudyKind::Zeros,
              "x^3-3x",
              -2.5L,
              2.6L,
              {{-std::sqrt(3.0L)}, {0}, {std::sqrt(3.0L)}}},
        TCase{"LogarithmAtOne", TStudyKind::Zeros, "ln(x)", 0.5L, 3, {{1}}},
        TCase{"ExponentAtLnTwo", TStudyKind::Zeros, "exp(x)-2", -1, 2, {{std::log(2.0L)}}},
        TCase{"RootWithItsDomainEdge", TStudyKind::Zeros, "sqrt(x)-1.5", -1, 5, {{2.25L}}},
        TCase{"Arcsine", TStudyKind::Zeros, "arcsin(x)-0.5", -1, 1, {{std::sin(0.5L)}}},
        TCase{"Composition",
              TStudyKind::Zeros,
              "sin(exp(x))",
              0,
              2,
              {{std::log(Pi)}, {std::log(2 * Pi)}}},
        TCase{"StretchOfZerosIsNone", TStudyKind::Zeros, "x-x", -1, 1, {}},
        TCase{"ZeroAtTheEnd", TStudyKind::Zeros, "x-1", 0, 1, {{1}}},
        TCase{"UndefinedEverywhere", TStudyKind::Zeros, "ln(-x^2-1)", -1, 1, {}},
        // A dip below zero between two positive samples is two zeros.
        TCase{"TwoCloseRoots",
              TStudyKind::Zeros,
              "(x-1)^2-0.00000001",
              -3,
              3,
              {{0.9999L}, {1.0001L}}},
        // A minimum above zero by less than the interval's scale but far more than its own.
        TCase{"NearMissIsNoTouch", TStudyKind::Zeros, "(x-1)^2+0.0000000000001", -3, 3, {}},
        TCase{"NearMissOnALongInterval", TStudyKind::Zeros, "(x-1)^2+0.0000001", -1000, 1000, {}},
        TCase{"FastButResolvedOscillation",
              TStudyKind::Zeros,
              "sin(1/x)",
              0.001L,
              0.002L,
              {},
              TGap::None,
              NearestReciprocalZero,
              159},
        // Near 0 its waves are narrower than the scan resolves: none of them reaches zero, but
        // the study cannot tell, and says so.
        TCase{"OscillationBeyondTheFloorIsSaid",
              TStudyKind::Zeros,
              "2+sin(1/x)",
              0.00001L,
              1,
              {},
              TGap::Unresolved},
        TCase{"TooManyZerosAreSaid",
              TStudyKind::Zeros,
              "sin(x)",
              -500000,
              500000,
              {},
              TGap::TooMany,
              NearestMultipleOfPi,
              kurvant::StudyRowCap},
        // extrema
        TCase{"CubicAtPlusMinusOne",
              TStudyKind::Extrema,
              "x^3-3x",
              -3,
              3.1L,
              {{-1, 2, true}, {1, -2, false}}},
        TCase{"ConstantHasNone", TStudyKind::Extrema, "5", -1, 1, {}},
        TCase{"EndsAreNone", TStudyKind::Extrema, "x^2", 1, 2, {}},
        TCase{"Cosine",
              TStudyKind::Extrema,
              "cos(x)",
              -1,
              7,
              {{0, 1, true}, {Pi, -1, false}, {2 * Pi, 1, true}}},
        TCase{"PoleIsNone", TStudyKind::Extrema, "1/x^2", -1, 1.3L, {}},
        TCase{"TangentsPolesAreNone", TStudyKind::Extrema, "tg(x)", -5, 5, {}},
        TCase{"Kink", TStudyKind::Extrema, "abs(x-0.3)", -1, 1, {{0.3L, 0, false}}},
        TCase{"ExponentTimesX", TStudyKind::Extrema, "x*exp(-x)", 0.2L, 5, {{1, 1 / E, true}}},
        TCase{"FlatBottomOfFourthPower",
              TStudyKind::Extrema,
              "(x-0.25)^4",
              -1,
              1.3L,
              {{0.25L, 0, false}}},
        TCase{"IdentityIsNone", TStudyKind::Extrema, "sin(x)^2+cos(x)^2", -3, 3, {}},
        TCase{"SteepQuadraticFarOut",
              TStudyKind::Extrema,
              "(x-1000.5)^2",
              990,
              1010,
              {{1000.5L, 0, false}}},
        TCase{"TooManyPeaksAreSaid",
              TStudyKind::Extrema,
              "sin(x)",
              -100000,
              100000,
              {},
              TGap::TooMany,
              NearestPeakOfSine,
              kurvant::StudyRowCap},
        // Far out the variable has fewer decimals: the width says how many are right.
        TCase{"PeaksFarOut",
              TStudyKind::Extrema,
              "sin(x)",
              499000,
              500000,
              {},
              TGap::None,
              NearestPeakOfSine,
              318},
        // integrals
        TCase{"SineOverHalfPeriod",
              TStudyKind::Area,
              "sin(x)",
              0,
              Pi,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Ok,
              2,
              2},
        TCase{"SineOverPeriodCancels",
              TStudyKind::Area,
              "sin(x)",
              0,
              2 * Pi,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Ok,
              0,
              4},
        TCase{"LogarithmOneToE",
              TStudyKind::Area,
              "ln(x)",
              1,
              E,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Ok,
              1,
              1},
        // The engine gives these no value within about 1e-5 of 0: that stretch is bridged, and
        // its share counts in the error.
        TCase{"LogarithmFromZero",
              TStudyKind::Area,
              "ln(x)",
              0,
              1,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Inaccurate,
              -1,
              1},
        TCase{"InverseRootFromZero",
              TStudyKind::Area,
              "1/sqrt(x)",
              0,
              1,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Inaccurate,
              2,
              2},
        TCase{"InverseRootAwayFromZero",
              TStudyKind::Area,
              "1/sqrt(x)",
              0.25L,
              4,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Ok,
              3,
              3},
        TCase{"Parabola",
              TStudyKind::Area,
              "x^2-1",
              -1,
              2,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Ok,
              0,
              8.0L / 3},
        TCase{"JumpsAddUp",
              TStudyKind::Area,
              "round(x)",
              0,
              2,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Ok,
              2,
              2},
        TCase{"ReciprocalDiverges",
              TStudyKind::Area,
              "1/x",
              -1,
              1,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Divergent},
        TCase{"ReciprocalPoleBetweenSamples",
              TStudyKind::Area,
              "1/x",
              -1,
              1.3L,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Divergent},
        TCase{"InverseSquareDiverges",
              TStudyKind::Area,
              "1/x^2",
              0,
              1,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Divergent},
        TCase{"TangentDiverges",
              TStudyKind::Area,
              "tg(x)",
              0,
              3,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Divergent},
        // Bounded, and too fast near its start for any quadrature: the best estimate holds the
        // truth within the error it gives.
        TCase{"BoundedOscillationIsNoDivergence",
              TStudyKind::Area,
              "sin(1/x)",
              0.000001L,
              1,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Inaccurate,
              SinOneOverXFromZero,
              -1},
        TCase{"RootUndefinedOnHalf",
              TStudyKind::Area,
              "sqrt(x)",
              -1,
              1,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Undefined},
        TCase{"LogarithmUndefinedOnHalf",
              TStudyKind::Area,
              "ln(x)",
              -1,
              1,
              {},
              TGap::None,
              nullptr,
              0,
              TAreaOutcome::Undefined}));

// ---- whatever the formula, what is listed holds -------------------------------------------------

// In a whole answer, a listed zero has the function change sign across it, just beyond its
// width, or it is zero there against the values beside it; a listed maximum (minimum) is no
// lower (higher) than the function a little way off on either side. Random formulas of the
// language, a fixed seed.
TEST(StudiesOfRandomFormulas, ListOnlyWhatHolds) {
    std::mt19937 random(31);
    TRandomFormula make(random);
    int zeros = 0;
    int extrema = 0;
    for (int n = 0; n < 60; ++n) {
        std::string prepared = make.Formula("x");
        kurvant::TFormulaContext context;
        if (!kurvant::PrepareFormula(prepared, "x", context))
            continue;
        const auto f = kurvant::FormulaFunction(prepared, 'x', context);
        const auto beside = [](long double x, long double width) {
            return std::max(100 * width, 1e-7L * std::max(1.0L, std::fabs(x)));
        };
        // Where the scan could not resolve the function (sec of x^(x+6.7) changes sign between
        // neighbouring numbers), the study says so, and its points there are as sure as the
        // digits allow; the checks below are for the whole answers.
        const kurvant::TZeros found = kurvant::FindZeros(*f, -10, 10);
        for (const kurvant::TZero& z :
             found.Gaps.Complete() ? found.Points : std::vector<kurvant::TZero>{}) {
            ++zeros;
            // A sign change within the zero's width (a pole may lie just beyond it), or a touch
            // below the values a little way off.
            const long double d = 1.1L * z.Width + 4 * kurvant::VariableQuantum(z.X);
            const auto left = f->At(z.X - d);
            const auto right = f->At(z.X + d);
            const auto at = f->At(z.X);
            const bool crosses = left && right && (*left < 0) != (*right < 0);
            const long double off = beside(z.X, z.Width);
            const auto farLeft = f->At(z.X - off);
            const auto farRight = f->At(z.X + off);
            const bool touches =
                at && farLeft && farRight &&
                std::fabs(*at) <= 1e-9L * std::max(std::fabs(*farLeft), std::fabs(*farRight));
            EXPECT_TRUE(crosses || touches || (at && *at == 0))
                << prepared << " has no zero at " << static_cast<double>(z.X);
        }
        // Nothing is missing: where a dense sampling of its own sees the function cross zero, a
        // zero is listed in between.
        if (found.Gaps.Complete()) {
            constexpr int Dense = 20000;
            std::vector<std::optional<long double>> v(Dense + 1);
            for (int i = 0; i <= Dense; ++i)
                v[i] = f->At(-10 + 20.0L * i / Dense);
            for (int i = 1; i + 2 <= Dense; ++i) {
                if (!v[i - 1] || !v[i] || !v[i + 1] || !v[i + 2] || *v[i] == 0 || *v[i + 1] == 0 ||
                    (*v[i] < 0) == (*v[i + 1] < 0))
                    continue;
                // Through zero the magnitudes fall towards the crossing, through a pole they grow;
                // a jump (round) is a step well beyond those beside it.
                if (std::fabs(*v[i]) > std::fabs(*v[i - 1]) ||
                    std::fabs(*v[i + 1]) > std::fabs(*v[i + 2]) ||
                    std::fabs(*v[i + 1] - *v[i]) > 3 * std::max(std::fabs(*v[i] - *v[i - 1]),
                                                                std::fabs(*v[i + 2] - *v[i + 1])))
                    continue;
                const long double lo = -10 + 20.0L * i / Dense;
                const long double hi = -10 + 20.0L * (i + 1) / Dense;
                EXPECT_TRUE(
                    std::any_of(found.Points.begin(), found.Points.end(),
                                [&](const kurvant::TZero& z) { return z.X >= lo && z.X <= hi; }))
                    << prepared << " misses the zero in [" << static_cast<double>(lo) << ", "
                    << static_cast<double>(hi) << "]";
            }
        }
        const kurvant::TExtrema peaks = kurvant::FindExtrema(*f, -10, 10);
        for (const kurvant::TExtremum& e :
             peaks.Gaps.Complete() ? peaks.Points : std::vector<kurvant::TExtremum>{}) {
            ++extrema;
            const long double d = beside(e.X, e.Width);
            const auto left = f->At(e.X - d);
            const auto right = f->At(e.X + d);
            ASSERT_TRUE(left && right) << prepared << " at " << static_cast<double>(e.X);
            const long double sign = e.Maximum ? 1 : -1;
            const long double tolerance = kurvant::ValueTolerance(e.Y);
            EXPECT_GE(sign * (e.Y - *left), -tolerance)
                << prepared << " has no extremum at " << static_cast<double>(e.X);
            EXPECT_GE(sign * (e.Y - *right), -tolerance)
                << prepared << " has no extremum at " << static_cast<double>(e.X);
        }
    }
    // The seed gives formulas with something to find.
    EXPECT_GT(zeros, 20);
    EXPECT_GT(extrema, 20);
}

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
    const char* Note = ""; // what the study says it left out
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
    EXPECT_EQ(study.Note, row.Note);
    if (study.Message) {
        EXPECT_EQ(study.Message->Information, row.Information);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StudyGrid,
    testing::Values(
        TStudyRow{"ZerosOfSineInT",
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
        TStudyRow{
            "IntersectionsWithTheCommonValue",
            TStudyKind::Intersections,
            "x^2",
            "x+2",
            "x",
            "-3",
            "3",
            {{"x", "f(x)"}, {"-1,0000000000", "1,0000000000"}, {"2,0000000000", "4,0000000000"}},
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
        // Digits the refinement cannot vouch for are not printed: far from 0 the
        // variable has fewer decimals, and an estimate as many as its error allows.
        TStudyRow{"FewerDecimalsFarOut",
                  TStudyKind::Zeros,
                  "x-123456,789",
                  "",
                  "x",
                  "123000",
                  "124000",
                  {{"x"}, {"123 456,78900000"}},
                  "",
                  false},
        TStudyRow{"EstimateWithItsError",
                  TStudyKind::Area,
                  "1/sqrt(x)",
                  "",
                  "x",
                  "0",
                  "1",
                  {{"интеграл", "площадь", "погрешность"}, {"2,0000", "2,0000", "0,0000200000"}},
                  "",
                  false,
                  "Интеграл не удаётся вычислить\n\rс нужной точностью:\n\rоценка "
                  "2,0000, погрешность до 0,0000200000"},
        TStudyRow{
            "TwoCloseIntersections",
            TStudyKind::Intersections,
            "(x-1)^2",
            "0,00000001",
            "x",
            "-3",
            "3",
            {{"x", "f(x)"}, {"0,9999000000", "0,0000000100"}, {"1,0001000000", "0,0000000100"}},
            "",
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
