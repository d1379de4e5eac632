#include "view/graph_drawing.h"

#include "view/frame.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// Not-a-number counts as a gap too: it cannot be placed anywhere.
bool IsGap(double v) {
    return !(std::abs(v) <= GapLimit);
}

bool CurveGap(int kind, const TPoint3D& p) {
    switch (kind) {
    case 0:
        return IsGap(p.y);
    case 1:
        return IsGap(p.x);
    default:
        return IsGap(p.x) || IsGap(p.y);
    }
}

// Line width or point size by the drawing mode; returns the primitive.
GLenum SetStyle(const TGraphic& g, bool strip, double ratio) {
    if (g.Building == 1) {
        glPointSize(static_cast<float>(g.PointSize * ratio));
        return GL_POINTS;
    }
    glLineWidth(static_cast<float>(g.LineWidth * ratio));
    return strip ? GL_LINE_STRIP : GL_LINES;
}

void SetColor(const TColorGL& c) {
    glColor3f(c.R, c.G, c.B);
}

class TPointEmitter {
public:
    TPointEmitter(const TGraphic& g, const ViewState& v) : G(g), Emit(v) {}

    void Point3D(const TPoint3D& p) const {
        TColorGL c;
        if (G.Gradation) {
            if (GradationColor(G, p.z, c))
                SetColor(c);
            else
                SetColor(G.ColorGL);
        }
        Emit.Vertex(p.x, p.y, p.z);
    }
    void Point2D(const TPoint3D& p) const { Emit.Vertex(p.x, p.y); }

private:
    const TGraphic& G;
    TShiftedEmitter Emit;
};

void DrawCurve2D(const TGraphic& g, const ViewState& v, double ratio) {
    const GLenum primitive = SetStyle(g, false, ratio);
    SetColor(g.ColorGL);
    const TPointEmitter emit(g, v);
    const auto& pts = g.Points;
    const std::size_t n = pts.size();
    glBegin(primitive);
    // A gap ends the curve; a defined point before a gap is emitted twice so that line
    // vertices stay in pairs.
    std::size_t k = 0;
    while (n >= 2 && k <= n - 2) {
        if (CurveGap(g.Kind, pts[k])) {
            k += 1;
            continue;
        }
        emit.Point2D(pts[k]);
        if (CurveGap(g.Kind, pts[k + 1])) {
            emit.Point2D(pts[k]);
            k += 2;
        } else {
            emit.Point2D(pts[k + 1]);
            k += 1;
        }
    }
    glEnd();
}

// One row or column of a surface: count points from first, each next one stride further.
void SurfaceLine(const TPointEmitter& emit, const std::vector<TPoint3D>& pts, std::size_t first,
                 std::size_t stride, std::size_t count) {
    std::size_t k = 0;
    while (count >= 2 && k <= count - 2) {
        const TPoint3D& p = pts[first + k * stride];
        if (IsGap(p.z)) {
            k += 1;
            continue;
        }
        emit.Point3D(p);
        const TPoint3D& q = pts[first + (k + 1) * stride];
        if (IsGap(q.z)) {
            emit.Point3D(p);
            k += 2;
        } else {
            emit.Point3D(q);
            k += 1;
        }
    }
}

void DrawSurface(const TGraphic& g, const ViewState& v, double ratio) {
    const GLenum primitive = SetStyle(g, false, ratio);
    SetColor(g.ColorGL);
    const TPointEmitter emit(g, v);
    if (g.StepsX <= 0 || g.StepsY <= 0)
        return;
    const auto cols = static_cast<std::size_t>(g.StepsX);
    const auto rows = static_cast<std::size_t>(g.StepsY);
    // A record whose points do not fill its grid draws only the rows it has.
    const std::size_t fullRows = std::min(rows, g.Points.size() / cols);
    glBegin(primitive);
    for (std::size_t r = 0; r < fullRows; ++r)
        SurfaceLine(emit, g.Points, r * cols, 1, cols);
    for (std::size_t c = 0; c < cols; ++c)
        SurfaceLine(emit, g.Points, c, cols, fullRows);
    glEnd();
}

void DrawTable(const TGraphic& g, const ViewState& v, double ratio) {
    const TPointEmitter emit(g, v);
    const GLenum primitive = SetStyle(g, true, ratio);
    SetColor(g.ColorGL);
    glBegin(primitive);
    for (const TPoint3D& p : g.Points)
        emit.Point3D(p);
    glEnd();
    if (g.Building == 2) {
        // The points on top of the polyline.
        glPointSize(static_cast<float>(g.PointSize * ratio));
        glBegin(GL_POINTS);
        SetColor(g.ColorGL);
        for (const TPoint3D& p : g.Points)
            emit.Point3D(p);
        glEnd();
    }
}

} // namespace

bool GradationColor(const TGraphic& g, double z, TColorGL& c) {
    const float m = std::max(std::max(g.ColorGL.R, g.ColorGL.G), g.ColorGL.B);
    const double range = std::abs(g.BoundMaxZ - g.BoundMinZ);
    const double h = static_cast<double>(g.Points.size()) - 1;
    // A flat graph or a single point has no ramp; the caller uses the plain colour.
    if (!(range > 0) || !(h > 0) || !std::isfinite(range))
        return false;
    const double rise = (z - g.BoundMinZ) / range;
    auto channel = [&](float component) {
        const double flag = component == m ? 1.0 : 0.0;
        return static_cast<float>((component + 1.0) / h + flag * rise);
    };
    c = {channel(g.ColorGL.R), channel(g.ColorGL.G), channel(g.ColorGL.B)};
    return true;
}

void DrawGraphic(const TGraphic& g, const ViewState& v, double ratio) {
    if (g.Points.empty())
        return;
    switch (g.Kind) {
    case 0:
    case 1:
    case 2:
    case 3:
        DrawCurve2D(g, v, ratio);
        break;
    case 4:
    case 5:
        DrawSurface(g, v, ratio);
        break;
    case 6:
        DrawTable(g, v, ratio);
        break;
    default:
        break; // an unknown kind draws nothing
    }
}

void DrawGraphs(const TDocument& d, const ViewState& v, double ratio) {
    glLineWidth(static_cast<float>(ratio));
    for (int i = 0; i < d.GraphCount(); ++i)
        if (d.Visible(i))
            DrawGraphic(d.Graph(i), v, ratio);
}
