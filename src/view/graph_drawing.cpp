#include "view/graph_drawing.h"

#include "view/frame.h"
#include "view/graph_batch.h"
#include "view/vector_picture.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// Not-a-number counts as a gap too: it cannot be placed anywhere.
bool IsGap(double v) {
    return !(std::abs(v) <= GapLimit);
}

// Line width or point size by the drawing mode; returns the primitive.
GLenum SetStyle(const TGraphic& g, bool strip, double ratio) {
    if (g.Building == 1) {
        SetPointSize(static_cast<float>(g.PointSize * ratio));
        return GL_POINTS;
    }
    SetLineWidth(static_cast<float>(g.LineWidth * ratio));
    return strip ? GL_LINE_STRIP : GL_LINES;
}

// The walks below emit a graph's vertices into a batch: straight to OpenGL (`TImmediateBatch`,
// the reference) or into arrays drawn at the end (`TArrayBatch`). Both get the same calls in
// the same order, so they draw the same vertices in the same colours.
template <typename TBatch> class TPointEmitter {
public:
    TPointEmitter(const TGraphic& g, const ViewState& v, TBatch& batch)
        : G(g), DX(v.ShiftX), DY(v.ShiftY), Batch(batch) {}

    void Point3D(const TPoint3D& p) const {
        TColorGL c;
        if (G.Gradation) {
            if (GradationColor(G, p.z, c))
                Batch.Color(c);
            else
                Batch.Color(G.ColorGL);
        }
        Batch.Vertex(static_cast<float>(p.x + DX), static_cast<float>(p.y + DY),
                     static_cast<float>(p.z));
    }
    void Point2D(const TPoint3D& p) const {
        Batch.Vertex(static_cast<float>(p.x + DX), static_cast<float>(p.y + DY));
    }

private:
    const TGraphic& G;
    double DX;
    double DY;
    TBatch& Batch;
};

template <typename TBatch>
void DrawCurve2D(const TGraphic& g, const ViewState& v, TBatch& batch, double ratio) {
    const GLenum primitive = SetStyle(g, false, ratio);
    batch.Color(g.ColorGL);
    const TPointEmitter<TBatch> emit(g, v, batch);
    const auto& pts = g.Points;
    const std::size_t n = pts.size();
    batch.Reserve(2 * n);
    batch.Begin(primitive);
    // A gap ends the curve; a defined point before a gap is emitted twice so that line
    // vertices stay in pairs. A break (a pole or a jump between two defined points) ends it the
    // same way, and the curve starts again at the point after it.
    std::size_t k = 0;
    while (n >= 2 && k <= n - 2) {
        if (IsCurveGap(g.Kind, pts[k])) {
            k += 1;
            continue;
        }
        emit.Point2D(pts[k]);
        if (IsCurveGap(g.Kind, pts[k + 1])) {
            emit.Point2D(pts[k]);
            k += 2;
        } else if (SegmentBroken(g, k)) {
            emit.Point2D(pts[k]);
            k += 1;
        } else {
            emit.Point2D(pts[k + 1]);
            k += 1;
        }
    }
    batch.End();
}

// One row or column of a surface: count points from first, each next one stride further.
template <typename TBatch>
void SurfaceLine(const TPointEmitter<TBatch>& emit, const std::vector<TPoint3D>& pts,
                 std::size_t first, std::size_t stride, std::size_t count) {
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

template <typename TBatch>
void DrawSurface(const TGraphic& g, const ViewState& v, TBatch& batch, double ratio) {
    const GLenum primitive = SetStyle(g, false, ratio);
    batch.Color(g.ColorGL);
    const TPointEmitter<TBatch> emit(g, v, batch);
    if (g.StepsX <= 0 || g.StepsY <= 0)
        return;
    const auto cols = static_cast<std::size_t>(g.StepsX);
    const auto rows = static_cast<std::size_t>(g.StepsY);
    // A record whose points do not fill its grid draws only the rows it has.
    const std::size_t fullRows = std::min(rows, g.Points.size() / cols);
    // At most two vertices a segment, rows and columns.
    batch.Reserve(4 * cols * fullRows);
    batch.Begin(primitive);
    for (std::size_t r = 0; r < fullRows; ++r)
        SurfaceLine(emit, g.Points, r * cols, 1, cols);
    for (std::size_t c = 0; c < cols; ++c)
        SurfaceLine(emit, g.Points, c, cols, fullRows);
    batch.End();
}

template <typename TBatch>
void DrawTable(const TGraphic& g, const ViewState& v, TBatch& batch, double ratio) {
    const TPointEmitter<TBatch> emit(g, v, batch);
    const GLenum primitive = SetStyle(g, true, ratio);
    batch.Color(g.ColorGL);
    batch.Begin(primitive);
    for (const TPoint3D& p : g.Points)
        emit.Point3D(p);
    batch.End();
    if (g.Building == 2) {
        // The points on top of the polyline.
        SetPointSize(static_cast<float>(g.PointSize * ratio));
        batch.Begin(GL_POINTS);
        batch.Color(g.ColorGL);
        for (const TPoint3D& p : g.Points)
            emit.Point3D(p);
        batch.End();
    }
}

template <typename TBatch>
void DrawOne(const TGraphic& g, const ViewState& v, TBatch& batch, double ratio) {
    if (g.Points.empty())
        return;
    switch (g.Kind) {
    case 0:
    case 1:
    case 2:
    case 3:
        DrawCurve2D(g, v, batch, ratio);
        break;
    case 4:
    case 5:
        DrawSurface(g, v, batch, ratio);
        break;
    case 6:
        DrawTable(g, v, batch, ratio);
        break;
    default:
        break; // an unknown kind draws nothing
    }
}

template <typename TBatch> void DrawTicked(const TDocument& d, const ViewState& v, double ratio) {
    SetLineWidth(static_cast<float>(ratio));
    TBatch batch;
    for (int i = 0; i < d.GraphCount(); ++i)
        if (d.Visible(i))
            DrawOne(d.Graph(i), v, batch, ratio);
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
    TArrayBatch batch;
    DrawOne(g, v, batch, ratio);
}

void DrawGraphs(const TDocument& d, const ViewState& v, double ratio) {
    DrawTicked<TArrayBatch>(d, v, ratio);
}

void DrawGraphsImmediate(const TDocument& d, const ViewState& v, double ratio) {
    DrawTicked<TImmediateBatch>(d, v, ratio);
}
