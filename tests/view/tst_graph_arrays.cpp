// Graphs drawn by vertex arrays against the same graphs drawn vertex by vertex in immediate
// mode, the reference: the same pixels, scene by scene, for every kind, gaps, breaks, gradation,
// widths and sizes, with and without perspective.

#include "support/pixel_tools.h"
#include "test_target.h"
#include "view/frame.h"
#include "view/graph_drawing.h"
#include "view/offscreen.h"

#include "formula/prepare.h"
#include "graphs/sampling.h"

#include <QGuiApplication>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

namespace {

constexpr int W = 640;
constexpr int H = 480;

TGraphic Styled(int kind, TColor color, int building, double size) {
    TGraphic g;
    g.Kind = static_cast<std::uint8_t>(kind);
    g.SetColor(color);
    g.Building = static_cast<std::uint8_t>(building);
    g.LineWidth = size;
    g.PointSize = size + 1;
    return g;
}

// A curve of `kind` through n points, some undefined or beyond the gap limit.
TGraphic Curve(int kind, TColor color, int building, double size, int n) {
    TGraphic g = Styled(kind, color, building, size);
    g.StepsX = n;
    for (int i = 0; i < n; ++i) {
        const double t = -8 + 16.0 * i / (n - 1);
        TPoint3D p{t, 3 * std::sin(t) + kind, 0};
        if (kind == 1)
            std::swap(p.x, p.y);
        if (i % 17 == 5)
            (kind == 1 ? p.x : p.y) = UndefinedValue;
        if (i % 23 == 7)
            p.x = 1500; // a gap for the kinds that test x
        g.Points.push_back(p);
    }
    // Breaks between defined points, and some next to a gap.
    g.Breaks.assign(static_cast<std::size_t>(n - 1), false);
    for (int i = 0; i + 1 < n; ++i)
        g.Breaks[static_cast<std::size_t>(i)] = i % 11 == 3 || i % 17 == 4;
    return g;
}

// tg(x) sampled as the program samples it, poles and all.
TGraphic Tangent(const TSettings& settings, int building) {
    kurvant::TFormulaContext context;
    TGraphic g = Styled(0, 0x0080FFu, building, 2);
    g.Variable = 'x';
    g.FormulaPrepared = "tg(x)";
    (void)kurvant::PrepareFormula(g.FormulaPrepared, "x", context);
    g.MinX = -7;
    g.MaxX = 7;
    g.StepsX = 300;
    Fill_Pixels_Graphic(g, settings, context);
    return g;
}

// A surface of kind 4 or 5 on a grid of cols x rows points, with holes.
TGraphic Surface(int kind, TColor color, int building, double size, int cols, int rows,
                 bool gradation) {
    TGraphic g = Styled(kind, color, building, size);
    g.StepsX = cols;
    g.StepsY = rows;
    g.Gradation = gradation;
    g.BoundMinZ = 1e11;
    g.BoundMaxZ = -1e11;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) {
            const double x = -6 + 12.0 * i / (cols - 1);
            const double y = -6 + 12.0 * j / (rows - 1);
            const double r = 30 - x * x - y * y;
            const double z = r >= 0 ? std::sqrt(r) - 2 : UndefinedValue;
            g.Points.push_back({x, y, z});
            if (z != UndefinedValue) {
                g.BoundMinZ = std::min(g.BoundMinZ, z);
                g.BoundMaxZ = std::max(g.BoundMaxZ, z);
            }
        }
    return g;
}

TGraphic Table(TColor color, int building, double size, bool gradation, bool flat) {
    TGraphic g = Styled(6, color, building, size);
    g.Gradation = gradation;
    for (int i = 0; i < 40; ++i) {
        const double z = flat ? 1.0 : std::cos(i * 0.3) * 4;
        g.Points.push_back({-7 + i * 0.35, 5 * std::sin(i * 0.4), z});
    }
    g.BoundMinZ = flat ? 1.0 : -4;
    g.BoundMaxZ = flat ? 1.0 : 4;
    return g;
}

} // namespace

class TstGraphArrays : public QObject {
    Q_OBJECT

    std::unique_ptr<TOffscreenGL> gl;

