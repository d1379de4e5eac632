#include "graphs/sampling.h"

#include "formula/batch_evaluation.h"
#include "formula/parallel_parts.h"
#include "graphs/curve_breaks.h"
#include "settings/settings.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace {

/// π in extended precision.
constexpr long double Pi = 3.14159265358979323846264338327950288L;

/// The evaluator's value as a 64-bit coordinate; beyond the double range it is an infinity of
/// the same sign (what IEEE conversion gives, spelt out because C++ leaves it undefined).
double ToDouble(long double v) {
    if (v > std::numeric_limits<double>::max())
        return std::numeric_limits<double>::infinity();
    if (v < -std::numeric_limits<double>::max())
        return -std::numeric_limits<double>::infinity();
    return static_cast<double>(v);
}

/// The running values start, start + step, ... by repeated addition, as the walk takes them.
std::vector<long double> Walk(double start, double step, std::size_t n) {
    std::vector<long double> values(n);
    double v = start;
    for (std::size_t i = 0; i < n; ++i) {
        values[i] = v;
        v = v + step;
    }
    return values;
}

/// A formula of one letter, made ready for sampling and for the search of its breaks.
kurvant::TCompiledFormula OneLetter(std::string_view formula, char letter,
                                    const kurvant::TFormulaContext& context) {
    return {formula, std::string(1, letter), context};
}

/// The formula at each of `points`.
std::vector<kurvant::TSample> Line(const kurvant::TCompiledFormula& compiled,
                                   const std::vector<long double>& points,
                                   const kurvant::TFormulaContext& context) {
    std::vector<kurvant::TSample> samples(points.size());
    kurvant::EvaluateLine(compiled, points, samples, context.Evaluator, context.Batch);
    return samples;
}

/// The segments of a curve that drawing joins: both ends are drawn.
std::vector<bool> JoinedSegments(const TGraphic& g) {
    const std::size_t n = g.Points.size();
    std::vector<bool> joined(n > 1 ? n - 1 : 0);
    for (std::size_t k = 0; k + 1 < n; ++k) {
        joined[k] = !IsCurveGap(g.Kind, g.Points[k]) && !IsCurveGap(g.Kind, g.Points[k + 1]);
    }
    return joined;
}

/// Marks in `g.Breaks` the poles and jumps of one formula of a curve between its samples
/// (`values` at `arguments`), and counts what is left of the search's budget as done, so that the
/// work counted is always `SamplingWork`. Nothing is searched once sampling was cancelled.
void SearchBreaks(TGraphic& g, const kurvant::TCompiledFormula& compiled,
                  const std::vector<long double>& arguments,
                  const std::vector<kurvant::TSample>& values, const std::vector<bool>& joined,
                  const kurvant::TFormulaContext& context) {
    kurvant::TBatchControl* control = context.Batch;
    if (control && control->Cancelled()) {
        return;
    }
    const std::uint64_t budget = BreakSearchBudget(values.size());
    const std::uint64_t spent =
        MarkBreaks(compiled, arguments, values, joined, budget, context, g.Breaks);
    if (control && !control->Cancelled()) {
        control->Count(budget - spent);
    }
}

/// The formula over rows x columns: `rowLetter` is substituted once per row, then `letter`.
std::vector<kurvant::TSample> Grid(std::string_view formula, char rowLetter, char letter,
                                   const std::vector<long double>& rows,
                                   const std::vector<long double>& columns,
                                   const kurvant::TFormulaContext& context) {
    const kurvant::TCompiledFormula compiled(formula, std::string{rowLetter, letter}, context);
    std::vector<kurvant::TSample> samples(rows.size() * columns.size());
    kurvant::EvaluateGrid(compiled, rows, columns, samples, context.Evaluator, context.Batch);
    return samples;
}

/// The cosine and sine of each angle, in extended precision: the same values a call per point
/// gives, computed over the cores (for angles beyond pi/4 each call is slow).
struct TCosinesAndSines {
    std::vector<long double> Cos;
    std::vector<long double> Sin;
};

TCosinesAndSines CosinesAndSines(const std::vector<long double>& angles) {
    TCosinesAndSines cs{std::vector<long double>(angles.size()),
                        std::vector<long double>(angles.size())};
    kurvant::ForEachPart(angles.size(), 1024, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            cs.Cos[i] = std::cos(angles[i]);
            cs.Sin[i] = std::sin(angles[i]);
        }
    });
    return cs;
}

void UpdateBounds(double c, double& boundMax, double& boundMin) {
    if (c > boundMax)
        boundMax = c;
    if (c < boundMin)
        boundMin = c;
}

