#include "tables/fixed_text.h"

#include "documents/number_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace {

// Every finite double has at most this many decimals in its exact expansion.
constexpr int ExactDecimals = 1074;
// Decimals beyond those kept that decide the rounding unless they look like a half exactly.
constexpr int GuardDecimals = 25;

// The magnitude with `decimals` decimals, correctly rounded (halves to even) from its exact value.
std::string Printed(double magnitude, int decimals) {
    // The integer part of a double has at most 309 digits.
    std::vector<char> buffer(static_cast<std::size_t>(decimals) + 320);
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                            std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string("0");
}

// Adds one unit in the last place of a string of decimal digits.
void Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

std::string FixedText(double value, int decimals, char decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    // Past the last decimal a double can have, every digit is a zero.
    decimals = std::clamp(decimals, 0, ExactDecimals);
    const double magnitude = std::fabs(value);
    std::string text = Printed(magnitude, decimals + GuardDecimals);
    const std::size_t point = text.find('.');
    const auto looksLikeHalf = [&] {
        const std::string_view tail = std::string_view(text).substr(point + 1 + decimals);
        return tail.front() == '5' && tail.find_first_not_of('0', 1) == std::string_view::npos;
    };
    // The guard digits were rounded once already; only a tail that reads as an exact half can
    // hide a value just below or just above it.
    if (looksLikeHalf())
        text = Printed(magnitude, std::max(ExactDecimals, decimals + 1));
    // All digits, integer and kept decimals, then the first dropped digit decides.
    std::string digits = text.substr(0, point) + text.substr(point + 1, decimals);
    const bool up = text[point + 1 + decimals] >= '5';
    if (up)
        Increment(digits);
    const std::size_t integerLength = digits.size() - static_cast<std::size_t>(decimals);
    std::string result;
    if (value < 0 && digits.find_first_not_of('0') != std::string::npos)
        result += '-';
    result += digits.substr(0, integerLength);
    if (decimals > 0) {
        result += decimalSeparator;
        result += digits.substr(integerLength);
    }
    return result;
}

std::string GroupedFixedText(double value, int decimals, char decimalSeparator,
                             std::string_view groupSeparator) {
    std::string text = FixedText(value, decimals, decimalSeparator);
    if (groupSeparator.empty() || !std::isfinite(value))
        return text;
    const std::size_t first = text[0] == '-' ? 1 : 0;
    std::size_t end = text.find(decimalSeparator);
    end = end == std::string::npos ? text.size() : end;
    for (std::size_t at = end; at > first + 3; at -= 3)
        text.insert(at - 3, groupSeparator);
    return text;
}

int WrittenDecimals(double value) {
    const std::string text = FloatText(value, '.');
    const std::size_t point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}
