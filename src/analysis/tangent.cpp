#include "analysis/tangent.h"

#include "analysis/exact_decimal.h"
#include "formula/evaluate.h"
#include "formula/prepare.h"
#include "graphs/document.h"
#include "graphs/graphic.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace kurvant {

namespace {

constexpr double FirstDerivativeThreshold = 1e-5;

using TSamples = std::array<long double, 5>;

// f(x), f(x + h), ..., f(x + 4h); false as soon as one is not defined or too large.
bool Samples(const TGraphic& graphic, double x, double h, const TFormulaContext& context,
             TSamples& f) {
    double xi = x;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (i > 0) {
            xi += h;
        }
        const std::string text =
            SubstituteVariable(graphic.FormulaPrepared, graphic.Variable, xi, context);
        long double v = 0;
        // Written so that a not-a-number fails too.
        if (EvaluateFormula(text, v, context) != EvalOk || !(std::fabs(v) < SampleLimit)) {
            return false;
        }
        f[i] = v;
    }
    return true;
}

TLineFormula Refused(std::string_view message) {
    return {false, {}, std::string(message)};
}

// The one-sided five-point formula over f(x), f(x + h), ..., f(x + 4h): exact for polynomials up
// to degree four, with an error in h^4, h^5, ... otherwise.
long double FivePointSlope(const TSamples& f, double h) {
    const long double sum =
        -25.0L / 12 * f[0] + 4 * f[1] - 3 * f[2] + 4.0L / 3 * f[3] - 1.0L / 4 * f[4];
    return sum / h;
}

// The five-point slope with the step h0, h0/2, ..., h0/1024, extrapolated in the manner of
// Richardson (the error terms h^4, h^5, ... removed one by one). The steps are decimal fractions
// with at most twelve decimals, so every point x + ih keeps its exact text in the 15 digits the
// formula engine writes. A tableau entry's error is taken as its distance from the two entries it
// was made of; the best entry counts once that error is below `SlopeTolerance`. A step whose
// samples fail (undefined, or 500 and more) starts the tableau again with the next one, so a pole
// or an edge of the domain a few steps away does not hide a slope that exists.
constexpr int SlopeLevels = 11;
constexpr long double SlopeTolerance = 5e-9L;

std::optional<long double> SettledSlope(const TGraphic& graphic, double x, double h0,
                                        const TFormulaContext& context, long double& value) {
    std::array<long double, SlopeLevels> previous{};
    std::array<long double, SlopeLevels> current{};
    std::size_t rows = 0;
    long double best = 0;
    long double bestError = std::numeric_limits<long double>::infinity();
    for (int k = 0; k < SlopeLevels; ++k) {
        const double h = std::ldexp(h0, -k);
        TSamples f{};
        if (!Samples(graphic, x, h, context, f)) {
            rows = 0;
            bestError = std::numeric_limits<long double>::infinity();
            continue;
        }
        value = f[0];
        current[0] = FivePointSlope(f, h);
        for (std::size_t j = 1; j <= rows; ++j) {
            const long double factor = std::ldexp(1.0L, static_cast<int>(j) + 3) - 1;
            current[j] = current[j - 1] + (current[j - 1] - previous[j - 1]) / factor;
            const long double error = std::max(std::fabs(current[j] - current[j - 1]),
                                               std::fabs(current[j] - previous[j - 1]));
            if (error < bestError) {
                best = current[j];
                bestError = error;
            }
        }
        if (bestError <= SlopeTolerance) {
            return best;
        }
        previous = current;
        ++rows;
    }
    return std::nullopt;
}

// A jump at x on one side (`step` > 0: the right): the distance from f(x) of the value one small
// step away does not halve with the step as it would for a continuous function. A side that is
// not defined there has no jump.
bool JumpsAt(const TGraphic& graphic, double x, long double f0, double step,
             const TFormulaContext& context) {
    const auto distance = [&](double h) -> std::optional<long double> {
        long double v = 0;
        const std::string text =
            SubstituteVariable(graphic.FormulaPrepared, graphic.Variable, x + h, context);
        if (EvaluateFormula(text, v, context) != EvalOk || !std::isfinite(v)) {
            return std::nullopt;
        }
        return std::fabs(v - f0);
    };
    const std::optional<long double> far = distance(std::ldexp(step, -(SlopeLevels - 2)));
    const std::optional<long double> near = distance(std::ldexp(step, -(SlopeLevels - 1)));
    const long double noise = 1e-9L * (1 + std::fabs(f0));
    return far && near && *near > noise && *near > 0.75L * *far;
}

} // namespace

