// Graphs drawn from their stored points, checked by pixels. The view is parallel at 800 x 600,
// frame switched off; with ScaleX = s, model (x, y) lands at image (400 + 400 s x, 300 - 400 s y).

#include "support/pixel_tools.h"
#include "test_target.h"
#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/graph_drawing.h"
#include "view/offscreen.h"

#include "formula/prepare.h"
#include "graphs/sampling.h"

#include <QGuiApplication>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

constexpr int W = 800;
constexpr int H = 600;
constexpr QRgb Red = qRgb(255, 0, 0);
constexpr QRgb Blue = qRgb(0, 0, 255);

TGraphic Curve(int kind, std::vector<TPoint3D> pts, TColor color = clRed) {
    TGraphic g;
    g.Kind = static_cast<std::uint8_t>(kind);
    g.SetColor(color);
    g.Building = 0;
    g.LineWidth = 1;
    g.PointSize = 1;
    g.StepsX = static_cast<int>(pts.size());
    g.Points = std::move(pts);
    return g;
}

} // namespace

class TstGraphDrawing : public QObject {
    Q_OBJECT

    std::unique_ptr<TOffscreenGL> gl;
    TSettings settings;
    std::unique_ptr<TDocument> doc;
    double scale = 0.09;

    double ImgX(double x) const { return 400 + 400 * scale * x; }
    double ImgY(double y) const { return 300 - 400 * scale * y; }

    QImage Draw() {
        doc->View.ScaleX = scale;
        TScene scene{settings, doc->View, false, ',', doc.get()};
        DrawScene(scene, TFrameSize::Plain(W, H));
        return gl->Grab();
    }

    // Colour pixels in the image column nearest model x, as rows.
    std::vector<double> RedRunsAt(const QImage& img, double x) {
        return RunsInColumn(img, int(ImgX(x)), Red);
    }

private slots:
    void initTestCase() {
        std::string error;
        gl = MakeTestTarget(W, H, error);
        QVERIFY2(gl, error.c_str());
    }

    void init() {
        Settings_Default(settings);
        settings.Perspective = false;
        settings.AxisX = settings.AxisY = settings.AxisZ = false;
        doc = std::make_unique<TDocument>();
        scale = 0.09;
    }

    void curvePixelsLieWhereTheProjectionPutsThem() {
        // y = x / 2 from -5 to 5.
        std::vector<TPoint3D> pts;
        for (int i = -5; i <= 5; ++i)
            pts.push_back({double(i), i / 2.0, 0});
        doc->Add(Curve(0, pts));
        const QImage img = Draw();
        for (double x : {-4.5, -2.25, 0.5, 3.75}) {
            const auto runs = RedRunsAt(img, x);
            QCOMPARE(runs.size(), std::size_t(1));
            QVERIFY(std::abs(runs[0] - ImgY(x / 2)) <= 1.5);
        }
        // Nothing beyond the ends.
        QCOMPARE(CountColour(img, Red, 0, 0, int(ImgX(-5)) - 2, H - 1), 0);
        QCOMPARE(CountColour(img, Red, int(ImgX(5)) + 2, 0, W - 1, H - 1), 0);
    }

    void undefinedOrFarPointsBreakTheCurve_data() {
        QTest::addColumn<double>("missing");
        QTest::newRow("undefined sample") << UndefinedValue;
        QTest::newRow("beyond the gap limit") << 1000.5;
        QTest::newRow("far below") << -1500.0;
        QTest::newRow("not a number") << std::nan("");
    }

    void undefinedOrFarPointsBreakTheCurve() {
        QFETCH(double, missing);
        std::vector<TPoint3D> pts;
        for (int i = -5; i <= 5; ++i)
            pts.push_back({double(i), 1, 0});
        pts[5].y = missing; // x = 0
        doc->Add(Curve(0, pts));
        const QImage img = Draw();
        // Neither neighbour of the gap is joined to it or to the other.
        QCOMPARE(CountColour(img, Red, int(ImgX(-1)) + 2, 0, int(ImgX(1)) - 2, H - 1), 0);
        QCOMPARE(RedRunsAt(img, -2.5).size(), std::size_t(1));
        QCOMPARE(RedRunsAt(img, 2.5).size(), std::size_t(1));
    }

