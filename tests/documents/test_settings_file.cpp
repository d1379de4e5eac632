// The settings file: the nine lines, both decimal marks, and every way a file falls back to the
// defaults.

#include "documents/color_text.h"
#include "documents/settings_file.h"
#include "file_helpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace {

TSettings Defaults() {
    TSettings s;
    Settings_Default(s);
    return s;
}

// Field by field, colour triples included, so a test can say which record it expects.
void ExpectSameSettings(const TSettings& a, const TSettings& b) {
    EXPECT_EQ(SettingsFileLines(a, '.'), SettingsFileLines(b, '.'));
    EXPECT_EQ(a.BackGroundGL(), b.BackGroundGL());
    EXPECT_EQ(a.AxesGL(), b.AxesGL());
    EXPECT_EQ(a.ColorXGL(), b.ColorXGL());
    EXPECT_EQ(a.ColorYGL(), b.ColorYGL());
    EXPECT_EQ(a.ColorZGL(), b.ColorZGL());
}

TEST(SettingsFile, DefaultsAreWrittenAsTheNineDocumentedLines) {
    TScratchFolder folder;
    const std::string path = folder.File(SettingsFileName);
    ASSERT_TRUE(WriteSettingsFile(path, Defaults(), ','));
    EXPECT_EQ(FileBytes(path), FileBytes(DataPath("settings/default.dat")));
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(SettingsFile, DefaultFileReadsAsTheDefaults) {
    TSettings s; // all zeros, as before the first reading
    EXPECT_TRUE(ReadSettingsFile(DataPath("settings/default.dat"), s));
    ExpectSameSettings(s, Defaults());
}

TEST(SettingsFile, CommaFileReadsEveryGroup) {
    TSettings s;
    ASSERT_TRUE(ReadSettingsFile(DataPath("settings/custom_comma.dat"), s));
    EXPECT_EQ(static_cast<TColor>(s.BackGround), 0x0080FFu); // orange
    EXPECT_EQ(s.BackGroundGL(), (TColorGL{1.0f, 128.0f / 255, 0.0f}));
    EXPECT_EQ(static_cast<TColor>(s.Axes), clNavy);
    EXPECT_FALSE(s.AxisX);
    EXPECT_TRUE(s.AxisY);
    EXPECT_FALSE(s.AxisZ);
    EXPECT_TRUE(s.Numeration);
    EXPECT_FALSE(s.Touch);
    EXPECT_TRUE(s.Perspective);
    EXPECT_FALSE(s.Asteriks);
    EXPECT_EQ(s.MinX, -5.5);
    EXPECT_EQ(s.MaxX, 5.5);
    EXPECT_EQ(s.MinY, -2);
    EXPECT_EQ(s.MaxY, 3);
    EXPECT_EQ(s.MinZ, -1000);
    EXPECT_EQ(s.MaxZ, 1000);
    EXPECT_EQ(s.StepMesh, 0.5);
    EXPECT_EQ(s.StepNumeration_X, 0.1);
    EXPECT_EQ(s.StepNumeration_Y, 50);
    EXPECT_EQ(s.StepNumeration_Z, 2.5);
    EXPECT_TRUE(s.XDown && !s.XUp && s.YDown && !s.YUp && s.ZDown && !s.ZUp);
    EXPECT_EQ(static_cast<TColor>(s.ColorX), clMoneyGreen);
    EXPECT_EQ(static_cast<TColor>(s.ColorY), clSilver);
    EXPECT_EQ(static_cast<TColor>(s.ColorZ), clMedGray);
}

// Written under one decimal mark, the file reads the same under the other.
TEST(SettingsFile, RoundTripUnderBothSeparators) {
    TSettings original;
    ASSERT_TRUE(ReadSettingsFile(DataPath("settings/custom_comma.dat"), original));
    for (char separator : {'.', ','}) {
        TScratchFolder folder;
        const std::string path = folder.File(SettingsFileName);
        ASSERT_TRUE(WriteSettingsFile(path, original, separator));
        TSettings read;
        ASSERT_TRUE(ReadSettingsFile(path, read));
        ExpectSameSettings(read, original);
    }
}

TEST(SettingsFile, EmptyNumberLinesKeepTheirGroupsAtTheDefaults) {
    TSettings s;
    ASSERT_TRUE(ReadSettingsFile(DataPath("settings/lenient.dat"), s));
    TSettings expected = Defaults();
    // Line 4 "+2 4 -3 3 -1 1": the plus sign is skipped.
    expected.MinX = 2;
    expected.MaxX = 4;
    expected.MinY = -3;
    expected.MaxY = 3;
    expected.MinZ = -1;
    expected.MaxZ = 1;
    expected.XDown = expected.XUp = expected.YDown = expected.YUp = true;
    expected.ZDown = expected.ZUp = true;
    ExpectSameSettings(s, expected);
}

class BadSettingsFile : public ::testing::TestWithParam<const char*> {};

// Whatever was read before the failure, every field ends at its default.
TEST_P(BadSettingsFile, GivesAllDefaults) {
    TSettings s;
    ASSERT_TRUE(ReadSettingsFile(DataPath("settings/custom_comma.dat"), s));
    EXPECT_FALSE(ReadSettingsFile(DataPath(std::string("settings/bad_") + GetParam() + ".dat"), s));
    ExpectSameSettings(s, Defaults());
    EXPECT_TRUE(SettingsAreValid(s));
}

INSTANTIATE_TEST_SUITE_P(Files, BadSettingsFile,
                         ::testing::Values("eight_lines", "line4_seven_numbers", "unknown_colour",
                                           "reversed_interval", "interval_beyond_1000",
                                           "mesh_step_zero", "mesh_step_above_100",
                                           "numbering_step_below_tenth", "numbering_step_negative",
                                           "flags_not_numbers", "empty_file", "no_such_file"),
                         [](const auto& p) { return std::string(p.param); });

TEST(SettingsFile, OverlongLineGivesDefaultsWithoutHoldingIt) {
    TScratchFolder folder;
    const std::string path = folder.File(SettingsFileName);
    PutBytes(path, "clWhite\r\nclBlack\r\n" + std::string(5 * 1024 * 1024, '1') + "\r\n");
    TSettings s;
    EXPECT_FALSE(ReadSettingsFile(path, s));
    ExpectSameSettings(s, Defaults());
}

TEST(SettingsFile, FailedWriteKeepsThePreviousFile) {
    TScratchFolder folder;
    // A folder where the file should be cannot be replaced by a file.
    const std::string path = folder.File("settings.dat");
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    EXPECT_FALSE(WriteSettingsFile(path, Defaults(), '.'));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(folder.EntryCount(), 1u); // no temporary file left behind
    EXPECT_FALSE(WriteSettingsFile(folder.File("missing/settings.dat"), Defaults(), '.'));
}

// What a user starts with: the user's own file, else the one an installation keeps beside the
// program. Green is the user's background, red the installation's.
struct TUserFileRow {
    const char* Name;
    const char* User;   ///< the user's file: "green", "damaged", "" for none, "-" for no path
    const char* Shared; ///< the installation's: "red" or "" for none
    TColor Background;
    bool Read;
};

void PrintTo(const TUserFileRow& row, std::ostream* out) {
    *out << row.Name;
}

class UserSettingsFile : public ::testing::TestWithParam<TUserFileRow> {};

TEST_P(UserSettingsFile, IsTheUsersOwnElseTheInstallations) {
    const TUserFileRow& row = GetParam();
    TScratchFolder folder;
    const auto put = [&](const std::string& path, const std::string& kind) {
        TSettings s = Defaults();
        s.BackGround = kind == "green" ? clGreen : clRed;
        if (kind == "damaged") {
            PutBytes(path, "not settings\r\n");
        } else if (!kind.empty()) {
            ASSERT_TRUE(WriteSettingsFile(path, s, '.'));
        }
    };
    const std::string user = folder.File("user.dat");
    const std::string shared = folder.File("shared.dat");
    if (std::string(row.User) != "-")
        put(user, row.User);
    put(shared, row.Shared);
    TSettings s = Defaults();
    s.BackGround = clBlue;
    EXPECT_EQ(ReadUserSettingsFile(std::string(row.User) == "-" ? "" : user, shared, s), row.Read);
    EXPECT_EQ(static_cast<TColor>(s.BackGround), row.Background);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UserSettingsFile,
    ::testing::Values(TUserFileRow{"UsersOwnFirst", "green", "red", clGreen, true},
                      TUserFileRow{"InstallationsForAUserWithout", "", "red", clRed, true},
                      TUserFileRow{"InstallationsWithoutAUserFile", "-", "red", clRed, true},
                      TUserFileRow{"DamagedOwnGivesTheDefaults", "damaged", "red", clWhite, false},
                      TUserFileRow{"NeitherGivesTheDefaults", "", "", clWhite, false}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace
