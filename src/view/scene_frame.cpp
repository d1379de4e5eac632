#include "view/scene_frame.h"

#include "formula/rounding.h"

#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/vector_picture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

std::string AxisNumberText(double Value, char DecimalSeparator) {
    // The quotient's last bit must not depend on a rounding mode someone left behind.
    const kurvant::TRoundToNearest nearest;
    // In extended precision the product is exact and keeps the value's own side of a decimal
    // half (2.675 is stored a little below it and stays below).
    double rounded = static_cast<double>(
        kurvant::RoundHalfEven(static_cast<long double>(Value) * 100.0L) / 100.0L);
    if (rounded == 0)
        rounded = 0; // no "-0"
    // to_chars writes a point whatever the locale; the separator is put in below.
    char buf[64];
    const std::to_chars_result end =
        std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::general, 15);
    std::string text(buf, end.ptr);
    for (char& c : text)
        if (c == '.')
            c = DecimalSeparator;
    return text;
}

namespace {

// The origin of the model as the emitter shifts it, and the transforms that put it on screen.
struct TShiftedOrigin {
    double X = 0;
    double Y = 0;
    std::array<GLdouble, 16> Model{};
    std::array<GLdouble, 16> Projection{};
    std::array<GLint, 4> Viewport{};
};

using TPoint = std::array<double, 3>;

// A point of the window in device pixels, origin at the bottom left as OpenGL counts.
struct TScreenPoint {
    double X = 0;
    double Y = 0;
};

struct TScreenSegment {
    TScreenPoint P;
    TScreenPoint Q;
    bool PCut = false; // P is where the view volume cut the segment, outside the picture
    bool QCut = false;
};

// The part of a rectangle of plane coordinates [A1, A2] x [B1, B2] that may reach the screen.
struct TVisiblePart {
    bool Any = true;
    double A1 = -std::numeric_limits<double>::infinity();
    double A2 = std::numeric_limits<double>::infinity();
    double B1 = -std::numeric_limits<double>::infinity();
    double B2 = std::numeric_limits<double>::infinity();
};

// The view volume of the current transforms, a little widened. OpenGL clips every line to it and
// drops a raster position outside it, so a line or a number wholly outside draws nothing: with
// the finest mesh over the widest intervals almost all of the millions of lines are such.
// Widened by a few pixels across and a thousandth in depth, it can only keep too much, never
// lose a line whose width or rounding would touch the picture.
class TViewVolume {
public:
    TViewVolume(const ViewState& v, double ratio) : DX(v.ShiftX), DY(v.ShiftY) {
        std::array<GLdouble, 16> model{};
        std::array<GLdouble, 16> projection{};
        std::array<GLint, 4> viewport{};
        glGetDoublev(GL_MODELVIEW_MATRIX, model.data());
        glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        // Column-major, as OpenGL keeps them: M = projection * model.
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r) {
                double sum = 0;
                for (int k = 0; k < 4; ++k)
                    sum += projection[k * 4 + r] * model[c * 4 + k];
                M[c * 4 + r] = sum;
            }
        const double margin = 8 * std::max(1.0, ratio); // pixels
        WidenX = 1 + 2 * margin / std::max(1, viewport[2]);
        WidenY = 1 + 2 * margin / std::max(1, viewport[3]);
        for (std::size_t k = 0; k < 4; ++k)
            Viewport[k] = viewport[k];
    }