    void aBreakEndsTheCurveBetweenTwoDrawnPoints_data() {
        QTest::addColumn<int>("building");
        QTest::newRow("lines") << 0;
        QTest::newRow("points") << 1;
    }

    void aBreakEndsTheCurveBetweenTwoDrawnPoints() {
        QFETCH(int, building);
        std::vector<TPoint3D> pts;
        for (int i = -5; i <= 5; ++i)
            pts.push_back({double(i), i < 1 ? 1.0 : -1.0, 0});
        TGraphic g = Curve(0, pts);
        g.Building = static_cast<std::uint8_t>(building);
        g.PointSize = 3;
        g.Breaks.assign(pts.size() - 1, false);
        g.Breaks[5] = true; // from x = 0 to x = 1
        doc->Add(g);
        const QImage img = Draw();
        QCOMPARE(CountColour(img, Red, int(ImgX(0)) + 2, 0, int(ImgX(1)) - 2, H - 1), 0);
        // The curve goes on from both ends of the broken segment; as points, both are drawn.
        for (double x : building == 0 ? std::vector<double>{-0.5, 1.5} : std::vector<double>{0, 1})
            QCOMPARE(RedRunsAt(img, x).size(), std::size_t(1));
    }

    void tangentShowsNoLineAcrossItsPoles() {
        // tg(x) sampled on -5..5 at 500 points as the program samples it: next to each pole
        // the samples lie at some tens, and far beyond the view's +-8.3 on either side.
        kurvant::TFormulaContext context;
        TGraphic g = Curve(0, {});
        g.Variable = 'x';
        g.FormulaPrepared = "tg(x)";
        (void)kurvant::PrepareFormula(g.FormulaPrepared, "x", context);
        g.MinX = -5;
        g.MaxX = 5;
        g.StepsX = 500;
        Fill_Pixels_Graphic(g, settings, context);
        QVERIFY(!g.Breaks.empty());
        doc->Add(g);
        const double poles[] = {-3 * M_PI / 2, -M_PI / 2, M_PI / 2, 3 * M_PI / 2};
        // In the columns of a pole the branches are far out of the view: only a line joining
        // them would colour a pixel there.
        auto acrossPoles = [&](const QImage& picture) {
            int n = 0;
            for (const double pole : poles)
                n += CountColour(picture, Red, int(ImgX(pole)) - 1, 0, int(ImgX(pole)) + 1, H - 1);
            return n;
        };
        QImage img = Draw();
        QCOMPARE(acrossPoles(img), 0);
        // Each branch is drawn.
        for (const double x : {-4.0, -2.5, -1.0, 0.0, 1.0, 2.5, 4.0})
            QCOMPARE(RedRunsAt(img, x).size(), std::size_t(1));
        // The same points joined across the poles: near-vertical lines through the whole view.
        doc->Graph(0).Breaks.clear();
        img = Draw();
        QVERIFY(acrossPoles(img) >= 4 * (H - 2));
    }

    void definedNeighboursAreJoinedHoweverFarApart() {
        doc->Add(Curve(0, {{-1, 999, 0}, {1, -999, 0}, {2, 0, 0}}));
        const QImage img = Draw();
        // The steep segment crosses the whole view height near x = 0.
        QVERIFY(CountColour(img, Red, int(ImgX(-0.5)), 0, int(ImgX(0.5)), H - 1) >= H - 2);
    }

