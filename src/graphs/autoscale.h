#pragma once
// Automatic scaling and the switch that turns it on and off.

#include "graphs/document.h"

struct TSettings;

/// `AutoScale`: fits the view of `document` to its ticked graphs and widens the settings' axis
/// intervals to cover them; writes the settings' X and Y intervals and numbering steps and the
/// view's scales and shifts. Does nothing while `document.AutoScaleOn` is false, with no graph,
/// or with no ticked graph. The caller redraws.
void AutoScale(TDocument& document, TSettings& settings);

/// `RoundTo(v, -digits)`: round(v / 10^-digits) * 10^-digits, halves to even, 10^-digits a double.
double RoundToDecimals(double value, int digits);

/// Copies the nine settings fields and the view (without `ScaleY`) into a backup.
TAutoScaleBackup TakeAutoScaleBackup(const TSettings& settings, const ViewState& view);
/// The settings' part of the backup (the six interval ends and three numbering steps) taken
/// from `settings`; the view's part stays.
void CopySettingsIntoBackup(const TSettings& settings, TAutoScaleBackup& backup);
/// Copies a backup back into the settings and the view.
void RestoreAutoScaleBackup(const TAutoScaleBackup& backup, TSettings& settings, ViewState& view);

/// `ChBoxAutoScale` becomes checked: backup, projection onto XOY (with its redraw), then
/// `AutoScale`. The GUI releases and disables its buttons itself. Does nothing if already on.
void SwitchAutoScaleOn(TDocument& document, TSettings& settings);
/// `ChBoxAutoScale` becomes unchecked: the backup goes back; no redraw. Does nothing if off.
void SwitchAutoScaleOff(TDocument& document, TSettings& settings);
