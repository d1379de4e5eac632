#include "formula/number_text.h"

#include "formula/decimal_text.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <vector>

namespace kurvant {

namespace {

constexpr int kSignificantDigits = 15;
// Twenty-one digits decide the rounding to fifteen unless they show an exact half.
constexpr int kQuickPrecision = 20;
// The exact decimal expansion of any 80-bit value has fewer significant digits than this.
constexpr int kExactPrecision = 11600;

struct TDecimalDigits {
    std::string Digits; // significant digits, the first one nonzero
    int Exponent = 0;   // the value is 0.d1d2... x 10^(Exponent + 1), i.e. d1.d2... x 10^Exponent
};

// The digits of a positive finite value as glibc's printf writes them, rounded to precision + 1
// significant digits. The decimal point is skipped whatever the locale makes it.
TDecimalDigits PrintedDigits(long double magnitude, int precision) {
    std::vector<char> buffer(static_cast<std::size_t>(precision) + 64);
    std::snprintf(buffer.data(), buffer.size(), "%.*Le", precision, magnitude);
    TDecimalDigits result;
    const char* p = buffer.data();
    for (; *p != '\0' && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            result.Digits.push_back(*p);
        }
    }
    if (*p == 'e') {
        result.Exponent = std::atoi(p + 1);
    }
    return result;
}

bool ShowsExactHalf(const std::string& digits) {
    if (digits[kSignificantDigits] != '5') {
        return false;
    }
    for (std::size_t i = kSignificantDigits + 1; i < digits.size(); ++i) {
        if (digits[i] != '0') {
            return false;
        }
    }
    return true;
}

// Rounds a positive finite value to 15 significant digits, halves away from zero.
TDecimalDigits RoundedDigits(long double magnitude) {
    TDecimalDigits printed = PrintedDigits(magnitude, kQuickPrecision);
    if (ShowsExactHalf(printed.Digits)) {
        // The value lies within half a unit of the 21st digit of a tie: only the full expansion
        // tells whether it is the tie itself, just above it or just below it.
        printed = PrintedDigits(magnitude, kExactPrecision);
    }
    const bool roundUp = printed.Digits[kSignificantDigits] >= '5';
    TDecimalDigits rounded;
    rounded.Digits = printed.Digits.substr(0, kSignificantDigits);
    rounded.Exponent = printed.Exponent;
    if (roundUp) {
        int i = kSignificantDigits - 1;
        while (i >= 0 && rounded.Digits[i] == '9') {
            rounded.Digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++rounded.Digits[i];
        } else {
            rounded.Digits.insert(rounded.Digits.begin(), '1');
            rounded.Digits.pop_back();
            ++rounded.Exponent;
        }
    }
    while (rounded.Digits.size() > 1 && rounded.Digits.back() == '0') {
        rounded.Digits.pop_back();
    }
    return rounded;
}

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

} // namespace

std::string NumberText(long double value, char decimalSeparator) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    if (value == 0) {
        return "0";
    }
    const TDecimalDigits rounded = RoundedDigits(std::fabs(value));
    const std::string& d = rounded.Digits;
    const int x = rounded.Exponent;
    std::string text = value < 0 ? "-" : "";
    if (x >= -4 && x <= 14) {
        if (x < 0) {
            text += '0';
            text += decimalSeparator;
            text.append(static_cast<std::size_t>(-x - 1), '0');
            text += d;
        } else {
            const std::size_t integerDigits = static_cast<std::size_t>(x) + 1;
            if (d.size() <= integerDigits) {
                text += d;
                text.append(integerDigits - d.size(), '0');
            } else {
                text += d.substr(0, integerDigits);
                text += decimalSeparator;
                text += d.substr(integerDigits);
            }
        }
        return text;
    }
    text += d[0];
    if (d.size() > 1) {
        text += decimalSeparator;
        text += d.substr(1);
    }
    text += 'E';
    text += std::to_string(x);
    return text;
}

bool ReadNumberText(std::string_view text, char decimalSeparator, long double& value) {
    // Scanned here rather than left to strtold, which would also take blanks, "inf", "nan",
    // hexadecimal and a lower-case 'e'.
    const char marks[] = {decimalSeparator};
    const std::optional<std::string> c = ScanDecimal(
        text, {.Signs = "-", .Marks = std::string_view(marks, 1), .ExponentLetters = "E"});
    if (!c) {
        return false;
    }
    const long double read = strtold_l(c->c_str(), nullptr, CLocale());
    if (std::isinf(read)) {
        return false;
    }
    value = read;
    return true;
}

} // namespace kurvant