    // The part of the segment from p to q (model points before the view's shift) inside the
    // widened volume, in window pixels; none when it misses the volume.
    std::optional<TScreenSegment> OnScreen(const TPoint& p, const TPoint& q) const {
        const std::array<double, 4> cp = ToClip(p);
        const std::array<double, 4> cq = ToClip(q);
        const std::array<double, 3> widen{WidenX, WidenY, WidenZ};
        double t0 = 0;
        double t1 = 1;
        for (std::size_t axis = 0; axis < 3; ++axis)
            for (const double sign : {1.0, -1.0}) {
                const double dp = cp[3] * widen[axis] + sign * cp[axis];
                const double dq = cq[3] * widen[axis] + sign * cq[axis];
                if (dp < 0 && dq < 0)
                    return std::nullopt;
                if (dp < 0)
                    t0 = std::max(t0, dp / (dp - dq));
                else if (dq < 0)
                    t1 = std::min(t1, dp / (dp - dq));
            }
        if (t0 > t1)
            return std::nullopt;
        auto window = [&](double t) {
            std::array<double, 4> c{};
            for (std::size_t k = 0; k < 4; ++k)
                c[k] = cp[k] + t * (cq[k] - cp[k]);
            return ToWindow(c);
        };
        return TScreenSegment{window(t0), window(t1), t0 > 0, t1 < 1};
    }

    // Where the model point p (before the shift) lands in the window; none when it lies outside
    // the widened volume, where OpenGL would not draw at it.
    std::optional<TScreenPoint> Window(const TPoint& p) const {
        const auto s = OnScreen(p, p);
        if (!s)
            return std::nullopt;
        return s->P;
    }

    // The bounds, in plane coordinates, of the rectangle [a1, a2] x [b1, b2] clipped to the
    // volume; at(a, b) gives the model point (before the view's shift) of plane point (a, b).
    template <typename At>
    TVisiblePart Clip(double a1, double a2, double b1, double b2, At at) const {
        std::vector<TCorner> poly{Corner(a1, b1, at), Corner(a2, b1, at), Corner(a2, b2, at),
                                  Corner(a1, b2, at)};
        std::vector<TCorner> next;
        // Each plane as w * widen + sign * coordinate >= 0.
        const std::array<std::pair<int, double>, 6> planes{
            {{0, 1}, {0, -1}, {1, 1}, {1, -1}, {2, 1}, {2, -1}}};
        const std::array<double, 3> widen{WidenX, WidenY, WidenZ};
        for (const auto& [axis, sign] : planes) {
            auto dist = [&](const TCorner& p) {
                return p.C[3] * widen[static_cast<std::size_t>(axis)] +
                       sign * p.C[static_cast<std::size_t>(axis)];
            };
            next.clear();
            for (std::size_t i = 0; i < poly.size(); ++i) {
                const TCorner& p = poly[i];
                const TCorner& q = poly[(i + 1) % poly.size()];
                const double dp = dist(p);
                const double dq = dist(q);
                if (dp >= 0)
                    next.push_back(p);
                if ((dp >= 0) != (dq >= 0))
                    next.push_back(Between(p, q, dp / (dp - dq)));
            }
            poly.swap(next);
            if (poly.empty())
                return {false, 0, 0, 0, 0};
        }
        TVisiblePart part{true, poly[0].A, poly[0].A, poly[0].B, poly[0].B};
        for (const TCorner& p : poly) {
            part.A1 = std::min(part.A1, p.A);
            part.A2 = std::max(part.A2, p.A);
            part.B1 = std::min(part.B1, p.B);
            part.B2 = std::max(part.B2, p.B);
        }
        return part;
    }

private:
    struct TCorner {
        std::array<double, 4> C{}; // clip coordinates
        double A = 0;
        double B = 0;
    };

    template <typename At> TCorner Corner(double a, double b, At at) const {
        TCorner c;
        c.C = ToClip(at(a, b));
        c.A = a;
        c.B = b;
        return c;
    }

    std::array<double, 4> ToClip(const TPoint& p) const {
        const std::array<double, 4> h{p[0] + DX, p[1] + DY, p[2], 1};
        std::array<double, 4> c{};
        for (std::size_t r = 0; r < 4; ++r)
            for (std::size_t k = 0; k < 4; ++k)
                c[r] += M[k * 4 + r] * h[k];
        return c;
    }

    // Inside the volume w > 0 (the near plane keeps it off zero in perspective).
    TScreenPoint ToWindow(const std::array<double, 4>& c) const {
        return {Viewport[0] + (c[0] / c[3] + 1) / 2 * Viewport[2],
                Viewport[1] + (c[1] / c[3] + 1) / 2 * Viewport[3]};
    }

    // Clip coordinates are affine in the model point, so the plane coordinates interpolate with
    // them.
    static TCorner Between(const TCorner& p, const TCorner& q, double t) {
        TCorner c;
        for (std::size_t k = 0; k < 4; ++k)
            c.C[k] = p.C[k] + t * (q.C[k] - p.C[k]);
        c.A = p.A + t * (q.A - p.A);
        c.B = p.B + t * (q.B - p.B);
        return c;
    }

    std::array<double, 16> M{};
    double DX;
    double DY;
    double WidenX = 1;
    double WidenY = 1;
    static constexpr double WidenZ = 1.001;
    std::array<double, 4> Viewport{};
};

// Lines of the mesh and ticks closer than this many pixels of the view to the line handed over
// before them are left out. The rasteriser steps along a line's major axis and paints one pixel
// (or the line's width) across it, so lines less than a pixel apart across that axis paint a
// solid area. Leaving out those within half a pixel leaves gaps of less than half a pixel (to
// the last line left out) plus the lines' own spacing (from it to the next one kept): under a
// pixel where they were closer than half a pixel, so an area that was solid stays solid. At
// three quarters of a pixel, lines 0.6 apart would be kept 1.2 apart and leave unpainted rows.
// Lines half a pixel or more apart are all kept.
constexpr double ThinBelow = 0.5;

// Lines kept closer to each other than their own width (OpenGL rounds a width to whole pixels;
// taken downwards here, so never wider than drawn) paint every pixel between them. A run of
// three or more such lines, each close to the next, is painted as one filled strip between its
// first and its last line, and those two as lines: the same pixels, where the finest mesh would
// otherwise make the rasteriser paint the same area once for every line.
double SolidBelow(double ratio) {
    return std::max(1.0, std::floor(ratio));
}

// How far the segment s strays on screen from the segment k as the rasteriser sees k: across it
// along its minor axis, or beyond its ends along its major axis; the larger at either end of s.
// The offset across is affine along s and the span of k is an interval, so every point of s
// lies within that distance of k. Without `cutEnds`, an end of s where the view volume cut it
// counts across only: what lies beyond it is outside the picture.
double Stray(const TScreenSegment& s, const TScreenSegment& k, bool cutEnds = true) {
    const double dx = k.Q.X - k.P.X;
    const double dy = k.Q.Y - k.P.Y;
    if (std::max(std::abs(dx), std::abs(dy)) < 1e-9)
        return std::max(std::hypot(s.P.X - k.P.X, s.P.Y - k.P.Y),
                        std::hypot(s.Q.X - k.P.X, s.Q.Y - k.P.Y));
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    auto along = [&](const TScreenPoint& p) { return xMajor ? p.X : p.Y; };
    auto across = [&](const TScreenPoint& p) { return xMajor ? p.Y : p.X; };
    const double slope = xMajor ? dy / dx : dx / dy;
    const double lo = std::min(along(k.P), along(k.Q));
    const double hi = std::max(along(k.P), along(k.Q));
    double stray = 0;
    for (const auto& [e, cut] : {std::pair{s.P, s.PCut}, std::pair{s.Q, s.QCut}}) {
        const double off = std::abs(across(e) - (across(k.P) + (along(e) - along(k.P)) * slope));
        const double beyond = cutEnds || !cut ? std::max({0.0, lo - along(e), along(e) - hi}) : 0.0;
        stray = std::max({stray, off, beyond});
    }
    return stray;
}

std::vector<double>& FamilyValues() {
    static thread_local std::vector<double> values;
    return values;
}

class TFrameDrawer {
public:
    TFrameDrawer(const TSettings& s, const ViewState& v, char sep, double ratio, bool cull)
        : S(s), V(v), Emit(v), Sep(sep), Ratio(ratio), PixelX(-1.0 / v.ScaleX),
          PixelY(-1.0 / v.ScaleY) {
        if (cull)
            Volume.emplace(v, ratio);
    }

