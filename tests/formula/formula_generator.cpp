#include "formula_generator.h"

#include "formula/functions.h"
#include "support/machine_number.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <string_view>

namespace kurvant::testing {

namespace {

constexpr const char* OperatorChoices[] = {"+", "-", "*", "/", ":", "^", "", "+", "-", "*", "^"};
constexpr const char* SpecialNumbers[] = {"0.00001",
                                          "0,000001",
                                          "0.0000099999",
                                          "1.5708",
                                          "2.5",
                                          "3.5",
                                          "0.5",
                                          "2147483647",
                                          "3000000000",
                                          "100000",
                                          "5000",
                                          "1000",
                                          "1.0000001",
                                          "0.333333",
                                          "1.9999999",
                                          "2.000001",
                                          "0",
                                          "00",
                                          "1.",
                                          ",5",
                                          "1.2.3",
                                          "123456789012345678901234567890",
                                          "0.1234567890123456789"};
constexpr const char* OtherNames[] = {"sinh", "log", "e", "z", "xy", "yx", "pix", "exp x", "a"};
constexpr const char* StrayCharacters[] = {"#", "@", "!", " ", ";", "|", "(", ")", "\t", "\xc0"};

} // namespace

std::string TFormulaGenerator::Digits(int count) {
    std::string digits;
    for (int i = 0; i < count; ++i) {
        digits += static_cast<char>('0' + Below(10));
    }
    return digits;
}

std::string TFormulaGenerator::Number() {
    if (Chance(6)) {
        return SpecialNumbers[Below(std::size(SpecialNumbers))];
    }
    std::string number = Digits(1 + Below(Chance(8) ? 20 : 3));
    if (Chance(2)) {
        number += Chance(2) ? '.' : ',';
        number += Digits(1 + Below(Chance(8) ? 20 : 4));
    }
    return number;
}

std::string TFormulaGenerator::FunctionName() {
    return std::string(FunctionNames[Below(FunctionNames.size())]);
}

std::string TFormulaGenerator::Factor(int depth) {
    // Mostly well-formed; one factor in about fifty is a known fault or a stray character.
    const int choice = depth <= 0 ? Below(4) : Below(100);
    switch (choice) {
    case 0:
    case 1:
        return Number();
    case 2: {
        const char letter = Letters[Below(2)];
        // Upper case now and then, which preparation lowers.
        return std::string(1, Chance(4) ? static_cast<char>(letter - 'a' + 'A') : letter);
    }
    case 3:
        return Chance(3) ? "pi" : Number();
    case 4:
    case 5:
    case 6:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18: {
        std::string call = FunctionName() + "(" + Expression(depth - 1);
        return Chance(10) ? call : call + ")";
    }
    case 24:
        // An argument without parentheses: 'sinx', 'sin2', 'sinexp(x)'.
        return FunctionName() + Factor(depth - 1);
    case 8:
    case 9:
    case 19:
    case 20:
    case 21:
    case 22: {
        // Appended piece by piece: GCC 12 warns falsely of overlap on "(" + a string.
        std::string group(1, '(');
        group += Expression(depth - 1);
        if (!Chance(8)) {
            group += ')';
        }
        return group;
    }
    case 10: {
        std::string bars(1, '|');
        bars += Expression(depth - 1);
        if (!Chance(8)) {
            bars += '|';
        }
        return bars;
    }
    case 11:
        return FunctionName() + "|" + Expression(depth - 1) + "|";
    case 23:
        return Chance(2) ? OtherNames[Below(std::size(OtherNames))]
                         : StrayCharacters[Below(std::size(StrayCharacters))];
    default:
        return Chance(2) ? Number() : std::string(1, Letters[Below(2)]);
    }
}

std::string TFormulaGenerator::Expression(int depth) {
    std::string text;
    const int terms = 1 + Below(4);
    std::string_view previous = "+";
    for (int i = 0; i < terms; ++i) {
        if (i > 0) {
            previous = OperatorChoices[Below(std::size(OperatorChoices))];
            text += previous;
        }
        // A sign belongs to a term: after '*', '/' or '^' it is a syntax error, now and then.
        const bool signAllowed = previous == "+" || previous == "-";
        for (int signs = Chance(signAllowed ? 3 : 100) ? 1 + Below(3) : 0; signs > 0; --signs) {
            text += Chance(3) ? '+' : '-';
        }
        if (Chance(10)) {
            text += ' ';
        }
        text += Factor(depth);
    }
    return text;
}

std::string TFormulaGenerator::Typed(const char* letters) {
    Letters[0] = letters[0];
    Letters[1] = letters[1] != '\0' ? letters[1] : letters[0];
    std::string text = Expression(1 + Below(3));
    return text.empty() ? "x" : text;
}

std::string TFormulaGenerator::PreparedSoup() {
    static constexpr const char* Pieces[] = {
        "#x#",  "#y#",     "#x#",   "#y#",      "#2#",       "#0,5#", "#0.5#", "#1E-5#",
        "#-3#", "#1,2,3#", "##",    "#",        "x",         "y",     "(",     ")",
        "+",    "-",       "*",     "/",        "^",         "--",    "abs",   "sin",
        "ln",   "exp",     "arc",   "tg",       "sqrt",      "round", "#0#",   "#100000#",
        "#x",   "x#",      "#INF#", "#1E4000#", "#0,00001#", "#-0,5#"};
    std::string text;
    const int pieces = 1 + Below(12);
    for (int i = 0; i < pieces; ++i) {
        text += Pieces[Below(std::size(Pieces))];
    }
    return text;
}

long double TFormulaGenerator::NearHalf() {
    // A 15-digit number and a 5 after it, at some decade, read as the nearest long double: the
    // rounding to 15 digits then sits within a hair of a half.
    std::string text = std::string(Chance(2) ? "-" : "") + static_cast<char>('1' + Below(9)) + "." +
                       Digits(14) + "5" + (Chance(3) ? Digits(Below(4)) : "") + "e" +
                       std::to_string(Below(80) - 25);
    long double value = MachineNumber(text);
    const int nudge = Below(5) - 2;
    for (int i = 0; i < std::abs(nudge); ++i) {
        value = std::nextafter(value, nudge > 0 ? std::numeric_limits<long double>::infinity()
                                                : -std::numeric_limits<long double>::infinity());
    }
    return value;
}

long double TFormulaGenerator::Value() {
    using limits = std::numeric_limits<long double>;
    static constexpr long double Specials[] = {
        0.0L,    -0.0L,  1,      -1,          2,           0.5L,
        1e-5L,   -1e-5L, 1e-6L,  9.99999e-6L, 1.00001e-5L, std::numbers::pi_v<long double> / 2,
        1.5708L, 1e15L,  1e20L,  1e42L,       1e300L,      1e400L,
        1e4000L, 1e-13L, 1e-14L, 1e-300L,     1e-4940L,    2147483647.0L,
        0.1L,    0.3L};
    switch (Below(12)) {
    case 0:
        return Specials[Below(std::size(Specials))];
    case 1:
        return Below(11) - 5;
    case 2:
    case 3:
    case 4:
        // A double, as sampling substitutes.
        return static_cast<double>(std::uniform_real_distribution<double>(-3, 3)(Random));
    case 5:
        return std::uniform_real_distribution<long double>(-100, 100)(Random);
    case 6:
    case 7:
        return NearHalf();
    case 8: {
        const long double magnitude =
            std::pow(10.0L, std::uniform_real_distribution<long double>(-60, 60)(Random));
        return Chance(2) ? magnitude : -magnitude;
    }
    case 9: {
        static constexpr long double Edges[] = {limits::max(),       limits::denorm_min(),
                                                limits::min(),       limits::infinity(),
                                                -limits::infinity(), limits::quiet_NaN()};
        return Edges[Below(std::size(Edges))];
    }
    case 10:
        // The sampling walk of -1..1: the k-th of 200 points by repeated addition.
        {
            double v = -1;
            const int k = Below(200);
            for (int i = 0; i < k; ++i) {
                v += 2.0 / 199;
            }
            return v;
        }
    default:
        return static_cast<double>(std::uniform_real_distribution<double>(-1, 1)(Random)) *
               std::pow(10.0, Below(8) - 4);
    }
}

} // namespace kurvant::testing
