#include "analysis/function_study.h"

#include <boost/math/quadrature/tanh_sinh.hpp>
#include <boost/math/tools/minima.hpp>
#include <boost/math/tools/toms748_solve.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// The engine writes every value with 15 significant digits; differences below a few hundred
// units of that last digit are noise, not a slope.
constexpr long double ValueNoise = 1e-13L;
// A touching zero: the extremum's value is this small against the largest value of the scan.
constexpr long double TouchingZero = 1e-12L;
// How close to its neighbours' midpoint a bracketed root is refined.
constexpr long double RootWidth = 1e-14L;
constexpr std::uintmax_t MaxIterations = 200;
// Scan points per unit of a long interval, and the most a scan has.
constexpr long double ScanDensity = 50;
constexpr long double MaxScanIntervals = 5e4L;

// Points not worth telling apart: the same zero or extremum.
bool Close(long double p, long double q) {
    return std::fabs(p - q) <= SamePointDistance * std::max(1.0L, std::fabs(p));
}

struct TScan {
    std::vector<long double> X;
    std::vector<TValue> F;
    long double Largest = 0; ///< the largest |f| over the scan, for relative tests
};

TScan Scan(const TStudyFunction& f, long double a, long double b,
           std::span<const long double> extra) {
    TScan s;
    // Long intervals get more subintervals, up to five times as many: a step of at most 1/50
    // keeps the zeros of sin(50x) apart up to 1,000 units, and the refinement of what a longer
    // scan would find stays within seconds.
    const long double wanted = std::ceil((b - a) * ScanDensity);
    const long long n = static_cast<long long>(
        std::clamp(wanted, static_cast<long double>(StudyScanIntervals), MaxScanIntervals));
    s.X.reserve(static_cast<std::size_t>(n) + 1 + extra.size());
    for (long long i = 0; i <= n; ++i) {
        // (b - a)·i / n rather than a running sum: 0 and the decimal ticks are hit exactly.
        s.X.push_back(i == n ? b : a + (b - a) * static_cast<long double>(i) / n);
    }
    for (long double x : extra) {
        if (x > a && x < b) {
            s.X.push_back(x);
        }
    }
    std::sort(s.X.begin(), s.X.end());
    s.X.erase(std::unique(s.X.begin(), s.X.end()), s.X.end());
    f.AtMany(s.X, s.F);
    for (const TValue& v : s.F) {
        if (v) {
            s.Largest = std::max(s.Largest, std::fabs(*v));
        }
    }
    return s;
}

int Sign(long double v) {
    return (v > 0) - (v < 0);
}

// Whether f is continuous at x: its distance from f(x) shrinks as the step does. A pole grows, a
// jump stays; a side without a value counts as neither.
bool ContinuousAt(const TStudyFunction& f, long double x, long double width) {
    const TValue centre = f.At(x);
    if (!centre) {
        return false;
    }
    const auto spread = [&](long double step) -> std::optional<long double> {
        const TValue left = f.At(x - step);
        const TValue right = f.At(x + step);
        if (!left || !right) {
            return std::nullopt;
        }
        return std::max(std::fabs(*left - *centre), std::fabs(*right - *centre));
    };
    const long double scale = std::max(1.0L, std::fabs(x));
    const long double far = std::max(width * 1e-3L, 1e-11L * scale);
    const long double near = std::max(width * 1e-7L, 1e-13L * scale);
    const std::optional<long double> wide = spread(far);
    const std::optional<long double> narrow = spread(near);
    if (!wide || !narrow) {
        return false;
    }
    const long double noise = ValueNoise * std::max(1.0L, std::fabs(*centre));
    return *narrow <= noise || *narrow < 0.5L * *wide;
}

// The last point with a value between `defined` (which has one) and `undefined` (which has none),
// by halving.
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