    void eachKindTestsItsOwnCoordinatesForGaps() {
        // y beyond the limit with x defined: a gap for Y(X) and the polar kind, not for X(Y).
        const std::vector<TPoint3D> pts = {{-2, 0, 0}, {0, 5000, 0}, {2, 0, 0}, {3, 0, 0}};
        // Joined towards the far point, the segment leaves (-2, 0) straight up out of the view.
        auto steepUp = [&](const QImage& picture) {
            return CountColour(picture, Red, int(ImgX(-2)) - 1, 0, int(ImgX(-2)) + 1,
                               int(ImgY(0)) - 3);
        };
        doc->Add(Curve(1, pts));
        QImage img = Draw();
        QVERIFY(steepUp(img) > 100);
        for (int kind : {0, 2, 3}) {
            doc->Clear();
            doc->Add(Curve(kind, pts));
            img = Draw();
            QVERIFY2(steepUp(img) == 0, qPrintable(QString::number(kind)));
            QVERIFY(!RedRunsAt(img, 2.5).empty());
        }
        // x beyond the limit: a gap for X(Y) only among the first two kinds.
        const std::vector<TPoint3D> far = {{0, -2, 0}, {-3000, 0, 0}, {0, 2, 0}, {0, 3, 0}};
        doc->Clear();
        doc->Add(Curve(1, far));
        // Joined, the far point pulls two long, nearly flat lines out to the left edge.
        auto leftOfAxis = [&](const QImage& picture) {
            return CountColour(picture, Red, 0, 0, int(ImgX(-0.5)), H - 1);
        };
        img = Draw();
        QCOMPARE(leftOfAxis(img), 0);
        doc->Clear();
        doc->Add(Curve(0, far));
        img = Draw();
        QVERIFY(leftOfAxis(img) > 300);
    }

    void pointModeDrawsPointsOnly() {
        TGraphic g = Curve(0, {{-4, 0, 0}, {0, 0, 0}, {4, 0, 0}});
        g.Building = 1;
        g.PointSize = 3;
        doc->Add(g);
        const QImage img = Draw();
        const auto runs = RunsInRow(img, int(ImgY(0)), Red);
        QCOMPARE(runs.size(), std::size_t(3));
        QCOMPARE(CountColour(img, Red), 3 * 9); // three points of 3 x 3 pixels
    }

    void hemisphereRowsDoNotJumpToTheNextRow() {
        // z = sqrt(1 - x^2 - y^2) on a 21 x 21 grid over -1..1, undefined outside the circle.
        scale = 0.6; // 240 pixels a unit: grid lines 24 pixels apart
        TGraphic g;
        g.Kind = 4;
        g.SetColor(clRed);
        g.LineWidth = 1;
        g.StepsX = g.StepsY = 21;
        for (int j = 0; j < 21; ++j)
            for (int i = 0; i < 21; ++i) {
                const double x = -1 + i * 0.1, y = -1 + j * 0.1;
                const double r = 1 - x * x - y * y;
                g.Points.push_back({x, y, r >= 0 ? std::sqrt(r) : UndefinedValue});
            }
        doc->Add(g);
        const QImage img = Draw();
        QVERIFY(CountColour(img, Red) > 1000);
        // Between two grid rows only the column lines cross: short runs, never a chord.
        for (double y : {-0.55, -0.05, 0.45}) {
            const int row = int(ImgY(y));
            int longest = 0, run = 0;
            for (int x = 0; x < W; ++x) {
                run = IsColour(img, x, row, Red) ? run + 1 : 0;
                longest = std::max(longest, run);
            }
            QVERIFY2(longest <= 3, qPrintable(QString::number(longest)));
        }
        // A clean edge: nothing outside the unit circle.
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (IsColour(img, x, y, Red)) {
                    const double mx = (x + 0.5 - 400) / 240, my = (300 - y - 0.5) / 240;
                    QVERIFY(std::hypot(mx, my) <= 1.0 + 2.0 / 240);
                }
    }

