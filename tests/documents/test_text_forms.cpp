// The number writer, the number-line reader, the single-value conversions and the colour text.

#include "documents/color_text.h"
#include "documents/message_text.h"
#include "documents/number_line.h"
#include "documents/text_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// ---- number writer

struct TFloatTextRow {
    const char* Name;
    double Value;
    char Separator;
    std::string Text;
    friend void PrintTo(const TFloatTextRow& row, std::ostream* os) { *os << row.Name; }
};

class FloatTextRows : public ::testing::TestWithParam<TFloatTextRow> {};

TEST_P(FloatTextRows, WritesFixedNotationWithFifteenDigits) {
    const TFloatTextRow& row = GetParam();
    EXPECT_EQ(FloatText(row.Value, row.Separator), row.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FloatTextRows,
    ::testing::Values(
        TFloatTextRow{"Zero", 0.0, '.', "0"}, TFloatTextRow{"NegativeZero", -0.0, '.', "0"},
        TFloatTextRow{"IntegralWithoutSeparator", -10, ',', "-10"},
        TFloatTextRow{"CommaSeparator", 0.5, ',', "0,5"},
        TFloatTextRow{"PointSeparator", 0.1, '.', "0.1"},
        TFloatTextRow{"SmallestFixedOfNumberText", 0.0001, ',', "0,0001"},
        TFloatTextRow{"BelowTheExponentLimit", 0.00005, '.', "0.00005"},
        TFloatTextRow{"SmallWithDigits", -1.5e-7, ',', "-0,00000015"},
        TFloatTextRow{"FifteenDigitsOfSmall", 1.23456789012345678e-5, '.', "0.0000123456789012346"},
        TFloatTextRow{"ThirdRoundedDown", 1.0 / 3, '.', "0.333333333333333"},
        TFloatTextRow{"TwoThirdsRoundedUp", 2.0 / 3, '.', "0.666666666666667"},
        TFloatTextRow{"FifteenDigitsOfMixed", 123456.7890123456789, '.', "123456.789012346"},
        TFloatTextRow{"TenToTheFifteen", 1e15, '.', "1000000000000000"},
        TFloatTextRow{"LargeNegative", -2.5e20, ',', "-250000000000000000000"},
        TFloatTextRow{"NotANumberHasNoText", std::numeric_limits<double>::quiet_NaN(), '.', "0"},
        TFloatTextRow{"InfinityHasNoText", -std::numeric_limits<double>::infinity(), '.', "0"},
        // Rounded, 1.79769313486232E308 would lie past the largest double: cut instead.
        TFloatTextRow{"LargestDoubleIsCut", DBL_MAX, '.',
                      std::string("179769313486231").append(294, '0')},
        TFloatTextRow{"LowestDoubleIsCut", -DBL_MAX, ',',
                      std::string("-179769313486231").append(294, '0')},
        TFloatTextRow{"JustBelowTheLargestIsRounded", 1.7976931348623e308, '.',
                      std::string("17976931348623").append(295, '0')}),
    [](const auto& p) { return std::string(p.param.Name); });

// Every finite value the writer produces reads back through the number line, and
// writing the value read gives the same text again.
TEST(FloatText, ReadsBackThroughTheNumberLine) {
    const std::vector<double> values = {
        1e-300,    4.9e-324,      1e308,   DBL_MAX,          -DBL_MAX, std::nextafter(DBL_MAX, 0),
        -7.25e-12, 6.02214076e23, 1.0 / 7, 999.999999999999, -1000,    0.30000000000000004};
    for (double value : values) {
        for (char separator : {'.', ','}) {
            const std::string text = FloatText(value, separator);
            std::vector<double> read(1, 0.0);
            ASSERT_EQ(PrintOneFloatLine(text, read), TNumberLine::Ok) << text;
            EXPECT_EQ(FloatText(read[0], separator), text);
            EXPECT_NEAR(read[0], value, std::fabs(value) * 1e-14) << text;
        }
    }
}

// The same for a few thousand seeded random finite doubles: random bit patterns, so every
// exponent is as likely as any other, with more subnormals and more values of the top binade (whose
// rounding may pass the largest double) mixed in, and values among the everyday magnitudes 1E-8
// to 1E16.
TEST(FloatText, SeededValuesReadBackThroughTheNumberLine) {
    std::mt19937_64 random(20240611); // raw engine output: the same values on every build
    int checked = 0;
    for (int n = 0; n < 4000; ++n) {
        double value = 0;
        if (n % 2 == 0) {
            std::uint64_t bits = random();
            if (n % 20 == 0) {
                bits &= ~(std::uint64_t{0x7FF} << 52); // a subnormal
            } else if (n % 20 == 10) {
                bits |= std::uint64_t{0x7FE} << 52; // the top binade, next to the largest double
                bits &= ~(std::uint64_t{1} << 52);
            }
            value = std::bit_cast<double>(bits);
        } else {
            // A 53-bit significand scaled into [2^-27, 2^53), with either sign.
            const std::uint64_t bits = random();
            const double significand = static_cast<double>(bits >> 11) / 9007199254740992.0;
            value = std::ldexp(significand, static_cast<int>(bits % 80) - 27);
            value = (bits & 1024) != 0 ? -value : value;
        }
        if (!std::isfinite(value)) {
            continue;
        }
        ++checked;
        const char separator = n % 4 < 2 ? '.' : ',';
        const std::string text = FloatText(value, separator);
        std::vector<double> read(1, 0.0);
        ASSERT_EQ(PrintOneFloatLine(text, read), TNumberLine::Ok) << text;
        // Within 15 significant digits of the value, and written again as the same text.
        ASSERT_LE(std::fabs(read[0] - value), std::fabs(value) * 1e-14)
            << std::hexfloat << value << " " << text;
        ASSERT_EQ(FloatText(read[0], separator), text) << std::hexfloat << value;
    }
    EXPECT_GT(checked, 3900); // only the few patterns of infinities and not-a-numbers are left out
}

TEST(FloatText, LargeValueKeepsAllItsDigitPositions) {
    const std::string text = FloatText(1e308, '.');
    std::string expected(309, '0'); // 1 and 308 zeros
    expected[0] = '1';
    EXPECT_EQ(text, expected);
}

// ---- number-line reader

constexpr double Untouched = -777;

struct TNumberLineRow {
    const char* Name;
    std::string Line;
    std::size_t Count;
    TNumberLine Result;
    std::vector<double> Values; // expected content of all `Count` entries
    friend void PrintTo(const TNumberLineRow& row, std::ostream* os) { *os << row.Name; }
};

class NumberLineRows : public ::testing::TestWithParam<TNumberLineRow> {};

TEST_P(NumberLineRows, ReadsAsTheFormatSays) {
    const TNumberLineRow& row = GetParam();
    std::vector<double> values(row.Count, Untouched);
    EXPECT_EQ(PrintOneFloatLine(row.Line, values), row.Result);
    EXPECT_EQ(values, row.Values);
}

const TNumberLine Ok = TNumberLine::Ok;
const TNumberLine Empty = TNumberLine::Empty;
const TNumberLine Invalid = TNumberLine::Invalid;
const double U = Untouched;

INSTANTIATE_TEST_SUITE_P(
    Lines, NumberLineRows,
    ::testing::Values(
        TNumberLineRow{"BlanksOnlyLeaveValues", "   ", 3, Empty, {U, U, U}},
        TNumberLineRow{"ControlCharactersOnly", "\t\r\x01", 2, Empty, {U, U}},
        TNumberLineRow{"FewerNumbersFillTheFirst", "7", 3, Ok, {7, U, U}},
        TNumberLineRow{"SecondMarkSkipped", "1.2.3", 1, Ok, {1.23}},
        TNumberLineRow{"BothMarksAndRunsOfBlanks", "1,5   -2.25    3", 3, Ok, {1.5, -2.25, 3}},
        TNumberLineRow{"LettersSkipped", "x=12", 1, Ok, {12}},
        TNumberLineRow{"ExponentLetterSkipped", "1e5", 1, Ok, {15}},
        TNumberLineRow{"ExponentWithMinusFails", "1E-6", 1, Invalid, {U}},
        TNumberLineRow{"TabJoinsDigits", "1\t2", 2, Ok, {12, U}},
        TNumberLineRow{"PlusSkipped", "+2 1", 2, Ok, {2, 1}},
        TNumberLineRow{"SecondMinusSkipped", "--5", 1, Ok, {-5}},
        TNumberLineRow{"MinusAfterDigitsFails", "5-", 1, Invalid, {U}},
        TNumberLineRow{"BareMinusFails", "1 - 2", 3, Invalid, {1, U, U}},
        TNumberLineRow{"LeadingMark", ".5 5.", 2, Ok, {0.5, 5}},
        TNumberLineRow{"TokenWithoutDigitsFails", "a b", 2, Invalid, {U, U}},
        TNumberLineRow{"MoreNumbersThanCountFail", "1 2 3", 2, Invalid, {1, 2}},
        TNumberLineRow{"CountZeroTakesNothing", "1", 0, Invalid, {}},
        TNumberLineRow{"SurroundingControlsTrimmed", "\t 3 \r", 1, Ok, {3}},
        TNumberLineRow{"OverflowFails", std::string("1").append(400, '0'), 1, Invalid, {U}}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(PrintOneFloatLine, TakesLinesLongerThan254Characters) {
    std::string line;
    std::vector<double> expected;
    for (int i = 0; i < 100; ++i) {
        line += std::to_string(i) + ".25 ";
        expected.push_back(i + 0.25);
    }
    std::vector<double> values(100, Untouched);
    ASSERT_GT(line.size(), 254u);
    EXPECT_EQ(PrintOneFloatLine(line, values), TNumberLine::Ok);
    EXPECT_EQ(values, expected);
}

// ---- integer and single-number lines

struct TIntRow {
    const char* Name;
    const char* Text;
    bool Ok;
    int Value;
    friend void PrintTo(const TIntRow& row, std::ostream* os) { *os << row.Name; }
};

class IntRows : public ::testing::TestWithParam<TIntRow> {};

TEST_P(IntRows, ConvertsWholeTextOrFails) {
    const TIntRow& row = GetParam();
    int value = 12345;
    EXPECT_EQ(TextToInt(row.Text, value), row.Ok);
    EXPECT_EQ(value, row.Ok ? row.Value : 12345);
}

INSTANTIATE_TEST_SUITE_P(
    Integers, IntRows,
    ::testing::Values(
        TIntRow{"Decimal", "12", true, 12}, TIntRow{"LeadingBlanks", "  12", true, 12},
        TIntRow{"TrailingBlankFails", "12 ", false, 0}, TIntRow{"Negative", "-3", true, -3},
        TIntRow{"Plus", "+3", true, 3}, TIntRow{"DollarHex", "$FF", true, 255},
        TIntRow{"EightHexDigitsWrap", "$FFFFFFFF", true, -1},
        TIntRow{"NineHexDigitsFail", "$100000000", false, 0}, TIntRow{"ZeroXHex", "0x10", true, 16},
        TIntRow{"LargestInt", "2147483647", true, 2147483647},
        TIntRow{"PastLargestFails", "2147483648", false, 0},
        TIntRow{"SmallestInt", "-2147483648", true, -2147483647 - 1},
        TIntRow{"FractionFails", "1.5", false, 0}, TIntRow{"EmptyFails", "", false, 0},
        TIntRow{"DollarAloneFails", "$", false, 0}, TIntRow{"MinusAloneFails", "-", false, 0}),
    [](const auto& p) { return std::string(p.param.Name); });

struct TFloatRow {
    const char* Name;
    const char* Text;
    bool Ok;
    double Value;
    friend void PrintTo(const TFloatRow& row, std::ostream* os) { *os << row.Name; }
};

class FloatRows : public ::testing::TestWithParam<TFloatRow> {};

TEST_P(FloatRows, TakesEitherDecimalMark) {
    const TFloatRow& row = GetParam();
    double value = -1;
    EXPECT_EQ(TextToFloat(row.Text, value), row.Ok);
    EXPECT_EQ(value, row.Ok ? row.Value : -1);
}

INSTANTIATE_TEST_SUITE_P(
    Floats, FloatRows,
    ::testing::Values(TFloatRow{"Comma", "0,5", true, 0.5}, TFloatRow{"Point", "0.25", true, 0.25},
                      TFloatRow{"Integral", "3", true, 3}, TFloatRow{"Blanks", " 2 ", true, 2},
                      TFloatRow{"Exponent", "1e3", true, 1000},
                      TFloatRow{"CommaAndExponent", "1,5E-1", true, 0.15},
                      TFloatRow{"Plus", "+4", true, 4}, TFloatRow{"Word", "abc", false, 0},
                      TFloatRow{"TwoNumbers", "1 2", false, 0}, TFloatRow{"Empty", "", false, 0},
                      TFloatRow{"MarkAlone", ".", false, 0},
                      TFloatRow{"ExponentWithoutDigits", "1e", false, 0},
                      TFloatRow{"TwoMarks", "1,5.2", false, 0},
                      TFloatRow{"Overflow", "1e999", false, 0}),
    [](const auto& p) { return std::string(p.param.Name); });

// ---- colour text

TEST(ColorText, TheTwentyNamesRoundTripInTableOrder) {
    const std::vector<std::pair<std::string, TColor>> table = {
        {"clBlack", 0x000000}, {"clMaroon", 0x000080},     {"clGreen", 0x008000},
        {"clOlive", 0x008080}, {"clNavy", 0x800000},       {"clPurple", 0x800080},
        {"clTeal", 0x808000},  {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
        {"clRed", 0x0000FF},   {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000},  {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
        {"clWhite", 0xFFFFFF}, {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
        {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0}};
    ASSERT_EQ(ColorNames.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(ColorNames[i].Name, table[i].first);
        EXPECT_EQ(ColorToText(table[i].second), table[i].first);
        TColor read = 0x12345678;
        EXPECT_TRUE(TextToColor(table[i].first, read));
        EXPECT_EQ(read, table[i].second);
    }
}

struct TColorRow {
    const char* Name;
    const char* Text;
    bool Ok;
    TColor Value;
    friend void PrintTo(const TColorRow& row, std::ostream* os) { *os << row.Name; }
};

class ColorTextRows : public ::testing::TestWithParam<TColorRow> {};

TEST_P(ColorTextRows, ReadsNamesAndIntegers) {
    const TColorRow& row = GetParam();
    TColor color = 0x5A5A5A;
    EXPECT_EQ(TextToColor(row.Text, color), row.Ok);
    EXPECT_EQ(color, row.Ok ? row.Value : 0x5A5A5Au);
}

INSTANTIATE_TEST_SUITE_P(Colors, ColorTextRows,
                         ::testing::Values(TColorRow{"OrangeHex", "$000080FF", true, 0x0080FF},
                                           TColorRow{"SystemColourHex", "$FF00000F", true,
                                                     0xFF00000F},
                                           TColorRow{"Decimal", "12632256", true, 0xC0C0C0},
                                           TColorRow{"NegativeDecimal", "-1", true, 0xFFFFFFFF},
                                           TColorRow{"NameInAnyCase", "CLRED", true, 0x0000FF},
                                           TColorRow{"UnknownName", "clOrange", false, 0},
                                           TColorRow{"NameWithTrailingBlank", "clRed ", false, 0},
                                           TColorRow{"Empty", "", false, 0}),
                         [](const auto& p) { return std::string(p.param.Name); });

TEST(ColorText, CustomColoursAreWrittenAsEightHexDigits) {
    EXPECT_EQ(ColorToText(0x0080FF), "$000080FF");
    EXPECT_EQ(ColorToText(0xFF00000F), "$FF00000F");
    EXPECT_EQ(ColorToText(0x00ABCDEF), "$00ABCDEF");
}

// ---- which files count as UTF-8

struct TUtf8Row {
    const char* Name;
    std::string Bytes;
    bool Valid;
    friend void PrintTo(const TUtf8Row& row, std::ostream* os) { *os << row.Name; }
};

class Utf8Rows : public ::testing::TestWithParam<TUtf8Row> {};

TEST_P(Utf8Rows, DecidesTheCodePage) {
    EXPECT_EQ(IsValidUtf8(GetParam().Bytes), GetParam().Valid);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8Rows,
    ::testing::Values(TUtf8Row{"Ascii", "sin(x)", true}, TUtf8Row{"Cyrillic", "синус", true},
                      TUtf8Row{"FourBytes", "\xF0\x9F\x98\x80", true},
                      // "синус" in Windows-1251.
                      TUtf8Row{"Windows1251Word", "\xF1\xE8\xED\xF3\xF1", false},
                      TUtf8Row{"OverlongSlash", "\xC0\xAF", false},
                      TUtf8Row{"Surrogate", "\xED\xA0\x80", false},
                      TUtf8Row{"BeyondUnicode", "\xF4\x90\x80\x80", false},
                      TUtf8Row{"TruncatedAtEnd", "ab\xD0", false}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace

TEST(MessageLines, TheTwoCharacterBreakIsOneBreak) {
    EXPECT_EQ(MessageLines("Не удаётся открыть файл!\n\r"), "Не удаётся открыть файл!\n");
    EXPECT_EQ(MessageLines("от\n\r1\n\r2"), "от\n1\n2");
    // Only line feed then carriage return is the program's break; the other order stays.
    EXPECT_EQ(MessageLines("a\r\nb"), "a\r\nb");
    EXPECT_EQ(MessageLines("a\n\r\rb"), "a\n\rb");
    EXPECT_EQ(MessageLines(""), "");
}
