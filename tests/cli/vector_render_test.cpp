// kurvant-cli render into SVG, PDF and EPS: each picture is read back by an independent reader
// (rsvg-convert, pdftoppm, Ghostscript) at the view's size and must put its ink where the BMP of
// the same document puts it; the PDF's text lists the axis numbers the view shows.

#include "run_cli.h"

#include "documents/document_file.h"
#include "documents/settings_file.h"
#include "graphs/document.h"
#include "support/picture_readers.h"
#include "support/scratch_folder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cli_test::Quoted;
using cli_test::ReadWhole;
using cli_test::RunCli;

constexpr int Width = 400;
constexpr int Height = 300;

// A curve and a small surface over the default axes, meshes and numbers, in the parallel view.
struct TScene {
    TScratchFolder Dir;
    std::string Document = Dir.File("scene.qel");
    std::string Settings = Dir.File("settings.dat");

    TScene() {
        TDocument doc;
        doc.View.ScaleX = 0.08;
        TGraphic curve;
        curve.Kind = KindYofX;
        curve.Formula = "sin(x)*3";
        curve.MinX = -8;
        curve.MaxX = 8;
        curve.StepsX = 400;
        curve.SetColor(0xFF0000);
        curve.LineWidthIndex = 2;
        curve.LineWidth = 2;
        doc.Add(std::move(curve));
        TGraphic surface;
        surface.Kind = KindSurface;
        surface.Formula = "x*y/4";
        surface.MinX = surface.MinY = 2;
        surface.MaxX = surface.MaxY = 6;
        surface.StepsX = surface.StepsY = 9;
        surface.SetColor(0x008000);
        surface.LineWidthIndex = 1;
        surface.LineWidth = 1;
        doc.Add(std::move(surface));
        std::string message;
        EXPECT_TRUE(Saving_File(doc, Document, '.', message)) << message;
        TSettings s;
        Settings_Default(s);
        s.Perspective = false;
        s.ZDown = true; // the mesh on the plane z = 0, below the graphs
        s.StepNumeration_X = 2;
        s.StepNumeration_Y = 2;
        EXPECT_TRUE(WriteSettingsFile(Settings, s, '.'));
    }

    std::string Render(const std::string& name) const {
        const std::string out = Dir.File(name);
        const cli_test::TRun run =
            RunCli({"render", "--sep", ".", "--settings", Settings, "--size",
                    std::to_string(Width) + "x" + std::to_string(Height), Document, "-o", out},
                   "", "LSAN_OPTIONS=suppressions=" + Quoted(KURVANT_LSAN_SUPPRESSIONS));
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        return out;
    }
};

bool RunShell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The picture rasterised by its own reader at 1 point = 1 pixel.
QImage Rasterised(const std::string& path, const std::string& png) {
    const QImage image = picture_readers::Rasterised(path, png, Width, Height);
    EXPECT_FALSE(image.isNull()) << path;
    return image;
}

std::set<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::set<std::string> words;
    for (std::string w; in >> w;)
        words.insert(w);
    return words;
}

} // namespace

TEST(CliVectorRender, EveryReaderDrawsTheInkWhereTheBmpHasIt) {
    const TScene scene;
    const QImage bmp(QString::fromStdString(scene.Render("view.bmp")));
    ASSERT_EQ(bmp.size(), QSize(Width, Height));
    for (const char* name : {"view.svg", "view.pdf", "view.eps"}) {
        const std::string path = scene.Render(name);
        const QImage raster = Rasterised(path, scene.Dir.File(std::string(name) + ".png"));
        ASSERT_EQ(raster.size(), bmp.size()) << name;
        EXPECT_GT(picture_readers::ShareNear(raster, bmp, 2), 0.95) << name;
        EXPECT_GT(picture_readers::ShareNear(bmp, raster, 2), 0.95) << name;
    }
}

TEST(CliVectorRender, PdfTextListsTheAxisNumbers) {
    const TScene scene;
    const std::string pdf = scene.Render("view.pdf");
    const std::string text = scene.Dir.File("view.txt");
    ASSERT_TRUE(RunShell("pdftotext " + Quoted(pdf) + " " + Quoted(text)));
    const std::set<std::string> words = Words(ReadWhole(text));
    // Numbered every 2 along X from -10 to 10, all of it in view (12.5 units either side), and
    // the letter of the X axis; the Y axis ends above the view, its letter with it.
    for (const char* number : {"-10", "-8", "-6", "-4", "-2", "2", "4", "6", "8", "10", "X"})
        EXPECT_TRUE(words.count(number)) << number << " in: " << ReadWhole(text);
    EXPECT_FALSE(words.count("Y"));
}