// A root of f in [lo, hi], where f(lo) and f(hi) have opposite signs; nothing where f has no value
// inside, and then `gap` (when given) gets a point without a value: near a pole the engine has
// none.
std::optional<long double> Bracketed(const TStudyFunction& f, long double lo, long double hi,
                                     long double flo, long double fhi, long double* gap = nullptr) {
    std::optional<long double> undefinedAt;
    const auto g = [&](long double x) {
        const TValue v = f.At(x);
        if (!v) {
            if (!undefinedAt) {
                undefinedAt = x;
            }
            // Zero ends the search at once; the answer is dropped.
            return 0.0L;
        }
        return *v;
    };
    const long double width = RootWidth * std::max({1.0L, std::fabs(lo), std::fabs(hi)});
    const auto done = [width](long double p, long double q) { return std::fabs(q - p) <= width; };
    std::uintmax_t iterations = MaxIterations;
    try {
        const auto [l, h] =
            boost::math::tools::toms748_solve(g, lo, hi, flo, fhi, done, iterations);
        if (undefinedAt) {
            if (gap) {
                *gap = *undefinedAt;
            }
            return std::nullopt;
        }
        return l + (h - l) / 2;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The first derivative by the four-point central difference, for polishing an extremum: near one
// the slope is small and the points' rounding to fifteen digits hardly moves it.
std::optional<long double> Slope(const TStudyFunction& f, long double x, long double h) {
    const TValue m2 = f.At(x - 2 * h);
    const TValue m1 = f.At(x - h);
    const TValue p1 = f.At(x + h);
    const TValue p2 = f.At(x + 2 * h);
    if (!m2 || !m1 || !p1 || !p2) {
        return std::nullopt;
    }
    return (*m2 - 8 * *m1 + 8 * *p1 - *p2) / (12 * h);
}

struct TSignedFunction : TStudyFunction {
    const TStudyFunction& F;
    long double Factor;
    TSignedFunction(const TStudyFunction& f, long double factor) : F(f), Factor(factor) {}
    [[nodiscard]] TValue At(long double x) const override {
        const TValue v = F.At(x);
        return v ? TValue(Factor * *v) : std::nullopt;
    }
};

// A local minimum of f inside (lo, hi), where the scan saw values above it on both sides: Brent's
// search first, then the slope's sign change polished by TOMS 748, since the values alone fix the
// place only to the square root of their precision.
std::optional<long double> Minimum(const TStudyFunction& f, long double lo, long double hi) {
    const auto g = [&](long double x) {
        const TValue v = f.At(x);
        return v ? *v : std::numeric_limits<long double>::infinity();
    };
    std::uintmax_t iterations = MaxIterations;
    const long double coarse =
        boost::math::tools::brent_find_minima(g, lo, hi, 30, iterations).first;
    const long double h = std::min((hi - lo) / 8, 1e-3L * std::max(1.0L, std::fabs(coarse)));
    const long double span = std::max(1e-6L * std::max(1.0L, std::fabs(coarse)), 4 * h);
    const long double left = std::max(lo, coarse - span);
    const long double right = std::min(hi, coarse + span);
    const std::optional<long double> dl = Slope(f, left, h);
    const std::optional<long double> dr = Slope(f, right, h);
    if (dl && dr && *dl < 0 && *dr > 0) {
        struct TSlope : TStudyFunction {
            const TStudyFunction& F;
            long double H;
            TSlope(const TStudyFunction& f, long double step) : F(f), H(step) {}
            [[nodiscard]] TValue At(long double x) const override { return Slope(F, x, H); }
        } slope(f, h);
        if (const std::optional<long double> polished = Bracketed(slope, left, right, *dl, *dr)) {
            const TValue atPolished = f.At(*polished);
            const TValue atCoarse = f.At(coarse);
            if (atPolished && atCoarse &&
                *atPolished <= *atCoarse + ValueNoise * std::max(1.0L, std::fabs(*atCoarse))) {
                return polished;
            }
        }
    }
    return coarse;
}

std::vector<long double> SortedUnique(std::vector<long double> points) {
    std::sort(points.begin(), points.end());
    std::vector<long double> out;
    for (long double x : points) {
        if (out.empty() || !Close(out.back(), x)) {
            out.push_back(x);
        }
    }
    return out;
}

// The scan's local extrema, refined; `poles` gets the places where the scan peaked at a pole.
std::vector<TExtremum> ScanExtrema(const TStudyFunction& f, const TScan& s, long double a,
                                   long double b, std::vector<long double>* poles) {
    std::vector<TExtremum> found;
    const std::size_t n = s.X.size();
    const auto level = [&](std::size_t i) { return *s.F[i]; };
    const auto differ = [&](long double p, long double q) {
        return std::fabs(p - q) > ValueNoise * std::max({1e-300L, std::fabs(p), std::fabs(q)});
    };
    std::size_t i = 1;
    while (i + 1 < n) {
        if (!s.F[i - 1] || !s.F[i]) {
            ++i;
            continue;
        }
        // A run of equal values (a summit between two scan points) of at most two points.
        std::size_t last = i;
        if (last + 1 < n && s.F[last + 1] && !differ(level(last + 1), level(i))) {
            ++last;
        }
        if (last + 1 >= n || !s.F[last + 1]) {
            i = last + 1;
            continue;
        }
        const long double before = level(i - 1);
        const long double here = level(i);
        const long double after = level(last + 1);
        const bool higher =
            here > before && here > after && differ(here, before) && differ(here, after);
        const bool lower =
            here < before && here < after && differ(here, before) && differ(here, after);
        // A third equal value makes a flat stretch, which has no extremum.
        const bool flat = last + 2 < n && s.F[last + 2] && !differ(level(last + 2), here);
        if ((higher || lower) && !flat) {
            const TSignedFunction signedF(f, higher ? -1.0L : 1.0L);
            const std::optional<long double> x = Minimum(signedF, s.X[i - 1], s.X[last + 1]);
            const long double width = s.X[last + 1] - s.X[i - 1];
            if (x && *x > a && *x < b && !Close(*x, a) && !Close(*x, b)) {
                const TValue y = f.At(*x);
                if (y && ContinuousAt(f, *x, width)) {
                    found.push_back({*x, *y, higher});
                } else if (poles) {
                    poles->push_back(*x);
                }
            }
        }
        i = last + 1;
    }
    return found;
}

// The zeros where the scan changes sign, refined; `poles` gets the sign changes through a pole or
// a jump.
void SignChangeZeros(const TStudyFunction& f, const TScan& s, std::vector<long double>& zeros,
                     std::vector<long double>* poles) {
    const std::size_t n = s.X.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!s.F[i]) {
            continue;
        }
        const long double v = *s.F[i];
        if (v == 0) {
            const bool leftZero = i > 0 && s.F[i - 1] && *s.F[i - 1] == 0;
            const bool rightZero = i + 1 < n && s.F[i + 1] && *s.F[i + 1] == 0;
            // A zero beside another is part of a stretch of zeros, which is no zero.
            if (!leftZero && !rightZero) {
                zeros.push_back(s.X[i]);
            }
            continue;
        }
        if (i + 1 >= n || !s.F[i + 1] || Sign(*s.F[i + 1]) != -Sign(v)) {
            continue;
        }
        long double gap = std::numeric_limits<long double>::quiet_NaN();
        const std::optional<long double> root =
            Bracketed(f, s.X[i], s.X[i + 1], v, *s.F[i + 1], &gap);
        if (!root) {
            if (poles && !std::isnan(gap)) {
                // The middle of the stretch without values, where the pole is.
                poles->push_back((ValueEdge(f, s.X[i], gap) + ValueEdge(f, s.X[i + 1], gap)) / 2);
            }
            continue;
        }
        if (ContinuousAt(f, *root, s.X[i + 1] - s.X[i])) {
            zeros.push_back(*root);
        } else if (poles) {
            poles->push_back(*root);
        }
    }
}

