// The integral of a function over [a, b]: split where the scan found zeros, poles and jumps,
// each part by Gauss–Kronrod or tanh-sinh, narrow stretches without values bridged and what the
// samples could not resolve bounded.

#include "analysis/function_study.h"

#include "analysis/study_findings.h"
#include "formula/parallel_parts.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/quadrature/tanh_sinh.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kurvant {

using namespace study;

namespace {

using TValue = std::optional<long double>;

constexpr std::size_t MaxRefinements = 12;
// What Gauss–Kronrod's estimate of its error must reach for a part, a hundredth of what the whole
// integral must.
constexpr long double PartRelativeError = AreaRelativeError / 100;

// Thrown when an integral runs out of time or is cancelled.
struct TIntegralStopped {};

// A stretch without values no wider than this is bridged: the engine gives no value to some
// functions within 1e-5 of 0 (ln(x), 1/x, sin(x)/x).
long double BridgeWidth(long double a, long double b) {
    return std::max(1e-3L * (b - a), 1e-4L);
}

// The share of a stretch without values between `point` and `edge`, where f has values from
// `edge` on, away from `point`. Where |f| grows steadily towards the point (ln, 1/sqrt), f is taken
// as c·d^p in the distance d from `point`, p read from the values at distances w, 2w, 4w and 8w
// (w = |edge - point|); otherwise f is taken as bounded by its values there. Either way the
// error counts as large as the share.
struct TBridge {
    long double Value = 0;
    long double Error = 0;
};

TBridge Bridge(const TStudyFunction& f, long double point, long double edge) {
    const long double w = std::fabs(edge - point);
    const long double outward = edge > point ? 1 : -1;
    std::array<long double, 4> v{};
    for (std::size_t k = 0; k < v.size(); ++k) {
        const TValue value = f.At(edge + outward * w * static_cast<long double>((1 << k) - 1));
        if (!value) {
            return {0, w * std::fabs(v[0])};
        }
        v[k] = *value;
    }
    bool grows = v[0] != 0;
    for (std::size_t k = 1; k < v.size() && grows; ++k) {
        grows = Sign(v[k]) == Sign(v[0]) && std::fabs(v[k]) < std::fabs(v[k - 1]);
    }
    if (grows) {
        // |f(2d) / f(d)| = 2^p, read over the three halvings
        const long double p = std::clamp(std::log2(std::fabs(v[3] / v[0])) / 3, -0.95L, 0.0L);
        const long double value = v[0] * w / (p + 1);
        return {value, std::fabs(value)};
    }
    long double largest = 0;
    for (long double x : v) {
        largest = std::max(largest, std::fabs(x));
    }
    return {v[0] * w, largest * w};
}

struct TPart {
    bool Finite = false;    ///< a finite value was reached
    bool Undefined = false; ///< the function had no value at some point of the part
    long double Value = 0;
    long double Error = 0;
};

// The error a part's integral cannot go below: its values are rounded to fifteen digits, and so
// is the variable, which moves them by the slope times its last digit. For a hump of area l1 over
// [lo, hi], the values are about l1 / width and the slope about 4·l1 / width².
long double NoiseFloor(long double lo, long double hi, long double l1) {
    const long double width = hi - lo;
    const long double height = l1 / width;
    const long double quantum = VariableQuantum(std::max(std::fabs(lo), std::fabs(hi)));
    return 2 * width * (ValueRounding * height + quantum * 4 * height / width);
}

// One part of the integral between two neighbouring splitting points. Tanh-sinh copes with the
// integrable singularities a part may have at its ends (ln at 0, 1/sqrt) and never evaluates the
// ends themselves.
TPart IntegratePart(boost::math::quadrature::tanh_sinh<long double>& rule, const TStudyFunction& f,
                    long double lo, long double hi, const TStudyLimits& limits) {
    TPart part;
    std::uint32_t calls = 0;
    // Tanh-sinh hands over the distance to the nearer end as well, exact where the point itself
    // would round onto the end.
    const long double middle = lo + (hi - lo) / 2;
    const auto g = [&](long double x, long double distance) {
        if ((++calls & 1023) == 0 && limits.Stop()) {
            throw TIntegralStopped{};
        }
        const long double at = x < middle ? lo + std::fabs(distance) : hi - std::fabs(distance);
        const TValue v = f.At(at);
        if (!v) {
            part.Undefined = true;
            return std::numeric_limits<long double>::quiet_NaN();
        }
        return *v;
    };
    try {
        long double error = 0;
        long double l1 = 0;
        // Asked no more than its values' rounding allows, which the first estimate of the
        // magnitude shows.
        const long double rough = std::fabs(g(middle, middle - lo)) * (hi - lo);
        const long double tolerance =
            std::clamp(NoiseFloor(lo, hi, rough) / std::max(rough, 1e-300L), 1e-13L, 1e-6L);
        part.Value = rule.integrate(g, lo, hi, tolerance, &error, &l1);
        part.Error = error;
        part.Finite = std::isfinite(part.Value) && std::isfinite(error) && !part.Undefined;
    } catch (const TIntegralStopped&) {
        throw;
    } catch (const std::exception&) {
        part.Finite = false;
    }
    return part;
}

// A smooth part, as most are between two zeros, settles with the 21 points of Gauss–Kronrod
// (`Finite`); one with a singular end or a steep stretch does not, and goes to tanh-sinh. One
// with points without a value among them (`Undefined`) goes to a bounded estimate.
TPart SmoothPart(const TStudyFunction& f, long double lo, long double hi) {
    TPart part;
    const auto g = [&](long double x) {
        const TValue v = f.At(x);
        part.Undefined = part.Undefined || !v;
        return v ? *v : 0.0L;
    };
    long double error = 0;
    long double l1 = 0;
    const long double value = boost::math::quadrature::gauss_kronrod<long double, 21>::integrate(
        g, lo, hi, 0, 0, &error, &l1);
    part.Finite = !part.Undefined && std::isfinite(value) &&
                  error <= std::max(PartRelativeError * l1, NoiseFloor(lo, hi, l1));
    part.Value = value;
    part.Error = error;
    return part;
}

// A bounded estimate where tanh-sinh finds no finite value, or where the samples could not
// resolve the function: Gauss–Legendre on `pieces` equal pieces, and as its error the part's
// width times the largest value it met.
TPart EstimatePart(const TStudyFunction& f, long double lo, long double hi, int pieces) {
    const int Pieces = pieces;
    static constexpr long double Nodes[] = {0, 0.538469310105683091036L, 0.906179845938663992798L};
    static constexpr long double Weights[] = {0.568888888888888888889L, 0.478628670499366468041L,
                                              0.236926885056189087514L};
    TPart part;
    long double largest = 0;
    long double known = 0;
    const long double step = (hi - lo) / Pieces;
    for (int k = 0; k < Pieces; ++k) {
        const long double centre = lo + step * (k + 0.5L);
        for (int j = 0; j < 3; ++j) {
            for (const int side : {-1, 1}) {
                if (j == 0 && side == 1) {
                    continue;
                }
                const TValue v = f.At(centre + side * Nodes[j] * step / 2);
                if (!v) {
                    continue;
                }
                known += Weights[j] * step / 2;
                part.Value += Weights[j] * *v * step / 2;
                largest = std::max(largest, std::fabs(*v));
            }
        }
    }
    // Points without a value among points with values are taken as bounded by those: the
    // stretch is one the samples could not resolve anyway.
    if (!(known > 0)) {
        part.Undefined = true;
        return part;
    }
    part.Error = (hi - lo) * largest;
    part.Finite = std::isfinite(part.Value) && std::isfinite(part.Error);
    return part;
}

// Subintervals merged into stretches where they touch or nearly do (no further apart than the
// wider is wide).
std::vector<std::pair<long double, long double>>
Stretches(std::vector<std::pair<long double, long double>> pieces) {
    std::sort(pieces.begin(), pieces.end());
    std::vector<std::pair<long double, long double>> merged;
    for (const auto& [from, to] : pieces) {
        if (!merged.empty()) {
            auto& last = merged.back();
            if (from <= last.second + std::max(last.second - last.first, to - from)) {
                last.second = std::max(last.second, to);
                continue;
            }
        }
        merged.emplace_back(from, to);
    }
    return merged;
}

// Walks the samples of the blocks in order and finds the stretches without values.
class TUndefinedRuns {
public:
    TUndefinedRuns(const TStudyFunction& f, long double a, long double b) : F(f), A(a), B(b) {}

    // False once a stretch too wide to bridge is found.
    void Take(const TScanBlock& block) {
        for (std::size_t i = 0; i < block.X.size(); ++i) {
            if (!block.Owns(block.X[i])) {
                continue;
            }
            const long double x = block.X[i];
            if (!block.F[i]) {
                if (!RunFirst) {
                    RunFirst = x;
                }
                RunLast = x;
                continue;
            }
            if (RunFirst) {
                Close(x);
            }
            LastDefined = x;
        }
    }

    void Finish() {
        if (RunFirst) {
            Close(std::nullopt);
        }
    }

    bool Undefined = false;                                ///< a stretch too wide to bridge
    bool Divergent = false;                                ///< a stretch around a pole
    std::vector<std::pair<long double, long double>> Gaps; ///< bridged: the edges of the values
    std::vector<long double> Points;                       ///< the point each gap bridges to
    TBridge Bridged;

private:
    void Close(std::optional<long double> nextDefined) {
        const long double from = LastDefined ? ValueEdge(F, *LastDefined, *RunFirst) : A;
        const long double to = nextDefined ? ValueEdge(F, *nextDefined, *RunLast) : B;
        RunFirst.reset();
        if (!LastDefined && !nextDefined) {
            Undefined = true;
            return;
        }
        // An end, or the middle of the stretch, is where the function has its trouble.
        const long double point = !LastDefined ? A : !nextDefined ? B : from + (to - from) / 2;
        // Read from a few halvings outside the stretch, where the values are.
        const long double reach = std::min((B - A) / 4, 16 * (to - from));
        if ((LastDefined && PoleAt(F, point, -1, reach)) ||
            (nextDefined && PoleAt(F, point, 1, reach))) {
            Divergent = true;
            return;
        }
        if (to - from > BridgeWidth(A, B)) {
            Undefined = true;
            return;
        }
        Gaps.emplace_back(from, to);
        Points.push_back(point);
        for (const auto& [edge, present] :
             {std::pair(from, LastDefined.has_value()), std::pair(to, nextDefined.has_value())}) {
            if (present) {
                const TBridge piece = Bridge(F, point, edge);
                Bridged.Value += piece.Value;
                Bridged.Error += piece.Error;
            }
        }
    }

