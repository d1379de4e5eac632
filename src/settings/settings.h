#pragma once
// The settings record: how the frame of the view is drawn. One instance lives for the whole run,
// owned by the application and passed to whoever reads it.

#include "settings/color.h"

/// A colour field of the settings together with its OpenGL triple. Assigning a colour always
/// recomputes the triple, so the two can never disagree.
class TColorSetting {
public:
    TColorSetting() = default;
    explicit TColorSetting(TColor c) { *this = c; }
    TColorSetting& operator=(TColor c) {
        Value = c;
        GL = Color_To_GL(c);
        return *this;
    }
    operator TColor() const { return Value; }
    const TColorGL& Triple() const { return GL; }
    bool operator==(const TColorSetting&) const = default;

private:
    TColor Value = 0;
    TColorGL GL;
};

struct TSettings {
    bool AxisX = false;
    bool AxisY = false;
    bool AxisZ = false;
    bool Numeration = false;
    bool Touch = false; ///< despite its name: the tick marks on the axes
    bool Perspective = false;

    TColorSetting BackGround;
    TColorSetting Axes;

    double MinX = 0, MaxX = 0;
    double MinY = 0, MaxY = 0;
    double MinZ = 0, MaxZ = 0;

    TColorSetting ColorX;
    bool XDown = false, XUp = false;
    TColorSetting ColorY;
    bool YDown = false, YUp = false;
    TColorSetting ColorZ;
    bool ZDown = false, ZUp = false;

    double StepMesh = 0;
    double StepNumeration_X = 0;
    double StepNumeration_Y = 0;
    double StepNumeration_Z = 0;

    /// Despite its name, draws no asterisks: shows the notice of how a typed formula is rewritten
    /// (such as the '*' put between factors written side by side).
    bool Asteriks = false;

    // The OpenGL triples of the colour fields, recomputed on every assignment.
    const TColorGL& BackGroundGL() const { return BackGround.Triple(); }
    const TColorGL& AxesGL() const { return Axes.Triple(); }
    const TColorGL& ColorXGL() const { return ColorX.Triple(); }
    const TColorGL& ColorYGL() const { return ColorY.Triple(); }
    const TColorGL& ColorZGL() const { return ColorZ.Triple(); }

    bool operator==(const TSettings&) const = default;
};

/// The interval ends of the three axes and their numbering steps, gathered from the record's
/// fields of the same names: what automatic scaling changes and its backup keeps.
struct TAxisRanges {
    double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0, MinZ = 0, MaxZ = 0;
    double StepNumeration_X = 0, StepNumeration_Y = 0, StepNumeration_Z = 0;
    bool operator==(const TAxisRanges&) const = default;
};
TAxisRanges AxisRanges(const TSettings& Settings);
void StoreAxisRanges(const TAxisRanges& Ranges, TSettings& Settings);

/// Gives every field its default: white background, black axes, -10..10 on all axes, silver
/// meshes with none shown, all steps 1, every flag on except the six mesh flags.
void Settings_Default(TSettings& Settings);

/// True when the record keeps the invariants the frame relies on: interval ends within
/// -1000..1000 and not reversed, mesh step within 0.01..100, numbering steps within 0.1..50,
/// every value finite.
bool SettingsAreValid(const TSettings& Settings);
