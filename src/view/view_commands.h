#pragma once
// What the mouse and the view commands do to the view state: the four drag modes, the five
// projections, centring, the standard scale and the coordinate readout. No widgets: the main
// window passes the mouse events and shows the results.

#include "graphs/document.h"
#include "graphs/view_state.h"
#include "view/frame.h"

#include <optional>
#include <string>

/// The drag modes of the transformation tool bar; at most one is chosen.
enum class TMouseMode { None, RotateXY, RotateZ, Translate, Scale };

/// The five projections of the projection tool bar.
enum class TProjection { XOY, XOZ, ZOY, XZY, YXZ };

/// Sets the three angles of a projection; scales and shifts stay.
void ApplyProjection(ViewState& View, TProjection Projection);

/// Centres the axes: both shifts 0.
void CenterAxes(ViewState& View);

/// The standard scale: `ScaleX` 0.1 (the next frame derives `ScaleY` unless autoscaling holds it).
void DefaultScale(ViewState& View);

/// The model coordinates under the cursor, as the readout shows them.
struct TReadout {
    std::string X;
    std::string Y;
};

/// Mouse drags over the view. Button down starts a drag in the chosen mode, every move applies
/// one step of it, button up ends it.
class TViewNavigator {
public:
    void MouseDown(TMouseMode mode, int x, int y);
    void MouseUp(TMouseMode mode);
    /// The middle button: a shift whatever the mode.
    void PanDown(int x, int y);
    void PanUp() { DragPan = false; }
    /// Applies the drag steps for a move to (x, y) in the view's client pixels (y downwards).
    /// Returns true when the view state changed.
    bool MouseMove(ViewState& view, int x, int y);

    bool Dragging() const {
        return DragRotateXY || DragRotateZ || DragTranslate || DragScale || DragPan;
    }

    bool DragRotateXY = false;
    bool DragRotateZ = false;
    bool DragTranslate = false;
    bool DragScale = false;
    bool DragPan = false;
    int LastMouseX = 0;
    int LastMouseY = 0;
};

/// The readout for the cursor at (x, y) pixels from the view's top left corner, in the units of
/// `size`; nothing while the scene is turned (any angle not 0). It names the point of the plane
/// z = 0 under the cursor: in the parallel view the viewport spans -1..1 scaled units, in the
/// perspective view the frustum's section at the origin (half height `PerspectiveHalfHeight`,
/// half width that times the aspect ratio of the outer size, as the projection takes it).
std::optional<TReadout> CursorReadout(const ViewState& view, bool perspective, double x, double y,
                                      const TFrameSize& size, char decimalSeparator);

/// One notch of the mouse wheel zooms by this factor (a smooth-scrolling touchpad in proportion).
inline constexpr double WheelZoomStep = 1.25;
/// The scales the wheel keeps to.
inline constexpr double MinWheelScale = 0.001;
inline constexpr double MaxWheelScale = 1000;

/// Zooms the view by `WheelZoomStep` to the power `notches` (positive: closer) about the point
/// at (x, y) pixels from the view's top left corner, in the units of `size`: in an unturned view
/// that point of the plane z = 0 stays under the cursor. Both scales change, so an aspect the fit
/// gave is kept; the scale stays within `MinWheelScale` ... `MaxWheelScale`. Returns whether the
/// view changed.
bool ZoomAt(ViewState& view, bool perspective, double x, double y, const TFrameSize& size,
            double notches);

/// A box of model space: its least and greatest x, y and z.
struct TBox {
    double Min[3] = {0, 0, 0};
    double Max[3] = {0, 0, 0};
};

/// The box of the document's ticked graphs' points, or nothing when none has a point.
std::optional<TBox> TickedGraphsBox(const TDocument& document);

/// "Показать всё": the scales and shifts that show `box` whole in the view as it is turned now,
/// centred, with a tenth of room on the tighter side; the scales keep the view's aspect (as the
/// next frame would derive it) and stay within `MinWheelScale` ... `MaxWheelScale`. The shifts
/// move the box across the view only, so a turned view along its depth keeps its depth. Returns
/// whether the view changed.
bool FitAll(ViewState& view, bool perspective, const TFrameSize& size, const TBox& box);

/// A readout value rounded to three decimals (half away from zero by truncating value/0.001+0.5,
/// so -1.2344 reads -1.233) in the general format with the given separator.
std::string ReadoutText(double value, char decimalSeparator);

/// Angle after a rotate-drag step: the angle rounded (halves to even), plus the pixels moved,
/// remainder of 360 with the sign of the sum.
double RotatedAngle(double angle, int pixels);
