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
constexpr QRgb Green = qRgb(0, 128, 0);
constexpr QRgb Blue = qRgb(0, 0, 255);
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

constexpr QRgb White = qRgb(255, 255, 255); // the background

bool Painted(const QImage& img, int x, int y) {
    return !IsColour(img, x, y, White);
}

// Whether a pixel within a pixel of (x, y), diagonals included, passes `is`.
template <typename Is> bool Near(const QImage& img, int x, int y, Is is) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < img.width() && py < img.height() && is(img, px, py))
                return true;
        }
    return false;
}

// The thinned picture paints the colour where the reference does, to within a pixel: nearly all
// of the reference's pixels have one of the thinned beside them, and at least `same` of them
// are the very pixels.
void ExpectCovered(const QImage& reference, const QImage& thinned, QRgb c, double same) {
    auto is = [c](const QImage& img, int x, int y) { return IsColour(img, x, y, c); };
    int all = 0, near = 0, very = 0;
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x)
            if (is(reference, x, y)) {
                ++all;
                near += Near(thinned, x, y, is);
                very += is(thinned, x, y);
            }
    const QString what = QStringLiteral("colour %1: %2 near, %3 same of %4")
                             .arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                             .arg(near)
                             .arg(very)
                             .arg(all);
    QVERIFY2(near >= 0.97 * all, qPrintable(what));
    QVERIFY2(very >= same * all, qPrintable(what));
}

