// The frame of reference checked by pixels. The view is parallel at 800 x 600 with ScaleX 0.09,
// so one model unit is 36 pixels along X and Y: model (x, y) lands at image (400 + 36x,
// 300 - 36y). Expected places come from that mapping.

#include "support/pixel_tools.h"
#include "test_target.h"
#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/offscreen.h"

#include <QGuiApplication>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

constexpr int W = 800;
constexpr int H = 600;
constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb Red = qRgb(255, 0, 0);
constexpr QRgb Silver = qRgb(192, 192, 192);

constexpr double Scale = 0.09;
constexpr double PxPerUnit = Scale * W / 2; // 36
double ImgX(double x) {
    return 400 + PxPerUnit * x;
}
double ImgY(double y) {
    return 300 - PxPerUnit * y;
}

// The row (or column) holding the most pixels of the colour: where a long axis line lies.
int FullestRow(const QImage& img, QRgb c) {
    int best = -1, bestCount = -1;
    for (int y = 0; y < img.height(); ++y) {
        const int n = CountColour(img, c, 0, y, img.width() - 1, y);
        if (n > bestCount)
            best = y, bestCount = n;
    }
    return best;
}

int FullestColumn(const QImage& img, QRgb c) {
    int best = -1, bestCount = -1;
    for (int x = 0; x < img.width(); ++x) {
        const int n = CountColour(img, c, x, 0, x, img.height() - 1);
        if (n > bestCount)
            best = x, bestCount = n;
    }
    return best;
}

} // namespace

class TstSceneFrame : public QObject {
    Q_OBJECT

    std::unique_ptr<TOffscreenGL> gl;
    TSettings settings;
    ViewState view;

    QImage Draw(TFrameCulling culling = TFrameCulling::Visible, TFrameCounts* counts = nullptr) {
        TScene scene{settings, view, false, ','};
        scene.FrameCulling = culling;
        scene.FrameCounts = counts;
        DrawScene(scene, TFrameSize::Plain(W, H));
        return gl->Grab();
    }

    // Wide intervals, a fine mesh on all six half-planes and fine numbering steps: most of the
    // frame lies outside the view, and what is inside is dense.
    void WideAndFine(double extent, double mesh, double numbering) {
        Only(true, true, true, true, true);
        settings.MinX = settings.MinY = settings.MinZ = -extent;
        settings.MaxX = settings.MaxY = settings.MaxZ = extent;
        settings.XDown = settings.XUp = settings.YDown = settings.YUp = true;
        settings.ZDown = settings.ZUp = true;
        settings.StepMesh = mesh;
        settings.StepNumeration_X = settings.StepNumeration_Y = settings.StepNumeration_Z =
            numbering;
    }

    void Only(bool x, bool y, bool z, bool touch, bool numbers) {
        settings.AxisX = x;
        settings.AxisY = y;
        settings.AxisZ = z;
        settings.Touch = touch;
        settings.Numeration = numbers;
    }

    // Every run centre within a pixel of its expected place, one for one.
    static void ExpectRuns(const std::vector<double>& runs, const std::vector<double>& want) {
        QVERIFY2(runs.size() == want.size(),
                 qPrintable(QStringLiteral("%1 runs, wanted %2; first at %3")
                                .arg(runs.size())
                                .arg(want.size())
                                .arg(runs.empty() ? -1.0 : runs[0])));
        for (std::size_t i = 0; i < want.size(); ++i)
            QVERIFY2(
                std::abs(runs[i] - want[i]) <= 1.0,
                qPrintable(
                    QStringLiteral("run %1 at %2, wanted %3").arg(i).arg(runs[i]).arg(want[i])));
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
        view = ViewState{};
        view.ScaleX = Scale;
    }

    void xAxisSpansItsIntervalWithATickAtEveryStep() {
        Only(true, false, false, true, false);
        const QImage img = Draw();
        const int axis = FullestRow(img, Black);
        QVERIFY(std::abs(axis - 300) <= 1);
        // The axis runs from -10 to 10.
        QVERIFY(CountColour(img, Black, int(ImgX(-10)) + 1, axis, int(ImgX(10)) - 1, axis) >=
                int(ImgX(10) - ImgX(-10)) - 3);
        // Ticks stick out about 2 pixels on both sides: 21 of them, one per unit.
        std::vector<double> want;
        for (int t = -10; t <= 10; ++t)
            want.push_back(ImgX(t));
        ExpectRuns(RunsInRow(img, axis - 1, Black), want);
        ExpectRuns(RunsInRow(img, axis + 1, Black), want);
        // Nothing further out: ticks are short and there are no numbers.
        QCOMPARE(CountColour(img, Black, 0, 0, W - 1, axis - 4), 0);
    }

