// Sampling at the dialog's limits: a 200 x 200 surface and a 10000-point curve, each with the
// default settings (-10..10 on every axis), through Fill_Pixels_Graphic as the program calls it.
// Then formulas of 64 KB, sums of sines, valid and ending in a syntax error ("+@"), the steps
// given as the argument; the preparation and the building of the program are timed with them.

#include "formula/prepare.h"
#include "graphs/sampling.h"
#include "settings/settings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

TGraphic Prepared(int kind, const std::string& formula, int steps1, int steps2) {
    kurvant::TFormulaContext context;
    TGraphic g;
    g.Kind = static_cast<std::uint8_t>(kind);
    g.Variable = KindVariable(kind);
    g.Formula = formula;
    g.FormulaPrepared = formula;
    (void)kurvant::PrepareFormula(g.FormulaPrepared, KindVariableSet(kind), context);
    g.MinX = g.MinY = -10;
    g.MaxX = g.MaxY = 10;
    g.StepsX = steps1;
    g.StepsY = steps2;
    return g;
}

void Run(benchmark::State& state, TGraphic g, std::int64_t points) {
    TSettings settings;
    Settings_Default(settings);
    const kurvant::TFormulaContext context;
    for (auto _ : state) {
        Fill_Pixels_Graphic(g, settings, context);
        benchmark::DoNotOptimize(g.Points.data());
    }
    state.SetItemsProcessed(state.iterations() * points);
}

void BM_Surface200x200(benchmark::State& state) {
    Run(state, Prepared(KindSurface, "sin(x)*cos(y) + x^2/50 - y/3", 200, 200), 200 * 200);
}
BENCHMARK(BM_Surface200x200)->Unit(benchmark::kMillisecond);

void BM_Curve10000(benchmark::State& state) {
    Run(state, Prepared(KindYofX, "2x^2 - 3.5x + sin(2x)", 10000, 50), 10000);
}
BENCHMARK(BM_Curve10000)->Unit(benchmark::kMillisecond);

// Curves whose segments are examined between their samples: poles, jumps, steep pieces.
void BM_CurveDiscontinuous10000(benchmark::State& state, const char* formula) {
    Run(state, Prepared(KindYofX, formula, 10000, 50), 10000);
}
BENCHMARK_CAPTURE(BM_CurveDiscontinuous10000, tg, "tg(x)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CurveDiscontinuous10000, round, "round(3x)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CurveDiscontinuous10000, arctg, "arctg(50x)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CurveDiscontinuous10000, sin50, "sin(50x)")->Unit(benchmark::kMillisecond);

// The dialog's default: 500 points.
void BM_Curve500(benchmark::State& state, const char* formula) {
    Run(state, Prepared(KindYofX, formula, 500, 50), 500);
}
BENCHMARK_CAPTURE(BM_Curve500, sin, "sin(x)")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Curve500, tg, "tg(x)")->Unit(benchmark::kMicrosecond);

void BM_Spherical200x200(benchmark::State& state) {
    TGraphic g = Prepared(KindSpherical, "1 + 0.3sin(3q)sin(2a)", 200, 200);
    g.MinX = 0, g.MaxX = 2, g.MinY = 0, g.MaxY = 1;
    Run(state, g, 200 * 200);
}
BENCHMARK(BM_Spherical200x200)->Unit(benchmark::kMillisecond);

// "sin(1*x)+sin(2*x)+..." up to 64 KB, then `last`.
std::string LongSum(const char* term, const char* last) {
    std::string text;
    char piece[64];
    for (int i = 1; text.size() < 65000; ++i) {
        std::snprintf(piece, sizeof piece, term, i);
        if (i > 1) {
            text += '+';
        }
        text += piece;
    }
    return text + last;
}

void RunLong(benchmark::State& state, int kind, const std::string& formula) {
    const int steps = static_cast<int>(state.range(0));
    const std::int64_t points = kind == KindSurface ? std::int64_t{steps} * steps : steps;
    TSettings settings;
    Settings_Default(settings);
    const kurvant::TFormulaContext context;
    std::size_t defined = 0;
    for (auto _ : state) {
        TGraphic g = Prepared(kind, formula, steps, steps);
        Fill_Pixels_Graphic(g, settings, context);
        defined = 0;
        for (const TPoint3D& p : g.Points) {
            defined += (kind == KindSurface ? p.z : p.y) != UndefinedValue;
        }
    }
    state.SetItemsProcessed(state.iterations() * points);
    state.counters["defined"] = static_cast<double>(defined);
}

void BM_LongSumCurve(benchmark::State& state) {
    RunLong(state, KindYofX, LongSum("sin(%d*x)", ""));
}
BENCHMARK(BM_LongSumCurve)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LongSumSurface(benchmark::State& state) {
    RunLong(state, KindSurface, LongSum("sin(%d*x*y)", ""));
}
BENCHMARK(BM_LongSumSurface)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LongSumCurveSyntaxError(benchmark::State& state) {
    RunLong(state, KindYofX, LongSum("sin(%d*x)", "+@"));
}
BENCHMARK(BM_LongSumCurveSyntaxError)
    ->Arg(10)
    ->Arg(10000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_LongSumSurfaceSyntaxError(benchmark::State& state) {
    RunLong(state, KindSurface, LongSum("sin(%d*x*y)", "+@"));
}
BENCHMARK(BM_LongSumSurfaceSyntaxError)
    ->Arg(3)
    ->Arg(200)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
