#include "settings/settings.h"

#include <cmath>

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