    void axisFollowsItsIntervalNotTheView() {
        Only(true, false, false, false, false);
        settings.MinX = -2;
        settings.MaxX = 5;
        const QImage img = Draw();
        const int axis = FullestRow(img, Black);
        QCOMPARE(CountColour(img, Black, 0, axis, int(ImgX(-2)) - 2, axis), 0);
        QCOMPARE(CountColour(img, Black, int(ImgX(5)) + 2, axis, W - 1, axis), 0);
        QVERIFY(CountColour(img, Black, int(ImgX(-2)) + 1, axis, int(ImgX(5)) - 1, axis) >=
                int(ImgX(5) - ImgX(-2)) - 3);
    }

    void yAxisTicksAreHorizontal() {
        Only(false, true, false, true, false);
        settings.MinY = -5;
        settings.MaxY = 5;
        settings.StepNumeration_Y = 2;
        const QImage img = Draw();
        const int axis = FullestColumn(img, Black);
        QVERIFY(std::abs(axis - 400) <= 1);
        std::vector<double> want; // from the top: y = 4, 2, 0, -2, -4
        for (int t = 4; t >= -4; t -= 2)
            want.push_back(ImgY(t));
        ExpectRuns(RunsInColumn(img, axis - 2, Black), want);
        ExpectRuns(RunsInColumn(img, axis + 2, Black), want);
    }

    void xozProjectionTurnsTheXAndZTicksTowardsTheViewer() {
        // Turned -90 degrees about X, model z points up the screen and model y into it: ticks
        // left in the y direction would shrink to dots.
        Only(true, false, true, true, false);
        settings.MinZ = -5;
        settings.MaxZ = 5;
        view.AngleX = -90;
        const QImage img = Draw();
        const int xAxis = FullestRow(img, Black);
        std::vector<double> wantX;
        for (int t = -10; t <= 10; ++t)
            wantX.push_back(ImgX(t));
        ExpectRuns(RunsInRow(img, xAxis - 1, Black), wantX);

        const int zAxis = FullestColumn(img, Black);
        QVERIFY(std::abs(zAxis - 400) <= 1);
        std::vector<double> wantZ;
        for (int t = 5; t >= -5; --t)
            wantZ.push_back(ImgY(t));
        ExpectRuns(RunsInColumn(img, zAxis - 1, Black), wantZ);
    }

    void unturnedZAxisTicksStandAlongY() {
        // Unturned, the Z axis points at the viewer; turned 90 degrees about Y it lies across
        // the screen, its ticks standing up along model Y.
        Only(false, false, true, true, false);
        view.AngleY = 90;
        settings.MinZ = -5;
        settings.MaxZ = 5;
        const QImage img = Draw();
        const int axis = FullestRow(img, Black);
        // Model z turned +90 about Y goes to screen -x.
        std::vector<double> want;
        for (int t = 5; t >= -5; --t)
            want.push_back(ImgX(-t));
        ExpectRuns(RunsInRow(img, axis - 1, Black), want);
    }

    void xNumbersStandAboveTheAxisAtEveryStepIncludingZero() {
        Only(true, false, false, false, true);
        const QImage img = Draw();
        const int axis = FullestRow(img, Black);
        for (int t = -10; t <= 10; ++t) {
            const int x0 = int(ImgX(t));
            // Glyphs start at the number's place and stand a little above the axis.
            const int n = CountColour(img, Black, x0, axis - 16, x0 + 24, axis - 2);
            QVERIFY2(n > 3, qPrintable(QStringLiteral("no number at %1").arg(t)));
        }
        // The letter X, in red, just inside the end of the axis and below it.
        QVERIFY(CountColour(img, Red, int(ImgX(9.5)), axis - 12, int(ImgX(9.5)) + 12, axis + 14) >
                3);
        QCOMPARE(CountColour(img, Red), CountColour(img, Red, int(ImgX(9.5)), 0, W - 1, H - 1));
    }

    void yNumbersLeaveOutZeroAndStartWithABlank() {
        Only(false, true, false, false, true);
        settings.MinY = -5;
        settings.MaxY = 5;
        const QImage img = Draw();
        const int axis = FullestColumn(img, Black);
        for (int t = -5; t <= 5; ++t) {
            const int base = int(ImgY(t));
            // " 1": the blank pushes the digit a few pixels off the axis.
            const int n = CountColour(img, Black, axis + 6, base - 12, axis + 30, base - 1);
            if (t == 0)
                QCOMPARE(n, 0);
            else
                QVERIFY2(n > 3, qPrintable(QStringLiteral("no number at %1").arg(t)));
            QCOMPARE(CountColour(img, Black, axis + 1, base - 12, axis + 3, base - 1), 0);
        }
        // The letter Y near the top end of the axis, left of it.
        QVERIFY(CountColour(img, Red, axis - 12, int(ImgY(4.625)) - 12, axis + 2,
                            int(ImgY(4.625)) + 2) > 3);
    }

