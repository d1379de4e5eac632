#include "analysis/local_behaviour.h"

#include "formula/batch_evaluation.h"
#include "formula/compiled_formula.h"
#include "formula/parallel_parts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kurvant {

void TStudyFunction::AtMany(std::span<const long double> xs,
                            std::vector<std::optional<long double>>& out) const {
    out.resize(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i) {
        out[i] = At(xs[i]);
    }
}

namespace {

using TValue = std::optional<long double>;

// Points per part when a study's points are spread over the cores.
constexpr std::size_t PartPoints = 256;

class TFormulaFunction : public TStudyFunction {
public:
    TFormulaFunction(std::string_view prepared, char letter, const TFormulaContext& context,
                     long double limit)
        : Compiled(prepared, std::string(1, letter), context), Evaluator(context.Evaluator),
          Limit(limit) {}

    [[nodiscard]] TValue At(long double x) const override {
        long double value = 0;
        if (Compiled.Evaluate(std::span<const long double>(&x, 1), value, Evaluator) != EvalOk ||
            !Usable(value)) {
            return std::nullopt;
        }
        return value;
    }

    void AtMany(std::span<const long double> xs, std::vector<TValue>& out) const override {
        std::vector<TSample> samples(xs.size());
        // A study evaluates a few thousand points at a time, fewer than sampling spreads over
        // the cores; a long formula (a thousand terms) is worth spreading even so.
        ForEachPart(xs.size(), PartPoints, [&](std::size_t begin, std::size_t end) {
            EvaluateLine(Compiled, xs.subspan(begin, end - begin),
                         std::span<TSample>(samples).subspan(begin, end - begin), Evaluator);
        });
        out.resize(xs.size());
        for (std::size_t i = 0; i < xs.size(); ++i) {
            const bool ok = samples[i].Ok && Usable(samples[i].Value);
            out[i] = ok ? TValue(samples[i].Value) : std::nullopt;
        }
    }

private:
    // Written so that a not-a-number fails too.
    [[nodiscard]] bool Usable(long double v) const {
        return Limit > 0 ? std::fabs(v) < Limit : std::isfinite(v);
    }

    TCompiledFormula Compiled;
    TEvaluator Evaluator;
    long double Limit;
};

// The five points x, x + h, ..., x + 4h, each the previous one plus h in double precision.
bool FivePoints(const TStudyFunction& f, double x, double h, std::array<long double, 5>& v) {
    double xi = x;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (i > 0) {
            xi += h;
        }
        const TValue value = f.At(xi);
        if (!value) {
            return false;
        }
        v[i] = *value;
    }
    return true;
}

long double FivePointSum(const std::array<long double, 5>& f) {
    return -25.0L / 12 * f[0] + 4 * f[1] - 3 * f[2] + 4.0L / 3 * f[3] - 1.0L / 4 * f[4];
}

// The refinement of a slope: steps h0, h0/2, ..., h0/1024. The steps are decimal fractions with at
// most twelve decimals, so every point x + ih keeps its exact text in the 15 digits the engine
// writes.
constexpr int SlopeLevels = 11;
constexpr long double SlopeTolerance = 5e-9L;

} // namespace

std::unique_ptr<TStudyFunction> FormulaFunction(std::string_view prepared, char letter,
                                                const TFormulaContext& context, long double limit) {
    return std::make_unique<TFormulaFunction>(prepared, letter, context, limit);
}

long double ValueTolerance(long double value) {
    return 1e-13L * std::max(1.0L, std::fabs(value));
}

bool SameValue(long double p, long double q) {
    return std::fabs(p - q) <= 1e-13L * std::max(std::fabs(p), std::fabs(q));
}

long double VariableQuantum(long double x) {
    const long double magnitude = std::fabs(x);
    if (!(magnitude >= 1e-300L) || !std::isfinite(magnitude)) {
        return 1e-300L;
    }
    // 15 significant digits: the last one is worth 10^(exponent - 14).
    const int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    return std::pow(10.0L, static_cast<long double>(exponent - 14));
}

std::optional<bool> SettlesOnSide(const TStudyFunction& f, long double x, long double f0, int side,
                                  long double far, long double near) {
    const auto distance = [&](long double step) -> TValue {
        const TValue v = f.At(x + side * step);
        return v ? TValue(std::fabs(*v - f0)) : std::nullopt;
    };
    const TValue atNear = distance(near);
    if (!atNear) {
        return std::nullopt;
    }
    if (*atNear <= ValueTolerance(f0)) {
        return true;
    }
    const TValue atFar = distance(far);
    if (!atFar) {
        return std::nullopt;
    }
    return *atNear <= 0.75L * *atFar;
}

