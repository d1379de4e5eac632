// The frame of the heaviest legal scene, 20 ticked surfaces of 200 x 200 points drawn as lines,
// by vertex arrays (as the view draws) and vertex by vertex (the reference), next to a bare
// glDrawArrays of the same segments: the renderer's own limit on this machine. The other bare
// ways of handing the same segments over (the rows and columns as line strips, the vertices in a
// buffer object, each point once with an index array) show whether any of them is cheaper for
// the renderer; each must give the very pixels of the bare lines, or it reports an error.
//   build/bin/bench_frame --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
// The frame of axes alone follows, with the default settings and with the heaviest legal ones:
//   build/bin/bench_frame --benchmark_filter=FrameOf
// Besides the clock, each reports the CPU time of the whole process per frame, the renderer's
// threads included, which a busy machine disturbs less.

#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/graph_drawing.h"
#include "view/offscreen.h"

#include <QGuiApplication>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <memory>
#include <vector>

namespace {

double ProcessSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Sets the counter "cpu_ms_all_threads" when the benchmark's loop is over.
class TProcessClock {
public:
    explicit TProcessClock(benchmark::State& state) : State(state) {}
    ~TProcessClock() {
        if (State.iterations() > 0)
            State.counters["cpu_ms_all_threads"] =
                (ProcessSeconds() - Start) * 1e3 / static_cast<double>(State.iterations());
    }
    TProcessClock(const TProcessClock&) = delete;
    TProcessClock& operator=(const TProcessClock&) = delete;

private:
    benchmark::State& State;
    double Start = ProcessSeconds();
};

constexpr int W = 800;
constexpr int H = 600;
constexpr int Side = 200;
constexpr int Surfaces = 20;

TOffscreenGL* Target() {
    static std::unique_ptr<TOffscreenGL> gl = [] {
        std::string error;
        auto made = TOffscreenGL::Create(W, H, &error);
        if (made) {
            InitSurfaceState();
            BuildFontLists();
        }
        return made;
    }();
    return gl.get();
}

TGraphic Surface(int n) {
    TGraphic g;
    g.Kind = 4;
    g.SetColor(0x000080u + static_cast<TColor>(n) * 0x0B0700u);
    g.LineWidth = 1;
    g.StepsX = g.StepsY = Side;
    g.Points.reserve(Side * Side);
    for (int j = 0; j < Side; ++j)
        for (int i = 0; i < Side; ++i) {
            const double x = -10 + 20.0 * i / (Side - 1), y = -10 + 20.0 * j / (Side - 1);
            g.Points.push_back({x, y, std::sin(x + n) * std::cos(y) * 3});
        }
    g.BoundMinZ = -3;
    g.BoundMaxZ = 3;
    return g;
}

// The whole frame; `immediate`: the graphs vertex by vertex instead of by arrays.
void HeaviestScene(benchmark::State& state, bool immediate) {
    if (!Target()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    TSettings settings;
    Settings_Default(settings);
    TDocument doc;
    InitSurfaceScales(doc.View, W, H);
    doc.View.AngleX = -60;
    doc.View.AngleZ = 30;
    for (int n = 0; n < Surfaces; ++n)
        doc.Add(Surface(n));
    TProcessClock clock(state);
    for (auto _ : state) {
        TScene scene{settings, doc.View, false, ',', immediate ? nullptr : &doc};
        DrawScene(scene, TFrameSize::Plain(W, H));
        if (immediate)
            DrawGraphsImmediate(doc, doc.View);
        glFinish();
    }
    state.counters["vertices"] = Surfaces * 2.0 * 2 * Side * (Side - 1);
}

void HeaviestSceneFrame(benchmark::State& state) {
    HeaviestScene(state, false);
}
BENCHMARK(HeaviestSceneFrame)->Unit(benchmark::kMillisecond);

void HeaviestSceneFrameImmediate(benchmark::State& state) {
    HeaviestScene(state, true);
}
BENCHMARK(HeaviestSceneFrameImmediate)->Unit(benchmark::kMillisecond);

// The frame of axes alone, no graphs, in the view a new document opens with; `heaviest`: the
// heaviest settings the settings dialog accepts (every interval -1000..1000, the finest mesh
// step on all six half-planes, the finest numbering steps) instead of the defaults.
void FrameOfSettings(benchmark::State& state, bool heaviest) {
    if (!Target()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    TSettings settings;
    Settings_Default(settings);
    if (heaviest) {
        settings.MinX = settings.MinY = settings.MinZ = -1000;
        settings.MaxX = settings.MaxY = settings.MaxZ = 1000;
        settings.XDown = settings.XUp = settings.YDown = settings.YUp = true;
        settings.ZDown = settings.ZUp = true;
        settings.StepMesh = 0.01;
        settings.StepNumeration_X = settings.StepNumeration_Y = settings.StepNumeration_Z = 0.1;
        if (!SettingsAreValid(settings)) {
            state.SkipWithError("the settings are not legal");
            return;
        }
    }
    ViewState view;
    InitSurfaceScales(view, W, H);
    view.AngleX = static_cast<double>(state.range(0));
    view.AngleZ = static_cast<double>(state.range(1));
    TFrameCounts counts;
    {
        TProcessClock clock(state);
        for (auto _ : state) {
            TScene scene{settings, view, false, ',', nullptr};
            scene.FrameCounts = &counts;
            DrawScene(scene, TFrameSize::Plain(W, H));
            glFinish();
        }
    }
    state.counters["vertices"] = static_cast<double>(counts.LineVertices);
    state.counters["numbers"] = static_cast<double>(counts.Numbers);
    state.counters["strips"] = static_cast<double>(counts.Strips);
}

// Unturned, then turned as the scene above.
void FrameOfDefaultSettings(benchmark::State& state) {
    FrameOfSettings(state, false);
}
BENCHMARK(FrameOfDefaultSettings)->Args({0, 0})->Args({-60, 30})->Unit(benchmark::kMillisecond);

void FrameOfHeaviestSettings(benchmark::State& state) {
    FrameOfSettings(state, true);
}
BENCHMARK(FrameOfHeaviestSettings)->Args({0, 0})->Args({-60, 30})->Unit(benchmark::kMillisecond);

// The heaviest scene's segments handed over in the ways below.
struct TSegments {
    std::vector<float> Lines;  ///< two vertices a segment
    std::vector<float> Strips; ///< every row, then every column, as one strip each
    std::vector<GLint> StripFirst;
    std::vector<GLsizei> StripCount;
    std::vector<float> Points;   ///< every point once
    std::vector<GLuint> Indices; ///< two indices a segment into Points
};

const TSegments& Segments() {
    static const TSegments s = [] {
        TSegments made;
        auto put = [](std::vector<float>& v, const TPoint3D& p) {
            v.push_back(float(p.x));
            v.push_back(float(p.y));
            v.push_back(float(p.z));
        };
        for (int n = 0; n < Surfaces; ++n) {
            const TGraphic g = Surface(n);
            const auto base = static_cast<GLuint>(made.Points.size() / 3);
            for (const TPoint3D& p : g.Points)
                put(made.Points, p);
            auto line = [&](int first, int stride) {
                made.StripFirst.push_back(static_cast<GLint>(made.Strips.size() / 3));
                made.StripCount.push_back(Side);
                for (int k = 0; k < Side; ++k)
                    put(made.Strips, g.Points[static_cast<std::size_t>(first + k * stride)]);
                for (int k = 0; k + 1 < Side; ++k) {
                    const int a = first + k * stride, b = a + stride;
                    put(made.Lines, g.Points[static_cast<std::size_t>(a)]);
                    put(made.Lines, g.Points[static_cast<std::size_t>(b)]);
                    made.Indices.push_back(base + static_cast<GLuint>(a));
                    made.Indices.push_back(base + static_cast<GLuint>(b));
                }
            };
            for (int j = 0; j < Side; ++j)
                line(j * Side, 1);
            for (int i = 0; i < Side; ++i)
                line(i, Side);
        }
        return made;
    }();
    return s;
}

GLuint BufferOf(const std::vector<float>& v) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(v.size() * sizeof(float)), v.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return buffer;
}

// The frame without axes, and the segments drawn by `draw` into it; the pixels must be those of
// the bare lines (the first of these benchmarks to run).
template <typename TDraw> void BareFrame(benchmark::State& state, TDraw draw) {
    if (!Target()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    TSettings settings;
    Settings_Default(settings);
    settings.AxisX = settings.AxisY = settings.AxisZ = false;
    ViewState view;
    InitSurfaceScales(view, W, H);
    view.AngleX = -60;
    view.AngleZ = 30;
    const TSegments& segments = Segments();
    {
        TProcessClock clock(state);
        for (auto _ : state) {
            TScene scene{settings, view, false, ',', nullptr};
            DrawScene(scene, TFrameSize::Plain(W, H));
            glColor3f(0.5f, 0, 0);
            glEnableClientState(GL_VERTEX_ARRAY);
            draw(segments);
            glDisableClientState(GL_VERTEX_ARRAY);
            glFinish();
        }
    }
    static QImage lines;
    const QImage drawn = Target()->Grab();
    if (lines.isNull())
        lines = drawn;
    else if (drawn != lines)
        state.SkipWithError("the pixels differ from the bare lines'");
    state.counters["vertices"] = static_cast<double>(segments.Lines.size() / 3);
}

// The same segments as one client-side vertex array: what the driver needs at the least.
void BareDrawArrays(benchmark::State& state) {
    BareFrame(state, [](const TSegments& s) {
        glVertexPointer(3, GL_FLOAT, 0, s.Lines.data());
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(s.Lines.size() / 3));
    });
}
BENCHMARK(BareDrawArrays)->Unit(benchmark::kMillisecond);

void BareLineStrips(benchmark::State& state) {
    BareFrame(state, [](const TSegments& s) {
        glVertexPointer(3, GL_FLOAT, 0, s.Strips.data());
        glMultiDrawArrays(GL_LINE_STRIP, s.StripFirst.data(), s.StripCount.data(),
                          static_cast<GLsizei>(s.StripFirst.size()));
    });
}
BENCHMARK(BareLineStrips)->Unit(benchmark::kMillisecond);

void BareLineStripsInABuffer(benchmark::State& state) {
    BareFrame(state, [](const TSegments& s) {
        static const GLuint buffer = BufferOf(s.Strips);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glMultiDrawArrays(GL_LINE_STRIP, s.StripFirst.data(), s.StripCount.data(),
                          static_cast<GLsizei>(s.StripFirst.size()));
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    });
}
BENCHMARK(BareLineStripsInABuffer)->Unit(benchmark::kMillisecond);

void BareIndexedLines(benchmark::State& state) {
    BareFrame(state, [](const TSegments& s) {
        glVertexPointer(3, GL_FLOAT, 0, s.Points.data());
        glDrawElements(GL_LINES, static_cast<GLsizei>(s.Indices.size()), GL_UNSIGNED_INT,
                       s.Indices.data());
    });
}
BENCHMARK(BareIndexedLines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