    void numbersNeedTheirAxis() {
        Only(true, false, true, false, true);
        settings.MinY = -5;
        settings.MaxY = 5;
        const QImage img = Draw();
        // No Y numbers beside the (absent) Y axis and no Y letter.
        QCOMPARE(CountColour(img, Black, 405, 0, 440, 280), 0);
        QCOMPARE(CountColour(img, Red, 370, 0, 430, 250), 0);
        QVERIFY(CountColour(img, Red) > 0); // the X letter is there
    }

    // Seen end-on, the Z axis would print every number on one spot beside "0". A Z step too
    // large for any number inside the interval draws the frame without Z numbers.
    void endOnAxisGetsNoNumbersButKeepsItsLetter() {
        Only(true, true, true, true, true);
        const QImage endOn = Draw();
        settings.StepNumeration_Z = 1000;
        QCOMPARE(endOn, Draw());
        QVERIFY(CountColour(endOn, Red, 380, 280, 420, 320) > 0); // the Z letter by the origin
        // Turned, the Z axis shows its numbers again.
        view.AngleX = 30;
        const QImage turnedWithout = Draw();
        settings.StepNumeration_Z = 1;
        QVERIFY(Draw() != turnedWithout);
    }

    void tinyScaleDropsTicksAndNumbersButKeepsAxes() {
        view.ScaleX = 0.001; // PixelX = -1000, beyond the guard
        Only(true, true, false, true, true);
        const QImage full = Draw();
        Only(true, true, false, false, false);
        const QImage bare = Draw();
        QVERIFY(CountColour(bare, Black) > 0);
        QCOMPARE(CountColour(full, Black), CountColour(bare, Black));
    }

    void meshFillsOnlyItsHalfPlane() {
        // Plane y = 0 seen face on: model z is the screen's up direction.
        Only(false, false, false, false, false);
        view.AngleX = -90;
        settings.MinZ = -5;
        settings.MaxZ = 5;
        settings.XDown = true;
        QImage img = Draw();
        std::vector<double> want; // lines at z = 0, -1, ..., -5 from the top
        for (int z = 0; z >= -5; --z)
            want.push_back(ImgY(z));
        ExpectRuns(RunsInColumn(img, int(ImgX(0.5)), Silver), want);
        QCOMPARE(CountColour(img, Silver, 0, 0, W - 1, int(ImgY(0)) - 2), 0);
        // Lines across, every unit from -10 to 10.
        std::vector<double> across;
        for (int x = -10; x <= 10; ++x)
            across.push_back(ImgX(x));
        ExpectRuns(RunsInRow(img, int(ImgY(-2.5)), Silver), across);

        settings.XDown = false;
        settings.XUp = true;
        img = Draw();
        QCOMPARE(CountColour(img, Silver, 0, int(ImgY(0)) + 2, W - 1, H - 1), 0);
        QVERIFY(CountColour(img, Silver, 0, int(ImgY(5)), W - 1, int(ImgY(0.5))) > 0);
    }

    void meshIsAlignedToTheOrigin() {
        Only(false, false, false, false, false);
        settings.YDown = true; // plane z = 0, lower half in y
        settings.YUp = true;
        settings.MinX = -3.5;
        settings.MaxX = 3.5;
        settings.MinY = -2.5;
        settings.MaxY = 2.5;
        settings.StepMesh = 2;
        const QImage img = Draw();
        // Vertical lines at x = -2, 0, 2, not at the interval's ends -3.5 and 3.5.
        ExpectRuns(RunsInRow(img, int(ImgY(1)), Silver), {ImgX(-2), ImgX(0), ImgX(2)});
        // Horizontal lines at y = 2, 0, -2, each running the whole interval of x.
        ExpectRuns(RunsInColumn(img, int(ImgX(1)), Silver), {ImgY(2), ImgY(0), ImgY(-2)});
        QVERIFY(CountColour(img, Silver, int(ImgX(-3.5)) + 1, int(ImgY(2)) - 1, int(ImgX(-2)) - 1,
                            int(ImgY(2)) + 1) > 0);
        QCOMPARE(CountColour(img, Silver, 0, 0, int(ImgX(-3.5)) - 2, H - 1), 0);
    }

