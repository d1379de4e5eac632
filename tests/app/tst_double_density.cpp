// The main window on a screen of twice the density (Qt's scale factor 2, set for this test):
// the view fills its widget in device pixels, the pointer reads the right coordinates, and the
// saved picture has the device's resolution.

#include "app/document_commands.h"
#include "app/form_main.h"
#include "app/startup.h"
#include "support/app_world.h"
#include "support/fake_ui_services.h"
#include "support/widget_tools.h"
#include "view/gl_view.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QtTest>

#include <cmath>
#include <memory>

class TstDoubleDensity : public QObject {
    Q_OBJECT

    std::unique_ptr<TAppWorld> app;

private slots:
    void init() {
        app = std::make_unique<TAppWorld>('.');
        QVERIFY(app->Main); // made only in a program folder of its own
        // At twice the density the window must still fit the virtual screen for the pointer.
        app->Main->resize(600, 450);
        app->Main->move(0, 0);
        QVERIFY(ShowAndDraw(*app->Main, *app->Main->View()));
    }

    void cleanup() { app.reset(); }

    void viewFillsItsWidgetInDevicePixels() {
        TGLView* view = app->Main->View();
        QCOMPARE(view->PixelRatio(), 2.0);
        const TFrameSize size = view->FrameSize();
        QCOMPARE(size.ClientWidth, 2 * view->width());
        QCOMPARE(size.ClientHeight, 2 * view->height());
        // The frame covers the whole widget: the axes cross in the middle of the grabbed picture.
        const QImage frame = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(frame.size(), QSize(size.ClientWidth, size.ClientHeight));
        const int cx = frame.width() / 2, cy = frame.height() / 2;
        int dark = 0;
        for (int d = -3; d <= 3; ++d)
            dark += qGray(frame.pixel(cx + d, cy)) < 128 || qGray(frame.pixel(cx, cy + d)) < 128;
        QVERIFY2(dark > 4, "no axes at the centre of the view");
    }

    void pointerReadsTheModelPointUnderIt() {
        TGLView* view = app->Main->View();
        const QPoint centre(view->width() / 2, view->height() / 2);
        QTest::mouseMove(view, centre);
        auto read = [&](const char* label) {
            return Child<QLabel>(*app->Main, label)->text().toDouble();
        };
        QTRY_VERIFY(!Child<QLabel>(*app->Main, "LbX")->text().isEmpty());
        // Within half a pixel of the widget (the centre of an odd size lies between two pixels).
        const double halfPixel = 0.5 / view->height() * 2 * 1.45 / 0.1;
        QVERIFY2(std::abs(read("LbX")) <= halfPixel,
                 qPrintable(Child<QLabel>(*app->Main, "LbX")->text()));
        QVERIFY2(std::abs(read("LbY")) <= halfPixel,
                 qPrintable(Child<QLabel>(*app->Main, "LbY")->text()));
        // The right edge of the parallel view reads 10 at the standard scale.
        app->Ctx.Settings.Perspective = false;
        QTest::mouseMove(view, QPoint(view->width() - 1, centre.y()));
        const double edge = 10 * (1 - 2.0 / view->width()); // the last pixel's left side
        QTRY_VERIFY2(std::abs(read("LbX") - edge) <= 0.01,
                     qPrintable(Child<QLabel>(*app->Main, "LbX")->text() +
                                QStringLiteral(" width ") + QString::number(view->width())));
    }

    void savedPictureHasTheDevicesResolution() {
        app->Services.FileNames = {app->Dir.filePath(QStringLiteral("view"))};
        app->Main->findChild<QAction*>(QStringLiteral("MMFileSaveAsPicture"))->trigger();
        const QImage saved(app->Dir.filePath(QStringLiteral("view.bmp")));
        QCOMPARE(saved.size(), 2 * app->Main->View()->size());
    }
};

int main(int argc, char** argv) {
    PrepareProcess();
    QApplication app(argc, argv);
    TstDoubleDensity t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_double_density.moc"
