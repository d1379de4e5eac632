#pragma once
// The one comparison of two evaluations' values for the tests that hold two ways of evaluating
// equal (the program against the rewriting, batches against single evaluations).

#include <cmath>

namespace kurvant_test {

/// True when `a` and `b` are the same value: both not a number, or equal with the same sign, so
/// that 0 and -0 differ (a later division or a written text can tell them apart).
inline bool SameValue(long double a, long double b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace kurvant_test
