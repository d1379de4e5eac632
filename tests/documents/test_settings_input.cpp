// The settings dialog without its widgets: OK's checks of the ten number fields with their
// messages and order, the swap of reversed interval ends, the texts the fields show, the backup
// of automatic scaling and the three presets of the check boxes.

#include "documents/settings_input.h"

#include "graphs/document.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

namespace {

using F = TSettingsField;
using TValues = std::array<double, SettingsFieldCount>;

const TSettingsTexts DefaultTexts = {"-10", "10", "-10", "10", "-10", "10", "1", "1", "1", "1"};
const TValues DefaultValues = {-10, 10, -10, 10, -10, 10, 1, 1, 1, 1};

// The numbers in the order of `TSettingsField`.
TValues Values(const TSettingsNumbers& n) {
    return {n.MinX,
            n.MaxX,
            n.MinY,
            n.MaxY,
            n.MinZ,
            n.MaxZ,
            n.StepMesh,
            n.StepNumeration_X,
            n.StepNumeration_Y,
            n.StepNumeration_Z};
}

struct CheckRow {
    const char* Name;
    F Field;
    const char* Text;
    char Separator;
    const char* Message; // empty: accepted with `Value`
    double Value;
};

void PrintTo(const CheckRow& row, std::ostream* os) {
    *os << row.Name;
}

class Check : public testing::TestWithParam<CheckRow> {};

TEST_P(Check, RefusesWithTheFieldsMessageOrReadsTheValue) {
    const CheckRow& row = GetParam();
    const auto field = static_cast<std::size_t>(row.Field);
    TSettingsTexts texts = DefaultTexts;
    texts[field] = row.Text;
    const TSettingsCheck check = CheckSettingsTexts(texts, row.Separator);
    if (*row.Message) {
        EXPECT_FALSE(check.Ok);
        EXPECT_EQ(check.Failed, row.Field);
        EXPECT_EQ(check.Message, row.Message);
        return;
    }
    ASSERT_TRUE(check.Ok) << check.Message;
    const TValues read = Values(check.Numbers);
    for (std::size_t i = 0; i < SettingsFieldCount; ++i)
        EXPECT_DOUBLE_EQ(read[i], i == field ? row.Value : DefaultValues[i]) << "field " << i;
}

const CheckRow CheckRows[] = {
    {"MinXLowerBound", F::MinX, "-1000", ',', "", -1000},
    {"MaxXUpperBound", F::MaxX, "1000", ',', "", 1000},
    {"PointUnderCommaAndBlanks", F::MinY, " -2.5 ", ',', "", -2.5},
    {"MeshStepLowerBound", F::StepMesh, "0,01", ',', "", 0.01},
    {"NumberingLowerBound", F::StepNumeration_X, "0.1", ',', "", 0.1},
    {"NumberingUpperBound", F::StepNumeration_Z, "50", ',', "", 50},
    {"MeshStepAsExpression", F::StepMesh, "pi/5", ',', "", 0.628318530717958},
    {"MinXJustAbove", F::MinX, "1000.5", ',',
     "Поле \"Min X\":\n\rЧисло '1000,5' не лежит в промежутке\n\rот -1000  до 1000 !", 0},
    {"MaxYNotANumber", F::MaxY, "abc", ',', "Поле \"Max Y\":\n\r'abc' не является числом!", 0},
    {"MinZJustBelowWithPoint", F::MinZ, "-1000,5", '.',
     "Поле \"Min Z\":\n\rЧисло '-1000.5' не лежит в промежутке\n\rот -1000  до 1000 !", 0},
    {"MaxZEmpty", F::MaxZ, "", ',', "Поле \"Max Z\":\n\r'' не является числом!", 0},
    {"MeshStepTooFine", F::StepMesh, "0.005", ',',
     "Поле \"Шаг сетки\":\n\rЧисло '0,005' не лежит в промежутке\n\rот 0,0100000000  до 100 !", 0},
    {"MeshStepTooWide", F::StepMesh, "100.5", '.',
     "Поле \"Шаг сетки\":\n\rЧисло '100.5' не лежит в промежутке\n\rот 0.0100000000  до 100 !", 0},
    {"NumberingXTooFine", F::StepNumeration_X, "0.05", ',',
     "Поле \"Шаг нумерации по оси X\":\n\rЧисло '0,05' не лежит в промежутке\n\rот 0,1000000000  "
     "до 50 !",
     0},
    {"NumberingYZero", F::StepNumeration_Y, "0", ',',
     "Поле \"Шаг нумерации по оси Y\":\n\rЧисло '0' не лежит в промежутке\n\rот 0,1000000000  до "
     "50 !",
     0},
};

INSTANTIATE_TEST_SUITE_P(SettingsChecks, Check, testing::ValuesIn(CheckRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(SettingsChecks, TheFirstFailingFieldInOrderIsNamed) {
    // Every field from `first` on is wrong; the one OK checks first is blamed.
    for (std::size_t first = 0; first < SettingsFieldCount; ++first) {
        TSettingsTexts texts = DefaultTexts;
        for (std::size_t i = first; i < SettingsFieldCount; ++i)
            texts[i].assign(1, 'x');
        const TSettingsCheck check = CheckSettingsTexts(texts, ',');
        EXPECT_FALSE(check.Ok);
        EXPECT_EQ(static_cast<std::size_t>(check.Failed), first);
    }
}

TEST(SettingsChecks, ReversedEndsAreSwappedAndNothingElse) {
    TSettingsNumbers n{{5, -5, -8, 8, 1000, -1000, 0.5, 40, 0.25}, 50};
    OrderIntervalEnds(n);
    EXPECT_EQ(Values(n), (TValues{-5, 5, -8, 8, -1000, 1000, 50, 0.5, 40, 0.25}));
    TSettingsNumbers equal{{3, 3, -4, -4, 0, 0, 1, 1, 1}, 1};
    OrderIntervalEnds(equal);
    EXPECT_EQ(Values(equal), (TValues{3, 3, -4, -4, 0, 0, 1, 1, 1, 1}));
}

TEST(SettingsTexts, EachNumberShowsInItsFieldAndReadsBack) {
    TSettings s;
    StoreSettingsNumbers({{-2.5, 999.75, -1000, 0, 0.25, 1000, 37.125, 0.125, 50}, 0.5}, s);
    EXPECT_EQ(s.MaxX, 999.75);
    EXPECT_EQ(s.StepMesh, 0.5);
    EXPECT_EQ(s.StepNumeration_Z, 50);
    const TSettingsTexts comma = {"-2,5", "999,75", "-1000",  "0",     "0,25",
                                  "1000", "0,5",    "37,125", "0,125", "50"};
    EXPECT_EQ(SettingsNumberTexts(s, ','), comma);
    EXPECT_EQ(SettingsNumberTexts(s, '.')[0], "-2.5");
    const TSettingsCheck check = CheckSettingsTexts(comma, ',');
    ASSERT_TRUE(check.Ok) << check.Message;
    EXPECT_EQ(Values(check.Numbers), Values(SettingsNumbers(s)));
}

TEST(AutoScaleBackup, TakesTheNineConfirmedFieldsAndKeepsTheView) {
    TSettings s;
    StoreSettingsNumbers({{-1, 2, -3, 4, -5, 6, 7, 8, 9}, 0.5}, s);
    TAutoScaleBackup b;
    b.ScaleX = 0.25;
    b.AngleX = 30;
    b.ShiftY = -4;
    KeepConfirmedInBackup(s, b);
    using TNine = std::array<double, 9>;
    EXPECT_EQ((TNine{b.MinX, b.MaxX, b.MinY, b.MaxY, b.MinZ, b.MaxZ, b.StepNumeration_X,
                     b.StepNumeration_Y, b.StepNumeration_Z}),
              (TNine{-1, 2, -3, 4, -5, 6, 7, 8, 9}));
    EXPECT_EQ(b.ScaleX, 0.25);
    EXPECT_EQ(b.AngleX, 30);
    EXPECT_EQ(b.ShiftY, -4);
}

// ---- check boxes and presets

struct FlagPair {
    const char* Name;
    bool TSettingsFlags::*Flag;
    bool TSettings::*Setting;
};
// In the order of `Letters`: the axes, the marks, perspective, the six meshes, `Asteriks`.
const FlagPair FlagPairs[] = {
    {"AxisX", &TSettingsFlags::AxisX, &TSettings::AxisX},
    {"AxisY", &TSettingsFlags::AxisY, &TSettings::AxisY},
    {"AxisZ", &TSettingsFlags::AxisZ, &TSettings::AxisZ},
    {"Numeration", &TSettingsFlags::Numeration, &TSettings::Numeration},
    {"Touch", &TSettingsFlags::Touch, &TSettings::Touch},
    {"Perspective", &TSettingsFlags::Perspective, &TSettings::Perspective},
    {"XDown", &TSettingsFlags::XDown, &TSettings::XDown},
    {"XUp", &TSettingsFlags::XUp, &TSettings::XUp},
    {"YDown", &TSettingsFlags::YDown, &TSettings::YDown},
    {"YUp", &TSettingsFlags::YUp, &TSettings::YUp},
    {"ZDown", &TSettingsFlags::ZDown, &TSettings::ZDown},
    {"ZUp", &TSettingsFlags::ZUp, &TSettings::ZUp},
    {"Asteriks", &TSettingsFlags::Asteriks, &TSettings::Asteriks},
};

TEST(SettingsFlags, EachCheckBoxGoesToItsOwnFieldAndBack) {
    for (const FlagPair& only : FlagPairs) {
        TSettingsFlags flags;
        flags.*only.Flag = true;
        TSettings s;
        StoreSettingsFlags(flags, s);
        for (const FlagPair& p : FlagPairs)
            EXPECT_EQ(s.*p.Setting, &p == &only) << only.Name << " stored into " << p.Name;
        EXPECT_EQ(SettingsFlags(s), flags) << only.Name;
    }
}

// "1" ticked, "0" unticked, in the order of `FlagPairs`.
TSettingsFlags FromLetters(const std::string& letters) {
    TSettingsFlags f;
    for (std::size_t i = 0; i < std::size(FlagPairs); ++i)
        f.*FlagPairs[i].Flag = letters.at(i) == '1';
    return f;
}
std::string Letters(const TSettingsFlags& f) {
    std::string s;
    for (const FlagPair& p : FlagPairs)
        s += f.*p.Flag ? '1' : '0';
    return s;
}

struct PresetRow {
    const char* Name;
    TSettingsFlags (*Preset)(TSettingsFlags);
    const char* Start;
    const char* Result;
};

void PrintTo(const PresetRow& row, std::ostream* os) {
    *os << row.Name;
}

class Presets : public testing::TestWithParam<PresetRow> {};

TEST_P(Presets, TickAndUntickTheirBoxesAndLeaveTheRest) {
    EXPECT_EQ(Letters(GetParam().Preset(FromLetters(GetParam().Start))), GetParam().Result);
}

const PresetRow PresetRows[] = {
    {"ThreeDFromNothingKeepsMeshesAndNotice", PresetFor3D, "0000000000000", "1111110000000"},
    {"ThreeDKeepsEveryMesh", PresetFor3D, "0000001111111", "1111111111111"},
    {"TwoDFromNothing", PresetFor2D, "0000000000000", "1101100000000"},
    {"TwoDFromEverythingKeepsPlaneOY", PresetFor2D, "1111111111111", "1101100011001"},
    {"TwoDKeepsLowerOYRemovesOthers", PresetFor2D, "0000001010100", "1101100010000"},
    {"NothingFromNothing", PresetNothing, "0000000000000", "0000010000000"},
    {"NothingFromEverythingKeepsNotice", PresetNothing, "1111111111111", "0000010000001"},
};

INSTANTIATE_TEST_SUITE_P(SettingsFlags, Presets, testing::ValuesIn(PresetRows),
                         [](const auto& row) { return std::string(row.param.Name); });

} // namespace
