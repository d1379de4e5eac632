// Pictures written to disk: every pixel of a PNG and a BMP reads back as it was drawn, and a save
// that fails at any step leaves the picture that was there.

#include "documents/file_names.h"
#include "support/faulty_file_calls.h"
#include "support/scratch_folder.h"
#include "view/picture_file.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <fstream>
#include <optional>
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
    EXPECT_FALSE(SaveViewPicture(QImage(), folder.File("none.png"), TPictureFormat::Png));
    EXPECT_EQ(folder.EntryCount(), 0u);
}

TEST(PictureFile, FailingStepKeepsThePreviousPicture) {
    TScratchFolder folder;
    const std::string path = folder.File("view.png");
    ASSERT_TRUE(SaveViewPicture(Speckled(1), path, TPictureFormat::Png));
    const std::string previous = FileBytes(path);
    TFaultyFileCalls probe;
    ASSERT_TRUE(SaveViewPicture(Speckled(2), path, TPictureFormat::Png, probe));
    const auto rename = std::find(probe.Steps.begin(), probe.Steps.end(), TFileStep::Rename);
    ASSERT_NE(rename, probe.Steps.end());
    for (auto step = probe.Steps.begin(); step <= rename; ++step) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << previous;
        TFaultyFileCalls disk;
        disk.FailAt = static_cast<int>(step - probe.Steps.begin());
        EXPECT_FALSE(SaveViewPicture(Speckled(2), path, TPictureFormat::Png, disk))
            << StepName(*step);
        EXPECT_EQ(FileBytes(path), previous) << StepName(*step);
        EXPECT_EQ(folder.EntryCount(), 1u) << StepName(*step);
    }
}

struct TNameRow {
    const char* Name;
    const char* Path;
    std::optional<TPictureFormat> Format;
};

void PrintTo(const TNameRow& row, std::ostream* out) {
    *out << row.Name;
}

class NamedFormats : public ::testing::TestWithParam<TNameRow> {};

// The extension names the format; a name without a known one names none, and the save dialog's
// filter decides.
TEST_P(NamedFormats, ComeFromTheExtension) {
    const TNameRow& row = GetParam();
    EXPECT_EQ(PictureFormatOfName(row.Path), row.Format);
}

INSTANTIATE_TEST_SUITE_P(Names, NamedFormats,
                         ::testing::Values(TNameRow{"Bmp", "/tmp/pic.bmp", TPictureFormat::Bmp},
                                           TNameRow{"Png", "/tmp/pic.png", TPictureFormat::Png},
                                           TNameRow{"UpperCase", "PIC.PNG", TPictureFormat::Png},
                                           TNameRow{"LastExtensionCounts", "pic.png.bmp",
                                                    TPictureFormat::Bmp},
                                           TNameRow{"NoExtension", "pic", std::nullopt},
                                           TNameRow{"UnknownExtension", "pic.jpg", std::nullopt}),
                         [](const auto& p) { return std::string(p.param.Name); });

// Every format of the table is written as itself, and the save dialog's filter lists them in
// order, each entry's pattern its extension.
TEST(PictureFile, EveryKnownFormatIsWrittenAsItself) {
    TScratchFolder folder;
    const QImage picture = Speckled(3);
    for (const TPictureFormatEntry& entry : PictureFormats) {
        const std::string extension(entry.Extension);
        EXPECT_TRUE(entry.FilterEntry.ends_with("|*" + extension)) << entry.FilterEntry;
        const std::string path = folder.File("pic" + extension);
        // The vector formats are drawn from the scene (the command line's tests read them back).
        if (IsVectorFormat(entry.Format)) {
            EXPECT_FALSE(SaveViewPicture(picture, path, entry.Format));
            continue;
        }
        ASSERT_TRUE(SaveViewPicture(picture, path, entry.Format)) << entry.Extension;
        const std::string bytes = FileBytes(path);
        const std::string magic = entry.Format == TPictureFormat::Png ? "\x89PNG" : "BM";
        EXPECT_EQ(bytes.substr(0, magic.size()), magic) << entry.Extension;
        EXPECT_EQ(PictureFormatOfName(path), entry.Format);
    }
}

} // namespace

// The name the picture dialog settles: a typed known extension stays whatever the entry, any
// other name gets the chosen entry's extension, and the format written is the name's.
TEST(PictureFile, SavedNameNamesTheFormatWritten) {
    struct TRow {
        const char* Typed;
        int Chosen;
        const char* Saved;
    };
    const TRow rows[] = {
        {"pic", 0, "pic.bmp"},     {"pic", 1, "pic.png"},         {"pic.PNG", 0, "pic.PNG"},
        {"pic.bmp", 1, "pic.bmp"}, {"pic.jpg", 1, "pic.jpg.png"}, {"pic", -1, "pic"},
        {"pic", 7, "pic"},         {"pic.ſvg", 0, "pic.ſvg.bmp"}};
    for (const TRow& row : rows) {
        const std::string saved = SaveName(row.Typed, PictureExtensions(), row.Chosen);
        EXPECT_EQ(saved, row.Saved) << row.Typed << " " << row.Chosen;
        if (row.Chosen == 0 || row.Chosen == 1) {
            EXPECT_TRUE(PictureFormatOfName(saved).has_value()) << saved;
        }
    }
}
