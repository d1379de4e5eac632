// Opening documents at the largest sizes the dialogs allow: 100 formula graphs of every kind
// (curves of 10000 points, surfaces of 200 x 200) read and sampled, by the formulas' programs
// and once by the rewriting of their texts (the reference, slow); 100 tables of 5000 points
// read; and the same documents saved.

#include "documents/document_file.h"
#include "settings/settings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

constexpr int GraphsInDocument = 100;
constexpr int TableRows = 5000;

TGraphic FormulaGraph(int kind) {
    static const char* formulas[] = {"sin(x)*x^2-3x", "y^3-2y+1",       "1+cos(3q)",
                                     "cos(u)*(1+u)",  "sin(x*y)-x^2+y", "2+sin(2q)*cos(a)"};
    TGraphic g;
    g.Kind = static_cast<std::uint8_t>(kind);
    g.Formula = formulas[kind];
    g.Formula2 = kind == KindParametric ? "sin(u)*(1+u)" : "";
    const bool surface = kind == KindSurface || kind == KindSpherical;
    g.StepsX = surface ? MaxSurfaceSteps : MaxCurveSteps;
    g.StepsY = surface ? MaxSurfaceSteps : MaxCurveSteps;
    g.MinX = g.MinY = kind == KindPolar || kind == KindSpherical ? 0 : -10;
    g.MaxX = g.MaxY = kind == KindPolar || kind == KindSpherical ? 2 : 10;
    g.LineWidth = 1;
    g.LineWidthIndex = 2;
    return g;
}

TGraphic TableGraph(int seed) {
    TGraphic g;
    g.Kind = KindTable;
    for (int i = 0; i < TableRows; ++i) {
        g.Points.push_back({i * 0.001 - 2.5, (i * 7 + seed) % 1999 * 0.5 - 499.75, seed * 0.125});
    }
    return g;
}

// Writes a document to a file that lives as long as the program.
class TDocumentOnDisk {
public:
    explicit TDocumentOnDisk(bool tables) {
        char name[] = "/tmp/kurvant-bench-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            close(fd);
        }
        Path = name;
        TDocument document;
        document.View.ScaleX = 0.1;
        for (int i = 0; i < GraphsInDocument; ++i) {
            document.Add(tables ? TableGraph(i) : FormulaGraph(i % 6));
            document.SetVisible(i, i < MaxTickedGraphs);
        }
        std::string message;
        Ok = Saving_File(document, Path, '.', message);
    }
    ~TDocumentOnDisk() { std::remove(Path.c_str()); }
    TDocumentOnDisk(const TDocumentOnDisk&) = delete;
    TDocumentOnDisk& operator=(const TDocumentOnDisk&) = delete;
    std::string Path;
    bool Ok = false;
};

void Open(benchmark::State& state, const TDocumentOnDisk& file,
          kurvant::TEvaluator evaluator = kurvant::TEvaluator::Program) {
    if (!file.Ok) {
        state.SkipWithError("the document could not be written");
        return;
    }
    TSettings settings;
    Settings_Default(settings);
    kurvant::TFormulaContext context;
    context.Evaluator = evaluator;
    std::size_t points = 0;
    for (auto _ : state) {
        TDocument document;
        if (ReadDocumentFile(file.Path, document, settings, context) != TDocumentRead::Ok) {
            state.SkipWithError("the document did not open");
            return;
        }
        points = 0;
        for (int i = 0; i < document.GraphCount(); ++i) {
            points += document.Graph(i).Points.size();
        }
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}

void BM_OpenFormulaDocumentWithSampling(benchmark::State& state) {
    static const TDocumentOnDisk file(false);
    Open(state, file);
}
BENCHMARK(BM_OpenFormulaDocumentWithSampling)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

void BM_OpenFormulaDocumentSampledByText(benchmark::State& state) {
    static const TDocumentOnDisk file(false);
    Open(state, file, kurvant::TEvaluator::Text);
}
BENCHMARK(BM_OpenFormulaDocumentSampledByText)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(1);

void BM_OpenTableDocument(benchmark::State& state) {
    static const TDocumentOnDisk file(true);
    Open(state, file);
}
BENCHMARK(BM_OpenTableDocument)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SaveTableDocument(benchmark::State& state) {
    static const TDocumentOnDisk file(true);
    TSettings settings;
    Settings_Default(settings);
    TDocument document;
    if (!file.Ok || ReadDocumentFile(file.Path, document, settings, {}) != TDocumentRead::Ok) {
        state.SkipWithError("the document did not open");
        return;
    }
    const std::string target = file.Path + ".saved";
    for (auto _ : state) {
        std::string message;
        benchmark::DoNotOptimize(Saving_File(document, target, '.', message));
    }
    std::remove(target.c_str());
}
BENCHMARK(BM_SaveTableDocument)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
