#pragma once
// The frame of reference drawn before the graphs: axes over the settings' intervals, half-plane
// meshes, tick marks, numbers and the red axis letters.

#include "graphs/view_state.h"
#include "settings/settings.h"

#include <cstddef>
#include <string>

/// Beyond this many model units per normalised unit, ticks and numbers would crowd into a
/// smear; their passes are skipped.
inline constexpr double FrameSizeGuard = 500;

/// What a frame of reference handed to OpenGL.
struct TFrameCounts {
    std::size_t LineVertices = 0; ///< of axes, meshes and ticks, two a segment
    std::size_t Numbers = 0;      ///< axis numbers printed (the letters not counted)
    std::size_t Strips = 0;       ///< solid runs of mesh lines or ticks filled as one polygon
};

/// `Visible`: lines and numbers wholly outside the view volume, which would draw nothing, are not
/// handed over at all; the finest mesh over the widest intervals would otherwise cost millions
/// of lines a frame. Of the mesh lines and ticks in view, those less than half a pixel from the
/// one drawn before them are left out too, and so are numbers that would start within half the
/// width of the one printed before them; runs of lines closer than their width, which paint a
/// solid area, are filled as one polygon each. Where all is farther apart the picture is the
/// same.
/// `Everything`: the plain way, every line and number, kept as the reference.
enum class TFrameCulling { Visible, Everything };

/// Draws the frame into the current context with the model transforms already set; its lines are
/// `PixelRatio` device pixels wide (one pixel of the view).
TFrameCounts DrawSceneFrame(const TSettings& Settings, const ViewState& View, char DecimalSeparator,
                            double PixelRatio = 1, TFrameCulling Culling = TFrameCulling::Visible);

/// The text of an axis number: the value rounded to two decimals (halves to even), written with
/// up to 15 significant digits and the given separator, so that 0.1 + 0.2 reads "0,3".
std::string AxisNumberText(double Value, char DecimalSeparator);
