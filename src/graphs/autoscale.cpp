#include "graphs/autoscale.h"

#include "formula/rounding.h"

#include "graphs/sampling.h"
#include "settings/settings.h"

#include <cmath>
#include <cstdint>

namespace {

// The larger (smaller) of the two; on a tie, and when either is not a number, the second. The
// order of the arguments matters for the bounds that still hold their start values.
double MaxOf(double a, double b) {
    return a > b ? a : b;
}
double MinOf(double a, double b) {
    return a < b ? a : b;
}

/// The scale and shift of one axis that show the range lo..hi: a narrow range at scale 1, up to
/// 500 units centred on the origin, a wider one as a window 500 units wide a quarter of the way
/// along; then the margin, a tenth more room.
void FitAxis(double lo, double hi, double& scale, double& shift) {
    const double d = std::fabs(hi - lo);
    if (d <= 0.01) {
        scale = 1;
        shift = -lo;
    } else if (d <= 500) {
        scale = 2 / d;
        shift = -(lo + d / 2);
    } else {
        scale = 0.004;
        shift = -(lo + d / 4);
    }
    scale = scale / 1.1;
}

/// The numbering step that gives about ten numbers across the view at `scale`, to one decimal,
/// and never below 0.05 (0.02 then).
double NumberingStep(double scale) {
    double step = RoundToDecimals(1 / (10 * scale), 1);
    if (step < 0.05)
        step = 0.02;
    return step;
}

} // namespace

double RoundToDecimals(double value, int digits) {
    // 10^-digits as a double: one over the exact power of ten.
    double power = 1;
    for (int i = 0; i < digits; ++i)
        power *= 10;
    const double factor = 1 / power;
    const double whole = static_cast<double>(kurvant::RoundHalfEven(value / factor));
    return whole * factor;
}

void AutoScale(TDocument& document, TSettings& settings) {
    const int count = document.GraphCount();
    if (count < 1 || !document.AutoScaleOn)
        return;
    int first = -1;
    for (int i = 0; i < count; ++i) {
        if (document.Visible(i)) {
            first = i;
            break;
        }
    }
    if (first < 0)
        return;

    const TGraphic& f = document.Graph(first);
    double loX = f.BoundMinX, hiX = f.BoundMaxX, loY = f.BoundMinY, hiY = f.BoundMaxY;
    if (loX >= BoundStart)
        loX = settings.MinX;
    if (hiX <= -BoundStart)
        hiX = settings.MaxX;
    if (loY >= BoundStart)
        loY = settings.MinY;
    if (hiY <= -BoundStart)
        hiY = settings.MaxY;

    for (int i = first + 1; i < count; ++i) {
        if (!document.Visible(i))
            continue;
        const TGraphic& g = document.Graph(i);
        hiX = MaxOf(hiX, g.BoundMaxX);
        loX = MinOf(loX, g.BoundMinX);
        hiY = MaxOf(hiY, g.BoundMaxY);
        loY = MinOf(loY, g.BoundMinY);
    }

    // Widen the settings' intervals, never narrowing them.
    settings.MinX = MinOf(settings.MinX, loX);
    if (settings.MinX < -1000)
        settings.MinX = -1000;
    settings.MaxX = MaxOf(settings.MaxX, hiX);
    if (settings.MaxX > 1000)
        settings.MaxX = 1000;
    settings.MinY = MinOf(settings.MinY, loY);
    if (settings.MinY < -1000)
        settings.MinY = -1000;
    settings.MaxY = MaxOf(settings.MaxY, hiY);
    if (settings.MaxY > 1000)
        settings.MaxY = 1000;

    // Limit the ranges.
    if (loX < -1000)
        loX = -1000;
    if (loY < -1000)
        loY = -1000;
    if (hiX > 1000)
        hiX = 1000;
    if (hiY > 1000)
        hiY = 1000;
    if (loX > 1000)
        loX = 900;
    if (loY > 1000)
        loY = 900;
    if (hiX < -1000)
        hiX = -900;
    if (hiY < -1000)
        hiY = -900;

    ViewState& view = document.View;
    FitAxis(loX, hiX, view.ScaleX, view.ShiftX);
    FitAxis(loY, hiY, view.ScaleY, view.ShiftY);

    settings.StepNumeration_X = NumberingStep(view.ScaleX);
    settings.StepNumeration_Y = NumberingStep(view.ScaleY);

    if (settings.Perspective) {
        view.ScaleX = view.ScaleX * 1.4;
        view.ScaleY = view.ScaleY * 1.4;
        settings.StepNumeration_X = RoundToDecimals(1.4 * settings.StepNumeration_X, 2);
        settings.StepNumeration_Y = RoundToDecimals(1.4 * settings.StepNumeration_Y, 2);
    }
}

void CopySettingsIntoBackup(const TSettings& settings, TAutoScaleBackup& b) {
    static_cast<TAxisRanges&>(b) = AxisRanges(settings);
}

TAutoScaleBackup TakeAutoScaleBackup(const TSettings& settings, const ViewState& view) {
    TAutoScaleBackup b;
    CopySettingsIntoBackup(settings, b);
    b.ScaleX = view.ScaleX;
    b.AngleX = view.AngleX;
    b.AngleY = view.AngleY;
    b.AngleZ = view.AngleZ;
    b.ShiftX = view.ShiftX;
    b.ShiftY = view.ShiftY;
    return b;
}

void RestoreAutoScaleBackup(const TAutoScaleBackup& b, TSettings& settings, ViewState& view) {
    StoreAxisRanges(b, settings);
    view.ScaleX = b.ScaleX;
    view.AngleX = b.AngleX;
    view.AngleY = b.AngleY;
    view.AngleZ = b.AngleZ;
    view.ShiftX = b.ShiftX;
    view.ShiftY = b.ShiftY;
}

void SwitchAutoScaleOn(TDocument& document, TSettings& settings) {
    if (document.AutoScaleOn)
        return;
    document.AutoScaleBackup = TakeAutoScaleBackup(settings, document.View);
    document.AutoScaleOn = true;
    document.ProjectionXOY();
    AutoScale(document, settings);
}

void SwitchAutoScaleOff(TDocument& document, TSettings& settings) {
    if (!document.AutoScaleOn)
        return;
    RestoreAutoScaleBackup(document.AutoScaleBackup, settings, document.View);
    document.AutoScaleOn = false;
}
