// The checks of typed numbers: the decimal mark, the two message forms and the range bounds as
// the messages write them; the number fields, which take constant expressions too and name
// themselves in their messages.

#include "graphs/number_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace {

struct FloatRow {
    const char* Name;
    const char* Text;
    const char* Suffix;
    double Min, Max;
    char Separator;
    bool Ok;
    double Value;        // when Ok
    const char* Message; // when not Ok
};

void PrintTo(const FloatRow& row, std::ostream* os) {
    *os << row.Name;
}

class FloatNumber : public testing::TestWithParam<FloatRow> {};

TEST_P(FloatNumber, ReadsOrExplains) {
    const FloatRow& row = GetParam();
    double value = -777;
    std::string message = "untouched";
    const bool ok =
        Is_float_number(row.Text, row.Suffix, row.Min, row.Max, value, row.Separator, message);
    EXPECT_EQ(ok, row.Ok);
    if (row.Ok) {
        EXPECT_DOUBLE_EQ(value, row.Value);
        EXPECT_EQ(message, "untouched");
    } else {
        EXPECT_EQ(value, -777) << "a failed check must not store a value";
        EXPECT_EQ(message, row.Message);
    }
}

const FloatRow FloatRows[] = {
    {"Whole", "5", "", -1000, 1000, ',', true, 5, ""},
    {"PointWhileSeparatorIsComma", "0.5", "", -1000, 1000, ',', true, 0.5, ""},
    {"CommaWhileSeparatorIsPoint", "0,5", "", -1000, 1000, '.', true, 0.5, ""},
    {"BlanksAroundAreTrimmed", "  -2,25 ", "", -1000, 1000, ',', true, -2.25, ""},
    {"BoundsAreInside", "-1000", "", -1000, 1000, '.', true, -1000, ""},
    {"ExponentForm", "1.5e2", "", -1000, 1000, '.', true, 150, ""},
    {"TrailingMark", "5.", "", -1000, 1000, '.', true, 5, ""},
    {"Letters", "abc", "", -1000, 1000, ',', false, 0, "'abc' не является числом!"},
    {"Empty", "", "", -1000, 1000, ',', false, 0, "'' не является числом!"},
    {"MinusAlone", "-", "", -1000, 1000, ',', false, 0, "'-' не является числом!"},
    {"TwoMarksShownNormalised", "1.2,3", "", -1000, 1000, ',', false, 0,
     "'1,2,3' не является числом!"},
    {"InfinityWordIsNoNumber", "inf", "", -1000, 1000, '.', false, 0, "'inf' не является числом!"},
    {"BeyondDoubleRange", "1e400", "", -1000, 1000, '.', false, 0, "'1e400' не является числом!"},
    {"AboveRangeEmptySuffixHasTwoBlanks", "1001", "", -1000, 1000, ',', false, 0,
     "Число '1001' не лежит в промежутке\n\rот -1000  до 1000 !"},
    {"AboveRangeWithPi", "1001", "Pi", -1000, 1000, ',', false, 0,
     "Число '1001' не лежит в промежутке\n\rот -1000 Pi до 1000 Pi!"},
    {"SmallMinimumWithTenDecimals", "5", "", 0.01, 1, ',', false, 0,
     "Число '5' не лежит в промежутке\n\rот 0,0100000000  до 1 !"},
    {"SmallMinimumRoundedToOneDigit", "0", "", 0.047, 2.5, '.', false, 0,
     "Число '0' не лежит в промежутке\n\rот 0.0500000000  до 2.5 !"},
    {"ZeroMinimum", "-1", "", 0, 1, ',', false, 0,
     "Число '-1' не лежит в промежутке\n\rот 0,0000000000  до 1 !"},
    {"NegativeSmallMinimum", "-1", "", -0.3, 0.3, ',', false, 0,
     "Число '-1' не лежит в промежутке\n\rот -0,3000000000  до 0,3 !"},
    {"MessageShowsNormalisedText", "2000.5", "", -1000, 1000, ',', false, 0,
     "Число '2000,5' не лежит в промежутке\n\rот -1000  до 1000 !"},
};

INSTANTIATE_TEST_SUITE_P(Rows, FloatNumber, testing::ValuesIn(FloatRows),
                         [](const auto& row) { return std::string(row.param.Name); });

struct IntRow {
    const char* Name;
    const char* Text;
    int Min, Max;
    bool Ok;
    int Value;
    const char* Message;
};

void PrintTo(const IntRow& row, std::ostream* os) {
    *os << row.Name;
}

class IntNumber : public testing::TestWithParam<IntRow> {};

TEST_P(IntNumber, ReadsOrExplains) {
    const IntRow& row = GetParam();
    std::int32_t value = -777;
    std::string message;
    const bool ok = Is_int_number(row.Text, row.Min, row.Max, value, ',', message);
    EXPECT_EQ(ok, row.Ok);
    if (row.Ok) {
        EXPECT_EQ(value, row.Value);
    } else {
        EXPECT_EQ(value, -777);
        EXPECT_EQ(message, row.Message);
    }
}

const IntRow IntRows[] = {
    {"UpperBound", "200", 1, 200, true, 200, ""},
    {"BlanksTrimmed", " 10000 ", 1, 10000, true, 10000, ""},
    {"PlusSign", "+7", 1, 10, true, 7, ""},
    {"AboveSurfaceLimit", "201", 1, 200, false, 0,
     "Число '201' не лежит в промежутке\n\rот 1 до 200!"},
    {"Zero", "0", 1, 10000, false, 0, "Число '0' не лежит в промежутке\n\rот 1 до 10000!"},
    {"NegativeIsAnIntegerOutOfRange", "-5", 1, 200, false, 0,
     "Число '-5' не лежит в промежутке\n\rот 1 до 200!"},
    {"Fraction", "1.5", 1, 200, false, 0, "'1,5' не является натуральным числом!"},
    {"Empty", "", 1, 200, false, 0, "'' не является натуральным числом!"},
    {"BeyondThirtyTwoBits", "99999999999", 1, 200, false, 0,
     "'99999999999' не является натуральным числом!"},
    {"TwoSigns", "+-5", 1, 200, false, 0, "'+-5' не является натуральным числом!"},
};

