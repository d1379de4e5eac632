// The view leaving the program from the main window: vector pictures through "Сохранить как
// рисунок", printing and its preview into a PDF file, and the clipboard's image and SVG.
// (Printing draws the SVG with Qt, which writes the text as outlines: on paper the same.)

#include "app/form_main.h"
#include "support/app_world.h"
#include "support/widget_tools.h"
#include "view/gl_view.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

class TstViewPictures : public QObject {
    Q_OBJECT

    std::unique_ptr<TAppWorld> app;

    QString Path(const QString& name) { return QDir(app->Dir.path()).filePath(name); }
    void Trigger(const char* name) {
        app->Main->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    static QByteArray Head(const QString& path, int bytes) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.read(bytes) : QByteArray();
    }
    static QString Run(const QString& program, const QStringList& arguments) {
        QProcess p;
        p.start(program, arguments);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private slots:
    void init() {
        app = std::make_unique<TAppWorld>('.');
        QVERIFY(ShowAndDraw(*app->Main, *app->Main->View()));
        // The shortcuts are the main window's: it has the keyboard.
        app->Main->activateWindow();
        QTRY_VERIFY(app->Main->isActiveWindow());
    }
    void cleanup() { app.reset(); }

    // The filter entry or the typed extension chooses the vector format.
    void savedPicturesTakeTheFormatOfTheirNameOrFilter() {
        struct TRow {
            QString Typed;
            int Filter;
            QString Saved;
            QByteArray Magic;
        };
        const TRow rows[] = {{QStringLiteral("a"), 2, QStringLiteral("a.svg"), "<?xml"},
                             {QStringLiteral("b"), 3, QStringLiteral("b.pdf"), "%PDF"},
                             {QStringLiteral("c"), 4, QStringLiteral("c.eps"), "%!PS"},
                             {QStringLiteral("d.PDF"), 0, QStringLiteral("d.PDF"), "%PDF"}};
        for (const TRow& row : rows) {
            app->Services.FileNames = {Path(row.Typed)};
            app->Services.Filters = {row.Filter};
            Trigger("MMFileSaveAsPicture");
            QCOMPARE(Head(Path(row.Saved), row.Magic.size()), row.Magic);
        }
        QVERIFY(app->Services.Shown.isEmpty());
    }

    // Printing goes to the printer the dialog chose (a PDF file here), one page in landscape for
    // the wide view, the picture in its middle; a cancelled dialog prints nothing.
    void printingPutsTheVectorPictureOnALandscapePage() {
        Trigger("MMFilePrint");
        QCOMPARE(app->Services.PrintDialogs, 1);
        app->Services.PrintFile = Path(QStringLiteral("printed.pdf"));
        app->Main->resize(900, 500);
        QTRY_VERIFY(app->Main->View()->width() > app->Main->View()->height());
        QTest::keyClick(app->Main.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(app->Services.PrintDialogs, 2);
        QCOMPARE(Head(app->Services.PrintFile, 4), QByteArray("%PDF"));
        const QString info = Run(QStringLiteral("pdfinfo"), {app->Services.PrintFile});
        QVERIFY2(info.contains(QStringLiteral("Pages:           1")), qPrintable(info));
        const QRegularExpression size(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)"));
        const QRegularExpressionMatch m = size.match(info);
        QVERIFY2(m.hasMatch() && m.captured(1).toDouble() > m.captured(2).toDouble(),
                 qPrintable(info));
        // The picture's ink on the page, read back by an independent reader: axes in the middle.
        const QString png = Path(QStringLiteral("printed"));
        Run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("20"),
             QStringLiteral("-singlefile"), app->Services.PrintFile, png});
        const QImage page(png + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        int inkLeft = page.width(), inkRight = -1;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
        QVERIFY(inkRight > inkLeft);
        QVERIFY(std::abs((inkLeft + inkRight) / 2.0 - page.width() / 2.0) < page.width() / 8.0);
        QVERIFY(app->Services.Shown.isEmpty());

        app->Services.PrintFile = Path(QStringLiteral("preview.pdf"));
        Trigger("MMFilePrintPreview");
        QCOMPARE(app->Services.Previews, 1);
        QCOMPARE(Head(app->Services.PrintFile, 4), QByteArray("%PDF"));
    }

    void copyPutsTheImageAndTheSvgOnTheClipboard() {
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(app->Main.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(data->hasImage());
        const QImage image = qvariant_cast<QImage>(data->imageData());
        QCOMPARE(image.size(), app->Main->View()->grabFramebuffer().size());
        const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
        QVERIFY2(svg.contains("<svg"), svg.left(200).constData());
        QVERIFY(svg.contains(">X<") || svg.contains(">X </"));
    }
};

QTEST_MAIN(TstViewPictures)
#include "tst_view_pictures.moc"
