// Frames drawn into an offscreen target and checked by their pixels. Expected positions are
// computed from the projection, never copied from an earlier run.

#include "documents/code_page.h"
#include "graphs/document.h"
#include "support/machine_number.h"
#include "support/pixel_tools.h"
#include "test_target.h"
#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/offscreen.h"
#include "view/view_commands.h"

#include <QGuiApplication>
#include <QImage>
#include <QtTest>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int W = 400;
constexpr int H = 300;

// Normalised device coordinates to image coordinates.
QPointF NdcToImage(double nx, double ny) {
    return {(nx + 1) / 2 * W, H - (ny + 1) / 2 * H};
}

} // namespace

class TstFrame : public QObject {
    Q_OBJECT

    std::unique_ptr<TOffscreenGL> gl;
    TSettings settings;
    ViewState view;

    // Draws the frame, then one red point of size 3 at the model point through the shift.
    QImage FrameWithPoint(double x, double y, double z, bool autoScale = false) {
        TScene scene{settings, view, autoScale};
        DrawScene(scene, TFrameSize::Plain(W, H));
        glPointSize(3);
        glColor3f(1, 0, 0);
        glBegin(GL_POINTS);
        TShiftedEmitter(view).Vertex(x, y, z);
        glEnd();
        return gl->Grab();
    }

private slots:
    void initTestCase() {
        std::string error;
        gl = MakeTestTarget(W, H, error);
        QVERIFY2(gl, error.c_str());
    }

    void init() {
        // No axes: the projection tests look for their own red point alone.
        Settings_Default(settings);
        settings.AxisX = settings.AxisY = settings.AxisZ = false;
        view = ViewState{};
        InitSurfaceScales(view, W, H);
    }

    void contextAllowsFixedFunctions() {
        // glBegin in a core profile is an error and draws nothing; make sure we did not get one.
        GLint mask = 0;
        glGetIntegerv(0x9126 /* GL_CONTEXT_PROFILE_MASK */, &mask);
        QVERIFY((mask & 0x1 /* core */) == 0);
        QVERIFY(glIsEnabled(GL_DEPTH_TEST));
        QVERIFY(glIsEnabled(GL_CULL_FACE));
    }

    void emptySceneIsBackgroundEverywhere() {
        TScene scene{settings, view, false};
        DrawScene(scene, TFrameSize::Plain(W, H));
        const QImage img = gl->Grab();
        QCOMPARE(CountColour(img, qRgb(255, 255, 255)), W * H);

        settings.BackGround = 0x00336699; // red 0x99, green 0x66, blue 0x33
        DrawScene(scene, TFrameSize::Plain(W, H));
        QCOMPARE(CountColour(gl->Grab(), qRgb(0x99, 0x66, 0x33)), W * H);

        // With the default frame, the background shows wherever the frame does not reach.
        Settings_Default(settings);
        settings.BackGround = 0x00336699;
        DrawScene(scene, TFrameSize::Plain(W, H));
        const QImage framed = gl->Grab();
        const int background = CountColour(framed, qRgb(0x99, 0x66, 0x33));
        QVERIFY(background < W * H);
        QVERIFY(background > W * H * 9 / 10);
        for (QPoint corner :
             {QPoint(0, 0), QPoint(W - 1, 0), QPoint(0, H - 1), QPoint(W - 1, H - 1)})
            QCOMPARE(framed.pixel(corner) & 0xFFFFFF, 0x996633u);
    }

    void startScalesFollowThePanel() {
        ViewState v;
        InitSurfaceScales(v, 500, 250);
        QCOMPARE(v.ScaleX, 0.1);
        QCOMPARE(v.ScaleY, 0.2);
    }

