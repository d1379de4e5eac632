// Sampling by the formulas' programs against sampling by the rewriting of their texts: every
// kind, generated formulas, intervals clipped or not, one step or many, both separators. The
// points and bounds must be the same to the last bit.

#include "graph_helpers.h"

#include "formula_generator.h"

#include "graphs/sampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace graphs_test {
namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SamePoints(const TGraphic& a, const TGraphic& b, std::string& difference) {
    if (a.Points.size() != b.Points.size()) {
        difference = "point counts differ";
        return false;
    }
    for (std::size_t i = 0; i < a.Points.size(); ++i) {
        const TPoint3D& p = a.Points[i];
        const TPoint3D& q = b.Points[i];
        if (!SameBits(p.x, q.x) || !SameBits(p.y, q.y) || !SameBits(p.z, q.z)) {
            difference = "point " + std::to_string(i);
            return false;
        }
    }
    if (a.Breaks != b.Breaks) {
        difference = "breaks";
        return false;
    }
    const double bounds[][2] = {{a.BoundMinX, b.BoundMinX}, {a.BoundMaxX, b.BoundMaxX},
                                {a.BoundMinY, b.BoundMinY}, {a.BoundMaxY, b.BoundMaxY},
                                {a.BoundMinZ, b.BoundMinZ}, {a.BoundMaxZ, b.BoundMaxZ}};
    for (const auto& pair : bounds) {
        if (!SameBits(pair[0], pair[1])) {
            difference = "bounds";
            return false;
        }
    }
    return true;
}

// Samples `g` both ways; false with a description when they differ. Counts defined points.
bool SamplesAlike(const TGraphic& g, const TSettings& settings, char separator,
                  std::size_t& defined, std::string& difference) {
    kurvant::TFormulaContext text = Context(separator);
    text.Evaluator = kurvant::TEvaluator::Text;
    kurvant::TFormulaContext program = Context(separator);
    program.Evaluator = kurvant::TEvaluator::Program;
    TGraphic byText = g;
    TGraphic byProgram = g;
    Fill_Pixels_Graphic(byText, settings, text);
    Fill_Pixels_Graphic(byProgram, settings, program);
    for (const TPoint3D& p : byText.Points) {
        defined += p.x != UndefinedValue && p.y != UndefinedValue && p.z != UndefinedValue;
    }
    if (!SamePoints(byText, byProgram, difference)) {
        difference += " of '" + g.FormulaPrepared + "' kind " + std::to_string(g.Kind);
        return false;
    }
    return true;
}

TEST(SamplingEvaluators, ProgramSamplesAsTheRewritingForEveryKind) {
    kurvant::testing::TFormulaGenerator generator(4242);
    static constexpr const char* Letters[] = {"xx", "yy", "qq", "uu", "xy", "qa"};
    std::size_t points = 0;
    std::size_t defined = 0;
    for (int round = 0; round < 420; ++round) {
        const int kind = round % 6;
        const char separator = generator.Separator();
        const double lo = generator.Below(21) - 10;
        const double hi = generator.Chance(6) ? lo - 3 : lo + 1 + generator.Below(15);
        const bool surface = kind == KindSurface || kind == KindSpherical;
        const int steps1 = generator.Chance(10) ? 1 : 2 + generator.Below(surface ? 30 : 200);
        const int steps2 = generator.Chance(10) ? 1 : 2 + generator.Below(30);
        TGraphic g = MakeGraph(kind, generator.Typed(Letters[kind]), lo, hi, steps1, -hi, -lo,
                               steps2, generator.Typed("uu"), separator);
        TSettings settings = DefaultSettings();
        if (generator.Chance(3)) {
            settings.MinX = -2.5;
            settings.MaxY = 3.75;
        }
        std::string difference;
        ASSERT_TRUE(SamplesAlike(g, settings, separator, defined, difference)) << difference;
        points += surface ? static_cast<std::size_t>(steps1) * static_cast<std::size_t>(steps2)
                          : static_cast<std::size_t>(steps1);
    }
    // Enough points, defined and not, went through both.
    EXPECT_GT(points, 40000u);
    EXPECT_GT(defined, points / 4);
    EXPECT_LT(defined, points);
}

// The surfaces of the speed comparison, at the dialog's largest grid.
TEST(SamplingEvaluators, LargestSurfacesSampleAsTheRewriting) {
    for (const char* formula : {"sin(x)*cos(y)", "sqrt(1-x^2-y^2)", "ln(abs(x*y)+1)/(1+x^2)"}) {
        const TGraphic g = MakeGraph(KindSurface, formula, -1, 1, 200, -1, 1, 200);
        std::size_t defined = 0;
        std::string difference;
        EXPECT_TRUE(SamplesAlike(g, DefaultSettings(), ',', defined, difference)) << difference;
        EXPECT_GT(defined, 20000u) << formula;
    }
}

} // namespace
} // namespace graphs_test
