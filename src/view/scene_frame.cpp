#include "view/scene_frame.h"

#include "formula/rounding.h"

#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/vector_picture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

std::string AxisNumberText(double Value, char DecimalSeparator) {
    // The quotient's last bit must not depend on a rounding mode someone left behind.
    const kurvant::TRoundToNearest nearest;
    // In extended precision the product is exact and keeps the value's own side of a decimal
    // half (2.675 is stored a little below it and stays below).
    double rounded = static_cast<double>(
        kurvant::RoundHalfEven(static_cast<long double>(Value) * 100.0L) / 100.0L);
    if (rounded == 0)
        rounded = 0; // no "-0"
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", rounded);
    std::string text(buf);
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

class TFrameDrawer {
public:
    TFrameDrawer(const TSettings& s, const ViewState& v, char sep, double ratio)
        : S(s), V(v), Emit(v), Sep(sep), Ratio(ratio), PixelX(-1.0 / v.ScaleX),
          PixelY(-1.0 / v.ScaleY) {}

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
        if (S.Numeration) {
            Numbers();
            Letters();
        }
    }

private:
    static void SetColor(const TColorGL& c) { glColor3f(c.R, c.G, c.B); }

    void Line(double x1, double y1, double z1, double x2, double y2, double z2) const {
        Emit.Vertex(x1, y1, z1);
        Emit.Vertex(x2, y2, z2);
    }

    // Calls f(t) for t = 0, -step, -2 step, ... while t >= lo, then 0, step, ... while t <= hi,
    // by repeated addition. The value 0 comes twice.
    template <typename F> static void Walk(double lo, double hi, double step, F f) {
        for (double t = 0; t >= lo; t -= step)
            f(t);
        for (double t = 0; t <= hi; t += step)
            f(t);
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
        const double s = S.StepMesh;
        auto line = [&](double pa1, double pb1, double pa2, double pb2) {
            const auto p = at(pa1, pb1);
            const auto q = at(pa2, pb2);
            Line(p[0], p[1], p[2], q[0], q[1], q[2]);
        };
        Walk(b1, b2, s, [&](double b) { line(a1, b, a2, b); });
        Walk(a1, a2, s, [&](double a) { line(a, b1, a, b2); });
    }

    void Meshes() const {
        using P = std::array<double, 3>;
        auto planeY0 = [](double x, double z) { return P{x, 0, z}; };
        auto planeZ0 = [](double x, double y) { return P{x, y, 0}; };
        auto planeX0 = [](double y, double z) { return P{0, y, z}; };
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

    void AxisTicks(bool xAxis, double d, double step) const {
        if (std::abs(d) >= FrameSizeGuard)
            return;
        const double h = std::abs(d) / 150;
        if (xAxis) {
            const bool alongZ = Steep(V.AngleX);
            Walk(S.MinX, S.MaxX, step, [&](double t) {
                if (alongZ)
                    Line(t, 0, -h, t, 0, h);
                else
                    Line(t, -h, 0, t, h, 0);
            });
        } else {
            const bool alongZ = Steep(V.AngleY);
            Walk(S.MinY, S.MaxY, step, [&](double t) {
                if (alongZ)
                    Line(0, t, -h, 0, t, h);
                else
                    Line(-h, t, 0, h, t, 0);
            });
        }
    }

    void AxisTicksZ() const {
        if (std::abs(PixelY) >= FrameSizeGuard)
            return;
        const double h = std::abs(PixelY) / 130;
        const bool alongX = Steep(V.AngleX);
        Walk(S.MinZ, S.MaxZ, S.StepNumeration_Z, [&](double t) {
            if (alongX)
                Line(-h, 0, t, h, 0, t);
            else
                Line(0, -h, t, 0, h, t);
        });
    }

    void PrintNumber(const char* prefix, double v) const {
        std::string text(prefix);
        text.append(AxisNumberText(v, Sep));
        PrintText(text);
    }

    // One direction of numbers along an axis: first, first + dir*step, ... within [lo, hi].
    template <typename Place>
    void NumberPass(double first, double step, double lo, double hi, double pixel,
                    const char* prefix, Place place) const {
        if (std::abs(pixel) >= FrameSizeGuard || std::abs(first) >= FrameSizeGuard)
            return;
        if (step < 0) {
            for (double v = first; v >= lo; v += step) {
                place(v);
                PrintNumber(prefix, v);
            }
        } else {
            for (double v = first; v <= hi; v += step) {
                place(v);
                PrintNumber(prefix, v);
            }
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
            auto at = [&](double v) { Emit.RasterPos(v, 0.01 / V.ScaleY, 0.0); };
            NumberPass(0, -s, S.MinX, S.MaxX, PixelX, "", at);
            NumberPass(0, s, S.MinX, S.MaxX, PixelX, "", at);
        }
        if (S.AxisY && !EndOn(0, S.StepNumeration_Y, 0, o)) {
            const double s = S.StepNumeration_Y;
            auto at = [&](double v) { Emit.RasterPos(0.01 / V.ScaleX, v, 0.0); };
            NumberPass(-s, -s, S.MinY, S.MaxY, PixelY, " ", at);
            NumberPass(s, s, S.MinY, S.MaxY, PixelY, " ", at);
        }
        if (S.AxisZ && !EndOn(0, 0, S.StepNumeration_Z, o)) {
            const double s = S.StepNumeration_Z;
            auto at = [&](double v) { Emit.RasterPos(0.0, 0.0, v); };
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
    TShiftedEmitter Emit;
    char Sep;
    double Ratio; // device pixels to a pixel of the view
    // Despite their names, not pixels: -1 / ScaleX and -1 / ScaleY, the model lengths that the
    // offsets of ticks, numbers and letters are fractions of.
    double PixelX;
    double PixelY;
};

} // namespace

void DrawSceneFrame(const TSettings& Settings, const ViewState& View, char DecimalSeparator,
                    double PixelRatio) {
    TFrameDrawer(Settings, View, DecimalSeparator, PixelRatio).Draw();
}
