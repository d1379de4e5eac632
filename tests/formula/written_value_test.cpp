// The written value by arithmetic against the written value by text: a value rounded to its
// NumberText and read back. Halves in every decade the arithmetic covers, the ends of its range,
// powers of ten and their neighbours, and values far outside it.

#include "formula/number_text.h"
#include "formula/written_value.h"
#include "support/machine_number.h"
#include "support/same_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace kurvant {
namespace {

using kurvant_test::SameValue;

std::string Hex(long double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%La", v);
    return buffer;
}

// The value and its neighbours a few units of the last place away on either side.
template <typename TCheck> void AroundEach(long double v, TCheck check) {
    long double below = v;
    long double above = v;
    for (int i = 0; i < 4; ++i) {
        check(below);
        check(above);
        below = std::nextafter(below, -std::numeric_limits<long double>::infinity());
        above = std::nextafter(above, std::numeric_limits<long double>::infinity());
    }
}

void ExpectAsText(long double v) {
    ASSERT_TRUE(SameValue(WrittenValue(v), WrittenValueByText(v)))
        << Hex(v) << ": arithmetic " << Hex(WrittenValue(v)) << ", text "
        << Hex(WrittenValueByText(v));
    ASSERT_TRUE(SameValue(WrittenValue(-v), WrittenValueByText(-v))) << Hex(-v);
}

TEST(WrittenValue, HalvesOfEveryDecadeRoundAsTheText) {
    ASSERT_TRUE(FastRoundingHolds());
    std::mt19937_64 random(11);
    for (int decade = -16; decade <= 45; ++decade) {
        for (int n = 0; n < 60; ++n) {
            // 15 digits and a 5: the 16th digit of a tie, read as the nearest long double.
            char text[64];
            std::snprintf(text, sizeof text, "%llu5e%d",
                          100000000000000ULL + random() % 900000000000000ULL, decade - 15);
            AroundEach(MachineNumber(text), ExpectAsText);
        }
    }
}

TEST(WrittenValue, ExactHalvesRoundAwayFromZero) {
    // 15 digits and exactly one half: representable, a true tie.
    for (const long double v : {123456789012345.5L, 999999999999999.5L, 100000000000000.5L, 0.5L,
                                2.5L, 1.25L, 0.000030517578125L, 1125899906842624.0L * 8}) {
        ExpectAsText(v);
    }
    EXPECT_EQ(WrittenValue(123456789012345.5L), 123456789012346.0L);
    EXPECT_EQ(WrittenValue(-123456789012345.5L), -123456789012346.0L);
}

TEST(WrittenValue, PowersOfTenAndTheEndsOfTheRangeRoundAsTheText) {
    for (int e = -20; e <= 50; ++e) {
        char text[32];
        std::snprintf(text, sizeof text, "1e%d", e);
        AroundEach(MachineNumber(text), ExpectAsText);
        std::snprintf(text, sizeof text, "9.999999999999995e%d", e);
        AroundEach(MachineNumber(text), ExpectAsText);
        std::snprintf(text, sizeof text, "9.9999999999999949e%d", e);
        AroundEach(MachineNumber(text), ExpectAsText);
    }
    for (const long double v : {1e-13L, 1e42L, 0x1p-44L, 0x1p139L, 0x1p140L}) {
        AroundEach(v, ExpectAsText);
    }
}

TEST(WrittenValue, ValuesOutsideTheArithmeticGoByTheText) {
    using limits = std::numeric_limits<long double>;
    for (const long double v : {0.0L, -0.0L, 1e-300L, 1e-4940L, limits::denorm_min(), limits::min(),
                                1e300L, 1e4000L, limits::max()}) {
        ExpectAsText(v);
    }
    EXPECT_TRUE(std::isnan(WrittenValue(limits::infinity())));
    EXPECT_TRUE(std::isnan(WrittenValue(-limits::infinity())));
    EXPECT_TRUE(std::isnan(WrittenValue(limits::quiet_NaN())));
    EXPECT_FALSE(std::signbit(WrittenValue(-0.0L)));
}

TEST(WrittenValue, RandomValuesOfEveryMagnitudeRoundAsTheText) {
    std::mt19937_64 random(12);
    std::uniform_real_distribution<long double> exponent(-20, 50);
    std::uniform_real_distribution<long double> mantissa(1, 10);
    for (int n = 0; n < 50000; ++n) {
        const long double v = mantissa(random) * std::pow(10.0L, std::floor(exponent(random)));
        ExpectAsText(v);
    }
}

TEST(WrittenValue, TheTextWritesWhatIsRead) {
    // The arithmetic's value is what the rewriting reads from the text it writes.
    for (const long double v : {1.0L / 3, 2.0L / 3, 1e-5L, 123456.7890123456789L}) {
        long double read = 0;
        ASSERT_TRUE(ReadNumberText(NumberText(v, ','), ',', read));
        EXPECT_TRUE(SameValue(WrittenValue(v), read)) << Hex(v);
    }
}

} // namespace
} // namespace kurvant
