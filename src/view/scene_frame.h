#pragma once
// The frame of reference drawn before the graphs: axes over the settings' intervals, half-plane
// meshes, tick marks, numbers and the red axis letters.

#include "graphs/view_state.h"
#include "settings/settings.h"

#include <string>

/// Beyond this many model units per normalised unit, ticks and numbers would crowd into a
/// smear; their passes are skipped.
inline constexpr double FrameSizeGuard = 500;

/// Draws the frame into the current context with the model transforms already set; its lines are
/// `PixelRatio` device pixels wide (one pixel of the view).
void DrawSceneFrame(const TSettings& Settings, const ViewState& View, char DecimalSeparator,
                    double PixelRatio = 1);

/// The text of an axis number: the value rounded to two decimals (halves to even), written with
/// up to 15 significant digits and the given separator, so that 0.1 + 0.2 reads "0,3".
std::string AxisNumberText(double Value, char DecimalSeparator);
