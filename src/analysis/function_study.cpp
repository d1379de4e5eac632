#include "analysis/function_study.h"

#include "analysis/study_findings.h"

#include "formula/parallel_parts.h"

#include <boost/math/tools/minima.hpp>
#include <boost/math/tools/toms748_solve.hpp>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>

namespace kurvant {

using namespace study;

namespace {

using TValue = std::optional<long double>;

// A touching zero: the extremum's value is this small against the function's values close by.
constexpr long double TouchingZero = 1e-12L;
// How close to its neighbours' midpoint a bracketed root is refined.
constexpr long double RootWidth = 1e-14L;
constexpr std::uintmax_t MaxIterations = 200;
// How far from a touching zero its scale is read, at most.
constexpr long double TouchingScaleDistance = 1e-4L;

// Points not worth telling apart: the same zero or extremum.
bool Close(long double p, long double q) {
    return std::fabs(p - q) <= SamePointDistance * std::max(1.0L, std::fabs(p));
}

struct TRoot {
    long double X = 0;
    long double Width = 0;
};

// A root of f in [lo, hi], where f(lo) and f(hi) have opposite signs; nothing where f has no value
// inside, and then `gap` (when given) gets a point without a value: near a pole the engine has
// none.
std::optional<TRoot> Bracketed(const TStudyFunction& f, long double lo, long double hi,
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
    const long double width = std::max(RootWidth * std::max({1.0L, std::fabs(lo), std::fabs(hi)}),
                                       VariableQuantum(std::max(std::fabs(lo), std::fabs(hi))));
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
        // The engine resolves its variable only to its fifteenth digit.
        return TRoot{l + (h - l) / 2, std::max(h - l, VariableQuantum(l))};
    } catch (const std::exception&) {
        return std::nullopt;
    }
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

struct TSlopeFunction : TStudyFunction {
    const TStudyFunction& F;
    long double H;
    TSlopeFunction(const TStudyFunction& f, long double step) : F(f), H(step) {}
    [[nodiscard]] TValue At(long double x) const override { return CentralSlope(F, x, H); }
};

// The sign change of f's slope (with step h) in [left, right], where it falls at left (dl) and
// rises at right (dr), if f there is no higher than at both ends. Its width counts the rounding
// of the values as the slope feels it and what the variable's digits resolve.
std::optional<TRoot> PolishedMinimum(const TStudyFunction& f, long double left, long double right,
                                     long double h, long double dl, long double dr) {
    const TSlopeFunction slope(f, h);
    const std::optional<TRoot> polished = Bracketed(slope, left, right, dl, dr);
    if (!polished) {
        return std::nullopt;
    }
    const TValue fl = f.At(left);
    const TValue fr = f.At(right);
    const TValue fx = f.At(polished->X);
    if (!fl || !fr || !fx || *fx > std::min(*fl, *fr) + ValueTolerance(*fx)) {
        return std::nullopt;
    }
    const long double magnitude = std::max(std::fabs(*fl), std::fabs(*fr));
    const long double curvature = (dr - dl) / (right - left);
    const long double noise = 1.5L * ValueRounding * magnitude / (h * curvature);
    return TRoot{polished->X, std::max(polished->Width, noise + 3 * VariableQuantum(polished->X))};
}

// The place polished again close by with a slope of a quarter of the step h. Near a kink the
// slope's differences blend both sides and shift the sign change with the step; the shift between
// the two places bounds how far the place may be off. A place that cannot be polished again is
// taken as off by the whole step.
TRoot Sharpened(const TStudyFunction& f, long double lo, long double hi, const TRoot& first,
                long double h) {
    const long double fine = h / 4;
    // Close by first, where a smooth minimum's place hardly moves; then the whole reach of the
    // blended slope.
    const long double close =
        std::max(1e-6L * std::max(1.0L, std::fabs(first.X)), 64 * first.Width);
    for (const long double reach : {std::min(close, 4 * h), 4 * h}) {
        const long double left = std::max(lo, first.X - reach);
        const long double right = std::min(hi, first.X + reach);
        const TValue dl = CentralSlope(f, left, fine);
        const TValue dr = CentralSlope(f, right, fine);
        if (dl && dr && *dl < 0 && *dr > 0) {
            if (const std::optional<TRoot> second =
                    PolishedMinimum(f, left, right, fine, *dl, *dr)) {
                return {second->X, std::max(second->Width, std::fabs(second->X - first.X))};
            }
        }
    }
    return {first.X, std::max(first.Width, h)};
}

// A local minimum of f inside (lo, hi), where the samples saw values above it on both sides:
// Brent's search first, then the slope's sign change polished by TOMS 748, since the values alone
// fix the place only to the square root of their precision. Its width counts the rounding of the
// values as the slope feels it and what the variable's digits resolve.
TRoot Minimum(const TStudyFunction& f, long double lo, long double hi) {
    // Where the slope already falls at the bracket's left end and rises at its right one, its
    // sign change is polished at once; Brent's search is for the rest (a slope without values
    // at an end, a minimum the samples only hint at).
    const long double reach = std::min((hi - lo) / 8, 1e-3L * std::max(1.0L, std::fabs(lo)));
    const TValue sl = CentralSlope(f, lo, reach);
    const TValue sr = CentralSlope(f, hi, reach);
    if (sl && sr && *sl < 0 && *sr > 0) {
        if (const std::optional<TRoot> found = PolishedMinimum(f, lo, hi, reach, *sl, *sr)) {
            return Sharpened(f, lo, hi, *found, reach);
        }
    }
    const auto g = [&](long double x) {
        const TValue v = f.At(x);
        return v ? *v : std::numeric_limits<long double>::infinity();
    };
    std::uintmax_t iterations = MaxIterations;
    const long double coarse =
        boost::math::tools::brent_find_minima(g, lo, hi, 30, iterations).first;
    const long double scale = std::max(1.0L, std::fabs(coarse));
    // Brent's place from the values alone.
    TRoot found{coarse, std::max(3e-8L * scale, 1e-9L * (hi - lo))};
    const long double h = std::min((hi - lo) / 8, 1e-3L * scale);
    const long double span = std::max(1e-6L * scale, 4 * h);
    const long double left = std::max(lo, coarse - span);
    const long double right = std::min(hi, coarse + span);
    const TValue dl = CentralSlope(f, left, h);
    const TValue dr = CentralSlope(f, right, h);
    if (!dl || !dr || !(*dl < 0 && *dr > 0)) {
        return found;
    }
    const std::optional<TRoot> polished = PolishedMinimum(f, left, right, h, *dl, *dr);
    const TValue atCoarse = f.At(coarse);
    if (!polished || !atCoarse) {
        return found;
    }
    const TValue atPolished = f.At(polished->X);
    return atPolished && *atPolished <= *atCoarse + ValueTolerance(*atCoarse)
               ? Sharpened(f, lo, hi, *polished, h)
               : found;
}

// Whether |f| falls steadily from `from` to `edge` (the last point with a value before `point`,
// where it has none, or `point` itself) and, going on as it falls there, reaches zero by `point`
// or a little beyond: the points on the way and the edge each lower. A pole grows, and a jump
// falls, if at all, towards a value that is not zero.
bool FallsTo(const TStudyFunction& f, long double from, long double edge, long double point) {
    TValue last = f.At(from);
    long double lastAt = from;
    long double slope = 0;
    for (const long double share : {0.5L, 0.875L, 0.984375L, 1.0L}) {
        const long double at = from + (edge - from) * share;
        const TValue v = f.At(at);
        if (!last || !v || !(std::fabs(*v) < std::fabs(*last))) {
            return false;
        }
        slope = (std::fabs(*last) - std::fabs(*v)) / std::fabs(at - lastAt);
        last = v;
        lastAt = at;
    }
    // Where the fall, as steep as over the last step, reaches zero.
    const long double reach = std::fabs(*last) / slope;
    return reach <= 2 * std::fabs(point - edge) + VariableQuantum(point) + ValueTolerance(0) / slope;
}

// The zero where the samples at i and j (the next with a value) change sign, refined; a sign
// change through a pole or a jump is a pole.
void SignChange(const TStudyFunction& f, const TScanBlock& s, std::size_t i, std::size_t j,
                TFindings& out) {
    long double gap = std::numeric_limits<long double>::quiet_NaN();
    const std::optional<TRoot> root = Bracketed(f, s.X[i], s.X[j], *s.F[i], *s.F[j], &gap);
    if (!root && std::isnan(gap)) {
        return;
    }
    if (root && ContinuousAt(f, root->X, s.X[j] - s.X[i])) {
        out.Zeros.push_back({root->X, root->Width});
        return;
    }
    // A pole or a jump; or a zero at a point without a value, or right beside one: x/tg(x) has
    // none where tg has its pole, and falls to zero from both sides there. A pole grows.
    const long double trouble = root ? root->X : gap;
    long double left = trouble;
    long double right = trouble;
    if (!f.At(trouble)) {
        left = ValueEdge(f, s.X[i], trouble);
        right = ValueEdge(f, s.X[j], trouble);
    }
    const long double middle = left + (right - left) / 2;
    if (FallsTo(f, s.X[i], left, middle) && FallsTo(f, s.X[j], right, middle)) {
        const long double width = root ? root->Width : VariableQuantum(middle);
        out.Zeros.push_back({middle, (right - left) / 2 + width});
    } else {
        out.Poles.push_back(middle);
    }
}

// Whether the extremum found at x (a minimum of `g`, the function turned so) is one: g is
// continuous there and its slope falls before x and rises after it.
bool VerifiedMinimum(const TStudyFunction& g, long double x, long double width, long double lo,
                     long double hi) {
    if (!ContinuousAt(g, x, hi - lo)) {
        return false;
    }
    const long double room = 0.9L * std::min(x - lo, hi - x);
    const long double d = std::min(std::max(4 * width, 1e-6L * std::max(1.0L, std::fabs(x))), room);
    if (!(d > 0)) {
        return false;
    }
    const TValue before = CentralSlope(g, x - d, d / 4);
    const TValue after = CentralSlope(g, x + d, d / 4);
    return before && after && *before < 0 && *after > 0;
}

// An extremum of the samples, refined. For the extrema: kept when verified. For the zeros (when
// it lies towards zero): two zeros where it dips below zero, one where it touches zero. Either
// way, one that is no extremum because the function is not continuous there is a pole.
void SampleExtremum(const TStudyFunction& f, const TScanBlock& s, const TSampleExtremum& e,
                    TLookFor what, long double a, long double b, TFindings& out) {
    const long double lo = s.X[e.First - 1];
    const long double hi = s.X[e.Last + 1];
    const long double sampled = *s.F[e.First];
    const bool towardsZero = sampled != 0 && (e.Maximum ? sampled < 0 : sampled > 0);
    if (what == TLookFor::Zeros && !towardsZero) {
        return; // away from zero, or a sample already at zero
    }
    const TSignedFunction g(f, e.Maximum ? -1.0L : 1.0L);
    const TRoot x = Minimum(g, lo, hi);
    const TValue gx = g.At(x.X);
    if (!gx) {
        return;
    }
    if (what == TLookFor::Extrema || (what == TLookFor::Splits && !towardsZero)) {
        if (what == TLookFor::Extrema && x.X > a && x.X < b && !Close(x.X, a) && !Close(x.X, b) &&
            VerifiedMinimum(g, x.X, x.Width, lo, hi)) {
            out.Extrema.push_back({x.X, *f.At(x.X), e.Maximum, x.Width});
        } else if (!ContinuousAt(g, x.X, hi - lo)) {
            out.Poles.push_back(x.X);
        }
        return;
    }
    // g is positive at the samples either side: a value below zero brackets a zero on each side.
    const long double glo = *g.At(lo);
    const long double ghi = *g.At(hi);
    if (*gx < 0) {
        for (const auto& [p, q, gp, gq] :
             {std::tuple(lo, x.X, glo, *gx), std::tuple(x.X, hi, *gx, ghi)}) {
            const std::optional<TRoot> root = Bracketed(g, p, q, gp, gq);
            if (root && ContinuousAt(g, root->X, q - p)) {
                out.Zeros.push_back({root->X, root->Width});
            }
        }
        return;
    }
    // A touching zero: zero at the engine's precision of the values close by, and a true minimum.
    const long double d = std::min({x.X - lo, hi - x.X, TouchingScaleDistance});
    const TValue left = g.At(x.X - d);
    const TValue right = g.At(x.X + d);
    if (!left || !right) {
        return;
    }
    const long double scale = std::max(std::fabs(*left), std::fabs(*right));
    if (*gx <= TouchingZero * scale && ContinuousAt(g, x.X, hi - lo)) {
        out.Zeros.push_back({x.X, x.Width});
    }
}

// Whether the samples' extremum towards zero may reach it between the samples: the parabola
// through the extremum's sample and its neighbours comes at least halfway down to zero. A
// summit far from zero needs no closer look for zeros.
bool MayReachZero(const TScanBlock& s, const TSampleExtremum& e) {
    if (e.First != e.Last) {
        return true; // two equal samples: the summit lies between them, unseen
    }
    const std::size_t i = e.First;
    const long double x0 = s.X[i - 1];
    const long double x1 = s.X[i];
    const long double x2 = s.X[i + 1];
    const long double y0 = std::fabs(*s.F[i - 1]);
    const long double y1 = std::fabs(*s.F[i]);
    const long double y2 = std::fabs(*s.F[i + 1]);
    // Divided differences: y = y1 + d1·(x - x1) + d2·(x - x1)·(x - x0) near the summit.
    const long double d01 = (y1 - y0) / (x1 - x0);
    const long double d12 = (y2 - y1) / (x2 - x1);
    const long double d2 = (d12 - d01) / (x2 - x0);
    if (!(d2 > 0)) {
        return true;
    }
    // The parabola's lowest value.
    const long double slope1 = d01 + d2 * (x1 - x0);
    const long double lowest = y1 - slope1 * slope1 / (4 * d2);
    return lowest <= 0.5L * y1;
}

// Whether the samples' extremum may be a pole rather than a smooth summit or a zero the function
// touches: towards zero it may be either; away from zero, its curvature is more than four times
// that beside it (a pole's values grow faster the nearer they are).
bool MayBePole(const TScanBlock& s, const TSampleExtremum& e) {
    const long double sampled = *s.F[e.First];
    if (sampled != 0 && (e.Maximum ? sampled < 0 : sampled > 0)) {
        return MayReachZero(s, e);
    }
    if (e.First < 2 || e.Last + 2 >= s.F.size() || !s.F[e.First - 2] || !s.F[e.Last + 2]) {
        return true;
    }
    const auto bend = [&](std::size_t i, std::size_t j, std::size_t k) {
        return std::fabs(*s.F[i] - 2 * *s.F[j] + *s.F[k]);
    };
    const long double centre = bend(e.First - 1, e.First, e.Last + 1);
    const long double beside =
        std::max(bend(e.First - 2, e.First - 1, e.First), bend(e.Last, e.Last + 1, e.Last + 2));
    return centre > 4 * beside;
}

// Everything a block owns: its sign changes, its samples at zero, its samples' extrema.
enum class TCandidateKind { SignChange, Extremum };
struct TCandidate {
    TCandidateKind Kind;
    std::size_t Index; ///< the sample a sign change starts at, or the extremum's position
    std::size_t End = 0; ///< the sample a sign change ends at
};

// The samples without values a sign change is looked for across.
constexpr std::size_t MaxSkipped = 16;

} // namespace

namespace study {

TFindings Examine(const TStudyFunction& f, const TScanBlock& s, TLookFor what, long double a,
                  long double b, const TStudyLimits& limits, bool& stopped) {
    TFindings found;
    const std::size_t n = s.X.size();
    std::vector<TCandidate> candidates;
    if (what != TLookFor::Extrema) {
        for (std::size_t i = 0; i < n; ++i) {
            if (!s.F[i] || !s.Owns(s.X[i])) {
                continue;
            }
            const long double v = *s.F[i];
            if (v == 0) {
                const bool leftZero = i > 0 && s.F[i - 1] && *s.F[i - 1] == 0;
                const bool rightZero = i + 1 < n && s.F[i + 1] && *s.F[i + 1] == 0;
                // A zero beside another is part of a stretch of zeros, which is no zero.
                if (!leftZero && !rightZero) {
                    found.Zeros.push_back({s.X[i], 0});
                }
                continue;
            }
            // The next sample with a value, across a few without (where a zero may hide at a
            // point the engine gives none, as x/tg(x) where tg has its pole).
            std::size_t j = i + 1;
            while (j < n && j - i <= MaxSkipped && !s.F[j]) {
                ++j;
            }
            if (j < n && s.F[j] && Sign(*s.F[j]) == -Sign(v)) {
                candidates.push_back({TCandidateKind::SignChange, i, j});
            }
        }
    }
    // The samples' extrema where the scan could not resolve the function are its noise: the
    // study says the stretch is unresolved and spends nothing on them.
    std::vector<std::pair<long double, long double>> rough = s.Unresolved;
    std::sort(rough.begin(), rough.end());
    // Whether [lo, hi] meets one of them: they do not overlap, so the last that starts before hi
    // is the one to ask.
    const auto inRough = [&](long double lo, long double hi) {
        const auto after = std::upper_bound(rough.begin(), rough.end(), std::pair(hi, hi));
        return after != rough.begin() && std::prev(after)->second >= lo;
    };
    const std::vector<TSampleExtremum> sampleExtrema = SampleExtrema(s.F);
    for (std::size_t k = 0; k < sampleExtrema.size(); ++k) {
        const TSampleExtremum& e = sampleExtrema[k];
        const bool worth = what == TLookFor::Extrema  ? true
                           : what == TLookFor::Splits ? MayBePole(s, e)
                                                      : MayReachZero(s, e);
        if (s.Owns(s.X[e.First]) && worth && !inRough(s.X[e.First - 1], s.X[e.Last + 1])) {
            candidates.push_back({TCandidateKind::Extremum, k});
        }
    }
    std::vector<TFindings> each(candidates.size());
    std::atomic<bool> halted{false};
    ForEachPart(candidates.size(), 2, [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
            if (halted || limits.Stop()) {
                halted = true;
                return;
            }
            const TCandidate& c = candidates[k];
            if (c.Kind == TCandidateKind::SignChange) {
                SignChange(f, s, c.Index, c.End, each[k]);
            } else {
                SampleExtremum(f, s, sampleExtrema[c.Index], what, a, b, each[k]);
            }
        }
    });
    stopped = halted;
    for (TFindings& one : each) {
        found.Zeros.insert(found.Zeros.end(), one.Zeros.begin(), one.Zeros.end());
        found.Extrema.insert(found.Extrema.end(), one.Extrema.begin(), one.Extrema.end());
        found.Poles.insert(found.Poles.end(), one.Poles.begin(), one.Poles.end());
    }
    return found;
}

} // namespace study

