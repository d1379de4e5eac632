#pragma once
// What the studies and the integral share: the zeros, extrema and poles refined from a block of
// the scan. Inside the analysis library only.

#include "analysis/adaptive_scan.h"
#include "analysis/function_study.h"

#include <vector>

namespace kurvant::study {

/// The rounding of a value the engine gives: half a unit of its fifteenth digit, and a little.
inline constexpr long double ValueRounding = 1e-15L;

inline int Sign(long double v) {
    return (v > 0) - (v < 0);
}

/// What a study looks for: zeros, extrema, or what splits an integral (zeros and poles).
enum class TLookFor { Zeros, Extrema, Splits };

/// What a block gives: zeros, extrema, and for the integral the poles that split it.
struct TFindings {
    std::vector<TZero> Zeros;
    std::vector<TExtremum> Extrema;
    std::vector<long double> Poles;
};

/// Everything the block owns, refined: its sign changes, its samples at zero, its samples'
/// extrema (those worth a look for `what`), spread over the cores. `stopped` says the limits
/// ended it early; what it gives is then incomplete.
TFindings Examine(const TStudyFunction& f, const TScanBlock& s, TLookFor what, long double a,
                  long double b, const TStudyLimits& limits, bool& stopped);

} // namespace kurvant::study
