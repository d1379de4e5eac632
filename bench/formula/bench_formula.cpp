// Preparation of a long text, one evaluation of a typical formula, and surfaces sampled the way
// the graph sampling does it: a 200 x 200 grid over -1..1, x and y advanced by repeated addition,
// y substituted once per row. The grids are taken three ways: by the rewriting of the text (the
// reference), by the formula's program, and by muparser in double precision as a yardstick. After
// the table, each grid's time by the text and by the program is given as a ratio to muparser's in
// the same run:
//   build/bin/bench_formula --benchmark_filter='Program|MuParser'
// and on a busy machine, where the fastest of five repetitions of each counts:
//   build/bin/bench_formula --benchmark_filter='Program|MuParser' --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true

#include "ratio_reporter.h"

#include "formula/batch_evaluation.h"
#include "formula/evaluate.h"
#include "formula/prepare.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <string>
#include <vector>

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
constexpr int GridSide = 200;

// -1 .. 1 in 200 points by repeated addition of the step, as sampling walks an axis.
std::vector<long double> Axis() {
    std::vector<long double> values(GridSide);
    const double step = 2.0 / (GridSide - 1);
    double v = -1;
    for (long double& value : values) {
        value = v;
        v = v + step;
    }
    return values;
}

// The program of the formula over the grid, as sampling takes a surface: y per row, x per column.
void BM_ProgramGrid(benchmark::State& state, const char* typed, const char*) {
    TFormulaContext context;
    std::string prepared = typed;
    if (!PrepareFormula(prepared, "xy", context)) {
        state.SkipWithError("not prepared");
        return;
    }
    const std::vector<long double> axis = Axis();
    std::vector<TSample> samples(axis.size() * axis.size());
    for (auto _ : state) {
        const TCompiledFormula formula(prepared, "yx", context);
        EvaluateGrid(formula, axis, axis, samples, TEvaluator::Program);
        benchmark::DoNotOptimize(samples.data());
    }
    if (TCompiledFormula(prepared, "yx", context).Program() == nullptr) {
        state.SkipWithError("no program: the grid went through the text");
    }
}

// The yardstick: muparser's bytecode in double precision over the same grid.
void BM_MuParserGrid(benchmark::State& state, const char*, const char* expression) {
    double x = 0;
    double y = 0;
    mu::Parser parser;
    try {
        parser.DefineVar("x", &x);
        parser.DefineVar("y", &y);
        parser.SetExpr(expression);
        parser.Eval();
    } catch (const mu::Parser::exception_type& e) {
        state.SkipWithError(e.GetMsg().c_str());
        return;
    }
    const std::vector<long double> axis = Axis();
    std::vector<double> values(axis.size() * axis.size());
    for (auto _ : state) {
        std::size_t k = 0;
        for (const long double row : axis) {
            y = static_cast<double>(row);
            for (const long double column : axis) {
                x = static_cast<double>(column);
                values[k++] = parser.Eval();
            }
        }
        benchmark::DoNotOptimize(values.data());
    }
}

// The five surfaces of the comparison: as typed here, and as muparser spells them.
#define KURVANT_GRID(name, typed, spelt)                                                           \
    BENCHMARK_CAPTURE(BM_SurfaceGrid, name, typed)                                                 \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->ComputeStatistics("min", TRatioReporter::Fastest);                                       \
    BENCHMARK_CAPTURE(BM_ProgramGrid, name, typed, spelt)                                          \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()                                                                            \
        ->ComputeStatistics("min", TRatioReporter::Fastest);                                       \
    BENCHMARK_CAPTURE(BM_MuParserGrid, name, typed, spelt)                                         \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()                                                                            \
        ->ComputeStatistics("min", TRatioReporter::Fastest)

KURVANT_GRID(sin_cos, "sin(x)*cos(y)", "sin(x)*cos(y)");
KURVANT_GRID(paraboloid, "x^2+y^2", "x^2+y^2");
KURVANT_GRID(sphere, "sqrt(1-x^2-y^2)", "sqrt(1-x^2-y^2)");
KURVANT_GRID(gauss, "exp(-(x^2+y^2))*cos(3x)", "exp(-(x^2+y^2))*cos(3*x)");
KURVANT_GRID(log_ratio, "ln(abs(x*y)+1)/(1+x^2)", "ln(abs(x*y)+1)/(1+x^2)");

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    TRatioReporter reporter({"BM_SurfaceGrid", "BM_ProgramGrid"}, "BM_MuParserGrid");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