namespace {

template <class T> void SortUnique(std::vector<T>& points) {
    std::sort(points.begin(), points.end(), [](const T& p, const T& q) { return p.X < q.X; });
    std::vector<T> out;
    for (const T& p : points) {
        if (out.empty() || !Close(out.back().X, p.X)) {
            out.push_back(p);
        }
    }
    points = std::move(out);
}

// The study of zeros or extrema block by block, up to the cap.
template <class T>
TStudyGaps Collect(const TStudyFunction& f, long double a, long double b,
                   std::span<const long double> extra, const TStudyLimits& limits, bool extrema,
                   std::vector<T>& points) {
    TStudyGaps gaps;
    const TScanOutcome outcome = ScanBlocks(f, a, b, extra, limits, [&](const TScanBlock& block) {
        bool stopped = false;
        TFindings found =
            Examine(f, block, extrema ? TLookFor::Extrema : TLookFor::Zeros, a, b, limits, stopped);
        if (stopped) {
            gaps.StoppedAt = block.OwnFrom;
            return false;
        }
        std::vector<T>* from = nullptr;
        if constexpr (std::is_same_v<T, TZero>) {
            from = &found.Zeros;
        } else {
            from = &found.Extrema;
        }
        points.insert(points.end(), from->begin(), from->end());
        SortUnique(points);
        if (points.size() > StudyRowCap) {
            points.resize(StudyRowCap);
            gaps.TooMany = true;
            return false;
        }
        return true;
    });
    if (outcome.StoppedAt) {
        gaps.StoppedAt = outcome.StoppedAt;
    }
    gaps.Unresolved = outcome.Unresolved;
    gaps.Cancelled = gaps.StoppedAt && limits.Cancelled();
    if (gaps.TooMany || gaps.StoppedAt) {
        // What lies beyond the stop was not looked at, so it is not unresolved either.
        const long double end = gaps.StoppedAt ? *gaps.StoppedAt : points.back().X;
        if (gaps.Unresolved && *gaps.Unresolved > end) {
            gaps.Unresolved.reset();
        }
    }
    return gaps;
}

} // namespace

TZeros FindZeros(const TStudyFunction& f, long double a, long double b,
                 std::span<const long double> extraSamples, const TStudyLimits& limits) {
    TZeros zeros;
    if (b > a) {
        zeros.Gaps = Collect(f, a, b, extraSamples, limits, false, zeros.Points);
    }
    return zeros;
}

TExtrema FindExtrema(const TStudyFunction& f, long double a, long double b,
                     std::span<const long double> extraSamples, const TStudyLimits& limits) {
    TExtrema extrema;
    if (b > a) {
        extrema.Gaps = Collect(f, a, b, extraSamples, limits, true, extrema.Points);
    }
    return extrema;
}

} // namespace kurvant
