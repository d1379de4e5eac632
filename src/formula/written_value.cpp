#include "formula/written_value.h"

#include "formula/number_text.h"

#include <array>
#include <cfenv>
#include <cmath>
#include <limits>

namespace kurvant {

namespace {

constexpr long double NotReadable = std::numeric_limits<long double>::quiet_NaN();

// 10^0 .. 10^27: each has at most 64 significant bits (5^27 < 2^64), so each is exact.
constexpr int LargestExactPower = 27;

constexpr std::array<long double, LargestExactPower + 1> ExactPowersOfTen() {
    std::array<long double, LargestExactPower + 1> powers{};
    long double p = 1;
    for (long double& power : powers) {
        power = p;
        p *= 10;
    }
    return powers;
}

constexpr std::array<long double, LargestExactPower + 1> PowerOfTen = ExactPowersOfTen();

// The magnitudes whose scale factor 10^(14 - decade) and its inverse are both exact powers.
constexpr long double SmallestFast = 1e-13L;
constexpr long double LargestFast = 1e42L;

constexpr long double Lowest15Digits = 1e14L;
constexpr long double Beyond15Digits = 1e15L;

// magnitude x 10^k with one rounding; |k| <= 27.
long double Scaled(long double magnitude, int k) {
    return k >= 0 ? magnitude * PowerOfTen[static_cast<std::size_t>(k)]
                  : magnitude / PowerOfTen[static_cast<std::size_t>(-k)];
}

// The decade of a magnitude within the fast range, from its binary exponent: floor(log10(2^e))
// is at most one below the decimal exponent.
int EstimatedDecade(long double magnitude) {
    const int binary = std::ilogb(magnitude);
    // 78913 / 2^18 is log10(2) to within 2^-20: floor(e log10 2) for the exponents used here.
    return (binary * 78913) >> 18;
}

} // namespace

long double WrittenValueByText(long double value) {
    long double read = 0;
    if (!ReadNumberText(NumberText(value, '.'), '.', read)) {
        return NotReadable;
    }
    return read;
}

long double WrittenValue(long double value) {
    if (value == 0) {
        return 0; // "0", whatever the sign
    }
    const long double magnitude = std::fabs(value);
    // Not-a-number fails this test too.
    if (!(magnitude >= SmallestFast && magnitude < LargestFast)) {
        return WrittenValueByText(value);
    }
    // k such that magnitude x 10^k has 15 digits before the point; the estimate may be one
    // decade off either way.
    int k = 14 - EstimatedDecade(magnitude);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (k > LargestExactPower || k < -LargestExactPower) {
            break;
        }
        const long double scaled = Scaled(magnitude, k);
        if (scaled < Lowest15Digits) {
            ++k;
            continue;
        }
        if (scaled >= Beyond15Digits) {
            --k;
            continue;
        }
        // The scaled value carries one rounding, and rounding is monotone: below 2^50 (> 10^15)
        // every half n + 1/2 is itself a long double, so the scaled value lies on the same side
        // of each half as the exact product, or on the half itself, where only the exact
        // expansion decides. The same holds for the ends 10^14 and 10^15; where the exact value
        // lies just across one, the rounding gives the same number in either decade
        // (10^15 x 10^-k = 10^14 x 10^(1-k)).
        const long double below = std::floor(scaled);
        const long double fraction = scaled - below; // exact
        if (fraction == 0.5L) {
            break;
        }
        // Halves away from zero, as NumberText rounds; no half is left here.
        const long double digits = fraction > 0.5L ? below + 1 : below;
        // The decimal digits x 10^-k, rounded once, as reading the text rounds it.
        const long double magnitudeRead = Scaled(digits, -k);
        return value < 0 ? -magnitudeRead : magnitudeRead;
    }
    return WrittenValueByText(value);
}

bool FastRoundingHolds() {
    if (std::fegetround() != FE_TONEAREST) {
        return false;
    }
    // With the x87 precision cut to 53 or 24 bits, 1 + 2^-63 would round to 1.
    volatile long double tiny = 0x1p-63L;
    const long double sum = 1.0L + tiny;
    return sum != 1.0L;
}

} // namespace kurvant
