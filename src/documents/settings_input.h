#pragma once
// What the settings dialog needs without its widgets: OK's checks of the ten number fields, the
// order of the interval ends, the texts the fields show, and the three presets of the check
// boxes. Texts are UTF-8.

#include "settings/settings.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

struct TAutoScaleBackup;

/// The dialog's number fields in the order OK checks them.
enum class TSettingsField {
    MinX,
    MaxX,
    MinY,
    MaxY,
    MinZ,
    MaxZ,
    StepMesh,
    StepNumeration_X,
    StepNumeration_Y,
    StepNumeration_Z
};
inline constexpr std::size_t SettingsFieldCount = 10;

/// The range OK holds a field to, both ends included: the interval ends -1000..1000, the mesh
/// step 0.01..100, the numbering steps 0.1..50.
struct TSettingsRange {
    double Minimum = 0;
    double Maximum = 0;
};
TSettingsRange SettingsFieldRange(TSettingsField field);

/// The name by which a refusal names a field: its label ("Min X", "Шаг сетки"), and for the
/// numbering steps, whose labels name only the axis, the heading with the axis.
std::string_view SettingsFieldName(TSettingsField field);

/// The ten texts as typed, indexed by `TSettingsField`.
using TSettingsTexts = std::array<std::string, SettingsFieldCount>;

/// The ten numbers of the settings that the dialog edits: the axes' ranges and the mesh step.
struct TSettingsNumbers : TAxisRanges {
    double StepMesh = 0;
};

/// The outcome of OK's checks. When `Ok` is false, `Failed` names the field that gets the focus
/// and `Message` is the text of its error box ("Ошибка"); `Numbers` is then incomplete.
struct TSettingsCheck {
    bool Ok = false;
    TSettingsField Failed = TSettingsField::MinX;
    std::string Message;
    TSettingsNumbers Numbers;
};

/// OK's checks in their order, each field's text a number or a constant expression (no unit
/// suffix) and its refusal naming the field, stopping at the first failure. Reversed interval ends
/// pass: `OrderIntervalEnds` mends them afterwards.
TSettingsCheck CheckSettingsTexts(const TSettingsTexts& texts, char decimalSeparator);

/// Swaps the ends of every axis whose lower end lies above its upper end.
void OrderIntervalEnds(TSettingsNumbers& numbers);

TSettingsNumbers SettingsNumbers(const TSettings& settings);
void StoreSettingsNumbers(const TSettingsNumbers& numbers, TSettings& settings);

/// The texts the fields show: each number in `NumberText` form with `decimalSeparator`.
TSettingsTexts SettingsNumberTexts(const TSettings& settings, char decimalSeparator);

/// While automatic scaling is on, switching it off restores its backup. The backup takes the
/// interval ends and numbering steps the user has just confirmed, so that switching off brings
/// back these rather than the values from before.
void KeepConfirmedInBackup(const TSettings& settings, TAutoScaleBackup& backup);

/// While automatic scaling is on, the numbering steps of X and Y shown by the dialog are the
/// fitting's, and a fitted step may be finer than a step the user may type (0.02). A step field
/// the user left as it was shown is the fitting's, not the user's: OK checks and keeps, in its
/// place, the step that switching automatic scaling off brings back (the fitting sets the shown
/// one again). Returns the texts OK checks; `typed` as it is when automatic scaling is off.
TSettingsTexts TextsToCheck(const TSettingsTexts& typed, const TSettings& shown,
                            const TAutoScaleBackup& backup, bool autoScaleOn,
                            char decimalSeparator);

/// The dialog's check boxes.
struct TSettingsFlags {
    bool AxisX = false, AxisY = false, AxisZ = false;
    bool Numeration = false, Touch = false, Perspective = false;
    bool XDown = false, XUp = false, YDown = false, YUp = false, ZDown = false, ZUp = false;
    bool Asteriks = false;

    friend bool operator==(const TSettingsFlags&, const TSettingsFlags&) = default;
};

TSettingsFlags SettingsFlags(const TSettings& settings);
void StoreSettingsFlags(const TSettingsFlags& flags, TSettings& settings);

/// "Для трёхмерных графиков": every axis with its numbers and ticks, in perspective; the meshes
/// and `Asteriks` stay.
TSettingsFlags PresetFor3D(TSettingsFlags flags);
/// "Для двухмерных графиков ": axes X and Y with numbers and ticks, no axis Z, no perspective,
/// no mesh but the one on plane OY, which stays as it is, as does `Asteriks`.
TSettingsFlags PresetFor2D(TSettingsFlags flags);
/// "Не отображать оси": no axis, numbers, ticks or mesh; perspective on; `Asteriks` stays.
TSettingsFlags PresetNothing(TSettingsFlags flags);