    void perspectiveFrameMakesScaleYEqualScaleX() {
        QVERIFY(view.ScaleY != view.ScaleX);
        const QImage img = FrameWithPoint(1, 0, 0);
        QCOMPARE(view.ScaleY, view.ScaleX);
        // Eye at z = 2.5, 60 degrees vertical field: x_ndc = f / aspect * x_eye / 2.5.
        const double f = 1 / std::tan(M_PI / 6);
        const double nx = f / (double(W) / H) * (1 * view.ScaleX) / 2.5;
        const TColourSpot b = FindColour(img, qRgb(255, 0, 0));
        QVERIFY(b.Count > 0);
        const QPointF want = NdcToImage(nx, 0);
        QVERIFY2(std::abs(b.X - want.x()) < 0.75, qPrintable(QString::number(b.X)));
        QVERIFY(std::abs(b.Y - want.y()) < 0.75);
    }

    void parallelViewMapsOneUnitToATenthOfTheHalfWidth() {
        settings.Perspective = false;
        const QImage img = FrameWithPoint(1, 0, 0);
        QCOMPARE(view.ScaleY, double(W) * 0.1 / H);
        const TColourSpot b = FindColour(img, qRgb(255, 0, 0));
        QVERIFY(b.Count > 0);
        QVERIFY(std::abs(b.X - (W / 2 + 0.1 * W / 2)) < 0.75);
        QVERIFY(std::abs(b.Y - H / 2) < 0.75);

        // One model unit has the same length in pixels along Y as along X.
        const TColourSpot up = FindColour(FrameWithPoint(0, 1, 0), qRgb(255, 0, 0));
        QVERIFY(std::abs((H / 2 - up.Y) - 0.1 * W / 2) < 0.75);
    }

    void autoScaleHoldsScaleYAcrossFrames() {
        view.ScaleY = 0.37;
        FrameWithPoint(0, 0, 0, true);
        QCOMPARE(view.ScaleY, 0.37);
        settings.Perspective = false;
        FrameWithPoint(0, 0, 0, true);
        QCOMPARE(view.ScaleY, 0.37);
        FrameWithPoint(0, 0, 0, false);
        QCOMPARE(view.ScaleY, double(W) * 0.1 / H);
    }

    void shiftIsAppliedBeforeTheRotation() {
        settings.Perspective = false;
        view.ShiftX = 2;
        // Unturned: the origin moves two units right.
        TColourSpot b = FindColour(FrameWithPoint(0, 0, 0), qRgb(255, 0, 0));
        QVERIFY(std::abs(b.X - NdcToImage(2 * 0.1, 0).x()) < 0.75);
        // Turned 90 degrees about Z: the shifted origin turns about the model origin, upwards.
        view.AngleZ = 90;
        b = FindColour(FrameWithPoint(0, 0, 0), qRgb(255, 0, 0));
        const QPointF want = NdcToImage(0, 2 * view.ScaleY);
        QVERIFY(std::abs(b.X - want.x()) < 0.75);
        QVERIFY2(std::abs(b.Y - want.y()) < 0.75, qPrintable(QString::number(b.Y)));
    }

    void rotationsTurnAboutZThenYThenX() {
        settings.Perspective = false;
        // (1,0,0) turned 90 degrees about Z lies on +Y; then 90 about X takes +Y to +Z, which
        // the parallel view shows at the centre. Turning about X first would leave it on +X.
        view.AngleZ = 90;
        view.AngleX = 90;
        const TColourSpot b = FindColour(FrameWithPoint(1, 0, 0), qRgb(255, 0, 0));
        QVERIFY(b.Count > 0);
        QVERIFY(std::abs(b.X - W / 2) < 0.75);
        QVERIFY(std::abs(b.Y - H / 2) < 0.75);
    }

    void zeroSizedViewIsOnlyCleared() {
        view.ScaleY = 0.5;
        TScene scene{settings, view, false};
        DrawScene(scene, TFrameSize::Plain(W, 0));
        QCOMPARE(view.ScaleY, 0.5);
        QVERIFY(std::isfinite(view.ScaleY));
    }