    TFrameCounts Counts() const { return Counted; }

    void Draw() {
        glColor3f(0, 0, 0);
        SetLineWidth(static_cast<float>(Ratio));
        glBegin(GL_LINES);
        SetColor(S.AxesGL());
        Axes();
        Meshes();
        if (S.Touch) {
            SetColor(S.AxesGL());
            if (S.AxisX)
                AxisTicks(true, PixelY, S.StepNumeration_X);
            if (S.AxisY)
                AxisTicks(false, PixelX, S.StepNumeration_Y);
            if (S.AxisZ)
                AxisTicksZ();
            glColor3f(0, 0, 0);
        }
        glEnd();
        Strips();
        if (S.Numeration) {
            Numbers();
            Letters();
        }
    }

private:
    // A line of a family as the thinning kept it: its value, and where it lies on the screen
    // (none when it misses the view volume or nothing is culled).
    struct TKept {
        double T = 0;
        std::optional<TScreenSegment> Screen;
    };

    // A family's kept lines sorted into those drawn as lines and the solid runs between
    // `First` and `Last` filled as strips.
    struct TBand {
        double First = 0;
        double Last = 0;
    };
    struct TSorted {
        std::vector<double> Lines;
        std::vector<TBand> Bands;
    };

    // A filled quadrilateral of the frame, in the colour of its lines.
    struct TStrip {
        TColorGL Color;
        std::array<TPoint, 4> Corners;
    };

    void SetColor(const TColorGL& c) const {
        Color = c;
        glColor3f(c.R, c.G, c.B);
    }

    void Line(double x1, double y1, double z1, double x2, double y2, double z2) const {
        Emit.Vertex(x1, y1, z1);
        Emit.Vertex(x2, y2, z2);
        Counted.LineVertices += 2;
    }

    // What of the rectangle [a1, a2] x [b1, b2] of plane coordinates may reach the screen;
    // all of it when nothing is culled.
    template <typename At>
    TVisiblePart Visible(double a1, double a2, double b1, double b2, At at) const {
        if (!Volume)
            return {};
        return Volume->Clip(a1, a2, b1, b2, at);
    }

    // The family of lines line(t) for t = 0, -step, -2 step, ... while t >= lo, then 0, step, ...
    // while t <= hi, by repeated addition, the same values whatever is culled; of them only
    // those within [from, to], thinned, sorted into lines and solid bands. The value 0 comes
    // twice. Each direction stops once past the window, so a window near the origin costs a few
    // steps however long the interval.
    template <typename L>
    TSorted Family(double lo, double hi, double step, double from, double to, L line) const {
        TSorted sorted;
        Values.clear();
        for (double t = 0; t >= lo && t >= from; t -= step)
            if (t <= to)
                Values.push_back(t);
        Sort(Thinned(line), sorted);
        Values.clear();
        for (double t = 0; t <= hi && t <= to; t += step)
            if (t >= from)
                Values.push_back(t);
        Sort(Thinned(line), sorted);
        return sorted;
    }

