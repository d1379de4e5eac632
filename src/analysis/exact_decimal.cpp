#include "analysis/exact_decimal.h"

#include "formula/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kurvant {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string WithoutLeadingZeros(std::string digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string() : digits.substr(first);
}

// Magnitudes are whole numbers written without leading zeros.
std::strong_ordering CompareMagnitudes(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return a.size() <=> b.size();
    }
    const int c = a.compare(b);
    return c < 0 ? std::strong_ordering::less
                 : (c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
}

std::string AddMagnitudes(const std::string& a, const std::string& b) {
    std::string sum;
    int carry = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry != 0; ++i) {
        int digit = carry;
        if (i < a.size()) {
            digit += a[a.size() - 1 - i] - '0';
        }
        if (i < b.size()) {
            digit += b[b.size() - 1 - i] - '0';
        }
        sum.push_back(static_cast<char>('0' + digit % 10));
        carry = digit / 10;
    }
    std::reverse(sum.begin(), sum.end());
    return WithoutLeadingZeros(sum);
}

// a - b for a >= b.
std::string SubtractMagnitudes(const std::string& a, const std::string& b) {
    std::string difference;
    int borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        int digit = (a[a.size() - 1 - i] - '0') - borrow;
        if (i < b.size()) {
            digit -= b[b.size() - 1 - i] - '0';
        }
        borrow = digit < 0 ? 1 : 0;
        difference.push_back(static_cast<char>('0' + digit + 10 * borrow));
    }
    std::reverse(difference.begin(), difference.end());
    return WithoutLeadingZeros(difference);
}

// The magnitude in units of 10^-scale, for scale >= the number's own.
std::string Scaled(const std::string& digits, int from, int to) {
    return digits.empty() ? digits : digits + std::string(static_cast<std::size_t>(to - from), '0');
}

std::string Grouped(const std::string& whole, std::string_view group) {
    if (group.empty()) {
        return whole;
    }
    std::string text;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) {
            text += group;
        }
        text += whole[i];
    }
    return text;
}

// Exponents beyond this mean a text that no writer of the program produces.
constexpr long MaxExponent = 100000;

} // namespace

std::optional<TExactDecimal> TExactDecimal::Parse(std::string_view text, char separator) {
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative) {
        ++i;
    }
    std::string digits;
    long scale = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        digits += text[i];
    }
    if (i < text.size() && text[i] == separator) {
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++scale) {
            digits += text[i];
        }
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    if (i < text.size() && text[i] == 'E') {
        ++i;
        const bool negativeExponent = i < text.size() && text[i] == '-';
        if (negativeExponent) {
            ++i;
        }
        long exponent = 0;
        const std::size_t first = i;
        for (; i < text.size() && IsDigit(text[i]) && exponent <= MaxExponent; ++i) {
            exponent = exponent * 10 + (text[i] - '0');
        }
        if (i == first || exponent > MaxExponent) {
            return std::nullopt;
        }
        scale += negativeExponent ? exponent : -exponent;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    if (scale < 0) {
        digits.append(static_cast<std::size_t>(-scale), '0');
        scale = 0;
    }
    TExactDecimal result;
    result.Digits = WithoutLeadingZeros(digits);
    result.Scale = static_cast<int>(scale);
    result.Negative = negative && !result.Digits.empty();
    return result;
}

std::optional<TExactDecimal> TExactDecimal::OfEngineValue(long double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return Parse(NumberText(value, '.'), '.');
}

TExactDecimal operator+(const TExactDecimal& a, const TExactDecimal& b) {
    const int scale = std::max(a.Scale, b.Scale);
    const std::string x = Scaled(a.Digits, a.Scale, scale);
    const std::string y = Scaled(b.Digits, b.Scale, scale);
    TExactDecimal sum;
    sum.Scale = scale;
    if (a.Negative == b.Negative) {
        sum.Digits = AddMagnitudes(x, y);
        sum.Negative = a.Negative;
    } else if (CompareMagnitudes(x, y) >= 0) {
        sum.Digits = SubtractMagnitudes(x, y);
        sum.Negative = a.Negative;
    } else {
        sum.Digits = SubtractMagnitudes(y, x);
        sum.Negative = b.Negative;
    }
    sum.Negative = sum.Negative && !sum.Digits.empty();
    return sum;
}

TExactDecimal operator-(const TExactDecimal& a, const TExactDecimal& b) {
    TExactDecimal negated = b;
    negated.Negative = !b.Negative && !b.Digits.empty();
    return a + negated;
}

TExactDecimal TExactDecimal::Times(unsigned factor) const {
    TExactDecimal product;
    product.Scale = Scale;
    // Long multiplication by a one-word factor, from the last digit.
    std::string digits;
    unsigned long long carry = 0;
    for (auto it = Digits.rbegin(); it != Digits.rend() || carry != 0;) {
        unsigned long long d = carry;
        if (it != Digits.rend()) {
            d += static_cast<unsigned long long>(*it - '0') * factor;
            ++it;
        }
        digits.push_back(static_cast<char>('0' + d % 10));
        carry = d / 10;
    }
    std::reverse(digits.begin(), digits.end());
    product.Digits = WithoutLeadingZeros(digits);
    product.Negative = Negative && !product.Digits.empty();
    return product;
}

std::strong_ordering operator<=>(const TExactDecimal& a, const TExactDecimal& b) {
    if (a.Negative != b.Negative) {
        return a.Negative ? std::strong_ordering::less : std::strong_ordering::greater;
    }
    const int scale = std::max(a.Scale, b.Scale);
    const std::strong_ordering magnitudes =
        CompareMagnitudes(Scaled(a.Digits, a.Scale, scale), Scaled(b.Digits, b.Scale, scale));
    return a.Negative ? 0 <=> magnitudes : magnitudes;
}

std::string TExactDecimal::Fixed(int decimals, char separator, std::string_view group) const {
    decimals = std::max(decimals, 0);
    std::string units; // the rounded magnitude in units of 10^-decimals
    if (Scale <= decimals) {
        units = Scaled(Digits, Scale, decimals);
    } else {
        const std::size_t dropped = static_cast<std::size_t>(Scale - decimals);
        const std::size_t kept = Digits.size() > dropped ? Digits.size() - dropped : 0;
        // The first dropped digit decides: 5 or more is at least the half, which goes up.
        const bool up = Digits.size() >= dropped && Digits[kept] >= '5';
        units = Digits.substr(0, kept);
        if (up) {
            units = AddMagnitudes(units, "1");
        }
    }
    const std::size_t fraction = static_cast<std::size_t>(decimals);
    if (units.size() <= fraction) {
        units.insert(0, fraction + 1 - units.size(), '0');
    }
    std::string text = Negative ? "-" : "";
    text += Grouped(units.substr(0, units.size() - fraction), group);
    if (fraction > 0) {
        text += separator;
        text += units.substr(units.size() - fraction);
    }
    return text;
}

long double TExactDecimal::Value() const {
    if (Digits.empty()) {
        return 0;
    }
    // Digits and an exponent, without a decimal point, so that the process's locale does not
    // matter to strtold.
    std::string text = Negative ? "-" : "";
    text += Digits;
    text += "e-";
    text += std::to_string(Scale);
    return std::strtold(text.c_str(), nullptr);
}

} // namespace kurvant