    void tableLinesAndPointsShowBothPasses() {
        TGraphic g;
        g.Kind = 6;
        g.SetColor(clBlue);
        g.LineWidth = 1;
        g.PointSize = 5;
        g.Points = {{-4, -2, 0}, {0, 2, 0}, {4, -2, 0}};
        for (int building : {0, 1, 2}) {
            doc->Clear();
            g.Building = static_cast<std::uint8_t>(building);
            doc->Add(g);
            const QImage img = Draw();
            // A 5 x 5 point block around the middle row.
            const int cx = int(ImgX(0)), cy = int(ImgY(2));
            const bool block = CountColour(img, Blue, cx - 2, cy - 2, cx + 1, cy + 1) == 16;
            const bool line = !RunsInColumn(img, int(ImgX(-2)), Blue).empty();
            QCOMPARE(block, building != 0);
            QCOMPARE(line, building != 1);
        }
    }

    void gradationOfARedTableRunsFromNearBlackToRed() {
        // Eleven points at heights 0..10, seen from above: red = 2/10 + z/10, green = blue = 1/10.
        TGraphic g;
        g.Kind = 6;
        g.Building = 1;
        g.PointSize = 3;
        g.Gradation = true;
        g.SetColor(clRed);
        for (int i = 0; i <= 10; ++i)
            g.Points.push_back({-5.0 + i, 0, i / 10.0});
        g.BoundMinZ = 0;
        g.BoundMaxZ = 1;
        doc->Add(g);
        const QImage img = Draw();
        for (int i = 0; i <= 10; ++i) {
            const QRgb c = img.pixel(int(ImgX(-5 + i)), int(ImgY(0)));
            const double wantRed = std::min(1.0, 2.0 / 10 + i / 10.0) * 255;
            QVERIFY2(std::abs(qRed(c) - wantRed) <= 2,
                     qPrintable(QStringLiteral("%1: %2").arg(i).arg(qRed(c))));
            QVERIFY(std::abs(qGreen(c) - 25.5) <= 2);
            QVERIFY(std::abs(qBlue(c) - 25.5) <= 2);
        }
    }

    void flatOrSinglePointGradationUsesThePlainColour() {
        TGraphic g;
        g.Kind = 6;
        g.Building = 1;
        g.PointSize = 3;
        g.Gradation = true;
        g.SetColor(clBlue);
        g.Points = {{-1, 0, 2}, {1, 0, 2}};
        g.BoundMinZ = g.BoundMaxZ = 2;
        doc->Add(g);
        g.Points = {{3, 0, 5}};
        g.BoundMinZ = 0;
        g.BoundMaxZ = 5;
        doc->Add(g);
        const QImage img = Draw();
        QCOMPARE(CountColour(img, Blue), 3 * 9);
        TColorGL c;
        QVERIFY(!GradationColor(doc->Graph(0), 2, c));
        QVERIFY(!GradationColor(doc->Graph(1), 5, c));
    }

    void untickedAndUnknownGraphsAreLeftOut() {
        doc->Add(Curve(0, {{-3, 1, 0}, {3, 1, 0}}));
        doc->Add(Curve(0, {{-3, -1, 0}, {3, -1, 0}}, clBlue));
        doc->SetVisible(0, false);
        QImage img = Draw();
        QCOMPARE(CountColour(img, Red), 0);
        QVERIFY(CountColour(img, Blue) > 0);
        QCOMPARE(doc->GraphCount(), 2);

        doc->Graph(1).Kind = 7;
        img = Draw();
        QCOMPARE(CountColour(img, Blue), 0);
    }

    void shiftMovesGraphsWithTheAxes() {
        doc->Add(Curve(0, {{0, -1, 0}, {0, 1, 0}}));
        doc->View.ShiftX = 2;
        doc->View.ShiftY = -1;
        const QImage img = Draw();
        const auto runs = RunsInRow(img, int(ImgY(-1)), Red);
        QCOMPARE(runs.size(), std::size_t(1));
        QVERIFY(std::abs(runs[0] - ImgX(2)) <= 1);
        QCOMPARE(CountColour(img, Red, 0, 0, W - 1, int(ImgY(0.05))), 0); // ends at y = 0
    }

    void cleanupTestCase() { gl.reset(); }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TstGraphDrawing t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_graph_drawing.moc"
