#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct ColorCase {
    const char* name;
    TColor color;
    float r, g, b;
    friend void PrintTo(const ColorCase& c, std::ostream* os) { *os << c.name; }
};

class ColorToGL : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorToGL, SplitsLowByteAsRed) {
    const ColorCase& c = GetParam();
    float r = -1, g = -1, b = -1;
    Color_To_GL(c.color, r, g, b);
    EXPECT_FLOAT_EQ(r, c.r);
    EXPECT_FLOAT_EQ(g, c.g);
    EXPECT_FLOAT_EQ(b, c.b);
    const TColorGL t = Color_To_GL(c.color);
    EXPECT_EQ(t, (TColorGL{r, g, b}));
}

INSTANTIATE_TEST_SUITE_P(
    Colors, ColorToGL,
    ::testing::Values(ColorCase{"red_in_low_byte", 0x0000FF, 1.0f, 0.0f, 0.0f},
                      ColorCase{"blue_in_third_byte", 0xFF0000, 0.0f, 0.0f, 1.0f},
                      ColorCase{"silver", 0xC0C0C0, 192.0f / 255, 192.0f / 255, 192.0f / 255},
                      ColorCase{"system_colour_high_byte_ignored", 0xFF00000F, 15.0f / 255, 0, 0},
                      ColorCase{"mixed", 0x00336699, 0x99 / 255.0f, 0x66 / 255.0f, 0x33 / 255.0f}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ColorToGL, SilverIsAboutThreeQuarters) {
    const TColorGL t = Color_To_GL(0xC0C0C0);
    EXPECT_NEAR(t.R, 0.7529, 1e-4);
}

TEST(SettingsRecord, StartsZeroedBeforeTheDefaultsAreApplied) {
    const TSettings s;
    EXPECT_FALSE(s.Perspective);
    EXPECT_EQ(static_cast<TColor>(s.BackGround), 0u);
    EXPECT_EQ(s.StepMesh, 0.0);
    EXPECT_FALSE(SettingsAreValid(s)); // a zero step must never reach the frame
}

TEST(SettingsRecord, DefaultsAreWhiteBlackSilverWithEveryFlagButTheMeshes) {
    TSettings s;
    Settings_Default(s);
    EXPECT_TRUE(s.AxisX && s.AxisY && s.AxisZ && s.Numeration && s.Touch && s.Perspective &&
                s.Asteriks);
    EXPECT_FALSE(s.XDown || s.XUp || s.YDown || s.YUp || s.ZDown || s.ZUp);
    EXPECT_EQ(static_cast<TColor>(s.BackGround), 0xFFFFFFu);
    EXPECT_EQ(s.BackGroundGL(), (TColorGL{1, 1, 1}));
    EXPECT_EQ(static_cast<TColor>(s.Axes), 0u);
    EXPECT_EQ(s.AxesGL(), (TColorGL{0, 0, 0}));
    for (const TColorSetting* mesh : {&s.ColorX, &s.ColorY, &s.ColorZ}) {
        EXPECT_EQ(static_cast<TColor>(*mesh), 0xC0C0C0u);
        EXPECT_FLOAT_EQ(mesh->Triple().G, 192.0f / 255);
    }
    for (double lo : {s.MinX, s.MinY, s.MinZ})
        EXPECT_EQ(lo, -10);
    for (double hi : {s.MaxX, s.MaxY, s.MaxZ})
        EXPECT_EQ(hi, 10);
    for (double step : {s.StepMesh, s.StepNumeration_X, s.StepNumeration_Y, s.StepNumeration_Z})
        EXPECT_EQ(step, 1);
    EXPECT_TRUE(SettingsAreValid(s));
}

TEST(SettingsRecord, AssigningAColourRecomputesItsTriple) {
    TSettings s;
    Settings_Default(s);
    s.BackGround = clRed;
    EXPECT_EQ(s.BackGroundGL(), (TColorGL{1, 0, 0}));
    s.ColorZ = clBlue;
    EXPECT_EQ(s.ColorZGL(), (TColorGL{0, 0, 1}));
    // Copies carry both the colour and its triple.
    TSettings copy = s;
    copy.Axes = clLime;
    EXPECT_EQ(copy.AxesGL(), (TColorGL{0, 1, 0}));
    EXPECT_EQ(copy.BackGroundGL(), (TColorGL{1, 0, 0}));
    EXPECT_EQ(s.AxesGL(), (TColorGL{0, 0, 0}));
}

struct ValidityCase {
    const char* name;
    void (*spoil)(TSettings&);
    friend void PrintTo(const ValidityCase& c, std::ostream* os) { *os << c.name; }
};

class SettingsValidity : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(SettingsValidity, RejectsValuesTheFrameCannotUse) {
    TSettings s;
    Settings_Default(s);
    GetParam().spoil(s);
    EXPECT_FALSE(SettingsAreValid(s));
}

INSTANTIATE_TEST_SUITE_P(
    Spoiled, SettingsValidity,
    ::testing::Values(
        ValidityCase{"reversed_interval", [](TSettings& s) { s.MinY = 5, s.MaxY = 4; }},
        ValidityCase{"end_beyond_1000", [](TSettings& s) { s.MaxZ = 1000.5; }},
        ValidityCase{"end_below_minus_1000", [](TSettings& s) { s.MinX = -1001; }},
        ValidityCase{"nan_end", [](TSettings& s) { s.MinX = std::nan(""); }},
        ValidityCase{"zero_mesh_step", [](TSettings& s) { s.StepMesh = 0; }},
        ValidityCase{"negative_mesh_step", [](TSettings& s) { s.StepMesh = -1; }},
        ValidityCase{"mesh_step_too_large", [](TSettings& s) { s.StepMesh = 100.01; }},
        ValidityCase{"numbering_step_too_small", [](TSettings& s) { s.StepNumeration_X = 0.09; }},
        ValidityCase{"numbering_step_too_large", [](TSettings& s) { s.StepNumeration_Z = 51; }},
        ValidityCase{
            "infinite_step",
            [](TSettings& s) { s.StepNumeration_Y = std::numeric_limits<double>::infinity(); }}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SettingsValidity, AcceptsTheBoundaries) {
    TSettings s;
    Settings_Default(s);
    s.MinX = -1000;
    s.MaxX = 1000;
    s.MinY = s.MaxY = 3; // a point interval is allowed
    s.StepMesh = 0.01;
    s.StepNumeration_X = 0.1;
    s.StepNumeration_Y = 50;
    EXPECT_TRUE(SettingsAreValid(s));
}

} // namespace
