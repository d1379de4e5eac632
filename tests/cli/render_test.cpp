// kurvant-cli render: documents drawn to pictures with no display, checked by pixels at places
// computed from the projection.

#include "documents/document_file.h"
#include "documents/settings_file.h"
#include "graphs/document.h"
#include "support/pixel_tools.h"
#include "support/scratch_folder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

struct TRun {
    int ExitCode = -1;
    std::string Err;
};

TRun Render(const TScratchFolder& dir, const std::string& args) {
    const std::string err = dir.File("stderr.txt");
    const std::string command = "env -u DISPLAY LC_ALL=C '" + std::string(KURVANT_CLI_PATH) +
                                "' render " + args + " >/dev/null 2>'" + err + "'";
    const int status = std::system(command.c_str());
    TRun run;
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream f(err);
    std::stringstream text;
    text << f.rdbuf();
    run.Err = text.str();
    return run;
}

// A document with one Y(X) graph in blue, its formula over [lo, hi].
std::string WriteCurveDocument(const TScratchFolder& dir, const char* formula, double lo,
                               double hi) {
    TDocument doc;
    doc.View.ScaleX = 0.1;
    TGraphic g;
    g.Kind = 0;
    g.Variable = 'x';
    g.Formula = formula;
    g.MinX = lo;
    g.MaxX = hi;
    g.StepsX = 201;
    g.SetColor(0xFF0000); // blue: the axis letters are red
    g.Building = 0;
    g.LineWidthIndex = 2;
    g.LineWidth = 1;
    doc.Add(std::move(g));
    const std::string path = dir.File("curve.qel");
    std::string message;
    EXPECT_TRUE(Saving_File(doc, path, '.', message)) << message;
    return path;
}

std::string WriteParallelSettings(const TScratchFolder& dir) {
    TSettings s;
    Settings_Default(s);
    s.Perspective = false;
    const std::string path = dir.File("settings.dat");
    EXPECT_TRUE(WriteSettingsFile(path, s, '.'));
    return path;
}

// The row of the blue run in a column, or -1.
double BlueRowAt(const QImage& img, int x) {
    const TColourSpot blue = FindColour(img, qRgb(0, 0, 255), x, 0, x, img.height() - 1);
    return blue.Count > 0 ? blue.Y : -1;
}

TEST(CliRender, CurveLandsWhereTheParallelProjectionPutsIt) {
    TScratchFolder dir;
    const std::string doc = WriteCurveDocument(dir, "x/2", -5, 5);
    const std::string settings = WriteParallelSettings(dir);
    const std::string out = dir.File("picture.bmp");
    const TRun run =
        Render(dir, "--settings '" + settings + "' --size 400x300 '" + doc + "' -o '" + out + "'");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const QImage img(QString::fromStdString(out));
    ASSERT_EQ(img.size(), QSize(400, 300));
    // ScaleX 0.1 and ScaleY 0.1 x 400 / 300: 20 pixels a unit both ways.
    for (double x : {-4.0, -1.5, 2.0, 4.5}) {
        const int column = int(200 + 20 * x);
        const double row = BlueRowAt(img, column);
        EXPECT_NEAR(row, 150 - 20 * (x / 2), 1.5) << "x = " << x;
    }
    // The axes are there too, black, and the view's background is white.
    EXPECT_EQ(img.pixel(10, 10) & 0xFFFFFF, 0xFFFFFFu);
    int black = 0; // columns where the X axis shows, on either of the two middle rows
    for (int x = 0; x < 400; ++x)
        black += CountColour(img, qRgb(0, 0, 0), x, 149, x, 150) > 0;
    EXPECT_GT(black, 350);
}

TEST(CliRender, TangentIsNotJoinedAcrossItsPoles) {
    TScratchFolder dir;
    const std::string doc = WriteCurveDocument(dir, "tg(x)", -5, 5);
    const std::string settings = WriteParallelSettings(dir);
    const std::string out = dir.File("picture.png");
    const TRun run =
        Render(dir, "--settings '" + settings + "' --size 400x300 '" + doc + "' -o '" + out + "'");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const QImage img(QString::fromStdString(out));
    // 20 pixels a unit: the samples next to each pole lie beyond the view's +-7.5, so nothing
    // blue may show in a pole's columns, while every branch crosses the view.
    const double pi = 3.14159265358979;
    for (const double pole : {-3 * pi / 2, -pi / 2, pi / 2, 3 * pi / 2}) {
        const int column = int(200 + 20 * pole);
        EXPECT_EQ(CountColour(img, qRgb(0, 0, 255), column - 1, 0, column + 1, 299), 0) << pole;
    }
    for (const double x : {-4.0, -2.5, 0.0, 2.5, 4.0})
        EXPECT_GE(BlueRowAt(img, int(200 + 20 * x)), 0) << "x = " << x;
}

TEST(CliRender, PicturesAreTwentyFourBitBmpOrPng) {
    TScratchFolder dir;
    const std::string doc = WriteCurveDocument(dir, "x", -1, 1);
    const std::string bmp = dir.File("p.bmp");
    const std::string png = dir.File("p.PNG");
    ASSERT_EQ(Render(dir, "--size 64x48 '" + doc + "' -o '" + bmp + "'").ExitCode, 0);
    ASSERT_EQ(Render(dir, "--size 64x48 '" + doc + "' -o '" + png + "'").ExitCode, 0);
    std::ifstream f(bmp, std::ios::binary);
    char header[30] = {};
    f.read(header, sizeof header);
    EXPECT_EQ(std::string(header, 2), "BM");
    EXPECT_EQ(
        static_cast<unsigned char>(header[28]) | (static_cast<unsigned char>(header[29]) << 8), 24);
    std::ifstream p(png, std::ios::binary);
    char magic[4] = {};
    p.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    EXPECT_EQ(QImage(QString::fromStdString(bmp)), QImage(QString::fromStdString(png)));
}

TEST(CliRender, AutoScaleFitsTheCurveToTheView) {
    TScratchFolder dir;
    const std::string doc = WriteCurveDocument(dir, "x", -1, 1);
    const std::string settings = WriteParallelSettings(dir);
    const std::string fitted = dir.File("fitted.bmp");
    const std::string plain = dir.File("plain.bmp");
    ASSERT_EQ(Render(dir, "--autoscale --settings '" + settings + "' --size 400x300 '" + doc +
                              "' -o '" + fitted + "'")
                  .ExitCode,
              0);
    ASSERT_EQ(
        Render(dir, "--settings '" + settings + "' --size 400x300 '" + doc + "' -o '" + plain + "'")
            .ExitCode,
        0);
    // Fitted: x and y in -1..1 fill the view less a margin, scale (2 / 2) / 1.1 both ways.
    const double s = 1 / 1.1;
    const QImage a(QString::fromStdString(fitted));
    EXPECT_NEAR(BlueRowAt(a, int(200 + 200 * s * 0.5)), 150 - 150 * s * 0.5, 1.5);
    // Unfitted: the standard scale keeps the curve near the centre.
    const QImage b(QString::fromStdString(plain));
    EXPECT_NEAR(BlueRowAt(b, int(200 + 20 * 0.5)), 150 - 20 * 0.5, 1.5);
    EXPECT_EQ(BlueRowAt(b, int(200 + 200 * s * 0.5)), -1);
}

TEST(CliRender, FailuresAndUsage) {
    TScratchFolder dir;
    const std::string out = dir.File("x.bmp");
    TRun run = Render(dir, "'" + dir.File("missing.qel") + "' -o '" + out + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind("Не удаётся открыть файл!\nфайл не найден\n", 0), 0u) << run.Err;
    std::ofstream(dir.File("bad.qel")) << "not a document\n";
    run = Render(dir, "'" + dir.File("bad.qel") + "' -o '" + out + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind("Неверный формат файла!\nстрока 1: нет подписи файла\n", 0), 0u)
        << run.Err;
    std::ofstream(dir.File("steps.qel"), std::ios::binary)
        << DocumentSignature << "\r\n0.1 0 0 0 0 0\r\n1\r\n4\r\nx*y\r\n-1 1 201 -1 1 10 1\r\n";
    run = Render(dir, "'" + dir.File("steps.qel") + "' -o '" + out + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind("Не удаётся открыть файл!\nстрока 6: число шагов больше 200\n", 0), 0u)
        << run.Err;
    EXPECT_EQ(Render(dir, "'" + dir.File("bad.qel") + "'").ExitCode, 2); // no -o
    EXPECT_EQ(Render(dir, "--size 0x10 a.qel -o x.bmp").ExitCode, 2);
    EXPECT_EQ(Render(dir, "--size big a.qel -o x.bmp").ExitCode, 2);
    EXPECT_EQ(Render(dir, "--sep ';' a.qel -o x.bmp").ExitCode, 2);
    EXPECT_EQ(Render(dir, "--frobnicate a.qel -o x.bmp").ExitCode, 2);
}

} // namespace