    const TStudyFunction& F;
    long double A;
    long double B;
    std::optional<long double> LastDefined;
    std::optional<long double> RunFirst;
    std::optional<long double> RunLast;
};

} // namespace

TArea Integrate(const TStudyFunction& f, long double a, long double b,
                std::span<const long double> extraSamples, const TStudyLimits& limits) {
    TArea area;
    if (!(b > a)) {
        return area;
    }
    const auto stopped = [&] {
        area.Outcome = TAreaOutcome::Stopped;
        area.Cancelled = limits.Cancelled();
        return area;
    };
    TUndefinedRuns runs(f, a, b);
    std::vector<long double> splits{a, b};
    std::vector<std::pair<long double, long double>> unresolved;
    std::vector<long double> poles;
    bool halted = false;
    const TScanOutcome outcome =
        ScanBlocks(f, a, b, extraSamples, limits, [&](const TScanBlock& block) {
            runs.Take(block);
            if (runs.Undefined || runs.Divergent) {
                return false;
            }
            const TFindings found = Examine(f, block, TLookFor::Splits, a, b, limits, halted);
            for (const TZero& z : found.Zeros) {
                splits.push_back(z.X);
            }
            poles.insert(poles.end(), found.Poles.begin(), found.Poles.end());
            splits.insert(splits.end(), block.Jumps.begin(), block.Jumps.end());
            unresolved.insert(unresolved.end(), block.Unresolved.begin(), block.Unresolved.end());
            return !halted;
        });
    if (halted || outcome.StoppedAt) {
        return stopped();
    }
    if (!runs.Undefined && !runs.Divergent) {
        runs.Finish();
    }
    if (runs.Divergent) {
        area.Outcome = TAreaOutcome::Divergent;
        return area;
    }
    if (runs.Undefined) {
        area.Outcome = TAreaOutcome::Undefined;
        return area;
    }
    // A pole where the function has values right up to it (tg at pi/2) is a split; the integral
    // does not survive it when it grows fast enough on either side.
    const long double reach = (b - a) / 40;
    for (long double p : poles) {
        if (PoleAt(f, p, -1, reach) || PoleAt(f, p, 1, reach)) {
            area.Outcome = TAreaOutcome::Divergent;
            return area;
        }
    }
    splits.insert(splits.end(), poles.begin(), poles.end());
    // The gaps' edges bound the parts; nothing inside a gap is integrated.
    for (const auto& [from, to] : runs.Gaps) {
        splits.push_back(from);
        splits.push_back(to);
    }
    // Where the samples could not resolve the function, the zeros found are no help: each such
    // stretch is one part, estimated with a bound.
    const std::vector<std::pair<long double, long double>> rough = Stretches(unresolved);
    for (const auto& [from, to] : rough) {
        std::erase_if(splits, [&](long double x) { return x > from && x < to; });
        splits.push_back(from);
        splits.push_back(to);
    }
    std::sort(splits.begin(), splits.end());
    splits.erase(std::unique(splits.begin(), splits.end()), splits.end());
    const auto inRough = [&](long double lo, long double hi) {
        return std::any_of(rough.begin(), rough.end(), [&](const auto& stretch) {
            return lo >= stretch.first && hi <= stretch.second;
        });
    };
    const auto inGap = [&](long double lo, long double hi) {
        return std::any_of(runs.Gaps.begin(), runs.Gaps.end(),
                           [&](const auto& gap) { return lo >= gap.first && hi <= gap.second; });
    };
    // The parts between neighbouring splits, less the slivers a zero leaves beside the end it
    // rounds next to (nothing but noise) and the gaps.
    std::vector<std::pair<long double, long double>> parts;
    for (std::size_t k = 0; k + 1 < splits.size(); ++k) {
        const long double lo = splits[k];
        const long double hi = splits[k + 1];
        if (hi - lo > 1e-12L * std::max({1.0L, std::fabs(lo), std::fabs(hi)}) && !inGap(lo, hi)) {
            parts.emplace_back(lo, hi);
        }
    }
    // Gauss–Kronrod first, spread over the cores: most parts are smooth.
    std::vector<TPart> smooth(parts.size());
    std::atomic<bool> late{false};
    ForEachPart(parts.size(), 4, [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end && !late; ++k) {
            if (limits.Stop()) {
                late = true;
                return;
            }
            if (!inRough(parts[k].first, parts[k].second)) {
                smooth[k] = SmoothPart(f, parts[k].first, parts[k].second);
            }
        }
    });
    if (late) {
        return stopped();
    }
    // A part narrower than a thousandth of the interval (between dense zeros) is bounded with
    // few points: its error is its width times its largest value whatever their number.
    const auto estimatePieces = [&](long double lo, long double hi) {
        return hi - lo > 1e-3L * (b - a) ? 32 : 4;
    };
    boost::math::quadrature::tanh_sinh<long double> rule(MaxRefinements, 1e-250L);
    area.Integral = runs.Bridged.Value;
    area.Absolute = std::fabs(runs.Bridged.Value);
    area.Error = runs.Bridged.Error;
    try {
        for (std::size_t k = 0; k < parts.size(); ++k) {
            const auto [lo, hi] = parts[k];
            if (limits.Stop()) {
                throw TIntegralStopped{};
            }
            TPart part = smooth[k].Finite ? smooth[k]
                         : smooth[k].Undefined || inRough(lo, hi)
                             ? EstimatePart(f, lo, hi, estimatePieces(lo, hi))
                             : IntegratePart(rule, f, lo, hi, limits);
            // Points without a value that the scan did not see as a stretch (1/sec(csc(x)) has
            // them ever closer towards the poles of csc) are taken as bounded by the values
            // around them, and the part's error says how much that may cost.
            if (!part.Finite || part.Undefined) {
                part = EstimatePart(f, lo, hi, estimatePieces(lo, hi));
                if (!part.Finite) {
                    area.Outcome =
                        part.Undefined ? TAreaOutcome::Undefined : TAreaOutcome::Inaccurate;
                    return area;
                }
            }
            area.Integral += part.Value;
            area.Absolute += std::fabs(part.Value);
            area.Error += part.Error;
        }
    } catch (const TIntegralStopped&) {
        return stopped();
    }
    if (!(area.Error <= AreaRelativeError * std::max(area.Absolute, 1e-300L))) {
        area.Outcome = TAreaOutcome::Inaccurate;
    }
    return area;
}

} // namespace kurvant