/// The number of points for a step count; a count below 1 gives none.
std::size_t PointCount(std::int32_t steps) {
    return steps > 0 ? static_cast<std::size_t>(steps) : 0;
}

/// (end - start) / (steps - 1). With one step the quotient is not finite and never used; it is
/// not computed then, so no division by zero happens at all.
double StepOf(double start, double end, std::int32_t steps) {
    return steps > 1 ? (end - start) / (steps - 1) : 0.0;
}

/// The angle step of the polar and spherical kinds: (max - min)·π/(steps - 1), the difference in
/// double, the product and quotient in extended precision, the result stored as a double.
double AngleStepOf(double lo, double hi, std::int32_t steps) {
    return steps > 1 ? static_cast<double>((hi - lo) * Pi / (steps - 1)) : 0.0;
}

/// A polar or spherical coordinate: stored when it was computed and is not above the cap.
bool Capped(bool ok, long double c) {
    return ok && c <= PolarCap;
}

char LetterOf(const TGraphic& g) {
    return g.Variable != 0 ? g.Variable : KindVariable(g.Kind);
}

// Y(X) and X(Y) are the same walk with the axes' roles swapped: the argument runs over the
// graph's interval clipped to the settings' axis, whose ends become the argument's bounds; the
// value's bounds are scanned.
struct TCartesianAxes {
    double TSettings::*AxisMin;
    double TSettings::*AxisMax;
    double TGraphic::*Min;
    double TGraphic::*Max;
    std::int32_t TGraphic::*Steps;
    double TPoint3D::*Argument;
    double TPoint3D::*Value;
    double TGraphic::*ArgBoundMax;
    double TGraphic::*ArgBoundMin;
    double TGraphic::*ValueBoundMax;
    double TGraphic::*ValueBoundMin;
};

constexpr TCartesianAxes YofXAxes{&TSettings::MinX,     &TSettings::MaxX,     &TGraphic::MinX,
                                  &TGraphic::MaxX,      &TGraphic::StepsX,    &TPoint3D::x,
                                  &TPoint3D::y,         &TGraphic::BoundMaxX, &TGraphic::BoundMinX,
                                  &TGraphic::BoundMaxY, &TGraphic::BoundMinY};
constexpr TCartesianAxes XofYAxes{&TSettings::MinY,     &TSettings::MaxY,     &TGraphic::MinY,
                                  &TGraphic::MaxY,      &TGraphic::StepsY,    &TPoint3D::y,
                                  &TPoint3D::x,         &TGraphic::BoundMaxY, &TGraphic::BoundMinY,
                                  &TGraphic::BoundMaxX, &TGraphic::BoundMinX};

void SampleCartesian(TGraphic& g, std::string_view formula, const TSettings& s,
                     const kurvant::TFormulaContext& ctx, const TCartesianAxes& a) {
    const std::size_t n = PointCount(g.*a.Steps);
    g.Points.resize(n);
    const double start = std::max(s.*a.AxisMin, g.*a.Min);
    const double end = std::min(s.*a.AxisMax, g.*a.Max);
    g.*a.ArgBoundMax = end;
    g.*a.ArgBoundMin = start;
    g.*a.ValueBoundMax = -BoundStart;
    g.*a.ValueBoundMin = BoundStart;
    const std::vector<long double> t = Walk(start, StepOf(start, end, g.*a.Steps), n);
    const kurvant::TCompiledFormula compiled = OneLetter(formula, LetterOf(g), ctx);
    const std::vector<kurvant::TSample> values = Line(compiled, t, ctx);
    for (std::size_t i = 0; i < n; ++i) {
        TPoint3D& p = g.Points[i];
        p.*a.Argument = static_cast<double>(t[i]);
        if (values[i].Ok) {
            p.*a.Value = ToDouble(values[i].Value);
            UpdateBounds(p.*a.Value, g.*a.ValueBoundMax, g.*a.ValueBoundMin);
        } else {
            p.*a.Value = UndefinedValue;
        }
    }
    SearchBreaks(g, compiled, t, values, JoinedSegments(g), ctx);
}