    // The lines line(t) worth handing over, of the values in their order. With the view volume
    // known, the first and the last are kept and a line between only when it strays ThinBelow
    // pixels of the view or more from the one kept before it: where the finest mesh recedes or
    // is seen edge-on, hundreds of thousands of lines would paint the same pixels.
    template <typename L> std::vector<TKept> Thinned(L line) const {
        std::vector<TKept> kept;
        if (!Volume || Values.size() <= 2) {
            for (const double t : Values)
                kept.push_back({t, std::nullopt});
            return kept;
        }
        auto screen = [&](std::size_t i) {
            const auto [p, q] = line(Values[i]);
            return Volume->OnScreen(p, q);
        };
        const double below = ThinBelow * Ratio;
        const std::size_t last = Values.size() - 1;
        std::size_t k = 0;
        kept.push_back({Values[k], screen(k)});
        // A line missing the volume draws nothing; it is kept, not measured.
        auto apart = [&](std::size_t i) {
            const std::optional<TScreenSegment> s = screen(i);
            return !kept.back().Screen || !s || Stray(*s, *kept.back().Screen) >= below;
        };
        // The stray grows with the distance from the kept line, and the lines' spacing on screen
        // changes slowly: the next line to keep is searched for from the last jump's length,
        // doubling it while short and halving the interval once past, a few projections a line
        // kept instead of one for every line.
        std::size_t jump = 1;
        while (k < last) {
            std::size_t lo = k; // known near, or the kept line
            std::size_t hi = std::min(k + jump, last);
            bool far = apart(hi);
            while (!far && hi < last) {
                lo = hi;
                jump *= 2;
                hi = std::min(k + jump, last);
                far = apart(hi);
            }
            if (far)
                while (hi - lo > 1) {
                    // The line just before the guess first: with an even spacing it is the one.
                    const std::size_t mid = hi - lo == jump ? hi - 1 : lo + (hi - lo) / 2;
                    (apart(mid) ? hi : lo) = mid;
                }
            kept.push_back({Values[hi], screen(hi)});
            jump = hi - k;
            k = hi;
        }
        return kept;
    }

    // Runs of three or more kept lines, each straying less than SolidBelow pixels from the next
    // both ways, become bands (their first and last still drawn as lines); the rest stay lines.
    // Ends the view volume cut count across only: they lie a few pixels outside the picture,
    // where the band's strip runs on as its lines do.
    void Sort(const std::vector<TKept>& kept, TSorted& sorted) const {
        const double solid = SolidBelow(Ratio);
        auto close = [&](const TKept& a, const TKept& b) {
            return a.Screen && b.Screen && Stray(*a.Screen, *b.Screen, false) < solid &&
                   Stray(*b.Screen, *a.Screen, false) < solid;
        };
        for (std::size_t i = 0; i < kept.size();) {
            std::size_t j = i;
            while (j + 1 < kept.size() && close(kept[j], kept[j + 1]))
                ++j;
            if (j - i >= 2) {
                sorted.Bands.push_back({kept[i].T, kept[j].T});
                sorted.Lines.push_back(kept[i].T);
                sorted.Lines.push_back(kept[j].T);
            } else {
                for (std::size_t m = i; m <= j; ++m)
                    sorted.Lines.push_back(kept[m].T);
            }
            i = j + 1;
        }
    }

    // Hands over a family's lines and keeps its bands, as strips, for after the lines.
    template <typename L> void Put(const TSorted& sorted, L line) const {
        for (const double t : sorted.Lines) {
            const auto [p, q] = line(t);
            Line(p[0], p[1], p[2], q[0], q[1], q[2]);
        }
        for (const TBand& b : sorted.Bands) {
            const auto [p1, q1] = line(b.First);
            const auto [p2, q2] = line(b.Last);
            Filled.push_back({Color, {p1, q1, q2, p2}});
        }
    }

    // The strips of solid bands, after the lines: filled whichever side faces the viewer.
    void Strips() const {
        Counted.Strips = Filled.size();
        if (Filled.empty())
            return;
        const GLboolean culled = glIsEnabled(GL_CULL_FACE);
        glDisable(GL_CULL_FACE);
        glBegin(GL_QUADS);
        for (const TStrip& strip : Filled) {
            glColor3f(strip.Color.R, strip.Color.G, strip.Color.B);
            for (const TPoint& p : strip.Corners)
                Emit.Vertex(p[0], p[1], p[2]);
        }
        glEnd();
        if (culled)
            glEnable(GL_CULL_FACE);
        glColor3f(0, 0, 0);
    }

    void Axes() const {
        if (S.AxisX)
            Line(S.MinX, 0, 0, S.MaxX, 0, 0);
        if (S.AxisY)
            Line(0, S.MinY, 0, 0, S.MaxY, 0);
        if (S.AxisZ)
            Line(0, 0, S.MinZ, 0, 0, S.MaxZ);
    }