double Differencial_One(const TGraphic& graphic, double& value, double x, double h,
                        const TFormulaContext& context) {
    value = DerivativeFailure;
    TSamples f{};
    if (!Samples(graphic, x, h, context, f)) {
        return DerivativeFailure;
    }
    value = static_cast<double>(f[0]);
    return static_cast<double>(FivePointSlope(f, h));
}

double SettledDerivative(const TGraphic& graphic, double& value, double x,
                         const TFormulaContext& context) {
    value = DerivativeFailure;
    long double rightValue = DerivativeFailure;
    long double leftValue = DerivativeFailure;
    const std::optional<long double> right =
        SettledSlope(graphic, x, DerivativeStep, context, rightValue);
    const std::optional<long double> left =
        SettledSlope(graphic, x, -DerivativeStep, context, leftValue);
    if (!right && !left) {
        return DerivativeFailure;
    }
    // Slopes that settle on both sides but differ are a kink, and a jump on either side leaves no
    // line that touches the graph: there is no tangent.
    const long double f0 = right ? rightValue : leftValue;
    if ((right && left && std::fabs(*right - *left) > KinkTolerance) ||
        JumpsAt(graphic, x, f0, DerivativeStep, context) ||
        JumpsAt(graphic, x, f0, -DerivativeStep, context)) {
        return DerivativeFailure;
    }
    value = static_cast<double>(right ? rightValue : leftValue);
    return static_cast<double>(right ? *right : *left);
}

double Differencial_Two(const TGraphic& graphic, double& value, double x, double h,
                        const TFormulaContext& context) {
    value = DerivativeFailure;
    TSamples f{};
    if (!Samples(graphic, x, h, context, f)) {
        return DerivativeFailure;
    }
    value = static_cast<double>(f[0]);
    const long double sum = 35.0L / 12 * f[0] - 26.0L / 3 * f[1] + 19.0L / 2 * f[2] -
                            14.0L / 3 * f[3] + 11.0L / 12 * f[4];
    const long double step = h;
    return static_cast<double>(sum / (step * step));
}

std::string LineNumberText(double value, char separator) {
    const std::optional<TExactDecimal> exact = TExactDecimal::OfEngineValue(value);
    return exact ? exact->Fixed(LineDecimals, separator, "") : std::string();
}

TLineFormula LineFormula(const TGraphic& graphic, double x0, TLineKind kind,
                         const TFormulaContext& context) {
    double y0 = 0;
    // The second derivative takes no part in either line: a straight line and an inflection
    // point have their tangents too.
    const double d1 = SettledDerivative(graphic, y0, x0, context);
    if (std::fabs(d1) >= DerivativeFailure || std::fabs(y0) >= DerivativeFailure) {
        return Refused(NoLineMessage);
    }
    if (kind == TLineKind::Normal && std::fabs(d1) < FirstDerivativeThreshold) {
        return Refused(FlatSlopeMessage);
    }
    const char sep = context.DecimalSeparator;
    const auto text = [sep](double v) { return LineNumberText(v, sep); };
    std::string formula = text(y0);
    if (kind == TLineKind::Tangent) {
        formula += d1 >= 0 ? " +" : " -";
    } else {
        formula += d1 >= 0 ? " - 1/" : " + 1/";
    }
    formula += text(std::fabs(d1));
    formula += " * ( ";
    formula += graphic.Variable;
    // The shift c = -x0: its text carries its own minus; a non-negative one gets a plus.
    const double c = -x0;
    formula += c >= 0 ? " +" : " ";
    formula += text(c);
    formula += " )";
    return {true, std::move(formula), {}};
}

std::vector<std::string> TangentGraphEntries(const TDocument& document) {
    std::vector<std::string> entries;
    for (int i = 0; i < document.GraphCount(); ++i) {
        const TGraphic& g = document.Graph(i);
        if (g.Kind == KindYofX || g.Kind == KindXofY) {
            entries.push_back(std::string(GraphKindLabel(g.Kind)) + g.Formula);
        }
    }
    return entries;
}

int TangentGraphIndex(const TDocument& document, std::string_view entry) {
    for (int i = 0; i < document.GraphCount(); ++i) {
        const int kind = document.Graph(i).Kind;
        if (document.Caption(i) == entry && (kind == KindYofX || kind == KindXofY)) {
            return i;
        }
    }
    return -1;
}

} // namespace kurvant
