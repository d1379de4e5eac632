#pragma once
// Formulas and values made at random for the differential tests of the program against the
// rewriting: typed formulas of every operator, function, sign, power and nesting, prepared texts
// with the rewriting's quirks, and variable values that reach every rounding and domain edge.

#include <cstdint>
#include <random>
#include <string>

namespace kurvant::testing {

class TFormulaGenerator {
public:
    explicit TFormulaGenerator(std::uint64_t seed) : Random(seed) {}

    /// A formula as a user might type it, in the two variables `letters` (lower case): well-formed
    /// most of the time, with implicit products, bars, "pi", both separators, unclosed groups
    /// and stray characters.
    std::string Typed(const char* letters = "xy");

    /// A text in the prepared form's alphabet put together without regard to grammar: marked
    /// numbers and variables, names, operators, signs, parentheses and stray markers.
    std::string PreparedSoup();

    /// A value for a variable: ordinary numbers, the domain thresholds, values whose 16th digit
    /// is a 5 (the rounding's halves), huge, tiny, subnormal, infinite and not-a-number.
    long double Value();

    /// ',' or '.'.
    char Separator() { return Chance(2) ? ',' : '.'; }

    /// True once in `n` times.
    bool Chance(int n) { return Below(n) == 0; }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Random); }

private:
    std::string Expression(int depth);
    std::string Factor(int depth);
    std::string Number();
    std::string FunctionName();
    std::string Digits(int count);
    long double NearHalf();

    std::mt19937_64 Random;
    char Letters[2] = {'x', 'y'};
};

} // namespace kurvant::testing