    // A grid on the rectangle [a1, a2] x [b1, b2] of one coordinate plane, aligned to the origin.
    // at(a, b) gives the model point of plane coordinates (a, b).
    template <typename At>
    void Mesh(bool on, const TColorGL& color, double a1, double a2, double b1, double b2,
              At at) const {
        if (!on)
            return;
        SetColor(color);
        const TVisiblePart part = Visible(a1, a2, b1, b2, at);
        if (!part.Any)
            return;
        const double s = S.StepMesh;
        // Lines of constant b, then of constant a; each runs the whole rectangle, so the
        // picture keeps its very vertices.
        TSorted across = Family(b1, b2, s, part.B1, part.B2, [&](double b) {
            return std::pair{at(a1, b), at(a2, b)};
        });
        TSorted along = Family(a1, a2, s, part.A1, part.A2, [&](double a) {
            return std::pair{at(a, b1), at(a, b2)};
        });
        // Where one family's bands fill all of the rectangle in view, the other's would only
        // paint the same pixels again.
        if (Fills(along.Bands, part.A1, part.A2, s))
            across.Bands.clear();
        else if (Fills(across.Bands, part.B1, part.B2, s))
            along.Bands.clear();
        Put(across, [&](double b) { return std::pair{at(a1, b), at(a2, b)}; });
        Put(along, [&](double a) { return std::pair{at(a, b1), at(a, b2)}; });
    }

    // Whether the bands, together, reach from within a step of `from` to within a step of `to`:
    // nearer to those bounds than a step there is no line of the family, and the bounds lie a
    // few pixels outside the picture or on the rectangle's edge.
    static bool Fills(const std::vector<TBand>& bands, double from, double to, double step) {
        if (bands.empty())
            return false;
        std::vector<std::pair<double, double>> spans;
        for (const TBand& b : bands)
            spans.emplace_back(std::min(b.First, b.Last), std::max(b.First, b.Last));
        std::sort(spans.begin(), spans.end());
        if (spans.front().first > from + step)
            return false;
        double reach = spans.front().second;
        for (const auto& [lo, hi] : spans) {
            if (lo > reach)
                return false;
            reach = std::max(reach, hi);
        }
        return reach >= to - step;
    }

    void Meshes() const {
        auto planeY0 = [](double x, double z) { return TPoint{x, 0, z}; };
        auto planeZ0 = [](double x, double y) { return TPoint{x, y, 0}; };
        auto planeX0 = [](double y, double z) { return TPoint{0, y, z}; };
        Mesh(S.XDown, S.ColorXGL(), S.MinX, S.MaxX, S.MinZ, 0, planeY0);
        Mesh(S.XUp, S.ColorXGL(), S.MinX, S.MaxX, 0, S.MaxZ, planeY0);
        Mesh(S.YDown, S.ColorYGL(), S.MinX, S.MaxX, S.MinY, 0, planeZ0);
        Mesh(S.YUp, S.ColorYGL(), S.MinX, S.MaxX, 0, S.MaxY, planeZ0);
        Mesh(S.ZDown, S.ColorZGL(), S.MinY, S.MaxY, S.MinZ, 0, planeX0);
        Mesh(S.ZUp, S.ColorZGL(), S.MinY, S.MaxY, 0, S.MaxZ, planeX0);
    }

    // The model direction towards the viewer hides ticks lying in the z = 0 plane when the
    // axis' own turn is near 90 or 270 degrees; such ticks are turned out of that plane.
    static bool Steep(double angle) {
        const double a = std::abs(angle);
        return (a > 45 && a < 135) || (a > 225 && a < 315);
    }

    // The ticks at t = 0, +-step, ... of [lo, hi] on one axis, each the segment from at(t, -h)
    // to at(t, h).
    template <typename At> void Ticks(double lo, double hi, double step, double h, At at) const {
        const TVisiblePart part = Visible(lo, hi, -h, h, at);
        if (!part.Any)
            return;
        auto tick = [&](double t) { return std::pair{at(t, -h), at(t, h)}; };
        Put(Family(lo, hi, step, part.A1, part.A2, tick), tick);
    }

