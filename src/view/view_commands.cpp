#include "view/view_commands.h"

#include "formula/rounding.h"
#include "view/camera.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <utility>

void ApplyProjection(ViewState& v, TProjection p) {
    struct Angles {
        double X, Y, Z;
    };
    static constexpr Angles table[] = {
        {0, 0, 0},     // XOY
        {-90, 0, 0},   // XOZ
        {0, 90, 0},    // ZOY
        {30, -45, 0},  // XZY
        {-60, 0, 225}, // YXZ
    };
    const Angles& a = table[static_cast<int>(p)];
    v.AngleX = a.X;
    v.AngleY = a.Y;
    v.AngleZ = a.Z;
}

void CenterAxes(ViewState& v) {
    v.ShiftX = 0;
    v.ShiftY = 0;
}

void DefaultScale(ViewState& v) {
    v.ScaleX = 0.1;
}

double RotatedAngle(double angle, int pixels) {
    const double whole = static_cast<double>(kurvant::RoundHalfEven(angle));
    // Angles normally stay within one turn; a huge one from a file is first brought into range
    // so that the integer sum cannot overflow.
    std::int64_t start = 0;
    if (std::abs(whole) < 1e15)
        start = static_cast<std::int64_t>(whole);
    else if (std::isfinite(whole))
        start = static_cast<std::int64_t>(std::fmod(whole, 360.0));
    return static_cast<double>((start + pixels) % 360);
}

void TViewNavigator::MouseDown(TMouseMode mode, int x, int y) {
    LastMouseX = x;
    LastMouseY = y;
    switch (mode) {
    case TMouseMode::RotateXY:
        DragRotateXY = true;
        break;
    case TMouseMode::RotateZ:
        DragRotateZ = true;
        break;
    case TMouseMode::Translate:
        DragTranslate = true;
        break;
    case TMouseMode::Scale:
        DragScale = true;
        break;
    case TMouseMode::None:
        break;
    }
}

void TViewNavigator::PanDown(int x, int y) {
    LastMouseX = x;
    LastMouseY = y;
    DragPan = true;
}

void TViewNavigator::MouseUp(TMouseMode mode) {
    switch (mode) {
    case TMouseMode::RotateXY:
        DragRotateXY = false;
        break;
    case TMouseMode::RotateZ:
        DragRotateZ = false;
        break;
    case TMouseMode::Translate:
        DragTranslate = false;
        break;
    case TMouseMode::Scale:
        DragScale = false;
        break;
    case TMouseMode::None:
        break;
    }
}

bool TViewNavigator::MouseMove(ViewState& v, int x, int y) {
    bool changed = false;
    if (DragTranslate || DragPan) {
        v.ShiftX += (x - LastMouseX) / (v.ScaleX * 150);
        v.ShiftY -= (y - LastMouseY) / (v.ScaleY * 100);
        changed = true;
    }
    if (DragScale) {
        // The limits are checked before the step, so one step may leave the range and the next
        // move brings the scale back inside.
        if (v.ScaleX < 0.012 || v.ScaleX > 4) {
            if (v.ScaleX <= 0.012)
                v.ScaleX = 0.0132;
            if (v.ScaleX >= 4)
                v.ScaleX = 4 / 1.1;
        } else if (y > LastMouseY) {
            v.ScaleX /= 1.1;
        } else if (y < LastMouseY) {
            v.ScaleX *= 1.1;
        }
        changed = true;
    }
    if (DragRotateXY) {
        v.AngleY = RotatedAngle(v.AngleY, x - LastMouseX);
        v.AngleX = RotatedAngle(v.AngleX, y - LastMouseY);
        changed = true;
    }
    if (DragRotateZ) {
        v.AngleZ = RotatedAngle(v.AngleZ, x - LastMouseX);
        changed = true;
    }
    LastMouseX = x;
    LastMouseY = y;
    return changed;
}

std::string ReadoutText(double value, char decimalSeparator) {
    const double rounded = std::trunc(value / 0.001 + 0.5) * 0.001;
    char buf[64];
    const std::to_chars_result end = std::to_chars(
        buf, buf + sizeof buf, rounded == 0 ? 0.0 : rounded, std::chars_format::general, 15);
    std::string text(buf, end.ptr);
    for (char& c : text)
        if (c == '.')
            c = decimalSeparator;
    return text;
}