    // Leaving out what lies outside the view volume must not change a pixel: every view below
    // cuts the frame somewhere (shifted, turned, zoomed in, in perspective with parts behind the
    // camera and beyond the far plane, wide lines), and each plane has its own colour so that a
    // lost line of one cannot hide behind another's.
    void cullingKeepsEveryPixel_data() {
        QTest::addColumn<bool>("perspective");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("angleX");
        QTest::addColumn<double>("angleY");
        QTest::addColumn<double>("angleZ");
        QTest::addColumn<double>("shiftX");
        QTest::addColumn<double>("shiftY");
        QTest::addColumn<double>("ratio");
        QTest::newRow("parallel, unturned")
            << false << Scale << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow("parallel, turned")
            << false << Scale << -60.0 << 0.0 << 30.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow("parallel, zoomed in and shifted")
            << false << 0.4 << -20.0 << 10.0 << 5.0 << 1.3 << -0.6 << 1.0;
        QTest::newRow("parallel, axes at the edge")
            << false << Scale << 0.0 << 0.0 << 0.0 << 10.9 << -8.2 << 1.0;
        QTest::newRow("perspective, unturned")
            << true << 0.1 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow("perspective, turned")
            << true << 0.1 << -60.0 << 0.0 << 30.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow("perspective, from below, shifted")
            << true << 0.2 << 75.0 << -20.0 << 140.0 << 3.0 << 2.0 << 1.0;
        QTest::newRow("perspective, grazing")
            << true << 0.1 << -88.0 << 0.0 << 0.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow("parallel, wide lines")
            << false << Scale << -30.0 << 0.0 << 20.0 << 1.5 << 0.5 << 3.0;
    }

    void cullingKeepsEveryPixel() {
        QFETCH(bool, perspective);
        QFETCH(double, scale);
        QFETCH(double, angleX);
        QFETCH(double, angleY);
        QFETCH(double, angleZ);
        QFETCH(double, shiftX);
        QFETCH(double, shiftY);
        QFETCH(double, ratio);
        WideAndFine(60, 0.25, 0.5);
        settings.ColorX = clRed;
        settings.ColorY = clGreen;
        settings.ColorZ = clBlue;
        settings.Perspective = perspective;
        view.ScaleX = scale;
        view.AngleX = angleX;
        view.AngleY = angleY;
        view.AngleZ = angleZ;
        view.ShiftX = shiftX;
        view.ShiftY = shiftY;
        auto draw = [&](TFrameCulling culling, TFrameCounts& counts) {
            TScene scene{settings, view, false, ',', nullptr, ratio};
            scene.FrameCulling = culling;
            scene.FrameCounts = &counts;
            DrawScene(scene, TFrameSize::Plain(W, H));
            return gl->Grab();
        };
        TFrameCounts all, culled;
        const QImage reference = draw(TFrameCulling::Everything, all);
        const QImage fast = draw(TFrameCulling::Visible, culled);
        QVERIFY(CountColour(reference, Black) > 0);
        QCOMPARE(fast, reference);
        // The views do cut: something was left out every time.
        QVERIFY2(
            culled.LineVertices < all.LineVertices,
            qPrintable(QStringLiteral("%1 of %2").arg(culled.LineVertices).arg(all.LineVertices)));
    }

    // The heaviest settings the settings accept hand over no more than the view can show: the
    // lines of the mesh and the ticks within about a view's width of the origin, the numbers
    // within it, instead of millions of lines and tens of thousands of numbers.
    void heaviestSettingsHandOverOnlyWhatTheViewHolds() {
        WideAndFine(1000, 0.01, 0.1);
        QVERIFY(SettingsAreValid(settings));
        view.AngleX = -30; // no axis end-on: all three get numbers
        view.AngleZ = 20;
        TFrameCounts counts;
        Draw(TFrameCulling::Visible, &counts);
        // A line or a tick must cross the ball holding the view (half its diagonal, widened),
        // whatever the turn: per family no more than that diameter over the step.
        const double reach = std::hypot(W, H) / 2 / PxPerUnit * 1.05 + 1;
        auto family = [&](double step) { return 2 * reach / step + 2; };
        // Six half-planes of two families each, the ticks of three axes; two vertices a line.
        QVERIFY2(counts.LineVertices <= 2 * (12 * family(0.01) + 3 * family(0.1)),
                 qPrintable(QString::number(counts.LineVertices)));
        QVERIFY2(counts.Numbers <= 3 * family(0.1), qPrintable(QString::number(counts.Numbers)));
        // Yet what is in view is all there: the plane z = 0 shows at least the disc of half the
        // view's height about the origin, crossed by lines of either family every 0.01.
        const double inView = H / 2 / PxPerUnit;
        QVERIFY2(counts.LineVertices >= 2 * 2 * (2 * inView / 0.01),
                 qPrintable(QString::number(counts.LineVertices)));
        // The X numbers alone every 0.1 over the same half-height to either side.
        QVERIFY2(counts.Numbers >= 2 * inView / 0.1, qPrintable(QString::number(counts.Numbers)));
    }

    void cleanupTestCase() { gl.reset(); }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TstSceneFrame t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_scene_frame.moc"
