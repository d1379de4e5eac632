#pragma once
// One complete frame of the view, drawn into whatever OpenGL context is current: the widget,
// an offscreen image or the command line's picture all use this same code.

#include "graphs/view_state.h"
#include "settings/settings.h"
#include "view/scene_frame.h"

class TDocument;

struct TFrameSize {
    int ClientWidth = 0; ///< drawing area of the view, pixels
    int ClientHeight = 0;
    int OuterWidth = 0; ///< the view's outer size; the perspective's aspect ratio uses it
    int OuterHeight = 0;

    static TFrameSize Plain(int w, int h) { return {w, h, w, h}; }
};

/// What a frame reads. The frame may write `View.ScaleY` (derived unless autoscaling holds it).
struct TScene {
    const TSettings& Settings;
    ViewState& View;
    bool AutoScaleChecked = false;
    char DecimalSeparator = '.';       ///< the locale's separator, used in the axis numbers
    const TDocument* Graphs = nullptr; ///< whose ticked graphs are drawn; none when null
    double PixelRatio = 1; ///< device pixels to a pixel of the view: lines are this many wide
    TFrameCulling FrameCulling = TFrameCulling::Visible;
    TFrameCounts* FrameCounts = nullptr; ///< when set, receives what the frame of axes handed over
};

/// `ScaleY` as every frame derives it: equal to `ScaleX` in perspective, stretched by the drawing
/// area's aspect ratio in the parallel view (one model unit as many pixels along X as along Y);
/// kept while autoscaling is on, which set it itself.
void DeriveScaleY(ViewState& View, bool Perspective, bool AutoScaleChecked, const TFrameSize& Size);

/// Sets the OpenGL state a new context needs once: the depth test and face culling.
void InitSurfaceState();

/// Clears, sets viewport, projection, camera and model transforms, then draws the frame of axes
/// and the checked graphs. Presenting the picture is the caller's (the widget swaps, an
/// offscreen target reads the pixels). A view of zero width or height is only cleared.
void DrawScene(TScene& Scene, const TFrameSize& Size);

/// Emits vertices and raster positions with the view's shift added to x and y, so that axes,
/// numbers and graphs move together while the rotation still turns about the model origin.
class TShiftedEmitter {
public:
    explicit TShiftedEmitter(const ViewState& View) : DX(View.ShiftX), DY(View.ShiftY) {}
    void Vertex(double x, double y) const;
    void Vertex(double x, double y, double z) const;
    void RasterPos(double x, double y) const;
    void RasterPos(double x, double y, double z) const;

private:
    double DX;
    double DY;
};