    void AxisTicks(bool xAxis, double d, double step) const {
        if (std::abs(d) >= FrameSizeGuard)
            return;
        const double h = std::abs(d) / 150;
        if (xAxis) {
            if (Steep(V.AngleX))
                Ticks(S.MinX, S.MaxX, step, h, [](double t, double o) { return TPoint{t, 0, o}; });
            else
                Ticks(S.MinX, S.MaxX, step, h, [](double t, double o) { return TPoint{t, o, 0}; });
        } else {
            if (Steep(V.AngleY))
                Ticks(S.MinY, S.MaxY, step, h, [](double t, double o) { return TPoint{0, t, o}; });
            else
                Ticks(S.MinY, S.MaxY, step, h, [](double t, double o) { return TPoint{o, t, 0}; });
        }
    }

    void AxisTicksZ() const {
        if (std::abs(PixelY) >= FrameSizeGuard)
            return;
        const double h = std::abs(PixelY) / 130;
        const double s = S.StepNumeration_Z;
        if (Steep(V.AngleX))
            Ticks(S.MinZ, S.MaxZ, s, h, [](double t, double o) { return TPoint{o, 0, t}; });
        else
            Ticks(S.MinZ, S.MaxZ, s, h, [](double t, double o) { return TPoint{0, o, t}; });
    }

    // One direction of numbers along an axis: first, first + dir*step, ... within [lo, hi], of
    // them those whose place (`at(v, 0)`) may lie in the view volume: a raster position outside
    // it draws nothing. With the volume known, a number starting closer on screen than half the
    // width of the one printed before it is left out: it would only overprint that one, and
    // each costs its bitmaps.
    template <typename At>
    void NumberPass(double first, double step, double lo, double hi, double pixel,
                    const char* prefix, At at) const {
        if (std::abs(pixel) >= FrameSizeGuard || std::abs(first) >= FrameSizeGuard)
            return;
        const TVisiblePart part = Visible(lo, hi, 0, 0, at);
        if (!part.Any)
            return;
        std::optional<TScreenPoint> kept;
        double keptWidth = 0;
        auto print = [&](double v) {
            const TPoint p = at(v, 0);
            std::optional<TScreenPoint> place;
            if (Volume)
                place = Volume->Window(p);
            if (place && kept && std::hypot(place->X - kept->X, place->Y - kept->Y) < keptWidth / 2)
                return;
            std::string text(prefix);
            text.append(AxisNumberText(v, Sep));
            if (place) {
                kept = place;
                keptWidth = TextAdvance(text);
            }
            Emit.RasterPos(p[0], p[1], p[2]);
            PrintText(text);
            ++Counted.Numbers;
        };
        if (step < 0) {
            for (double v = first; v >= lo && v >= part.A1; v += step)
                if (v <= part.A2)
                    print(v);
        } else {
            for (double v = first; v <= hi && v <= part.A2; v += step)
                if (v >= part.A1)
                    print(v);
        }
    }

    // How many device pixels one numbering step along the direction (dx, dy, dz) from the origin
    // covers on the screen, with the transforms now in place; a point behind the camera counts
    // as far.
    static double ProjectedLength(double dx, double dy, double dz, const TShiftedOrigin& o) {
        GLdouble ax = 0, ay = 0, az = 0, bx = 0, by = 0, bz = 0;
        if (gluProject(o.X, o.Y, 0, o.Model.data(), o.Projection.data(), o.Viewport.data(), &ax,
                       &ay, &az) != GL_TRUE ||
            gluProject(o.X + dx, o.Y + dy, dz, o.Model.data(), o.Projection.data(),
                       o.Viewport.data(), &bx, &by, &bz) != GL_TRUE)
            return std::numeric_limits<double>::infinity();
        return std::hypot(bx - ax, by - ay);
    }

