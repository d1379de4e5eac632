// Each study of the function study dialog over [-10, 10], as "Найти" runs it (the checks, the
// formulas prepared, the scan, the refinement and the grid's texts), on a few typical formulas. A
// study slower than 0.2 s shows the hourglass; none may take 2 s.

#include "analysis/function_study.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void Run(benchmark::State& state, kurvant::TStudyKind kind, const std::string& formula,
         const std::string& formula2) {
    // Copied from strings: assigning the literals trips a false -Wrestrict of GCC 12.
    static const std::string Letter = "x";
    static const std::string Start = "-10";
    static const std::string End = "10";
    kurvant::TStudyRequest request;
    request.Kind = kind;
    request.First.Formula = formula;
    request.Second.Formula = formula2;
    request.Variable = Letter;
    request.Min = Start;
    request.Max = End;
    const kurvant::TFormulaContext context;
    std::size_t rows = 0;
    for (auto _ : state) {
        const kurvant::TStudy study = kurvant::Study(request, "", context);
        rows = study.Rows.size();
        benchmark::DoNotOptimize(study.Rows.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

struct TCase {
    const char* Name;
    kurvant::TStudyKind Kind;
    const char* Formula;
    const char* Formula2;
};

const TCase Cases[] = {
    {"zeros/sin(x)", kurvant::TStudyKind::Zeros, "sin(x)", ""},
    {"zeros/tg(x)", kurvant::TStudyKind::Zeros, "tg(x)", ""},
    {"zeros/x^3-3x", kurvant::TStudyKind::Zeros, "x^3-3x", ""},
    {"zeros/sin(x)^2", kurvant::TStudyKind::Zeros, "sin(x)^2", ""},
    {"zeros/exp(-x^2)*cos(3x)", kurvant::TStudyKind::Zeros, "exp(-x^2/10)*cos(3x)", ""},
    {"extrema/sin(x)", kurvant::TStudyKind::Extrema, "sin(x)", ""},
    {"extrema/x^3-3x", kurvant::TStudyKind::Extrema, "x^3-3x", ""},
    {"extrema/exp(-x^2)*cos(3x)", kurvant::TStudyKind::Extrema, "exp(-x^2/10)*cos(3x)", ""},
    {"intersect/sin(x),cos(x)", kurvant::TStudyKind::Intersections, "sin(x)", "cos(x)"},
    {"intersect/x^2/10,sqrt(abs(x))", kurvant::TStudyKind::Intersections, "x^2/10", "sqrt(abs(x))"},
    {"area/sin(x)", kurvant::TStudyKind::Area, "sin(x)", ""},
    {"area/x^3-3x", kurvant::TStudyKind::Area, "x^3-3x", ""},
    {"area/exp(-x^2)*cos(3x)", kurvant::TStudyKind::Area, "exp(-x^2/10)*cos(3x)", ""},
    {"area/1/x (diverges)", kurvant::TStudyKind::Area, "1/x", ""},
};

[[maybe_unused]] const bool Registered = [] {
    for (const TCase& c : Cases) {
        benchmark::RegisterBenchmark(c.Name, Run, c.Kind, std::string(c.Formula),
                                     std::string(c.Formula2))
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