    void printTextDrawsGlyphsInTheRasterColour_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("latin") << QStringLiteral("A");
        QTest::newRow("digits") << QStringLiteral("-1,5");
        QTest::newRow("cyrillic") << QStringLiteral("Ж");
        QTest::newRow("cyrillic_lower") << QStringLiteral("ы");
    }

    void printTextDrawsGlyphsInTheRasterColour() {
        QFETCH(QString, text);
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glViewport(0, 0, W, H);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // The text takes the colour current when the raster position was set.
        glColor3f(0, 0, 1);
        glRasterPos2f(0, 0); // window (200, 150)
        glColor3f(0, 1, 0);
        PrintText(Utf8ToCp1251(text.toStdString()));
        const QImage img = gl->Grab();

        QCOMPARE(CountColour(img, qRgb(0, 255, 0)), 0);
        const TColourSpot b = FindColour(img, qRgb(0, 0, 255));
        QVERIFY2(b.Count >= 5, qPrintable(QString::number(b.Count)));
        // Glyphs start at the raster position and stand on the baseline (image row 150).
        QVERIFY(b.Left >= 200 && b.Left <= 203);
        QVERIFY(b.Right < 200 + 11 * text.size());
        QVERIFY(b.Bottom <= 150 + 3); // at most a descender below the baseline
        QVERIFY(b.Top >= 150 - 11);   // no taller than the 11-pixel font

        // Everything else is back as it was.
        GLint base = -1;
        glGetIntegerv(GL_LIST_BASE, &base);
        QCOMPARE(base, 0);
    }

    void cyrillicAndLatinGlyphsDiffer() {
        auto draw = [&](const char* utf8) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glColor3f(0, 0, 0);
            glRasterPos2f(0, 0);
            PrintText(Utf8ToCp1251(utf8));
            return gl->Grab();
        };
        const QImage zhe = draw("Ж");
        const QImage x = draw("X");
        const QImage same = draw("Ж");
        QVERIFY(zhe != x);
        QCOMPARE(zhe, same);
    }

    void textAdvancesCharacterByCharacter() {
        auto rightmost = [&](const char* s) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glColor3f(0, 0, 0);
            glRasterPos2f(0, 0);
            PrintText(s);
            return FindColour(gl->Grab(), qRgb(0, 0, 0)).Right;
        };
        const int one = rightmost("1");
        const int three = rightmost("111");
        QVERIFY(one > 200);
        QVERIFY(three > one + 8);
    }

    // The coordinate readout names the model point under the pointer: the tick "10" of each axis,
    // projected by the very matrices a frame sets up, reads 10 at any size of the view, with and
    // without a shift, in both projections.
    void readoutNamesTheTickUnderThePointerAtEverySize() {
        for (const bool perspective : {true, false}) {
            settings.Perspective = perspective;
            for (const auto& [w, h] : {std::pair{736, 627}, std::pair{400, 300},
                                       std::pair{1280, 500}, std::pair{300, 800}}) {
                for (const auto& [sx, sy] : {std::pair{0.0, 0.0}, std::pair{1.5, -2.0}}) {
                    view = ViewState{};
                    InitSurfaceScales(view, w, h);
                    view.ShiftX = sx;
                    view.ShiftY = sy;
                    const TFrameSize size = TFrameSize::Plain(w, h);
                    TScene scene{settings, view, false};
                    DrawScene(scene,
                              size); // sets the matrices (a viewport beyond the target is fine)
                    GLdouble model[16], projection[16];
                    GLint viewport[4];
                    glGetDoublev(GL_MODELVIEW_MATRIX, model);
                    glGetDoublev(GL_PROJECTION_MATRIX, projection);
                    glGetIntegerv(GL_VIEWPORT, viewport);
                    auto readAt = [&](double x, double y) {
                        GLdouble wx = 0, wy = 0, wz = 0;
                        gluProject(x + sx, y + sy, 0, model, projection, viewport, &wx, &wy, &wz);
                        const auto r = CursorReadout(view, perspective, wx, h - wy, size, '.');
                        return r ? QPointF(static_cast<double>(MachineNumber(r->X)),
                                           static_cast<double>(MachineNumber(r->Y)))
                                 : QPointF(1e9, 1e9);
                    };
                    const QString where = QStringLiteral("%1x%2 shift %3 %4 perspective %5")
                                              .arg(w)
                                              .arg(h)
                                              .arg(sx)
                                              .arg(sy)
                                              .arg(perspective);
                    const QPointF tickX = readAt(10, 0);
                    QVERIFY2(
                        std::abs(tickX.x() - 10) <= 0.01 && std::abs(tickX.y()) <= 0.01,
                        qPrintable(
                            where +
                            QStringLiteral(" X tick reads %1 %2").arg(tickX.x()).arg(tickX.y())));
                    const QPointF tickY = readAt(0, 10);
                    QVERIFY2(
                        std::abs(tickY.y() - 10) <= 0.01 && std::abs(tickY.x()) <= 0.01,
                        qPrintable(
                            where +
                            QStringLiteral(" Y tick reads %1 %2").arg(tickY.x()).arg(tickY.y())));
                }
            }
        }
    }

    // On a screen of twice the density the frame is the same picture at twice the resolution:
    // lines twice as wide, glyphs twice as large, everything where the single frame has it.
    void doubleDensityFrameIsTheSingleFrameScaled() {
        Settings_Default(settings); // axes, ticks and numbers
        TDocument doc;
        TGraphic curve;
        curve.Kind = 0;
        curve.LineWidth = 1;
        curve.ColorGL = {1, 0, 0};
        for (int i = 0; i <= 100; ++i) {
            const double x = -8 + 0.16 * i;
            curve.Points.push_back({x, 3 * std::sin(x), 0});
        }
        doc.Add(std::move(curve));
        auto frame = [&](int w, int h, double ratio) {
            QVERIFY(BuildFontLists(ratio));
            view = ViewState{};
            InitSurfaceScales(view, w, h);
            TScene scene{settings, view, false, ',', &doc, ratio};
            DrawScene(scene, TFrameSize::Plain(w, h));
        };
        frame(W / 2, H / 2, 1);
        const QImage single = gl->Grab().copy(0, H / 2, W / 2, H / 2); // the viewport's corner
        frame(W, H, 2);
        const QImage twice = gl->Grab();
        QVERIFY(BuildFontLists(1));
        const QRgb white = qRgb(255, 255, 255);
        const int w = single.width(), h = single.height();
        // Ink of the single frame per pixel, and of the double one per 2 x 2 block.
        std::vector<int> a(w * h), b(w * h);
        int inkSingle = 0, inkTwice = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                a[y * w + x] = !IsColour(single, x, y, white);
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        b[y * w + x] += !IsColour(twice, 2 * x + dx, 2 * y + dy, white);
                inkSingle += a[y * w + x];
                inkTwice += b[y * w + x];
            }
        // Four times the ink: twice as wide and twice as long (with thin lines it would be two).
        const double inkRatio = double(inkTwice) / inkSingle;
        QVERIFY2(inkRatio > 3.2 && inkRatio < 4.8, qPrintable(QString::number(inkRatio)));
        // And in the same places, give or take a pixel of the single frame for rasterisation.
        auto near = [&](const std::vector<int>& ink, int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h && ink[ny * w + nx])
                        return true;
                }
            return false;
        };
        int placed = 0, all = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (a[y * w + x]) {
                    ++all;
                    placed += near(b, x, y);
                }
                if (b[y * w + x]) {
                    ++all;
                    placed += near(a, x, y);
                }
            }
        const double overlap = double(placed) / all;
        QVERIFY2(overlap > 0.95, qPrintable(QString::number(overlap)));
    }

    void cleanupTestCase() { gl.reset(); }
};

int main(int argc, char** argv) {
    // Fonts come from Qt; the OpenGL context comes from EGL, so no window system is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TstFrame t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_frame.moc"