namespace {

// Half the view at the plane z = 0 in scaled model units, across and up: 1 and 1 in the parallel
// view, the frustum's section at the origin in the perspective one.
std::pair<double, double> HalfView(bool perspective, const TFrameSize& size) {
    const double aspect = static_cast<double>(size.OuterWidth) / size.OuterHeight;
    const double up = perspective ? PerspectiveHalfHeight() : 1;
    return {perspective ? up * aspect : 1, up};
}

} // namespace

bool ZoomAt(ViewState& v, bool perspective, double x, double y, const TFrameSize& size,
            double notches) {
    const double width = size.ClientWidth;
    const double height = size.ClientHeight;
    if (!(notches != 0) || !std::isfinite(notches) || width <= 0 || height <= 0 ||
        size.OuterWidth <= 0 || size.OuterHeight <= 0 || !(v.ScaleX > 0) || !(v.ScaleY > 0))
        return false;
    const double factor = std::clamp(std::pow(WheelZoomStep, notches), MinWheelScale / v.ScaleX,
                                     MaxWheelScale / v.ScaleX);
    if (factor == 1)
        return false;
    // The cursor's place from the view's centre, in scaled units, and the model point there.
    const auto [across, up] = HalfView(perspective, size);
    const double u = (x / width - 0.5) * 2 * across;
    const double w = (0.5 - y / height) * 2 * up;
    const double mx = u / v.ScaleX - v.ShiftX;
    const double my = w / v.ScaleY - v.ShiftY;
    v.ScaleX *= factor;
    v.ScaleY *= factor;
    v.ShiftX = u / v.ScaleX - mx;
    v.ShiftY = w / v.ScaleY - my;
    return true;
}

std::optional<TBox> TickedGraphsBox(const TDocument& document) {
    std::optional<TBox> box;
    for (int i = 0; i < document.GraphCount(); ++i) {
        const TGraphic& g = document.Graph(i);
        // A graph without a point keeps the bounds' starting values, beyond any point.
        if (!document.Visible(i) || !(g.BoundMinX <= g.BoundMaxX))
            continue;
        const double lo[3] = {g.BoundMinX, g.BoundMinY, g.BoundMinZ};
        const double hi[3] = {g.BoundMaxX, g.BoundMaxY, g.BoundMaxZ};
        if (!box) {
            box = TBox{};
            for (int k = 0; k < 3; ++k) {
                box->Min[k] = lo[k];
                box->Max[k] = hi[k];
            }
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            box->Min[k] = std::min(box->Min[k], lo[k]);
            box->Max[k] = std::max(box->Max[k], hi[k]);
        }
    }
    return box;
}