void SamplePolar(TGraphic& g, std::string_view formula, const kurvant::TFormulaContext& ctx) {
    const std::size_t n = PointCount(g.StepsX);
    g.Points.resize(n);
    g.BoundMaxX = -BoundStart;
    g.BoundMinX = BoundStart;
    g.BoundMaxY = -BoundStart;
    g.BoundMinY = BoundStart;
    const std::vector<long double> q =
        Walk(static_cast<double>(Pi * g.MinX), AngleStepOf(g.MinX, g.MaxX, g.StepsX), n);
    const kurvant::TCompiledFormula compiled = OneLetter(formula, LetterOf(g), ctx);
    const std::vector<kurvant::TSample> values = Line(compiled, q, ctx);
    const TCosinesAndSines angle = CosinesAndSines(q);
    for (std::size_t i = 0; i < n; ++i) {
        const long double r = values[i].Value;
        const bool ok = values[i].Ok;
        const long double x = ok ? r * angle.Cos[i] : 0.0L;
        const long double y = ok ? r * angle.Sin[i] : 0.0L;
        if (Capped(ok, x)) {
            g.Points[i].x = ToDouble(x);
            UpdateBounds(g.Points[i].x, g.BoundMaxX, g.BoundMinX);
        } else {
            g.Points[i].x = UndefinedValue;
        }
        if (Capped(ok, y)) {
            g.Points[i].y = ToDouble(y);
            UpdateBounds(g.Points[i].y, g.BoundMaxY, g.BoundMinY);
        } else {
            g.Points[i].y = UndefinedValue;
        }
    }
    // The point moves continuously wherever the radius does.
    SearchBreaks(g, compiled, q, values, JoinedSegments(g), ctx);
}

void SampleParametric(TGraphic& g, std::string_view formula, std::string_view formula2,
                      const TSettings& s, const kurvant::TFormulaContext& ctx) {
    const std::size_t n = PointCount(g.StepsX);
    g.Points.resize(n);
    const double start = std::max(s.MinX, g.MinX);
    const double end = std::min(s.MaxX, g.MaxX);
    g.BoundMaxX = -BoundStart;
    g.BoundMinX = BoundStart;
    g.BoundMaxY = -BoundStart;
    g.BoundMinY = BoundStart;
    const std::vector<long double> u = Walk(start, StepOf(start, end, g.StepsX), n);
    const kurvant::TCompiledFormula compiledX = OneLetter(formula, LetterOf(g), ctx);
    const kurvant::TCompiledFormula compiledY = OneLetter(formula2, LetterOf(g), ctx);
    const std::vector<kurvant::TSample> xs = Line(compiledX, u, ctx);
    const std::vector<kurvant::TSample> ys = Line(compiledY, u, ctx);
    for (std::size_t i = 0; i < n; ++i) {
        if (xs[i].Ok) {
            g.Points[i].x = ToDouble(xs[i].Value);
            UpdateBounds(g.Points[i].x, g.BoundMaxX, g.BoundMinX);
        } else {
            g.Points[i].x = UndefinedValue;
        }
        if (ys[i].Ok) {
            g.Points[i].y = ToDouble(ys[i].Value);
            UpdateBounds(g.Points[i].y, g.BoundMaxY, g.BoundMinY);
        } else {
            g.Points[i].y = UndefinedValue;
        }
    }
    // A break of either coordinate breaks the curve.
    const std::vector<bool> joined = JoinedSegments(g);
    SearchBreaks(g, compiledX, u, xs, joined, ctx);
    SearchBreaks(g, compiledY, u, ys, joined, ctx);
}

void SampleSurface(TGraphic& g, const TSettings& s, const kurvant::TFormulaContext& ctx) {
    const std::size_t n1 = PointCount(g.StepsX);
    const std::size_t n2 = PointCount(g.StepsY);
    g.Points.resize(n1 * n2);
    const double x0 = std::max(s.MinX, g.MinX);
    const double x1 = std::min(s.MaxX, g.MaxX);
    const double stepX = StepOf(x0, x1, g.StepsX);
    const double y0 = std::max(s.MinY, g.MinY);
    const double y1 = std::min(s.MaxY, g.MaxY);
    const double stepY = StepOf(y0, y1, g.StepsY);
    g.BoundMaxX = x1;
    g.BoundMinX = x0;
    g.BoundMaxY = y1;
    g.BoundMinY = y0;
    g.BoundMaxZ = -BoundStart;
    g.BoundMinZ = BoundStart;
    const std::vector<long double> ys = Walk(y0, stepY, n2);
    const std::vector<long double> xs = Walk(x0, stepX, n1);
    // 'y' is substituted once per row, then the first variable.
    const std::vector<kurvant::TSample> z = Grid(g.FormulaPrepared, 'y', LetterOf(g), ys, xs, ctx);
    for (std::size_t j = 0; j < n2; ++j) {
        for (std::size_t i = 0; i < n1; ++i) {
            const std::size_t k = j * n1 + i;
            TPoint3D& p = g.Points[k];
            if (z[k].Ok) {
                p = {static_cast<double>(xs[i]), static_cast<double>(ys[j]), ToDouble(z[k].Value)};
                UpdateBounds(p.z, g.BoundMaxZ, g.BoundMinZ);
            } else {
                p = {UndefinedValue, UndefinedValue, UndefinedValue};
            }
        }
    }
}

