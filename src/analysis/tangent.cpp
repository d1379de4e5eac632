#include "analysis/tangent.h"

#include "analysis/exact_decimal.h"
#include "analysis/local_behaviour.h"
#include "graphs/document.h"
#include "graphs/graphic.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kurvant {

namespace {

constexpr double FirstDerivativeThreshold = 1e-5;

// The graph's formula as the derivatives see it: a value of 500 or more fails as an undefined one.
std::unique_ptr<TStudyFunction> GraphFunction(const TGraphic& graphic,
                                              const TFormulaContext& context) {
    return FormulaFunction(graphic.FormulaPrepared, graphic.Variable, context, SampleLimit);
}

TLineFormula Refused(std::string_view message) {
    return {false, {}, std::string(message)};
}

// A jump at x on one side (`step` > 0: the right), seen at the two finest steps of the slope's
// refinement. A side that is not defined there has no jump.
bool JumpsAt(const TStudyFunction& f, double x, long double f0, double step) {
    const std::optional<bool> settles =
        SettlesOnSide(f, x, f0, step > 0 ? 1 : -1, std::ldexp(std::fabs(step), -9),
                      std::ldexp(std::fabs(step), -10));
    return settles && !*settles;
}

} // namespace

double Differencial_One(const TGraphic& graphic, double& value, double x, double h,
                        const TFormulaContext& context) {
    value = DerivativeFailure;
    long double f0 = 0;
    const std::optional<long double> slope =
        FivePointSlope(*GraphFunction(graphic, context), x, h, f0);
    if (!slope) {
        return DerivativeFailure;
    }
    value = static_cast<double>(f0);
    return static_cast<double>(*slope);
}

double SettledDerivative(const TGraphic& graphic, double& value, double x,
                         const TFormulaContext& context) {
    value = DerivativeFailure;
    const std::unique_ptr<TStudyFunction> f = GraphFunction(graphic, context);
    long double rightValue = DerivativeFailure;
    long double leftValue = DerivativeFailure;
    const std::optional<long double> right = RefinedSlope(*f, x, DerivativeStep, rightValue);
    const std::optional<long double> left = RefinedSlope(*f, x, -DerivativeStep, leftValue);
    if (!right && !left) {
        return DerivativeFailure;
    }
    // Slopes that settle on both sides but differ are a kink, and a jump on either side leaves no
    // line that touches the graph: there is no tangent.
    const long double f0 = right ? rightValue : leftValue;
    if ((right && left && std::fabs(*right - *left) > KinkTolerance) ||
        JumpsAt(*f, x, f0, DerivativeStep) || JumpsAt(*f, x, f0, -DerivativeStep)) {
        return DerivativeFailure;
    }
    value = static_cast<double>(f0);
    return static_cast<double>(right ? *right : *left);
}

double Differencial_Two(const TGraphic& graphic, double& value, double x, double h,
                        const TFormulaContext& context) {
    value = DerivativeFailure;
    long double f0 = 0;
    const std::optional<long double> curvature =
        FivePointCurvature(*GraphFunction(graphic, context), x, h, f0);
    if (!curvature) {
        return DerivativeFailure;
    }
    value = static_cast<double>(f0);
    return static_cast<double>(*curvature);
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