bool FitAll(ViewState& v, bool perspective, const TFrameSize& size, const TBox& box) {
    if (size.ClientWidth <= 0 || size.ClientHeight <= 0 || size.OuterWidth <= 0 ||
        size.OuterHeight <= 0)
        return false;
    for (int k = 0; k < 3; ++k)
        if (!std::isfinite(box.Min[k]) || !std::isfinite(box.Max[k]) || box.Min[k] > box.Max[k])
            return false;
    // The turn the frame applies, about Z first, then Y, then X: rows of R = Rx·Ry·Rz.
    const double rad = std::numbers::pi / 180;
    const double cx = std::cos(v.AngleX * rad), sx = std::sin(v.AngleX * rad);
    const double cy = std::cos(v.AngleY * rad), sy = std::sin(v.AngleY * rad);
    const double cz = std::cos(v.AngleZ * rad), sz = std::sin(v.AngleZ * rad);
    const double r[2][3] = {{cy * cz, -cy * sz, sy},
                            {sx * sy * cz + cx * sz, -sx * sy * sz + cx * cz, -sx * cy}};
    // The box's corners across the view (before the scale), and their middle.
    double lo[2] = {INFINITY, INFINITY};
    double hi[2] = {-INFINITY, -INFINITY};
    for (int corner = 0; corner < 8; ++corner) {
        const double p[3] = {corner & 1 ? box.Max[0] : box.Min[0],
                             corner & 2 ? box.Max[1] : box.Min[1],
                             corner & 4 ? box.Max[2] : box.Min[2]};
        for (int row = 0; row < 2; ++row) {
            const double q = r[row][0] * p[0] + r[row][1] * p[1] + r[row][2] * p[2];
            lo[row] = std::min(lo[row], q);
            hi[row] = std::max(hi[row], q);
        }
    }
    const double mid[2] = {(lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2};
    // The shift (sx, sy, 0) moves the view's middle by A·(sx, sy), A the turn's first two
    // columns across the view; solved for -mid, by least squares where A loses a direction (a
    // view along Y cannot centre y).
    const double a = r[0][0], b = r[0][1], c = r[1][0], d = r[1][1];
    double shiftX = 0;
    double shiftY = 0;
    if (const double det = a * d - b * c; std::fabs(det) > 1e-9) {
        shiftX = (-d * mid[0] + b * mid[1]) / det;
        shiftY = (c * mid[0] - a * mid[1]) / det;
    } else {
        // Damped least squares, refined a few times so that the damping leaves no trace in the
        // direction A keeps.
        const double ridge = 1e-6;
        const double m00 = a * a + c * c + ridge, m01 = a * b + c * d, m11 = b * b + d * d + ridge;
        const double m = m00 * m11 - m01 * m01;
        for (int pass = 0; pass < 6; ++pass) {
            const double e0 = -mid[0] - (a * shiftX + b * shiftY);
            const double e1 = -mid[1] - (c * shiftX + d * shiftY);
            const double t0 = a * e0 + c * e1, t1 = b * e0 + d * e1;
            shiftX += (m11 * t0 - m01 * t1) / m;
            shiftY += (m00 * t1 - m01 * t0) / m;
        }
    }
    // What is left off centre after the shift widens the half extents.
    const double off[2] = {mid[0] + a * shiftX + b * shiftY, mid[1] + c * shiftX + d * shiftY};
    const double halfX = (hi[0] - lo[0]) / 2 + std::fabs(off[0]);
    const double halfY = (hi[1] - lo[1]) / 2 + std::fabs(off[1]);
    // Half the view in scaled units, and the Y scale the frame derives from the X scale.
    const auto [across, up] = HalfView(perspective, size);
    const double ratio =
        perspective ? 1 : static_cast<double>(size.ClientWidth) / size.ClientHeight;
    double scale = MaxWheelScale;
    if (halfX > 0)
        scale = std::min(scale, across / (1.1 * halfX));
    if (halfY > 0)
        scale = std::min(scale, up / (1.1 * halfY * ratio));
    scale = std::clamp(scale, MinWheelScale, MaxWheelScale);
    const ViewState before = v;
    v.ScaleX = scale;
    v.ScaleY = scale * ratio;
    v.ShiftX = shiftX;
    v.ShiftY = shiftY;
    return v.ScaleX != before.ScaleX || v.ScaleY != before.ScaleY || v.ShiftX != before.ShiftX ||
           v.ShiftY != before.ShiftY;
}

std::optional<TReadout> CursorReadout(const ViewState& v, bool perspective, double x, double y,
                                      const TFrameSize& size, char sep) {
    const double width = size.ClientWidth;
    const double height = size.ClientHeight;
    if (v.AngleX != 0 || v.AngleY != 0 || v.AngleZ != 0 || width <= 0 || height <= 0 ||
        size.OuterWidth <= 0 || size.OuterHeight <= 0)
        return std::nullopt;
    // Half the view at the plane z = 0, in model units times the scale.
    const auto [k, k2] = HalfView(perspective, size);
    const double mx = (x / (width * v.ScaleX) - 0.5 / v.ScaleX) * 2 * k - v.ShiftX;
    const double my = (y / (height * v.ScaleY) - 0.5 / v.ScaleY) * (-2) * k2 - v.ShiftY;
    return TReadout{ReadoutText(mx, sep), ReadoutText(my, sep)};
}