INSTANTIATE_TEST_SUITE_P(Rows, IntNumber, testing::ValuesIn(IntRows),
                         [](const auto& row) { return std::string(row.param.Name); });

struct FieldRow {
    const char* Name;
    const char* Text;
    char Separator;
    bool Ok;
    double Value;        // when Ok: exactly for plain numbers, within 1e-14 for expressions
    const char* Message; // when not Ok
};

void PrintTo(const FieldRow& row, std::ostream* os) {
    *os << row.Name;
}

class FloatField : public testing::TestWithParam<FieldRow> {};

// The field "Конец" of -1000..1000 with the suffix "Pi".
TEST_P(FloatField, ReadsANumberOrAnExpressionOrExplainsByName) {
    const FieldRow& row = GetParam();
    double value = -777;
    std::string message = "untouched";
    const bool ok =
        ReadFloatField("Конец", row.Text, "Pi", -1000, 1000, value, row.Separator, message);
    EXPECT_EQ(ok, row.Ok);
    if (row.Ok) {
        EXPECT_LE(std::fabs(value - row.Value), 1e-14 * std::fabs(row.Value)) << value;
        EXPECT_EQ(message, "untouched");
    } else {
        EXPECT_EQ(value, -777) << "a failed check must not store a value";
        EXPECT_EQ(message, row.Message);
    }
}

const FieldRow FieldRows[] = {
    {"PointWhileSeparatorIsComma", "0.1", ',', true, 0.1, ""},
    {"CommaWhileSeparatorIsPoint", "-0,1", '.', true, -0.1, ""},
    {"ExponentIsStillANumber", "1e2", '.', true, 100, ""},
    {"Pi", "pi", ',', true, 3.14159265358979, ""},
    {"TwoPi", "2pi", '.', true, 6.28318530717958, ""},
    {"MinusHalfPi", " -pi/2 ", ',', true, -1.570796326794895, ""},
    {"SquareRootOfTwo", "sqrt(2)", '.', true, 1.4142135623731, ""},
    {"ExpOfOne", "exp(1)", ',', true, 2.71828182845905, ""},
    {"Third", "1/3", '.', true, 0.333333333333333, ""},
    {"EAlone", "e", ',', true, 2.71828182845905, ""},
    {"ExpressionWithTheOtherMark", "1.5*2", ',', true, 3, ""},
    {"TrailingOperator", "pi+", ',', false, 0, "Поле \"Конец\":\n\r'pi+' не является числом!"},
    {"OtherLetter", "x", '.', false, 0, "Поле \"Конец\":\n\r'x' не является числом!"},
    {"Empty", "  ", '.', false, 0, "Поле \"Конец\":\n\r'' не является числом!"},
    {"InfinityWord", "-inf", '.', false, 0, "Поле \"Конец\":\n\r'-inf' не является числом!"},
    {"MessageShowsTheNormalisedText", "1.5x", ',', false, 0,
     "Поле \"Конец\":\n\r'1,5x' не является числом!"},
    {"DivisionByZero", "1/0", '.', false, 0,
     "Поле \"Конец\":\n\rВыражение '1/0' не имеет значения!"},
    {"NumberOutOfRange", "1001", ',', false, 0,
     "Поле \"Конец\":\n\rЧисло '1001' не лежит в промежутке\n\rот -1000 Pi до 1000 Pi!"},
    {"ExpressionOutOfRange", "-400pi", ',', false, 0,
     "Поле \"Конец\":\n\rЧисло '-400pi' не лежит в промежутке\n\rот -1000 Pi до 1000 Pi!"},
    {"ExpressionBeyondTheDoubleRange", "10^400", '.', false, 0,
     "Поле \"Конец\":\n\rЧисло '10^400' не лежит в промежутке\n\rот -1000 Pi до 1000 Pi!"},
};

INSTANTIATE_TEST_SUITE_P(Rows, FloatField, testing::ValuesIn(FieldRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(IntFieldTest, NamesItselfAndTakesNoExpression) {
    std::int32_t value = -777;
    std::string message;
    EXPECT_TRUE(ReadIntField("Шаги", " 20 ", 1, 200, value, ',', message));
    EXPECT_EQ(value, 20);
    EXPECT_FALSE(ReadIntField("Шаги", "2*10", 1, 200, value, ',', message));
    EXPECT_EQ(message, "Поле \"Шаги\":\n\r'2*10' не является натуральным числом!");
    EXPECT_FALSE(ReadIntField("", "0", 1, 200, value, ',', message));
    EXPECT_EQ(message, "Число '0' не лежит в промежутке\n\rот 1 до 200!");
    EXPECT_EQ(value, 20);
}

TEST(FloatSeparatorTest, TurnsEitherMarkIntoTheSeparator) {
    EXPECT_EQ(FloatSeparator(" 1.5 ", ','), "1,5");
    EXPECT_EQ(FloatSeparator("1,5", '.'), "1.5");
    EXPECT_EQ(FloatSeparator("\t,.\t", ','), ",,");
    EXPECT_EQ(FloatSeparator("   ", '.'), "");
}

} // namespace
