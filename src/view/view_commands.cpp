#include "view/view_commands.h"

#include "formula/rounding.h"
#include "view/camera.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
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

std::optional<TReadout> CursorReadout(const ViewState& v, bool perspective, double x, double y,
                                      const TFrameSize& size, char sep) {
    const double width = size.ClientWidth;
    const double height = size.ClientHeight;
    if (v.AngleX != 0 || v.AngleY != 0 || v.AngleZ != 0 || width <= 0 || height <= 0 ||
        size.OuterWidth <= 0 || size.OuterHeight <= 0)
        return std::nullopt;
    // Half the view at the plane z = 0, in model units times the scale.
    const double aspect = static_cast<double>(size.OuterWidth) / size.OuterHeight;
    const double k2 = perspective ? PerspectiveHalfHeight() : 1;
    const double k = perspective ? k2 * aspect : 1;
    const double mx = (x / (width * v.ScaleX) - 0.5 / v.ScaleX) * 2 * k - v.ShiftX;
    const double my = (y / (height * v.ScaleY) - 0.5 / v.ScaleY) * (-2) * k2 - v.ShiftY;
    return TReadout{ReadoutText(mx, sep), ReadoutText(my, sep)};
}
