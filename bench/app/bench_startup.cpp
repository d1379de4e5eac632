// Time from the start of start-up (splash, windows) to the first frame drawn in the view.
// Run under a display: xvfb-run -a build/bin/bench_startup --benchmark_repetitions=10

#include "app/form_main.h"
#include "app/startup.h"
#include "view/gl_view.h"
#include "widgets/ui_services.h"

#include <QApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

namespace {

void StartUpToFirstFrame(benchmark::State& state) {
    TQtUiServices services;
    for (auto _ : state) {
        TAppContext ctx;
        ctx.Services = &services;
        ctx.ProgramDir = QApplication::applicationDirPath();
        std::unique_ptr<TFormMain> main = StartUp(ctx);
        QEventLoop loop;
        QObject::connect(main->View(), &TGLView::FrameDrawn, &loop, &QEventLoop::quit);
        main->show();
        if (main->View()->FramesDrawn() == 0)
            loop.exec();
        state.PauseTiming();
        main.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    PrepareProcess();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
