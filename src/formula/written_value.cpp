#include "formula/written_value.h"

#include "formula/number_text.h"

#include <cfenv>

namespace kurvant {

namespace {

using namespace written_value_detail;

constexpr long double NotReadable = std::numeric_limits<long double>::quiet_NaN();

// magnitude x 10^k with one rounding; |k| <= 27.
long double Scaled(long double magnitude, int k) {
    return k >= 0 ? magnitude * PowerOfTen[static_cast<std::size_t>(k)]
                  : magnitude / PowerOfTen[static_cast<std::size_t>(-k)];
}

} // namespace

long double WrittenValueByText(long double value) {
    long double read = 0;
    if (!ReadNumberText(NumberText(value, '.'), '.', read)) {
        return NotReadable;
    }
    return read;
}

long double WrittenValueRest(long double value) {
    if (value == 0) {
        return 0; // "0", whatever the sign
    }
    const long double magnitude = std::fabs(value);
    // Not-a-number fails this test too.
    if (!ExtendedFormat || !(magnitude >= SmallestQuick && magnitude < LargestQuick)) {
        return WrittenValueByText(value);
    }
    // The estimate is at most one decade off either way, where the power of ten compared with
    // was not exact; the scaled value's range settles it.
    int k = ScaleExponent(magnitude);
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
        // As in WrittenValue; the same holds for the ends 10^14 and 10^15: where the exact value
        // lies just across one, the rounding gives the same number in either decade
        // (10^15 x 10^-k = 10^14 x 10^(1-k)).
        long double digits = (scaled + IntegerMagic) - IntegerMagic;
        if (std::fabs(scaled - digits) == 0.5L) {
            const long double below = scaled - 0.5L;
            digits = AtOrAboveHalf(magnitude, k, scaled) ? below + 1 : below;
        }
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
