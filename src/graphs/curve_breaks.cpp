#include "graphs/curve_breaks.h"

#include "formula/parallel_parts.h"
#include "graphs/segment_continuity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace {

// A change within this share of the values is their fifteen-digit rounding.
constexpr double ChangeNoise = 1e-12;
constexpr double Largest = std::numeric_limits<double>::max();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint64_t LeastBudget = 512;
// What a segment's test usually takes: a jump or a pole is found within some 25 evaluations, a
// continuous piece settles within some 40.
constexpr std::uint64_t TypicalTest = 40;
constexpr long double LeastGapShare = 2000;
// A program of this many steps is long.
constexpr std::size_t LongProgram = 1000;

} // namespace

std::vector<std::size_t> SuspiciousSegments(std::span<const kurvant::TSample> values,
                                            const std::vector<bool>& joined) {
    const std::size_t n = values.size();
    // In doubles, which are plenty for telling a change that stands out; not-a-number where a
    // value is missing or beyond the double range.
    std::vector<double> v(n);
    for (std::size_t k = 0; k < n; ++k) {
        const bool defined = values[k].Ok && std::fabs(values[k].Value) <= Largest;
        v[k] = defined ? static_cast<double>(values[k].Value) : NaN;
    }
    // The change over segment k + offset; not-a-number where an end is missing.
    const auto change = [&](std::size_t k, std::ptrdiff_t offset) {
        const std::ptrdiff_t i = static_cast<std::ptrdiff_t>(k) + offset;
        const bool inside = i >= 0 && static_cast<std::size_t>(i) + 1 < n;
        return inside ? v[static_cast<std::size_t>(i) + 1] - v[static_cast<std::size_t>(i)] : NaN;
    };
    const auto known = [](double c) { return !std::isnan(c); };
    // (priority, segment): the larger the change, the sooner it is tested.
    std::vector<std::pair<double, std::size_t>> found;
    for (std::size_t k = 0; k + 1 < n && k < joined.size(); ++k) {
        const double d = joined[k] ? change(k, 0) : NaN;
        if (!known(d)) {
            continue;
        }
        const double l1 = change(k, -1);
        const double l2 = change(k, -2);
        const double r1 = change(k, 1);
        const double r2 = change(k, 2);
        // A peak that sharpens towards the segment from both sides, where a smooth extremum
        // flattens: the samples on either side of an even pole, however level they are.
        if (known(l2) && known(r2) && l1 * r1 < 0 && std::fabs(l1) > std::fabs(l2) &&
            std::fabs(r1) > std::fabs(r2)) {
            found.emplace_back(std::max(std::fabs(l1), std::fabs(r1)), k);
            continue;
        }
        const double noise = ChangeNoise * std::max(std::fabs(v[k]), std::fabs(v[k + 1]));
        if (std::fabs(d) <= noise) {
            continue;
        }
        // The change that the neighbours' lead to expect: their mean; at an end of the curve (or
        // of a stretch between gaps) the change next to it, or the trend of the two on that side.
        bool stands = true;
        if (known(l1) && known(r1)) {
            stands = std::fabs(d - (l1 + r1) / 2) > std::max(std::fabs(l1), std::fabs(r1));
        } else if (known(l1) || known(r1)) {
            const double near = known(l1) ? l1 : r1;
            const double far = known(l1) ? l2 : r2;
            const double larger = std::max(std::fabs(near), known(far) ? std::fabs(far) : 0.0);
            stands = std::fabs(d - near) > larger &&
                     (!known(far) || std::fabs(d - (2 * near - far)) > larger);
        }
        if (stands) {
            found.emplace_back(std::fabs(d), k);
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& p, const auto& q) { return p.first > q.first; });
    std::vector<std::size_t> segments;
    segments.reserve(found.size());
    for (const auto& [priority, k] : found) {
        segments.push_back(k);
    }
    return segments;
}

std::uint64_t BreakSearchBudget(std::size_t points) {
    return points < 2 ? 0 : points / 2 + LeastBudget;
}

