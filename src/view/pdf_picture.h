#pragma once
// The view as a PDF of one page, written as it is recorded. The frame is fed back slice by slice
// of depth, each slice sorted far to near and written out before the next is drawn, so that
// memory holds one slice's primitives however large the frame: a PDF of twenty surfaces of
// 200 x 200 (1.6 million segments) is made in the memory that one surface's would need.

#include "view/frame.h"

#include <cstdio>
#include <string_view>

/// Writes the PDF of `Scene` at `Size` to `Out` (a page of the view's size, one pixel a point, the
/// background filled; lines, points and filled areas in their colours and widths, sorted by
/// depth; the axis numbers as text in Helvetica of `FontSize` points). Slices feed back about
/// `SliceFloats` floats each. `CountCalls` is the counter that the calls below add to. False when
/// the frame cannot be recorded or `Out` fails.
bool WritePdfPicture(TScene& Scene, const TFrameSize& Size, std::FILE* Out, double FontSize,
                     double SliceFloats, long& CountCalls);

/// True while a PDF is recorded: the frame's widths, point sizes and texts are then handed to it
/// by the calls below, in the order of the drawing.
bool PdfRecording();
void PdfLineWidth(float Width);
void PdfPointSize(float Size);
/// Text in the glyph lists' bytes (Windows-1251) at the current raster position, in its colour;
/// nothing when the position lies outside the view or the slice.
void PdfText(std::string_view Text);
