// kurvant-cli render of a one-surface document (sin(x)*cos(y), 200 x 200 over -10..10) to an
// 800 x 600 PNG (and to BMP, PDF and SVG, with the files' sizes), timed as a whole process,
// start-up and exit included; and, when gnuplot is on the PATH, gnuplot's splot of the same grid to
// a PNG of the same size, as a yardstick (gnuplot is no dependency of the project: without it that
// benchmark is skipped). The ratio of the two in the same run is printed after the table:
//   build/bin/bench_render --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs the shell command and waits for it; its exit status.
int Run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class TWorkDir {
public:
    TWorkDir() {
        char name[] = "/tmp/kurvant-bench-render-XXXXXX";
        Path = mkdtemp(name) ? name : "/tmp";
        // The document as kurvant-cli reads it: view, one Z(X,Y) graph.
        std::ofstream(Path + "/surface.qel") << "@#^%$*/-Kurvant1\n"
                                                "0.1 0 0 -60 0 30\n"
                                                "1\n"
                                                "4\n"
                                                "sin(x)*cos(y)\n"
                                                "-10 10 200 -10 10 200 1\n"
                                                "clBlue\n"
                                                "0\n0\n0\n1\n2\n";
        std::ofstream(Path + "/splot.gp") << "set terminal png size 800,600\n"
                                             "set output '"
                                          << Path
                                          << "/gnuplot.png'\n"
                                             "set isosamples 200,200\n"
                                             "set samples 200,200\n"
                                             "set xrange [-10:10]\n"
                                             "set yrange [-10:10]\n"
                                             "splot sin(x)*cos(y)\n";
    }
    ~TWorkDir() { Run("rm -rf '" + Path + "'"); }
    TWorkDir(const TWorkDir&) = delete;
    TWorkDir& operator=(const TWorkDir&) = delete;
    std::string Path;
};

const TWorkDir& Work() {
    static const TWorkDir dir;
    return dir;
}

void TimeProcess(benchmark::State& state, const std::string& command) {
    if (Run(command) != 0) {
        state.SkipWithError(("failed: " + command).c_str());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(Run(command));
    }
}

void BM_KurvantRender(benchmark::State& state) {
    TimeProcess(state, "env -u DISPLAY '" + std::string(KURVANT_CLI_PATH) + "' render '" +
                           Work().Path + "/surface.qel' -o '" + Work().Path + "/kurvant.png'");
}
BENCHMARK(BM_KurvantRender)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same surface (80,000 mesh segments) as a BMP and as the vector pictures; the PDF's size is
// reported beside its time.
void RenderTo(benchmark::State& state, const char* name) {
    const std::string out = Work().Path + "/" + name;
    TimeProcess(state, "env -u DISPLAY '" + std::string(KURVANT_CLI_PATH) + "' render '" +
                           Work().Path + "/surface.qel' -o '" + out + "'");
    std::ifstream file(out, std::ios::binary | std::ios::ate);
    state.counters["bytes"] = static_cast<double>(file.tellg());
}
void BM_KurvantRenderBmp(benchmark::State& state) {
    RenderTo(state, "kurvant.bmp");
}
BENCHMARK(BM_KurvantRenderBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_KurvantRenderPdf(benchmark::State& state) {
    RenderTo(state, "kurvant.pdf");
}
BENCHMARK(BM_KurvantRenderPdf)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_KurvantRenderSvg(benchmark::State& state) {
    RenderTo(state, "kurvant.svg");
}
BENCHMARK(BM_KurvantRenderSvg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GnuplotSplot(benchmark::State& state) {
    if (Run("command -v gnuplot >/dev/null 2>&1") != 0) {
        state.SkipWithError("gnuplot is not installed; it is only a yardstick");
        return;
    }
    TimeProcess(state, "gnuplot '" + Work().Path + "/splot.gp'");
}
BENCHMARK(BM_GnuplotSplot)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints kurvant's time over gnuplot's after the table (medians with repetitions).
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.iterations > 0;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if ((single || median) && !run.error_occurred) {
                Seconds[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto a = Seconds.find("BM_KurvantRender");
        const auto b = Seconds.find("BM_GnuplotSplot");
        if (a != Seconds.end() && b != Seconds.end() && b->second > 0) {
            std::printf("kurvant-cli render / gnuplot splot: %.3f\n", a->second / b->second);
        }
    }

private:
    std::map<std::string, double> Seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
