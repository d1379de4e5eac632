#include "graphs/segment_continuity.h"

#include <algorithm>
#include <cmath>

namespace {

// The engine writes every value with fifteen significant digits; a variation below this share
// of the values is their rounding, not a change.
constexpr long double ValueNoise = 1e-12L;
// A variation that has fallen to this share of the largest has settled.
constexpr long double SettledShare = 1.0L / 256;
// From this many halvings on, a variation that has not halved over the last `StillSpan` is a
// jump or a pole: a continuous piece would have to change that much within 1/4096 of the segment
// and shrink its change more slowly than a cusp as steep as x^(1/6).
constexpr int JumpLevel = 12;
constexpr int StillSpan = 6;

bool StrictlyBetween(long double p, long double q, long double r) {
    return (p < q && q < r) || (p > q && q > r);
}

long double Variation(long double left, long double centre, long double right) {
    return std::fabs(centre - left) + std::fabs(right - centre);
}

// The inner point (1 to 3) on which each walk centres the window of five points.
std::size_t ByChange(const std::array<long double, 5>& f) {
    // On a tie the centre stays where it was.
    std::size_t centre = 2;
    for (const std::size_t c : {std::size_t{1}, std::size_t{3}}) {
        if (Variation(f[c - 1], f[c], f[c + 1]) >
            Variation(f[centre - 1], f[centre], f[centre + 1])) {
            centre = c;
        }
    }
    return centre;
}

std::size_t ByExtreme(const std::array<long double, 5>& f) {
    std::array<long double, 5> sorted = f;
    std::nth_element(sorted.begin(), sorted.begin() + 2, sorted.end());
    const long double median = sorted[2];
    std::size_t extreme = 2;
    for (std::size_t i = 0; i < 5; ++i) {
        if (std::fabs(f[i] - median) > std::fabs(f[extreme] - median)) {
            extreme = i;
        }
    }
    return std::clamp<std::size_t>(extreme, 1, 3);
}

} // namespace

TSegmentTest::TSegmentTest(long double a, long double b, long double fa, long double fb,
                           long double least)
    : Least(least) {
    X = {a, a + (b - a) / 2, b};
    F = {fa, 0, fb};
    if (!StrictlyBetween(a, X[1], b)) {
        // No room between the samples: a change between them cannot be looked into.
        State = std::fabs(fb - fa) <= least ? TVerdict::Continuous : TVerdict::Broken;
        return;
    }
    Next[0] = X[1];
    NextCount = 1;
}

void TSegmentTest::Decide(TVerdict verdict) {
    NextCount = 0;
    if (verdict == TVerdict::Continuous && Fork) {
        // The walk by extreme takes over where it first chose otherwise; up to there it would
        // have gone the same way.
        const TFork fork = *Fork;
        Fork.reset();
        Extreme = true;
        Level = fork.Level;
        Largest = fork.Largest;
        Centre(fork.X, fork.F, ByExtreme(fork.F));
        return;
    }
    State = verdict;
}

void TSegmentTest::Centre(const std::array<long double, 5>& x, const std::array<long double, 5>& f,
                          std::size_t centre) {
    X = {x[centre - 1], x[centre], x[centre + 1]};
    F = {f[centre - 1], f[centre], f[centre + 1]};
    Largest = std::max(Largest, Variation(F[0], F[1], F[2]));
    ++Level;
    Judge();
}

void TSegmentTest::Take(std::span<const std::optional<long double>> values) {
    if (State != TVerdict::Open || values.size() != NextCount) {
        return;
    }
    for (const std::optional<long double>& v : values) {
        if (!v || !std::isfinite(*v)) {
            State = TVerdict::Broken;
            NextCount = 0;
            return;
        }
    }
    if (Level < 0) {
        F[1] = *values[0];
        Largest = Variation(F[0], F[1], F[2]);
        Level = 0;
        Judge();
        return;
    }
    const std::array<long double, 5> x = {X[0], Next[0], X[1], Next[1], X[2]};
    const std::array<long double, 5> f = {F[0], *values[0], F[1], *values[1], F[2]};
    if (Extreme) {
        Centre(x, f, ByExtreme(f));
        return;
    }
    const std::size_t centre = ByChange(f);
    if (!Fork && ByExtreme(f) != centre) {
        Fork = TFork{x, f, Largest, Level};
    }
    Centre(x, f, centre);
}

void TSegmentTest::Judge() {
    const long double variation = Variation(F[0], F[1], F[2]);
    const long double noise =
        ValueNoise * std::max({std::fabs(F[0]), std::fabs(F[1]), std::fabs(F[2])});
    if (variation <= std::max({Largest * SettledShare, noise, Least})) {
        Decide(TVerdict::Continuous);
        return;
    }
    Variations[static_cast<std::size_t>(Level)] = variation;
    const bool still = Level >= JumpLevel &&
                       variation >= Variations[static_cast<std::size_t>(Level - StillSpan)] / 2;
    if (still || Level >= MaxLevel) {
        Decide(TVerdict::Broken);
        return;
    }
    Next = {X[0] + (X[1] - X[0]) / 2, X[1] + (X[2] - X[1]) / 2};
    if (!StrictlyBetween(X[0], Next[0], X[1]) || !StrictlyBetween(X[1], Next[1], X[2])) {
        // The change sits between two neighbouring numbers: it never settled.
        Decide(TVerdict::Broken);
        return;
    }
    NextCount = 2;
}

bool ContinuousBetween(const TPointFunction& f, long double a, long double b, long double fa,
                       long double fb, long double least) {
    TSegmentTest test(a, b, fa, fb, least);
    std::array<std::optional<long double>, 2> values;
    while (test.Verdict() == TSegmentTest::TVerdict::Open) {
        const std::span<const long double> probes = test.Probes();
        for (std::size_t i = 0; i < probes.size(); ++i) {
            values[i] = f(probes[i]);
        }
        test.Take(std::span<const std::optional<long double>>(values).first(probes.size()));
    }
    return test.Verdict() == TSegmentTest::TVerdict::Continuous;
}