// Where planes cross, the thinned picture may show another plane's colour than the reference
// (the nearer line that hid it left out), but it paints nothing farther than a pixel from
// where the reference paints.
int Strays(const QImage& reference, const QImage& thinned) {
    int strays = 0;
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x)
            strays += Painted(thinned, x, y) && !Near(reference, x, y, Painted);
    return strays;
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

    // The frame in the given view, drawn both ways: the exact reference, then as the view draws
    // it. Each plane has its own colour so that a lost line of one cannot hide behind another's.
    struct TBoth {
        QImage Reference;
        QImage Drawn;
        TFrameCounts All;
        TFrameCounts Handed;
    };

    TBoth DrawBoth(bool perspective, double scale, double angleX, double angleY, double angleZ,
                   double shiftX, double shiftY, double ratio) {
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
        TBoth both;
        auto draw = [&](TFrameCulling culling, TFrameCounts& counts) {
            TScene scene{settings, view, false, ',', nullptr, ratio};
            scene.FrameCulling = culling;
            scene.FrameCounts = &counts;
            DrawScene(scene, TFrameSize::Plain(W, H));
            return gl->Grab();
        };
        both.Reference = draw(TFrameCulling::Everything, both.All);
        both.Drawn = draw(TFrameCulling::Visible, both.Handed);
        return both;
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
    // camera and beyond the far plane, wide lines). Where lines are a pixel or more apart the
    // picture is the very same; `exact` is off for the views whose far mesh recedes to less
    // than half a pixel between lines, which is thinned, and for the wide lines, closer than
    // their width and so filled as strips: there the colours must cover the same places.
    void cullingKeepsEveryPixel_data() {
        QTest::addColumn<bool>("perspective");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("angleX");
        QTest::addColumn<double>("angleY");
        QTest::addColumn<double>("angleZ");
        QTest::addColumn<double>("shiftX");
        QTest::addColumn<double>("shiftY");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<bool>("exact");
        QTest::newRow("parallel, unturned")
            << false << Scale << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 1.0 << true;
        QTest::newRow("parallel, turned")
            << false << Scale << -60.0 << 0.0 << 30.0 << 0.0 << 0.0 << 1.0 << true;
        QTest::newRow("parallel, zoomed in and shifted")
            << false << 0.4 << -20.0 << 10.0 << 5.0 << 1.3 << -0.6 << 1.0 << true;
        QTest::newRow("parallel, axes at the edge")
            << false << Scale << 0.0 << 0.0 << 0.0 << 10.9 << -8.2 << 1.0 << true;
        QTest::newRow("perspective, unturned")
            << true << 0.1 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 1.0 << true;
        QTest::newRow("perspective, turned")
            << true << 0.1 << -60.0 << 0.0 << 30.0 << 0.0 << 0.0 << 1.0 << false;
        QTest::newRow("perspective, from below, shifted")
            << true << 0.2 << 75.0 << -20.0 << 140.0 << 3.0 << 2.0 << 1.0 << false;
        QTest::newRow("perspective, grazing")
            << true << 0.1 << -88.0 << 0.0 << 0.0 << 0.0 << 0.0 << 1.0 << false;
        QTest::newRow("parallel, wide lines")
            << false << Scale << -30.0 << 0.0 << 20.0 << 1.5 << 0.5 << 3.0 << false;
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
        QFETCH(bool, exact);
        // Numbers a unit apart stand clear of each other in all these views.
        WideAndFine(60, 0.25, 1);
        const TBoth both =
            DrawBoth(perspective, scale, angleX, angleY, angleZ, shiftX, shiftY, ratio);
        QVERIFY(CountColour(both.Reference, Black) > 0);
        if (exact) {
            QCOMPARE(both.Drawn, both.Reference);
        } else {
            QVERIFY(both.Drawn != both.Reference);
            for (const QRgb c : {Red, Green, Blue, Black})
                ExpectCovered(both.Reference, both.Drawn, c, 0.95);
            QCOMPARE(Strays(both.Reference, both.Drawn), 0);
        }
        // The views do cut: something was left out every time.
        QVERIFY2(both.Handed.LineVertices < both.All.LineVertices,
                 qPrintable(QStringLiteral("%1 of %2")
                                .arg(both.Handed.LineVertices)
                                .arg(both.All.LineVertices)));
    }

    // A mesh denser than a pixel is thinned, yet paints the same area: solid where the
    // reference is solid, nothing where it has nothing.
    void denseMeshPaintsTheSameArea_data() {
        QTest::addColumn<bool>("perspective");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("angleX");
        QTest::addColumn<double>("angleZ");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("same"); // least share of the reference's very pixels
        // 0.36 pixels between lines across the plane z = 0, the other planes edge-on: the
        // plane is solid, and thinned to more than a pixel between lines it would show
        // unpainted rows and columns where they cross.
        QTest::newRow("parallel, face on") << false << Scale << 0.0 << 0.0 << 1.0 << 0.998;
        // Planes crossing: where a line left out hid another plane's, that one shows.
        QTest::newRow("parallel, turned") << false << Scale << -60.0 << 30.0 << 1.0 << 0.995;
        QTest::newRow("parallel, turned, wide lines")
            << false << Scale << -60.0 << 30.0 << 2.0 << 0.995;
        // Receding to the far plane; the planes x = 0 and y = 0 seen edge-on.
        QTest::newRow("perspective, unturned") << true << 0.1 << 0.0 << 0.0 << 1.0 << 0.995;
        QTest::newRow("perspective, turned") << true << 0.1 << -60.0 << 30.0 << 1.0 << 0.995;
    }

    void denseMeshPaintsTheSameArea() {
        QFETCH(bool, perspective);
        QFETCH(double, scale);
        QFETCH(double, angleX);
        QFETCH(double, angleZ);
        QFETCH(double, ratio);
        QFETCH(double, same);
        WideAndFine(10, 0.01, 1);
        const TBoth both = DrawBoth(perspective, scale, angleX, 0, angleZ, 0, 0, ratio);
        for (const QRgb c : {Red, Green, Blue}) {
            QVERIFY(CountColour(both.Reference, c) > 0);
            ExpectCovered(both.Reference, both.Drawn, c, same);
        }
        QCOMPARE(Strays(both.Reference, both.Drawn), 0);
        // Filled: each solid run of a family is one strip and its two edge lines, so of the
        // reference's lines few are left (thinning alone leaves about half of lines 0.36 pixels
        // apart, and the culling little of intervals this short).
        QVERIFY(both.Handed.Strips > 0);
        QVERIFY2(both.Handed.LineVertices < both.All.LineVertices / 50,
                 qPrintable(QStringLiteral("%1 of %2")
                                .arg(both.Handed.LineVertices)
                                .arg(both.All.LineVertices)));
    }

    // The settings a new document opens with, in the views the bench draws and zoomed in: all is
    // a pixel or more apart but the ticks of the Z axis seen end-on, which lie on each other.
    void defaultFrameIsDrawnAsBefore_data() {
        QTest::addColumn<bool>("perspective");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("angleX");
        QTest::addColumn<double>("angleZ");
        QTest::newRow("perspective, unturned") << true << 0.1 << 0.0 << 0.0;
        QTest::newRow("perspective, turned") << true << 0.1 << -60.0 << 30.0;
        QTest::newRow("parallel, unturned") << false << Scale << 0.0 << 0.0;
        QTest::newRow("parallel, turned, zoomed in") << false << 0.5 << -60.0 << 30.0;
    }

    void defaultFrameIsDrawnAsBefore() {
        QFETCH(bool, perspective);
        QFETCH(double, scale);
        QFETCH(double, angleX);
        QFETCH(double, angleZ);
        Settings_Default(settings);
        const TBoth both = DrawBoth(perspective, scale, angleX, 0, angleZ, 0, 0, 1);
        QVERIFY(CountColour(both.Reference, Black) > 0);
        QCOMPARE(both.Drawn, both.Reference);
    }

    // Numbers a tenth apart, 3.6 pixels, would print on each other: each kept number starts at
    // least half the width of the one before it, and the next one past that is kept.
    void crowdedNumbersKeepHalfTheirWidthApart() {
        Only(true, false, false, false, true);
        settings.StepNumeration_X = 0.1;
        TFrameCounts all, kept;
        Draw(TFrameCulling::Everything, &all);
        Draw(TFrameCulling::Visible, &kept);
        QCOMPARE(all.Numbers, std::size_t(2 * 101)); // 0 in either direction
        // Per direction 10 units, 360 pixels: whole numbers (as narrow as "1") at most ten,
        // the others at least as wide as "0,1" and at most as "-8,8".
        const double span = 10 * PxPerUnit;
        const double step = 0.1 * PxPerUnit;
        const double most = 2 * (1 + 10 + span / (TextAdvance("0,1") / 2));
        const double least = 2 * span / (TextAdvance("-8,8") / 2 + step);
        QVERIFY2(
            kept.Numbers <= most && kept.Numbers >= least,
            qPrintable(QStringLiteral("%1 in [%2, %3]").arg(kept.Numbers).arg(least).arg(most)));
    }

    // The heaviest settings the settings accept hand over no more than the screen can show:
    // a family of mesh lines or ticks about a line per half pixel across the view, numbers
    // about one per half a number's width along their axis, instead of hundreds of thousands
    // of lines and a pile of numbers on each other.
    void heaviestSettingsHandOverWhatTheScreenHolds_data() {
        QTest::addColumn<bool>("perspective");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("angleX");
        QTest::addColumn<double>("angleZ");
        // No axis end-on: all three get numbers.
        QTest::newRow("parallel, turned") << false << Scale << -30.0 << 20.0;
        QTest::newRow("perspective, unturned") << true << 0.1 << 0.0 << 0.0;
        QTest::newRow("perspective, turned") << true << 0.1 << -60.0 << 30.0;
    }

    void heaviestSettingsHandOverWhatTheScreenHolds() {
        QFETCH(bool, perspective);
        QFETCH(double, scale);
        QFETCH(double, angleX);
        QFETCH(double, angleZ);
        WideAndFine(1000, 0.01, 0.1);
        QVERIFY(SettingsAreValid(settings));
        settings.Perspective = perspective;
        view.ScaleX = scale;
        view.AngleX = angleX;
        view.AngleZ = angleZ;
        TFrameCounts counts;
        const QImage img = Draw(TFrameCulling::Visible, &counts);
        const double diagonal = std::hypot(W, H);
        // Six half-planes of two families each and the ticks of three axes, each family no
        // more than a line per half pixel along the view's diagonal; two vertices a line.
        QVERIFY2(counts.LineVertices <= 2 * 15 * (diagonal / 0.5),
                 qPrintable(QString::number(counts.LineVertices)));
        // Three axes, numbers both ways from the origin, each at least half of the narrowest
        // number's width from the one before.
        const double narrowest = TextAdvance("1");
        QVERIFY(narrowest > 0);
        QVERIFY2(counts.Numbers <= 6 * (diagonal / (narrowest / 2) + 1),
                 qPrintable(QString::number(counts.Numbers)));
        // Yet the mesh is solid in view: the planes fill the picture.
        const int painted = W * H - CountColour(img, White);
        qWarning("painted %d of %d, lines %zu numbers %zu", painted, W * H, counts.LineVertices,
                 counts.Numbers);
        QVERIFY2(painted >= 0.97 * W * H, qPrintable(QString::number(painted)));
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