    // An axis seen end-on would print all its numbers on one spot, a blot: it gets none while
    // a step of its numbers projects to less than two pixels of the view.
    bool EndOn(double dx, double dy, double dz, const TShiftedOrigin& o) const {
        return ProjectedLength(dx, dy, dz, o) < 2 * Ratio;
    }

    void Numbers() const {
        SetColor(S.AxesGL());
        TShiftedOrigin o;
        o.X = V.ShiftX;
        o.Y = V.ShiftY;
        glGetDoublev(GL_MODELVIEW_MATRIX, o.Model.data());
        glGetDoublev(GL_PROJECTION_MATRIX, o.Projection.data());
        glGetIntegerv(GL_VIEWPORT, o.Viewport.data());
        if (S.AxisX && !EndOn(S.StepNumeration_X, 0, 0, o)) {
            const double s = S.StepNumeration_X;
            auto at = [&](double v, double) { return TPoint{v, 0.01 / V.ScaleY, 0.0}; };
            NumberPass(0, -s, S.MinX, S.MaxX, PixelX, "", at);
            NumberPass(0, s, S.MinX, S.MaxX, PixelX, "", at);
        }
        if (S.AxisY && !EndOn(0, S.StepNumeration_Y, 0, o)) {
            const double s = S.StepNumeration_Y;
            auto at = [&](double v, double) { return TPoint{0.01 / V.ScaleX, v, 0.0}; };
            NumberPass(-s, -s, S.MinY, S.MaxY, PixelY, " ", at);
            NumberPass(s, s, S.MinY, S.MaxY, PixelY, " ", at);
        }
        if (S.AxisZ && !EndOn(0, 0, S.StepNumeration_Z, o)) {
            const double s = S.StepNumeration_Z;
            auto at = [](double v, double) { return TPoint{0.0, 0.0, v}; };
            NumberPass(-s, -s, S.MinZ, S.MaxZ, PixelX, " ", at);
            NumberPass(s, s, S.MinZ, S.MaxZ, PixelX, " ", at);
        }
    }

    void Letters() const {
        glColor3f(1, 0, 0);
        if (S.AxisX) {
            Emit.RasterPos(S.MaxX + PixelY / 20, PixelY / 30, 0.0);
            PrintText("X");
        }
        if (S.AxisY) {
            Emit.RasterPos(PixelX / 30, S.MaxY + PixelY / 20, 0.0);
            PrintText("Y");
        }
        if (S.AxisZ) {
            Emit.RasterPos(-PixelX / 100, PixelY / 20, S.MaxZ - S.MaxZ / 20);
            PrintText("Z");
        }
        glColor3f(0, 0, 0);
    }

    const TSettings& S;
    const ViewState& V;
    std::optional<TViewVolume> Volume; // none: everything is drawn
    mutable TFrameCounts Counted;
    // The values of the family being handed over. Kept from frame to frame: the finest mesh
    // over the widest intervals has 100,000 of them a family, and fresh memory every frame cost
    // more than the lines drawn.
    std::vector<double>& Values = FamilyValues();
    mutable TColorGL Color;             // of the lines being handed over
    mutable std::vector<TStrip> Filled; // the solid bands, drawn after the lines
    TShiftedEmitter Emit;
    char Sep;
    double Ratio; // device pixels to a pixel of the view
    // Despite their names, not pixels: -1 / ScaleX and -1 / ScaleY, the model lengths that the
    // offsets of ticks, numbers and letters are fractions of.
    double PixelX;
    double PixelY;
};

} // namespace

TFrameCounts DrawSceneFrame(const TSettings& Settings, const ViewState& View, char DecimalSeparator,
                            double PixelRatio, TFrameCulling Culling) {
    TFrameDrawer drawer(Settings, View, DecimalSeparator, PixelRatio,
                        Culling == TFrameCulling::Visible);
    drawer.Draw();
    return drawer.Counts();
}
