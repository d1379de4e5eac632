#include "tables/tangent.h"

#include "formula/evaluate.h"
#include "formula/prepare.h"
#include "graphs/document.h"
#include "graphs/graphic.h"
#include "tables/exact_decimal.h"

#include <array>
#include <cmath>

namespace kurvant {

namespace {

constexpr double SecondDerivativeThreshold = 1e-7;
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

} // namespace

double Differencial_One(const TGraphic& graphic, double& value, double x, double h,
                        const TFormulaContext& context) {
    value = DerivativeFailure;
    TSamples f{};
    if (!Samples(graphic, x, h, context, f)) {
        return DerivativeFailure;
    }
    value = static_cast<double>(f[0]);
    const long double sum =
        -25.0L / 12 * f[0] + 4 * f[1] - 3 * f[2] + 4.0L / 3 * f[3] - 1.0L / 4 * f[4];
    return static_cast<double>(sum / h);
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
    const double d1 = Differencial_One(graphic, y0, x0, DerivativeStep, context);
    if (std::fabs(d1) >= DerivativeFailure || std::fabs(y0) >= DerivativeFailure) {
        return Refused(NoLineMessage);
    }
    const double d2 = Differencial_Two(graphic, y0, x0, DerivativeStep, context);
    if (std::fabs(d2) <= SecondDerivativeThreshold) {
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