std::vector<long double> ZerosOfScan(const TStudyFunction& f, const TScan& s, long double a,
                                     long double b, std::vector<long double>* poles) {
    std::vector<long double> zeros;
    SignChangeZeros(f, s, zeros, poles);
    for (const TExtremum& e : ScanExtrema(f, s, a, b, poles)) {
        const bool towardsZero = e.Maximum ? e.Y <= 0 : e.Y >= 0;
        if (towardsZero && std::fabs(e.Y) <= TouchingZero * s.Largest) {
            zeros.push_back(e.X);
        }
    }
    return SortedUnique(std::move(zeros));
}

// The refinements of one part, and the evaluations of a whole integral: a function the scan cannot
// resolve (sin(x) over a million units) would take minutes to end in the same refusal.
constexpr std::size_t MaxRefinements = 12;
constexpr long long EvaluationBudget = 2'500'000;

// One part of the integral, between two neighbouring splitting points. Tanh-sinh copes with the
// integrable singularities a part may have at its ends (ln at 0, 1/sqrt) and never evaluates the
// ends themselves.
struct TPart {
    bool Finite = false;    ///< a finite value was reached
    bool Undefined = false; ///< the function had no value at some point of the part
    long double Value = 0;
    long double Error = 0;
};

// Thrown when an integral has used up its evaluations.
struct TOverBudget {};