void SampleSpherical(TGraphic& g, const kurvant::TFormulaContext& ctx) {
    const std::size_t n1 = PointCount(g.StepsX);
    const std::size_t n2 = PointCount(g.StepsY);
    g.Points.resize(n1 * n2);
    const double q0 = static_cast<double>(Pi * g.MinX);
    const double stepQ = AngleStepOf(g.MinX, g.MaxX, g.StepsX);
    const double a0 = static_cast<double>(Pi * g.MinY);
    const double stepA = AngleStepOf(g.MinY, g.MaxY, g.StepsY);
    g.BoundMaxX = -BoundStart;
    g.BoundMinX = BoundStart;
    g.BoundMaxY = -BoundStart;
    g.BoundMinY = BoundStart;
    g.BoundMaxZ = -BoundStart;
    g.BoundMinZ = BoundStart;
    const std::vector<long double> as = Walk(a0, stepA, n2);
    const std::vector<long double> qs = Walk(q0, stepQ, n1);
    const std::vector<kurvant::TSample> ps = Grid(g.FormulaPrepared, 'a', LetterOf(g), as, qs, ctx);
    // The angles' sines and cosines, once per row and column.
    const TCosinesAndSines q = CosinesAndSines(qs);
    const TCosinesAndSines a = CosinesAndSines(as);
    for (std::size_t j = 0; j < n2; ++j) {
        const long double sinA = a.Sin[j];
        const long double cosA = a.Cos[j];
        const std::vector<long double>& cosQ = q.Cos;
        const std::vector<long double>& sinQ = q.Sin;
        for (std::size_t i = 0; i < n1; ++i) {
            TPoint3D& pt = g.Points[j * n1 + i];
            const long double p = ps[j * n1 + i].Value;
            const bool ok = ps[j * n1 + i].Ok;
            const long double x = ok ? p * cosQ[i] * sinA : 0.0L;
            const long double y = ok ? p * sinQ[i] * sinA : 0.0L;
            const long double z = ok ? p * cosA : 0.0L;
            if (Capped(ok, x)) {
                pt.x = ToDouble(x);
                UpdateBounds(pt.x, g.BoundMaxX, g.BoundMinX);
            } else {
                pt.x = UndefinedValue;
            }
            if (Capped(ok, y)) {
                pt.y = ToDouble(y);
                UpdateBounds(pt.y, g.BoundMaxY, g.BoundMinY);
            } else {
                pt.y = UndefinedValue;
            }
            if (Capped(ok, z)) {
                pt.z = ToDouble(z);
                UpdateBounds(pt.z, g.BoundMaxZ, g.BoundMinZ);
            } else {
                pt.z = UndefinedValue;
            }
        }
    }
}

} // namespace

void Fill_Pixels_Graphic(TGraphic& graphic, std::string_view formula, std::string_view formula2,
                         const TSettings& settings, const kurvant::TFormulaContext& context) {
    if (graphic.Kind != KindTable) {
        graphic.SampledClip = {settings.MinX, settings.MaxX, settings.MinY, settings.MaxY};
        graphic.Breaks.clear();
    }
    switch (graphic.Kind) {
    case KindYofX:
        SampleCartesian(graphic, formula, settings, context, YofXAxes);
        break;
    case KindXofY:
        SampleCartesian(graphic, formula, settings, context, XofYAxes);
        break;
    case KindPolar:
        SamplePolar(graphic, formula, context);
        break;
    case KindParametric:
        SampleParametric(graphic, formula, formula2, settings, context);
        break;
    case KindSurface:
        SampleSurface(graphic, settings, context);
        break;
    case KindSpherical:
        SampleSpherical(graphic, context);
        break;
    default:
        break; // tables are not sampled
    }
}

std::uint64_t SamplingWork(const TGraphic& graphic) {
    const std::uint64_t x = PointCount(graphic.StepsX);
    // A curve's formula is evaluated at its points, then between them in the search of its breaks.
    const std::uint64_t curve = x + BreakSearchBudget(x);
    switch (graphic.Kind) {
    case KindYofX:
        return curve;
    case KindXofY: {
        const std::uint64_t y = PointCount(graphic.StepsY);
        return y + BreakSearchBudget(y);
    }
    case KindPolar:
        return curve;
    case KindParametric:
        return 2 * curve;
    case KindSurface:
    case KindSpherical:
        return x * PointCount(graphic.StepsY);
    default:
        return 0;
    }
}

void Fill_Pixels_Graphic(TGraphic& graphic, const TSettings& settings,
                         const kurvant::TFormulaContext& context) {
    Fill_Pixels_Graphic(graphic, graphic.FormulaPrepared, graphic.Formula2Prepared, settings,
                        context);
}
