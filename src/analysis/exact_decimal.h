#pragma once
// Decimal numbers held exactly. A tabulation adds its step to the typed start and compares with
// the typed end as the user reads them, in decimal: 0 + 3 × 0,1 is 0,3 and not the double just
// above it, so no row is lost to binary rounding. The same numbers are rounded and written with a
// fixed count of decimals for the table and for the formula of a tangent.

#include <optional>
#include <string>
#include <string_view>

// After the others: Qt's moc reads this header through a dialog's and needs the library's
// configuration included before <compare> brings in <concepts>.
#include <compare>

namespace kurvant {

class TExactDecimal {
public:
    /// Zero.
    TExactDecimal() = default;

    /// Reads `[-]digits[SEP digits][E[-]digits]`, the forms that `NumberText` and `FloatText`
    /// write; the count of decimals is the count of digits the text puts after the separator
    /// (moved by the exponent). Nothing for any other text.
    static std::optional<TExactDecimal> Parse(std::string_view text, char separator);
    /// The value as the formula engine writes numbers (`NumberText`: 15 significant digits,
    /// halves away from zero), taken exactly. Nothing for infinities and not-a-number.
    static std::optional<TExactDecimal> OfEngineValue(long double value);

    /// The digits the value has after the separator (trailing zeros of the text included).
    [[nodiscard]] int Decimals() const { return Scale; }
    [[nodiscard]] bool IsNegative() const { return Negative; }
    [[nodiscard]] bool IsZero() const { return Digits.empty(); }

    friend TExactDecimal operator+(const TExactDecimal& a, const TExactDecimal& b);
    friend TExactDecimal operator-(const TExactDecimal& a, const TExactDecimal& b);
    /// The value times a whole number.
    [[nodiscard]] TExactDecimal Times(unsigned factor) const;
    /// Compares values, whatever their counts of decimals (0,50 equals 0,5).
    friend std::strong_ordering operator<=>(const TExactDecimal& a, const TExactDecimal& b);
    friend bool operator==(const TExactDecimal& a, const TExactDecimal& b) {
        return (a <=> b) == std::strong_ordering::equal;
    }

    /// The value rounded to `decimals` places, halves away from zero, with exactly that many
    /// decimals after `separator` (none and no separator for 0) and the whole part's digits
    /// grouped by three with `group` between them ("" for none). A negative value keeps its minus
    /// even when it rounds to zero, so the text never reads as a number of the other sign.
    [[nodiscard]] std::string Fixed(int decimals, char separator, std::string_view group) const;
    /// The nearest long double.
    [[nodiscard]] long double Value() const;

private:
    /// The magnitude as a whole number of units 10^-Scale, without leading zeros; empty for zero.
    std::string Digits;
    int Scale = 0;
    bool Negative = false; ///< never set for zero
};

} // namespace kurvant