TPart IntegratePart(const TStudyFunction& f, long double lo, long double hi, long long& budget) {
    TPart part;
    // Tanh-sinh hands over the distance to the nearer end as well, exact where the point itself
    // would round onto the end.
    const long double middle = lo + (hi - lo) / 2;
    const auto g = [&](long double x, long double distance) {
        if (--budget < 0) {
            throw TOverBudget{};
        }
        const long double at = x < middle ? lo + std::fabs(distance) : hi - std::fabs(distance);
        const TValue v = f.At(at);
        if (!v) {
            part.Undefined = true;
            return std::numeric_limits<long double>::quiet_NaN();
        }
        return *v;
    };
    // The points nearest the ends stay within what the engine's numbers can be.
    boost::math::quadrature::tanh_sinh<long double> rule(MaxRefinements, 1e-250L);
    try {
        long double error = 0;
        long double l1 = 0;
        part.Value = rule.integrate(g, lo, hi, 1e-13L, &error, &l1);
        part.Error = error;
        part.Finite = std::isfinite(part.Value) && std::isfinite(error) && !part.Undefined;
    } catch (const std::exception&) {
        part.Finite = false;
    }
    return part;
}

// Whether f grows like a pole towards `end` from the side `inward` (+1 or -1): |f|·d, at distances
// d halving from `reach`, does not shrink (1/x keeps it, 1/x² doubles it), where an integrable end
// lets it fall (by about 0.7 for 1/sqrt, 0.55 for ln). The engine has no value very near a pole,
// so the last two values it gives decide.
bool PoleAt(const TStudyFunction& f, long double end, long double inward, long double reach) {
    std::vector<long double> weights;
    long double d = reach;
    for (int k = 0; k < 200 && d > 1e-300L; ++k, d /= 2) {
        if (const TValue v = f.At(end + inward * d)) {
            weights.push_back(d * std::fabs(*v));
        } else if (weights.size() >= 2) {
            break;
        }
    }
    if (weights.size() < 2) {
        return false;
    }
    const long double last = weights.back();
    const long double before = weights[weights.size() - 2];
    return last > 0 && last >= 0.8L * before;
}

} // namespace

std::vector<long double> FindZeros(const TStudyFunction& f, long double a, long double b,
                                   std::span<const long double> extraSamples) {
    if (!(b > a)) {
        return {};
    }
    return ZerosOfScan(f, Scan(f, a, b, extraSamples), a, b, nullptr);
}

std::vector<TExtremum> FindExtrema(const TStudyFunction& f, long double a, long double b,
                                   std::span<const long double> extraSamples) {
    if (!(b > a)) {
        return {};
    }
    std::vector<TExtremum> found = ScanExtrema(f, Scan(f, a, b, extraSamples), a, b, nullptr);
    std::vector<TExtremum> out;
    for (const TExtremum& e : found) {
        if (out.empty() || !Close(out.back().X, e.X)) {
            out.push_back(e);
        }
    }
    return out;
}

