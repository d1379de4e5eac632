#include "analysis/adaptive_scan.h"

#include <algorithm>
#include <cmath>

namespace kurvant {

namespace {

using TValue = std::optional<long double>;

// The grid's density; every subinterval is then tried at its middle, which doubles it.
constexpr long double ScanDensity = 25;
constexpr long double MinScanIntervals = 5e3L;
constexpr long double MaxScanIntervals = 1e5L;
// Subintervals of the grid per block, and the samples either side that a block shares with its
// neighbours.
constexpr std::size_t BlockIntervals = 2000;
constexpr std::size_t BlockMargin = 3;
// A block grows to at most this many times its grid's samples; beyond, the rest is unresolved.
constexpr std::size_t MaxGrowth = 64;
// A step this many times the larger of its neighbours is a jump to look at more closely.
constexpr long double JumpRatio = 8;
// Samples' extrema fewer subintervals apart than this are too close: the zero or extremum between
// them could not be bracketed alone.
constexpr std::size_t ExtremaApart = 3;

// No subinterval is split below this: a part of 10^9 of the interval, and well above what the
// variable's digits resolve.
long double Floor(long double a, long double b, long double x) {
    return std::max(1e-9L * (b - a), 64 * VariableQuantum(x));
}

struct TMarks {
    std::vector<char> Split;     ///< per subinterval
    std::vector<char> Oscillate; ///< per subinterval: split for extrema too close together
};

TMarks Marks(const std::vector<TValue>& f) {
    const std::size_t m = f.size() - 1;
    TMarks marks{std::vector<char>(m, 0), std::vector<char>(m, 0)};
    for (std::size_t i = 0; i < m; ++i) {
        if (!f[i] || !f[i + 1]) {
            continue;
        }
        const long double d = std::fabs(*f[i + 1] - *f[i]);
        if (SameValue(*f[i], *f[i + 1])) {
            continue;
        }
        const bool left = i > 0 && f[i - 1];
        const bool right = i + 2 <= m && f[i + 2];
        if (!left && !right) {
            continue;
        }
        const long double dl = left ? std::fabs(*f[i] - *f[i - 1]) : 0;
        const long double dr = right ? std::fabs(*f[i + 2] - *f[i + 1]) : 0;
        if (d > JumpRatio * std::max(dl, dr)) {
            marks.Split[i] = 1;
        }
    }
    const std::vector<char> jumps = marks.Split;
    const std::vector<TSampleExtremum> extrema = SampleExtrema(f);
    for (std::size_t k = 1; k < extrema.size(); ++k) {
        const TSampleExtremum& e1 = extrema[k - 1];
        const TSampleExtremum& e2 = extrema[k];
        if (e2.First - e1.Last >= ExtremaApart) {
            continue;
        }
        const std::size_t from = e1.First > 0 ? e1.First - 1 : 0;
        const std::size_t to = std::min(e2.Last + 1, m);
        // Either side of a pole or a jump the samples turn back: that is the jump, which its own
        // mark refines, not an oscillation.
        if (std::any_of(jumps.begin() + static_cast<std::ptrdiff_t>(from),
                        jumps.begin() + static_cast<std::ptrdiff_t>(to),
                        [](char c) { return c != 0; })) {
            continue;
        }
        for (std::size_t i = from; i < to; ++i) {
            marks.Split[i] = 1;
            marks.Oscillate[i] = 1;
        }
    }
    return marks;
}

// Where a subinterval is split: at the golden section, 0.381966... of its width.
constexpr long double SplitAt = 0.381966011250105151795L;

// Whether the value `tried` at t inside [i, i + 1] says the samples there missed something: the
// cubic through the samples i - 1 ... i + 2 (those of them with values) does not foresee it to a
// fifth of their spread, or it lies beyond both ends' values by more than the steps beside them.
// A hole where both ends have values says so too.
bool Surprising(const std::vector<long double>& x, const std::vector<TValue>& f, std::size_t i,
                long double t, const TValue& tried) {
    if (!f[i] || !f[i + 1]) {
        return false;
    }
    if (!tried) {
        return true;
    }
    std::size_t used[4];
    std::size_t count = 0;
    for (std::size_t k = i > 0 ? i - 1 : 0; k <= i + 2 && k < f.size(); ++k) {
        if (f[k]) {
            used[count++] = k;
        }
    }
    long double foreseen = 0;
    long double low = *tried;
    long double high = *tried;
    for (std::size_t m = 0; m < count; ++m) {
        long double weight = 1;
        for (std::size_t n = 0; n < count; ++n) {
            if (n != m) {
                weight *= (t - x[used[n]]) / (x[used[m]] - x[used[n]]);
            }
        }
        const long double v = *f[used[m]];
        foreseen += weight * v;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    long double spread = 0;
    long double step = 0;
    for (std::size_t m = 0; m < count; ++m) {
        spread = std::max(spread, std::fabs(*f[used[m]] - foreseen));
        if (m > 0 && used[m] == used[m - 1] + 1) {
            step = std::max(step, std::fabs(*f[used[m]] - *f[used[m - 1]]));
        }
    }
    const long double noise = 1e-13L * std::max(std::fabs(low), std::fabs(high));
    const long double lo = std::min(*f[i], *f[i + 1]);
    const long double hi = std::max(*f[i], *f[i + 1]);
    const long double beyond = std::max(lo - *tried, *tried - hi);
    return beyond > step + noise || std::fabs(*tried - foreseen) > 0.2L * (high - low) + noise;
}

// Refines the block's samples; false when the limits stopped it. `unresolved` gets the first
// place the block owns that stays unresolved.
//
// Every subinterval is tried once inside: samples that alias a fast oscillation into a
// smooth-looking wave (sin(1/x) near 0) are caught there, since the new value then lies far off.
// A subinterval that surprised is tried again in its parts; the others are split only where the
// samples show extrema too close together or a jump. The point tried divides the subinterval in
// the golden ratio rather than in halves: an oscillation that aliases into the same wave on a grid
// and on the grid halved does not on a grid with points at that ratio.
bool Refine(const TStudyFunction& f, long double a, long double b, TScanBlock& block,
            std::size_t most, const TStudyLimits& limits, std::optional<long double>& unresolved) {
    const auto note = [&](std::size_t i) {
        const long double x = block.X[i];
        if (!block.Owns(x)) {
            return;
        }
        if (!unresolved || x < *unresolved) {
            unresolved = x;
        }
        block.Unresolved.emplace_back(x, block.X[i + 1]);
    };
    // Per subinterval: whether its middle has been tried (or need not be).
    std::vector<char> tried(block.X.size() - 1, 0);
    std::vector<long double> middles;
    std::vector<std::size_t> where;
    std::vector<TValue> values;
    for (;;) {
        const TMarks marks = Marks(block.F);
        middles.clear();
        where.clear();
        for (std::size_t i = 0; i < marks.Split.size(); ++i) {
            const long double lo = block.X[i];
            const long double hi = block.X[i + 1];
            // Neighbours differ in width by a factor of three at most, so that where the function
            // needed fine samples, those beside it are not so coarse that they alias.
            const bool graded = (i > 0 && hi - lo > 3 * (lo - block.X[i - 1])) ||
                                (i + 2 < block.X.size() && hi - lo > 3 * (block.X[i + 2] - hi));
            if (!marks.Split[i] && tried[i] && !graded) {
                continue;
            }
            if (hi - lo <= Floor(a, b, lo)) {
                if (marks.Oscillate[i] || !tried[i]) {
                    if (marks.Oscillate[i]) {
                        note(i);
                    }
                    tried[i] = 1;
                }
                continue;
            }
            middles.push_back(lo + (hi - lo) * SplitAt);
            where.push_back(i);
        }
        if (middles.empty()) {
            return true;
        }
        if (block.X.size() + middles.size() > most) {
            // Too much to resolve here: what still wants it is unresolved.
            for (std::size_t k = 0; k < where.size(); ++k) {
                if (marks.Oscillate[where[k]] || !tried[where[k]]) {
                    note(where[k]);
                }
            }
            return true;
        }
        if (limits.Stop()) {
            return false;
        }
        f.AtMany(middles, values);
        std::vector<long double> x;
        std::vector<TValue> fx;
        std::vector<char> t;
        x.reserve(block.X.size() + middles.size());
        fx.reserve(x.capacity());
        t.reserve(x.capacity());
        std::size_t k = 0;
        for (std::size_t i = 0; i < block.X.size(); ++i) {
            x.push_back(block.X[i]);
            fx.push_back(block.F[i]);
            if (i + 1 == block.X.size()) {
                break;
            }
            if (k < where.size() && where[k] == i) {
                // The halves need no further try unless the middle surprised.
                const char settled = Surprising(block.X, block.F, i, middles[k], values[k]) ? 0 : 1;
                x.push_back(middles[k]);
                fx.push_back(values[k]);
                t.push_back(settled);
                t.push_back(settled);
                ++k;
            } else {
                t.push_back(tried[i]);
            }
        }
        block.X = std::move(x);
        block.F = std::move(fx);
        tried = std::move(t);
    }
}

} // namespace

std::size_t ScanIntervals(long double a, long double b) {
    const long double wanted = std::ceil((b - a) * ScanDensity);
    return static_cast<std::size_t>(std::clamp(wanted, MinScanIntervals, MaxScanIntervals));
}

std::vector<TSampleExtremum> SampleExtrema(std::span<const TValue> f) {
    std::vector<TSampleExtremum> found;
    const std::size_t n = f.size();
    std::size_t i = 1;
    while (i + 1 < n) {
        if (!f[i - 1] || !f[i]) {
            ++i;
            continue;
        }
        // A summit between two samples gives them equal values: a run of at most two.
        std::size_t last = i;
        if (last + 1 < n && f[last + 1] && SameValue(*f[last + 1], *f[i])) {
            ++last;
        }
        if (last + 1 >= n || !f[last + 1]) {
            i = last + 1;
            continue;
        }
        const long double before = *f[i - 1];
        const long double here = *f[i];
        const long double after = *f[last + 1];
        const bool higher =
            here > before && here > after && !SameValue(here, before) && !SameValue(here, after);
        const bool lower =
            here < before && here < after && !SameValue(here, before) && !SameValue(here, after);
        const bool flat = last + 2 < n && f[last + 2] && SameValue(*f[last + 2], here);
        if ((higher || lower) && !flat) {
            found.push_back({i, last, higher});
        }
        i = last + 1;
    }
    return found;
}

TScanOutcome ScanBlocks(const TStudyFunction& f, long double a, long double b,
                        std::span<const long double> extra, const TStudyLimits& limits,
                        const std::function<bool(const TScanBlock&)>& take) {
    TScanOutcome outcome;
    const std::size_t n = ScanIntervals(a, b);
    // (b - a)·i / n rather than a running sum: 0 and the decimal ticks are hit exactly.
    const auto grid = [&](std::size_t i) {
        return i == n ? b : a + (b - a) * static_cast<long double>(i) / static_cast<long double>(n);
    };
    std::vector<long double> sorted(extra.begin(), extra.end());
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t start = 0; start < n; start += BlockIntervals) {
        const std::size_t end = std::min(n, start + BlockIntervals);
        TScanBlock block;
        block.OwnFrom = grid(start);
        block.OwnTo = grid(end);
        block.Last = end == n;
        if (limits.Stop()) {
            outcome.StoppedAt = block.OwnFrom;
            return outcome;
        }
        const std::size_t lo = start >= BlockMargin ? start - BlockMargin : 0;
        const std::size_t hi = std::min(n, end + BlockMargin);
        for (std::size_t i = lo; i <= hi; ++i) {
            block.X.push_back(grid(i));
        }
        const long double from = block.X.front();
        const long double to = block.X.back();
        for (auto it = std::upper_bound(sorted.begin(), sorted.end(), from);
             it != sorted.end() && *it < to; ++it) {
            block.X.push_back(*it);
        }
        std::sort(block.X.begin(), block.X.end());
        block.X.erase(std::unique(block.X.begin(), block.X.end()), block.X.end());
        f.AtMany(block.X, block.F);
        if (!Refine(f, a, b, block, MaxGrowth * block.X.size(), limits, outcome.Unresolved)) {
            outcome.StoppedAt = block.OwnFrom;
            return outcome;
        }
        const TMarks marks = Marks(block.F);
        for (std::size_t i = 0; i < marks.Split.size(); ++i) {
            if (marks.Split[i] && !marks.Oscillate[i] && block.Owns(block.X[i]) &&
                block.X[i + 1] - block.X[i] <= 2 * Floor(a, b, block.X[i])) {
                block.Jumps.push_back(block.X[i] + (block.X[i + 1] - block.X[i]) / 2);
            }
        }
        if (limits.Control != nullptr) {
            limits.Control->Count(end - start);
        }
        if (!take(block)) {
            return outcome;
        }
    }
    return outcome;
}

} // namespace kurvant
