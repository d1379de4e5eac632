#include "formula/rounding.h"

#include <cmath>

namespace kurvant {

long double RoundHalfEven(long double value) {
    const long double below = std::floor(value);
    // Exact: the fraction of a long double is itself a long double.
    const long double fraction = value - below;
    if (fraction > 0.5L) {
        return below + 1;
    }
    if (fraction < 0.5L) {
        return below;
    }
    return std::fmod(below, 2.0L) == 0 ? below : below + 1;
}

} // namespace kurvant
