// Each study of the function study dialog, as "Найти" runs it (the checks, the formulas prepared,
// the scan, the refinement and the grid's texts): over [-10, 10] on typical formulas, none of
// which may take 2 s, and on the hard cases a study must answer rightly or say what it left out
// (close roots, near misses, many zeros far out, poles, a bounded oscillation, a formula of 6,500
// terms, which must end within 15 s).

#include "analysis/function_study.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void Run(benchmark::State& state, kurvant::TStudyKind kind, const std::string& formula,
         const std::string& formula2, const std::string& start, const std::string& end) {
    // Copied from strings: assigning the literals trips a false -Wrestrict of GCC 12.
    static const std::string Letter = "x";
    kurvant::TStudyRequest request;
    request.Kind = kind;
    request.First.Formula = formula;
    request.Second.Formula = formula2;
    request.Variable = Letter;
    request.Min = start;
    request.Max = end;
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
    const char* Start = "-10";
    const char* End = "10";
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
    {"hard/zeros/(x-1)^2-1e-8", kurvant::TStudyKind::Zeros, "(x-1)^2-0.00000001", "", "-3", "3"},
    {"hard/zeros/(x-1)^2+1e-13", kurvant::TStudyKind::Zeros, "(x-1)^2+0.0000000000001", "", "-3",
     "3"},
    {"hard/zeros/(x-1)^2+1e-7 over 2000", kurvant::TStudyKind::Zeros, "(x-1)^2+0.0000001", "",
     "-1000", "1000"},
    {"hard/zeros/sin(x) over 1e6", kurvant::TStudyKind::Zeros, "sin(x)", "", "-500000", "500000"},
    {"hard/extrema/sin(x) over 2e5", kurvant::TStudyKind::Extrema, "sin(x)", "", "-100000",
     "100000"},
    {"hard/extrema/tg(x)", kurvant::TStudyKind::Extrema, "tg(x)", "", "-5", "5"},
    {"hard/area/sin(1/x)", kurvant::TStudyKind::Area, "sin(1/x)", "", "0.000001", "1"},
    {"hard/zeros/sin(1/x)", kurvant::TStudyKind::Zeros, "sin(1/x)", "", "-10", "10"},
};

// The formula of 6,500 terms sin(k·x), k = 1 ... 9 in turn (58 KB).
std::string LongFormula() {
    std::string text;
    for (int k = 0; k < 6500; ++k) {
        if (k > 0)
            text += '+';
        text += "sin(" + std::to_string(k % 9 + 1) + "*x)";
    }
    return text;
}

[[maybe_unused]] const bool Registered = [] {
    for (const TCase& c : Cases) {
        benchmark::RegisterBenchmark(c.Name, Run, c.Kind, std::string(c.Formula),
                                     std::string(c.Formula2), std::string(c.Start),
                                     std::string(c.End))
            ->Unit(benchmark::kMillisecond);
    }
    for (const auto& [name, kind] :
         {std::pair("long/zeros/6500 terms", kurvant::TStudyKind::Zeros),
          std::pair("long/extrema/6500 terms", kurvant::TStudyKind::Extrema),
          std::pair("long/area/6500 terms", kurvant::TStudyKind::Area)}) {
        benchmark::RegisterBenchmark(name, Run, kind, LongFormula(), std::string(),
                                     std::string("-10"), std::string("10"))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
