#pragma once
// The perspective camera of the view, shared by the frame (which sets it up) and the coordinate
// readout (which inverts it for the plane z = 0).

#include <cmath>
#include <numbers>

/// Vertical field of view of the perspective projection, degrees.
inline constexpr double PerspectiveFieldOfView = 60.0;
inline constexpr double PerspectiveNear = 1.0;
inline constexpr double PerspectiveFar = 60.0;
/// The eye sits on the positive Z axis at this distance, looking at the origin, Y up.
inline constexpr double CameraDistance = 2.5;

/// Half the height of the view at the plane z = 0, in scaled model units (about 1.4434): the
/// camera distance times the tangent of half the field of view. Half the width is this times the
/// view's aspect ratio (width / height).
inline double PerspectiveHalfHeight() {
    return CameraDistance * std::tan(PerspectiveFieldOfView / 2 * std::numbers::pi / 180);
}
