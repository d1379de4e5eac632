// Preparation of a long text, one evaluation of a typical formula, and surfaces sampled the way
// the graph sampling does it: a 200 x 200 grid over -1..1, x and y advanced by repeated addition,
// y substituted once per row.

#include "formula/evaluate.h"
#include "formula/prepare.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace kurvant;

void BM_PrepareLongText(benchmark::State& state) {
    const std::string piece = "2x^2 - 3.5x + sin(2x)|x - 1|:(x+1)(x-1) + pi x ";
    std::string typed;
    while (typed.size() < 100000) {
        typed += piece;
    }
    typed.resize(100000);
    TFormulaContext context;
    for (auto _ : state) {
        std::string formula = typed;
        const bool prepared = PrepareFormula(formula, "x", context);
        benchmark::DoNotOptimize(prepared);
        benchmark::DoNotOptimize(formula.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 100000);
}
BENCHMARK(BM_PrepareLongText)->Unit(benchmark::kMillisecond);

void BM_EvaluateTypical(benchmark::State& state) {
    TFormulaContext context;
    std::string prepared = "2x^2 - 3.5x + sin(2x)";
    if (!PrepareFormula(prepared, "x", context)) {
        state.SkipWithError("not prepared");
        return;
    }
    long double x = 0.25L;
    for (auto _ : state) {
        long double value = 0;
        const EvalResult result =
            EvaluateFormula(SubstituteVariable(prepared, 'x', x, context), value, context);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(value);
        x += 0.001L;
    }
}
BENCHMARK(BM_EvaluateTypical)->Unit(benchmark::kMicrosecond);

void BM_SurfaceGrid(benchmark::State& state, const char* typed) {
    constexpr int kPoints = 200;
    constexpr long double kLow = -1;
    constexpr long double kStep = 2.0L / (kPoints - 1);
    TFormulaContext context;
    std::string prepared = typed;
    if (!PrepareFormula(prepared, "xy", context)) {
        state.SkipWithError("not prepared");
        return;
    }
    for (auto _ : state) {
        int defined = 0;
        long double y = kLow;
        for (int row = 0; row < kPoints; ++row, y += kStep) {
            const std::string withY = SubstituteVariable(prepared, 'y', y, context);
            long double x = kLow;
            for (int column = 0; column < kPoints; ++column, x += kStep) {
                long double value = 0;
                if (EvaluateFormula(SubstituteVariable(withY, 'x', x, context), value, context) ==
                    EvalOk) {
                    ++defined;
                }
                benchmark::DoNotOptimize(value);
            }
        }
        benchmark::DoNotOptimize(defined);
    }
}
BENCHMARK_CAPTURE(BM_SurfaceGrid, sin_cos, "sin(x)*cos(y)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SurfaceGrid, paraboloid, "x^2+y^2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SurfaceGrid, sphere, "sqrt(1-x^2-y^2)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SurfaceGrid, gauss, "exp(-(x^2+y^2))*cos(3x)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SurfaceGrid, log_ratio, "ln(abs(x*y)+1)/(1+x^2)")
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
