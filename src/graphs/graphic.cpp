#include "graphs/graphic.h"

#include <cmath>

void TGraphic::SetColor(TColor c) {
    Color = c;
    ColorGL = Color_To_GL(c);
}

namespace {

// Not-a-number counts as a gap too: it cannot be placed anywhere.
bool IsGap(double v) {
    return !(std::abs(v) <= GapLimit);
}

} // namespace

bool IsCurveGap(int kind, const TPoint3D& p) {
    switch (kind) {
    case KindYofX:
        return IsGap(p.y);
    case KindXofY:
        return IsGap(p.x);
    default:
        return IsGap(p.x) || IsGap(p.y);
    }
}

std::string_view GraphKindLabel(int kind) {
    switch (kind) {
    case KindYofX:
        return "Y(X) = ";
    case KindXofY:
        return "X(Y) = ";
    case KindPolar:
        return "r(q) = ";
    case KindParametric:
        return "X(U) = ";
    case KindSurface:
        return "Z(X,Y) = ";
    case KindSpherical:
        return "p(q,a) = ";
    case KindTable:
        return "Таблица: ";
    default:
        return {};
    }
}

std::string GraphCaption(const TGraphic& graphic) {
    std::string caption(GraphKindLabel(graphic.Kind));
    if (graphic.Kind == KindTable) {
        caption += std::to_string(graphic.Points.size());
        caption += " (.)";
        return caption;
    }
    caption += graphic.Formula;
    if (graphic.Kind == KindParametric) {
        caption += "; Y(U) = ";
        caption += graphic.Formula2;
    }
    return caption;
}

char KindVariable(int kind) {
    switch (kind) {
    case KindYofX:
    case KindSurface:
        return 'x';
    case KindXofY:
        return 'y';
    case KindPolar:
    case KindSpherical:
        return 'q';
    case KindParametric:
        return 'u';
    default:
        return 0;
    }
}

std::string_view KindVariableSet(int kind) {
    switch (kind) {
    case KindYofX:
        return "x";
    case KindXofY:
        return "y";
    case KindPolar:
        return "q";
    case KindParametric:
        return "u";
    case KindSurface:
        return "xy";
    case KindSpherical:
        return "qa";
    default:
        return {};
    }
}
