// A large frame is recorded into its vector picture in slices of depth. Here slices are forced on
// a small scene, and every format must show what the picture recorded whole shows, with each
// number once.

#include "formula/prepare.h"
#include "graphs/document.h"
#include "support/picture_readers.h"
#include "support/scratch_folder.h"
#include "test_target.h"
#include "view/frame.h"
#include "view/vector_picture.h"

#include <QGuiApplication>
#include <QtTest>

#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int W = 400;
constexpr int H = 300;

int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

class TstVectorSlices : public QObject {
    Q_OBJECT

    std::unique_ptr<TOffscreenGL> gl;
    TSettings settings;
    TDocument doc;
    kurvant::TFormulaContext formula;

    std::string Record(TVectorFormat format) {
        TScene scene{settings, doc.View, false, '.', &doc};
        return VectorPictureBytes(scene, TFrameSize::Plain(W, H), format);
    }

private slots:
    void initTestCase() {
        std::string error;
        gl = MakeTestTarget(W, H, error);
        QVERIFY2(gl, error.c_str());
        Settings_Default(settings);
        settings.Perspective = false;
        doc.View.ScaleX = 0.08;
        doc.View.AngleX = 30;
        doc.View.AngleY = -40;
        // A turned surface in front of and behind the axes, a curve through it, and points.
        TGraphic surface;
        surface.Kind = KindSurface;
        surface.Formula = "x*y/4";
        surface.MinX = surface.MinY = -6;
        surface.MaxX = surface.MaxY = 6;
        surface.StepsX = surface.StepsY = 30;
        surface.SetColor(0x008000);
        surface.FormulaPrepared = surface.Formula;
        QVERIFY(kurvant::PrepareFormula(surface.FormulaPrepared, "xy", formula));
        doc.Add(std::move(surface));
        TGraphic curve;
        curve.Kind = KindYofX;
        curve.Formula = "3sin(x)";
        curve.MinX = -8;
        curve.MaxX = 8;
        curve.StepsX = 200;
        curve.SetColor(0x0000FF);
        curve.LineWidthIndex = 2;
        curve.LineWidth = 2;
        curve.FormulaPrepared = curve.Formula;
        QVERIFY(kurvant::PrepareFormula(curve.FormulaPrepared, "x", formula));
        doc.Add(std::move(curve));
        doc.ResampleAll(settings, formula);
    }

    void cleanup() { SetVectorOptions(TVectorOptions{}); }

    void slicesShowWhatTheWholePictureShows_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("slice");  // a mark each slice leaves in the file
        QTest::addColumn<QString>("number"); // a mark each axis number leaves
        QTest::newRow("SVG") << int(TVectorFormat::Svg) << "svg"
                             << "<clipPath"
                             << "<text";
        QTest::newRow("PDF") << int(TVectorFormat::Pdf) << "pdf"
                             << ""
                             << " Tj";
        QTest::newRow("EPS") << int(TVectorFormat::Eps) << "eps"
                             << "closepath clip"
                             << "/Helvetica S\n";
    }

    void slicesShowWhatTheWholePictureShows() {
        QFETCH(int, format);
        QFETCH(QString, extension);
        QFETCH(QString, slice);
        QFETCH(QString, number);
        const std::string whole = Record(TVectorFormat(format));
        SetVectorOptions(TVectorOptions{5000});
        const std::string sliced = Record(TVectorFormat(format));
        QVERIFY(!whole.empty());
        QVERIFY(!sliced.empty());
        if (!slice.isEmpty()) // recorded in five slices or more
            QVERIFY(Occurrences(sliced, slice.toStdString()) >=
                    Occurrences(whole, slice.toStdString()) + 5);
        QCOMPARE(Occurrences(sliced, number.toStdString()),
                 Occurrences(whole, number.toStdString()));
        QVERIFY(Occurrences(whole, number.toStdString()) > 10);

        TScratchFolder dir;
        const auto file = [&](const char* name, const QString& ending) {
            return dir.File(QStringLiteral("%1.%2").arg(QLatin1String(name), ending).toStdString());
        };
        std::ofstream(file("whole", extension), std::ios::binary) << whole;
        std::ofstream(file("sliced", extension), std::ios::binary) << sliced;
        const QImage a = picture_readers::Rasterised(file("whole", extension),
                                                     file("whole", QStringLiteral("png")), W, H);
        const QImage b = picture_readers::Rasterised(file("sliced", extension),
                                                     file("sliced", QStringLiteral("png")), W, H);
        QVERIFY(!a.isNull() && !b.isNull());
        QCOMPARE(a.size(), b.size());
        QVERIFY(picture_readers::ShareNear(a, b, 1) > 0.97);
        QVERIFY(picture_readers::ShareNear(b, a, 1) > 0.97);
    }
};

int main(int argc, char** argv) {
    // Fonts come from Qt; the OpenGL context comes from EGL, so no window system is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TstVectorSlices t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_vector_slices.moc"