    // The frame with the document's graphs, by arrays or vertex by vertex.
    QImage Draw(const TSettings& settings, TDocument& doc, bool immediate) {
        TScene scene{settings, doc.View, false, ',', immediate ? nullptr : &doc};
        DrawScene(scene, TFrameSize::Plain(W, H));
        if (immediate)
            DrawGraphsImmediate(doc, doc.View);
        return gl->Grab();
    }

    // Both ways alike, and the graphs show: the frame alone differs from the frame with them.
    void CheckScene(const TSettings& settings, TDocument& doc) {
        const QImage arrays = Draw(settings, doc, false);
        const QImage immediate = Draw(settings, doc, true);
        QVERIFY(arrays == immediate);
        TDocument empty;
        empty.View = doc.View;
        const QImage frame = Draw(settings, empty, true);
        int changed = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                changed += arrays.pixel(x, y) != frame.pixel(x, y);
        QVERIFY2(changed > 200, qPrintable(QString::number(changed)));
    }

private slots:
    void initTestCase() {
        std::string error;
        gl = MakeTestTarget(W, H, error);
        QVERIFY2(gl, error.c_str());
    }

    void scenes_data() {
        QTest::addColumn<bool>("perspective");
        QTest::addColumn<int>("scene");
        for (const bool perspective : {false, true})
            for (int scene = 0; scene < 6; ++scene)
                QTest::addRow("%s/%d", perspective ? "perspective" : "parallel", scene)
                    << perspective << scene;
    }

    void scenes() {
        QFETCH(bool, perspective);
        QFETCH(int, scene);
        TSettings settings;
        Settings_Default(settings);
        settings.Perspective = perspective;
        TDocument doc;
        InitSurfaceScales(doc.View, W, H);
        doc.View.AngleX = -55;
        doc.View.AngleZ = 25 + 10 * scene;
        doc.View.ShiftX = 0.5 * scene - 1;
        doc.View.ShiftY = -0.25 * scene;
        switch (scene) {
        case 0: // curves of every kind, lines and points, thin and wide
            for (int kind = 0; kind < 4; ++kind) {
                doc.Add(Curve(kind, 0x0000FFu + static_cast<TColor>(kind) * 0x300000u, 0,
                              SizeTable[static_cast<std::size_t>(kind + 1)], 120));
                doc.Add(Curve(kind, 0x00A000u, 1, SizeTable[static_cast<std::size_t>(kind)], 60));
            }
            doc.Add(Tangent(settings, 0));
            doc.Add(Tangent(settings, 1));
            QVERIFY(!doc.Graph(doc.GraphCount() - 1).Breaks.empty());
            break;
        case 1: // surfaces with holes, plain colour
            doc.Add(Surface(4, 0x0000FFu, 0, 1, 41, 31, false));
            doc.Add(Surface(5, 0xFF0000u, 0, 2, 25, 25, false));
            break;
        case 2: // surfaces with gradation, as lines and as points
            doc.Add(Surface(4, 0x00FF00u, 0, 1, 50, 50, true));
            doc.Add(Surface(4, 0x808080u, 1, 2, 30, 20, true));
            break;
        case 3: // tables: lines, points, both; gradation and a flat one
            doc.Add(Table(0x0000FFu, 0, 3, false, false));
            doc.Add(Table(0xFF00FFu, 1, 4, true, false));
            doc.Add(Table(0x00FFFFu, 2, 2, true, false));
            doc.Add(Table(0x008000u, 2, 1, true, true));
            break;
        case 4: // a wide surface over a thin one: depth decides between them
            doc.Add(Surface(4, 0x000080u, 0, 5, 20, 20, false));
            doc.Add(Surface(4, 0x00FF80u, 0, 0.25, 60, 60, true));
            break;
        default: // everything at once, one graph unticked
            doc.Add(Curve(2, 0x0000FFu, 0, 1, 200));
            doc.Add(Surface(4, 0xFF8000u, 0, 1, 30, 30, true));
            doc.Add(Table(0x00FF00u, 2, 3, false, false));
            doc.Add(Surface(5, 0x8000FFu, 1, 1, 20, 20, false));
            doc.SetVisible(3, false);
            break;
        }
        CheckScene(settings, doc);
    }

    void cleanupTestCase() { gl.reset(); }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TstGraphArrays test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_graph_arrays.moc"
