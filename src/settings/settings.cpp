#include "settings/settings.h"

#include <cmath>
#include <utility>

void Settings_Default(TSettings& Settings) {
    Settings.AxisX = true;
    Settings.AxisY = true;
    Settings.AxisZ = true;
    Settings.Numeration = true;
    Settings.Touch = true;
    Settings.Perspective = true;
    Settings.BackGround = clWhite;
    Settings.Axes = clBlack;
    Settings.MinX = -10;
    Settings.MaxX = 10;
    Settings.MinY = -10;
    Settings.MaxY = 10;
    Settings.MinZ = -10;
    Settings.MaxZ = 10;
    Settings.ColorX = clSilver;
    Settings.XDown = false;
    Settings.XUp = false;
    Settings.ColorY = clSilver;
    Settings.YDown = false;
    Settings.YUp = false;
    Settings.ColorZ = clSilver;
    Settings.ZDown = false;
    Settings.ZUp = false;
    Settings.StepMesh = 1;
    Settings.StepNumeration_X = 1;
    Settings.StepNumeration_Y = 1;
    Settings.StepNumeration_Z = 1;
    Settings.Asteriks = true;
}

namespace {

// Each field of the ranges with the record's field of the same name.
constexpr std::pair<double TAxisRanges::*, double TSettings::*> RangeFields[] = {
    {&TAxisRanges::MinX, &TSettings::MinX},
    {&TAxisRanges::MaxX, &TSettings::MaxX},
    {&TAxisRanges::MinY, &TSettings::MinY},
    {&TAxisRanges::MaxY, &TSettings::MaxY},
    {&TAxisRanges::MinZ, &TSettings::MinZ},
    {&TAxisRanges::MaxZ, &TSettings::MaxZ},
    {&TAxisRanges::StepNumeration_X, &TSettings::StepNumeration_X},
    {&TAxisRanges::StepNumeration_Y, &TSettings::StepNumeration_Y},
    {&TAxisRanges::StepNumeration_Z, &TSettings::StepNumeration_Z}};

bool IntervalOk(double lo, double hi) {
    return std::isfinite(lo) && std::isfinite(hi) && lo >= -1000 && hi <= 1000 && lo <= hi;
}

bool InRange(double v, double lo, double hi) {
    return std::isfinite(v) && v >= lo && v <= hi;
}

} // namespace

bool SettingsAreValid(const TSettings& s) {
    return IntervalOk(s.MinX, s.MaxX) && IntervalOk(s.MinY, s.MaxY) && IntervalOk(s.MinZ, s.MaxZ) &&
           InRange(s.StepMesh, 0.01, 100) && InRange(s.StepNumeration_X, 0.1, 50) &&
           InRange(s.StepNumeration_Y, 0.1, 50) && InRange(s.StepNumeration_Z, 0.1, 50);
}

TAxisRanges AxisRanges(const TSettings& Settings) {
    TAxisRanges ranges;
    for (const auto& [range, setting] : RangeFields)
        ranges.*range = Settings.*setting;
    return ranges;
}

void StoreAxisRanges(const TAxisRanges& Ranges, TSettings& Settings) {
    for (const auto& [range, setting] : RangeFields)
        Settings.*setting = Ranges.*range;
}
