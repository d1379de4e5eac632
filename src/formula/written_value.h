#pragma once
// The value of a number once the rewriting has written it into the text and read it back: every
// intermediate of an evaluation goes through this, so it decides every last bit of a result.

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kurvant {

/// The value that the marked number written for `value` reads as: `ReadNumberText` of its
/// `NumberText`. Not-a-number when that text does not read back ("INF", "NAN"), so that whoever
/// reads it fails as the rewriting does. Slow: goes through the text.
long double WrittenValueByText(long double value);

/// `WrittenValue` for the values its quick part leaves: zero, magnitudes outside 1e-13 .. 1e42
/// (by the text), and a decade misjudged by one.
long double WrittenValueRest(long double value);

/// Whether the floating-point environment of the calling thread is the one `WrittenValue` needs:
/// rounding to nearest, long double arithmetic with its full 64-bit significand.
bool FastRoundingHolds();

namespace written_value_detail {

// The arithmetic reads the 80-bit extended format; elsewhere the text decides.
inline constexpr bool ExtendedFormat =
    std::numeric_limits<long double>::digits == 64 && std::endian::native == std::endian::little;

// 10^0 .. 10^27: each has at most 64 significant bits (5^27 < 2^64), so each is exact.
inline constexpr int LargestExactPower = 27;

template <typename T> constexpr std::array<T, LargestExactPower + 1> Powers(T base) {
    std::array<T, LargestExactPower + 1> powers{};
    T p = 1;
    for (T& power : powers) {
        power = p;
        p *= base;
    }
    return powers;
}

inline constexpr std::array<long double, LargestExactPower + 1> PowerOfTen =
    Powers<long double>(10);

// The magnitudes whose scale factor 10^(14 - decade) and its inverse are both exact powers.
inline constexpr long double SmallestQuick = 1e-13L;
inline constexpr long double LargestQuick = 1e42L;
inline constexpr long double Lowest15Digits = 1e14L;
inline constexpr long double Beyond15Digits = 1e15L;
// Adding and taking away 2^63 rounds a long double below 2^62 to the nearest integer.
inline constexpr long double IntegerMagic = 0x1p63L;

// k such that magnitude x 10^k most likely has 15 digits before the point, 14 - its decimal
// exponent. From the binary exponent e of the nearest double (quick to get at), floor(e log10 2)
// is that exponent or one below it (78913 / 2^18 is log10 2 to within 2^-20), the double's
// rounding aside; it is the one above when the magnitude reaches that power of ten.
inline int ScaleExponent(long double magnitude) {
    const auto bits = std::bit_cast<std::uint64_t>(static_cast<double>(magnitude));
    const int binaryExponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    const int next = ((binaryExponent * 78913) >> 18) + 1; // the next power's exponent
    if (next < -LargestExactPower || next > LargestExactPower) {
        return 15 - next; // beyond the table: the caller's range checks settle it
    }
    const bool reached =
        next >= 0 ? magnitude >= PowerOfTen[next] : magnitude * PowerOfTen[-next] >= 1;
    return reached ? 14 - next : 15 - next;
}

// The exact product a x b as p + e, p the rounded product (Dekker's product: each factor split
// into two halves of 32 bits, whose products are exact). Exact while nothing overflows.
inline long double ProductError(long double a, long double b, long double p) {
    constexpr long double Splitter = 0x1p32L + 1;
    const long double ca = Splitter * a;
    const long double aHigh = ca - (ca - a);
    const long double aLow = a - aHigh;
    const long double cb = Splitter * b;
    const long double bHigh = cb - (cb - b);
    const long double bLow = b - bHigh;
    return ((aHigh * bHigh - p) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
}

// Whether magnitude x 10^k, exactly, is at least `half`, the rounded scaled value that fell on a
// half: a tie rounds away from zero, as NumberText does.
inline bool AtOrAboveHalf(long double magnitude, int k, long double half) {
    if (k >= 0) {
        return ProductError(magnitude, PowerOfTen[k], half) >= 0;
    }
    // half = magnitude / 10^j rounded: the exact quotient is above it when magnitude is above
    // half x 10^j = p + e. magnitude - p is exact, the two being within an ulp of each other.
    const long double p = half * PowerOfTen[-k];
    return magnitude - p >= ProductError(half, PowerOfTen[-k], p);
}

} // namespace written_value_detail

/// `WrittenValueByText` by arithmetic: the value scaled by an exact power of ten, rounded to a
/// 15-digit integer and scaled back with one correctly rounded operation, as reading the text
/// rounds it. Exact only with round-to-nearest and the full 64-bit significand
/// (`FastRoundingHolds`). Inline, as it runs once for nearly every step of a formula's program.
inline long double WrittenValue(long double value) {
    namespace d = written_value_detail;
    const long double magnitude = std::fabs(value);
    // Zero and not-a-number fail this test too.
    if (d::ExtendedFormat && magnitude >= d::SmallestQuick && magnitude < d::LargestQuick) {
        const int k = d::ScaleExponent(magnitude);
        if (k >= -d::LargestExactPower && k <= d::LargestExactPower) {
            const long double scaled =
                k >= 0 ? magnitude * d::PowerOfTen[k] : magnitude / d::PowerOfTen[-k];
            // The scaled value carries one rounding, and rounding is monotone: below 2^50
            // (> 10^15) every half n + 1/2 is itself a long double, so the scaled value lies on
            // the same side of each half as the exact product, or on the half itself, where the
            // exact product decides. So it rounds to the 15 digits that NumberText writes.
            if (scaled >= d::Lowest15Digits && scaled < d::Beyond15Digits) {
                long double digits = (scaled + d::IntegerMagic) - d::IntegerMagic;
                if (std::fabs(scaled - digits) == 0.5L) {
                    const long double below = scaled - 0.5L;
                    digits = d::AtOrAboveHalf(magnitude, k, scaled) ? below + 1 : below;
                }
                // The digits x 10^-k, rounded once, as reading the text rounds them.
                const long double read =
                    k >= 0 ? digits / d::PowerOfTen[k] : digits * d::PowerOfTen[-k];
                return value < 0 ? -read : read;
            }
        }
    }
    return WrittenValueRest(value);
}

} // namespace kurvant