bool ContinuousAt(const TStudyFunction& f, long double x, long double width) {
    const TValue centre = f.At(x);
    if (!centre) {
        return false;
    }
    const long double quantum = VariableQuantum(x);
    const long double far = std::max(width * 1e-3L, 1e4L * quantum);
    const long double near = std::max(width * 1e-7L, 1e2L * quantum);
    return SettlesOnSide(f, x, *centre, -1, far, near).value_or(false) &&
           SettlesOnSide(f, x, *centre, 1, far, near).value_or(false);
}

std::optional<long double> CentralSlope(const TStudyFunction& f, long double x, long double h) {
    const TValue m2 = f.At(x - 2 * h);
    const TValue m1 = f.At(x - h);
    const TValue p1 = f.At(x + h);
    const TValue p2 = f.At(x + 2 * h);
    if (!m2 || !m1 || !p1 || !p2) {
        return std::nullopt;
    }
    return (*m2 - 8 * *m1 + 8 * *p1 - *p2) / (12 * h);
}

std::optional<long double> FivePointSlope(const TStudyFunction& f, double x, double h,
                                          long double& value) {
    std::array<long double, 5> v{};
    if (!FivePoints(f, x, h, v)) {
        return std::nullopt;
    }
    value = v[0];
    return FivePointSum(v) / h;
}

std::optional<long double> FivePointCurvature(const TStudyFunction& f, double x, double h,
                                              long double& value) {
    std::array<long double, 5> v{};
    if (!FivePoints(f, x, h, v)) {
        return std::nullopt;
    }
    value = v[0];
    const long double sum = 35.0L / 12 * v[0] - 26.0L / 3 * v[1] + 19.0L / 2 * v[2] -
                            14.0L / 3 * v[3] + 11.0L / 12 * v[4];
    const long double step = h;
    return sum / (step * step);
}

std::optional<long double> RefinedSlope(const TStudyFunction& f, double x, double h0,
                                        long double& value) {
    // A tableau entry's error is taken as its distance from the two entries it was made of. A
    // step whose points fail starts the tableau again with the next one, so a pole or an edge of
    // the domain a few steps away does not hide a slope that exists.
    std::array<long double, SlopeLevels> previous{};
    std::array<long double, SlopeLevels> current{};
    std::size_t rows = 0;
    long double best = 0;
    long double bestError = std::numeric_limits<long double>::infinity();
    for (int k = 0; k < SlopeLevels; ++k) {
        const double h = std::ldexp(h0, -k);
        long double f0 = 0;
        const std::optional<long double> slope = FivePointSlope(f, x, h, f0);
        if (!slope) {
            rows = 0;
            bestError = std::numeric_limits<long double>::infinity();
            continue;
        }
        value = f0;
        current[0] = *slope;
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

bool PoleAt(const TStudyFunction& f, long double end, long double inward, long double reach) {
    // (distance, |f|) from far to near, as far as the engine gives values.
    std::vector<std::pair<long double, long double>> seen;
    long double d = reach;
    for (int k = 0; k < 200 && d > 1e-300L; ++k, d /= 2) {
        if (const TValue v = f.At(end + inward * d)) {
            seen.emplace_back(d, std::fabs(*v));
        } else if (seen.size() >= 2) {
            break;
        }
    }
    // The last few halvings decide: a pole grows at every one of them.
    constexpr std::size_t Last = 4;
    if (seen.size() < Last) {
        return false;
    }
    for (std::size_t k = seen.size() - Last + 1; k < seen.size(); ++k) {
        const auto [dNear, fNear] = seen[k];
        const auto [dFar, fFar] = seen[k - 1];
        if (!(fNear > fFar * 1.2L) || !(dNear * fNear >= 0.8L * dFar * fFar)) {
            return false;
        }
    }
    return true;
}

long double ValueEdge(const TStudyFunction& f, long double defined, long double undefined) {
    for (int k = 0; k < 80 && defined != undefined; ++k) {
        const long double middle = defined + (undefined - defined) / 2;
        if (middle == defined || middle == undefined) {
            break;
        }
        (f.At(middle) ? defined : undefined) = middle;
    }
    return defined;
}

} // namespace kurvant
