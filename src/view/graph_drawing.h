#pragma once
// Drawing of the ticked graphs from their stored points: curves with gaps and breaks, surface wire
// meshes, table polylines and points, colour gradation. Nothing is evaluated here.

#include "graphs/document.h"
#include "graphs/view_state.h"

/// Draws every ticked graph of the document in list order into the current context, with the
/// model transforms already set. Each graph's vertices go to OpenGL as arrays. `PixelRatio` is the
/// number of device pixels to a pixel of the view: line widths and point sizes are multiplied by
/// it, so that a graph looks the same on a screen of twice the density.
void DrawGraphs(const TDocument& Document, const ViewState& View, double PixelRatio = 1);

/// `DrawGraphs` vertex by vertex in immediate mode: the plain way, the same pixels, kept as the
/// reference of the arrays.
void DrawGraphsImmediate(const TDocument& Document, const ViewState& View, double PixelRatio = 1);

/// Draws one graph whatever its tick.
void DrawGraphic(const TGraphic& Graphic, const ViewState& View, double PixelRatio = 1);

/// The gradation colour of a vertex at height z; false when the graph has no height range or a
/// single point, where the plain colour is used instead.
bool GradationColor(const TGraphic& Graphic, double z, TColorGL& Color);
