#pragma once
// How large, how turned and how far shifted the scene is shown. One instance per document.

struct ViewState {
    double ScaleX = 0; ///< scale of model X and model Z
    double ScaleY = 0; ///< scale of model Y; derived on every frame unless autoscaling holds it
    double AngleX = 0; ///< degrees about the X axis
    double AngleY = 0; ///< degrees about the Y axis
    double AngleZ = 0; ///< degrees about the Z axis
    double ShiftX = 0; ///< model units along X, added to every vertex and raster position
    double ShiftY = 0; ///< model units along Y, likewise
    bool operator==(const ViewState&) const = default;
};

/// The scales given when the view surface is made: `ScaleX` 0.1 and `ScaleY` stretched by the
/// panel's aspect ratio (the first frame derives `ScaleY` again unless autoscaling is on).
inline void InitSurfaceScales(ViewState& View, int ClientWidth, int ClientHeight) {
    View.ScaleX = 0.1;
    View.ScaleY = ClientHeight > 0 ? View.ScaleX * ClientWidth / ClientHeight : View.ScaleX;
}
