// Pictures written to disk: every pixel of a PNG and a BMP reads back as it was drawn, and a save
// that fails at any step leaves the picture that was there.

#include "support/faulty_file_calls.h"
#include "support/scratch_folder.h"
#include "view/picture_file.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace {

// An odd size, so that rows are not a multiple of four bytes, in many colours.
QImage Speckled(unsigned seed) {
    QImage picture(37, 23, QImage::Format_ARGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    return picture;
}

QImage Decoded(const std::string& bytes, const char* format) {
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()), format)
        .convertToFormat(QImage::Format_RGB32);
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

TEST(PictureFile, PngAndBmpKeepEveryPixel) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        const QImage picture = Speckled(seed);
        const QImage expected = picture.convertToFormat(QImage::Format_RGB32);
        const std::string png = PngBytes(picture);
        ASSERT_EQ(png.substr(1, 3), "PNG");
        EXPECT_EQ(Decoded(png, "PNG"), expected) << "seed " << seed;
        const std::string bmp = BmpBytes(picture);
        ASSERT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(bmp[28], 24) << "bits per pixel";
        EXPECT_EQ(Decoded(bmp, "BMP"), expected) << "seed " << seed;
    }
}

TEST(PictureFile, PlainBackgroundCompresses) {
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(0xFFFFFFFFu);
    for (int x = 0; x < 800; ++x)
        picture.setPixel(x, 300, 0xFF0000FFu);
    const std::string png = PngBytes(picture);
    EXPECT_LT(png.size(), 800u * 600u * 3u / 50u);
    EXPECT_EQ(Decoded(png, "PNG"), picture);
}

TEST(PictureFile, NullPictureWritesNothing) {
    TScratchFolder folder;
    EXPECT_TRUE(PngBytes(QImage()).empty());
    EXPECT_FALSE(SaveViewPicture(QImage(), folder.File("none.png"), true));
    EXPECT_EQ(folder.EntryCount(), 0u);
}

TEST(PictureFile, FailingStepKeepsThePreviousPicture) {
    TScratchFolder folder;
    const std::string path = folder.File("view.png");
    ASSERT_TRUE(SaveViewPicture(Speckled(1), path, true));
    const std::string previous = FileBytes(path);
    TFaultyFileCalls probe;
    ASSERT_TRUE(SaveViewPicture(Speckled(2), path, true, probe));
    const auto rename = std::find(probe.Steps.begin(), probe.Steps.end(), TFileStep::Rename);
    ASSERT_NE(rename, probe.Steps.end());
    for (auto step = probe.Steps.begin(); step <= rename; ++step) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << previous;
        TFaultyFileCalls disk;
        disk.FailAt = static_cast<int>(step - probe.Steps.begin());
        EXPECT_FALSE(SaveViewPicture(Speckled(2), path, true, disk)) << StepName(*step);
        EXPECT_EQ(FileBytes(path), previous) << StepName(*step);
        EXPECT_EQ(folder.EntryCount(), 1u) << StepName(*step);
    }
}

} // namespace