TArea Integrate(const TStudyFunction& f, long double a, long double b,
                std::span<const long double> extraSamples) {
    TArea area;
    if (!(b > a)) {
        return area;
    }
    const TScan s = Scan(f, a, b, extraSamples);
    // Scan points without a value: the engine has none near a pole (its values there would be
    // too large), so a run of them around a pole makes the integral diverge; any other run is a
    // stretch where the function is not defined.
    const std::size_t n = s.X.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (s.F[i]) {
            continue;
        }
        std::size_t j = i;
        while (j + 1 < n && !s.F[j + 1]) {
            ++j;
        }
        if (i == 0 && j + 1 == n) {
            area.Outcome = TAreaOutcome::Undefined;
            return area;
        }
        const long double pole =
            i == 0 ? a
            : j + 1 == n
                ? b
                : (ValueEdge(f, s.X[i - 1], s.X[i]) + ValueEdge(f, s.X[j + 1], s.X[j])) / 2;
        const long double reach = (b - a) / 40;
        const bool divergent =
            (i > 0 && PoleAt(f, pole, -1, reach)) || (j + 1 < n && PoleAt(f, pole, 1, reach));
        area.Outcome = divergent ? TAreaOutcome::Divergent : TAreaOutcome::Undefined;
        return area;
    }
    std::vector<long double> splits;
    // The zeros split too, so that |f| has no kink inside a part; so do poles and jumps.
    std::vector<long double> poles;
    for (long double x : ZerosOfScan(f, s, a, b, &poles)) {
        splits.push_back(x);
    }
    splits.insert(splits.end(), poles.begin(), poles.end());
    splits.push_back(a);
    splits.push_back(b);
    std::sort(splits.begin(), splits.end());
    splits.erase(std::unique(splits.begin(), splits.end()), splits.end());
    // A pole at either end of a part makes the integral diverge. The part may lie inside the
    // stretch around the pole where the engine gives no value, so the growth is read from further
    // off.
    const long double reach = (b - a) / 40;
    const auto poleAtAnEnd = [&](long double lo, long double hi) {
        return PoleAt(f, lo, 1, reach) || PoleAt(f, lo, -1, reach) || PoleAt(f, hi, 1, reach) ||
               PoleAt(f, hi, -1, reach);
    };
    long long budget = EvaluationBudget;
    long double worstError = -1;
    std::pair<long double, long double> worst;
    for (std::size_t k = 0; k + 1 < splits.size(); ++k) {
        const long double lo = splits[k];
        const long double hi = splits[k + 1];
        // A sliver between a zero and the end that it rounds next to adds nothing but noise.
        if (hi - lo <= 1e-12L * std::max({1.0L, std::fabs(lo), std::fabs(hi)})) {
            continue;
        }
        TPart part;
        try {
            part = IntegratePart(f, lo, hi, budget);
        } catch (const TOverBudget&) {
            area.Outcome = TAreaOutcome::Inaccurate;
            return area;
        }
        if (part.Undefined) {
            area.Outcome = poleAtAnEnd(lo, hi) ? TAreaOutcome::Divergent : TAreaOutcome::Undefined;
            return area;
        }
        if (!part.Finite) {
            area.Outcome = poleAtAnEnd(lo, hi) ? TAreaOutcome::Divergent : TAreaOutcome::Inaccurate;
            return area;
        }
        area.Integral += part.Value;
        area.Absolute += std::fabs(part.Value);
        area.Error += part.Error;
        if (part.Error > worstError) {
            worstError = part.Error;
            worst = {lo, hi};
        }
    }
    if (!(area.Error <= AreaRelativeError * std::max(area.Absolute, 1e-300L))) {
        area.Outcome = poleAtAnEnd(worst.first, worst.second) ? TAreaOutcome::Divergent
                                                              : TAreaOutcome::Inaccurate;
    }
    return area;
}

} // namespace kurvant