namespace {

// The smallest gap worth a break: 1/2000 of the span of the values that are drawn, half a pixel
// when the curve fills a view of a thousand. A staircase seen from afar stays one line.
long double LeastGap(std::span<const kurvant::TSample> values, const std::vector<bool>& joined) {
    long double lo = 0;
    long double hi = 0;
    bool any = false;
    for (std::size_t k = 0; k < joined.size() && k + 1 < values.size(); ++k) {
        if (!joined[k] || !values[k].Ok || !values[k + 1].Ok || !std::isfinite(values[k].Value) ||
            !std::isfinite(values[k + 1].Value)) {
            continue;
        }
        for (const long double v : {values[k].Value, values[k + 1].Value}) {
            lo = any ? std::min(lo, v) : v;
            hi = any ? std::max(hi, v) : v;
            any = true;
        }
    }
    return (hi - lo) / LeastGapShare;
}

// One step of each open test among tests[begin, end) that the budget still has room for, their
// probes evaluated together. False when none could take a step.
bool StepTogether(std::vector<TSegmentTest>& tests, std::size_t begin, std::size_t end,
                  const kurvant::TCompiledFormula& formula, const kurvant::TFormulaContext& context,
                  std::uint64_t budget, std::uint64_t& spent) {
    std::vector<long double> probes;
    std::vector<std::size_t> asking; // the tests whose probes are in `probes`, in order
    for (std::size_t i = begin; i < end; ++i) {
        const std::span<const long double> wanted = tests[i].Probes();
        if (!wanted.empty() && spent + probes.size() + wanted.size() <= budget) {
            probes.insert(probes.end(), wanted.begin(), wanted.end());
            asking.push_back(i);
        }
    }
    if (probes.empty()) {
        return false;
    }
    std::vector<kurvant::TSample> out(probes.size());
    // A step has few probes. Run over blocks of points, the program prepares room for each of its
    // steps, which for a long formula costs more than a few points gain: those are evaluated
    // one by one instead, spread over the cores.
    const kurvant::TFormulaProgram* program = formula.Program();
    if (program && program->Steps.size() >= LongProgram) {
        kurvant::ForEachPart(probes.size(), 1, [&](std::size_t first, std::size_t last) {
            for (std::size_t i = first; i < last; ++i) {
                out[i].Ok = formula.Evaluate(std::span<const long double>(&probes[i], 1),
                                             out[i].Value, context.Evaluator) == kurvant::EvalOk;
            }
        });
    } else {
        kurvant::EvaluateLine(formula, probes, out, context.Evaluator);
    }
    spent += probes.size();
    if (context.Batch) {
        context.Batch->Count(probes.size());
    }
    std::vector<std::optional<long double>> taken;
    std::size_t first = 0;
    for (const std::size_t i : asking) {
        const std::size_t count = tests[i].Probes().size();
        taken.clear();
        for (std::size_t j = first; j < first + count; ++j) {
            taken.push_back(out[j].Ok ? std::optional<long double>(out[j].Value) : std::nullopt);
        }
        tests[i].Take(taken);
        first += count;
    }
    return true;
}

} // namespace

std::uint64_t MarkBreaks(const kurvant::TCompiledFormula& formula,
                         std::span<const long double> arguments,
                         std::span<const kurvant::TSample> values, const std::vector<bool>& joined,
                         std::uint64_t budget, const kurvant::TFormulaContext& context,
                         std::vector<bool>& breaks) {
    const std::vector<std::size_t> segments = SuspiciousSegments(values, joined);
    if (segments.empty()) {
        return 0;
    }
    const long double least = LeastGap(values, joined);
    std::vector<TSegmentTest> tests;
    tests.reserve(segments.size());
    for (const std::size_t k : segments) {
        tests.emplace_back(arguments[k], arguments[k + 1], values[k].Value, values[k + 1].Value,
                           least);
    }
    // The tests run in waves, each of as many as the budget left has `TypicalTest` for, side by
    // side. So the segments of larger change are decided first, and when the budget runs out,
    // those of smaller change are left joined, never all of them undecided.
    std::uint64_t spent = 0;
    for (std::size_t begin = 0; begin < tests.size();) {
        const std::uint64_t room = std::max<std::uint64_t>((budget - spent) / TypicalTest, 1);
        const std::size_t end = std::min<std::size_t>(tests.size(), begin + room);
        do {
            if (context.Batch && context.Batch->Cancelled()) {
                return spent;
            }
        } while (StepTogether(tests, begin, end, formula, context, budget, spent));
        if (std::any_of(tests.begin() + static_cast<std::ptrdiff_t>(begin),
                        tests.begin() + static_cast<std::ptrdiff_t>(end),
                        [&](const TSegmentTest& test) {
                            return test.Verdict() == TSegmentTest::TVerdict::Open;
                        })) {
            break; // the budget is spent
        }
        begin = end;
    }
    for (std::size_t i = 0; i < tests.size(); ++i) {
        if (tests[i].Verdict() == TSegmentTest::TVerdict::Broken) {
            if (breaks.size() + 1 < values.size()) {
                breaks.resize(values.size() - 1);
            }
            breaks[segments[i]] = true;
        }
    }
    return spent;
}
