#include "view/scene_frame.h"

#include <gtest/gtest.h>

#include <cfenv>

namespace {

struct NumberCase {
    const char* name;
    double value;
    char sep;
    const char* text;
    friend void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }
};

class AxisNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(AxisNumbers, RoundToTwoDecimalsAndUseTheSeparator) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(AxisNumberText(c.value, c.sep), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, AxisNumbers,
    ::testing::Values(NumberCase{"zero", 0.0, ',', "0"},
                      NumberCase{"negative_zero", -0.0, ',', "0"},
                      NumberCase{"tiny_negative_rounds_to_zero", -0.001, '.', "0"},
                      NumberCase{"integer", -10.0, ',', "-10"},
                      NumberCase{"thousand", 1000.0, '.', "1000"},
                      // Repeated addition of 0.1 leaves binary error; the text never shows it.
                      NumberCase{"sum_of_tenths", 0.1 + 0.1 + 0.1, ',', "0,3"},
                      NumberCase{"sum_of_tenths_point", 0.1 + 0.1 + 0.1, '.', "0.3"},
                      NumberCase{"seven_tenths", 0.1 * 7, ',', "0,7"},
                      // An exact half goes to the even neighbour.
                      NumberCase{"half_to_even_down", 0.125, ',', "0,12"},
                      NumberCase{"half_to_even_up", 0.375, ',', "0,38"},
                      NumberCase{"negative_half", -0.125, ',', "-0,12"},
                      // 2.675 is stored a little below the half and rounds down.
                      NumberCase{"stored_below_half", 2.675, '.', "2.67"},
                      NumberCase{"third", 1.0 / 3.0, ',', "0,33"},
                      NumberCase{"two_decimals_kept", 12.34, ',', "12,34"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(AxisNumbersRounding, DoesNotDependOnTheRoundingMode) {
    std::fesetround(FE_UPWARD);
    const std::string text = AxisNumberText(0.125, ',');
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(text, "0,12");
    EXPECT_EQ(mode, FE_UPWARD); // and leaves the caller's mode as it was
}

} // namespace
