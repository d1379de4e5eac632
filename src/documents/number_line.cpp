#include "documents/number_line.h"

#include "formula/decimal_text.h"
#include "formula/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Turns the exponent form of a number text ("-2,5E-5", "1E20") into fixed notation with the
// same digits.
std::string ExpandExponent(const std::string& text, char separator) {
    const std::size_t e = text.find('E');
    const bool negative = text[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (IsDigit(text[i])) {
            digits.push_back(text[i]);
        }
    }
    const int exponent = std::stoi(text.substr(e + 1));
    // The value is d1.d2d3... x 10^exponent, so the separator stands after `point` digits.
    const long point = static_cast<long>(exponent) + 1;
    const long count = static_cast<long>(digits.size());
    std::string result = negative ? "-" : "";
    if (point <= 0) {
        result += '0';
        result += separator;
        result.append(static_cast<std::size_t>(-point), '0');
        result += digits;
    } else if (point >= count) {
        result += digits;
        result.append(static_cast<std::size_t>(point - count), '0');
    } else {
        result += digits.substr(0, static_cast<std::size_t>(point));
        result += separator;
        result += digits.substr(static_cast<std::size_t>(point));
    }
    return result;
}

// The token of the number-line reader: an optional leading minus, digits and at most one '.',
// with at least one digit. The reader's buffer never holds anything else.
bool ConvertToken(std::string_view token, double& value) {
    if (token.empty()) {
        return false;
    }
    const char* first = token.data();
    const char* last = token.data() + token.size();
    double result = 0;
    const auto [end, error] = std::from_chars(first, last, result, std::chars_format::fixed);
    if (error != std::errc() || end != last || !std::isfinite(result)) {
        return false;
    }
    value = result;
    return true;
}

std::string WithPoint(std::string text, char separator) {
    for (char& c : text) {
        c = c == separator ? '.' : c;
    }
    return text;
}

// The value cut (not rounded) to 15 significant digits, in fixed notation: a magnitude never
// grows, so a finite value keeps a text that reads back.
std::string TruncatedText(double value, char separator) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.20e", std::fabs(value));
    std::string digits;
    const char* p = buffer;
    for (; *p != '\0' && *p != 'e'; ++p) {
        if (IsDigit(*p)) {
            digits.push_back(*p);
        }
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    digits.resize(15);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string text = value < 0 ? "-" : "";
    text += digits.substr(0, 1);
    if (digits.size() > 1) {
        text += separator;
        text += digits.substr(1);
    }
    text += 'E';
    text += std::to_string(exponent);
    return ExpandExponent(text, separator);
}

} // namespace

std::string FloatText(double Value, char DecimalSeparator) {
    if (!std::isfinite(Value)) {
        return "0";
    }
    std::string text = kurvant::NumberText(Value, DecimalSeparator);
    if (text.find('E') != std::string::npos) {
        text = ExpandExponent(text, DecimalSeparator);
    }
    // Rounding to 15 digits can carry the largest doubles past the largest double, and such a
    // text would not read back; the largest 15-digit value not above the number does.
    double check = 0;
    if (std::fabs(Value) > 1e300 && !ConvertToken(WithPoint(text, DecimalSeparator), check)) {
        return TruncatedText(Value, DecimalSeparator);
    }
    return text;
}

std::string FloatLine(std::initializer_list<double> Values, char DecimalSeparator) {
    std::string line;
    for (double value : Values) {
        if (!line.empty()) {
            line += ' ';
        }
        line += FloatText(value, DecimalSeparator);
    }
    return line;
}

std::string_view TrimText(std::string_view Text) {
    std::size_t first = 0;
    std::size_t last = Text.size();
    while (first < last && static_cast<unsigned char>(Text[first]) <= ' ') {
        ++first;
    }
    while (last > first && static_cast<unsigned char>(Text[last - 1]) <= ' ') {
        --last;
    }
    return Text.substr(first, last - first);
}

TNumberLine PrintOneFloatLine(std::string_view Line, std::span<double> Values) {
    const std::string_view line = TrimText(Line);
    if (line.empty()) {
        return TNumberLine::Empty;
    }
    std::string token;
    bool signSeen = false;
    bool markSeen = false;
    std::size_t index = 0;
    std::size_t pos = 0;
    while (pos < line.size() && index < Values.size()) {
        const char c = line[pos];
        if (c == '-' && !signSeen) {
            token.push_back('-');
            signSeen = true;
        } else if ((c == ',' || c == '.') && !markSeen) {
            token.push_back('.');
            markSeen = true;
        } else if (IsDigit(c)) {
            token.push_back(c);
        } else if (c == ' ') {
            if (!ConvertToken(token, Values[index])) {
                return TNumberLine::Invalid;
            }
            while (pos + 1 < line.size() && line[pos + 1] == ' ') {
                ++pos;
            }
            token.clear();
            signSeen = false;
            markSeen = false;
            ++index;
        }
        ++pos;
    }
    // A line with more numbers than there are values stops right after a blank, with an empty
    // token, and fails here like a token without digits.
    if (index >= Values.size() || !ConvertToken(token, Values[index])) {
        return TNumberLine::Invalid;
    }
    return TNumberLine::Ok;
}

bool TextToInt(std::string_view Text, int& Value) {
    std::size_t pos = 0;
    while (pos < Text.size() && Text[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < Text.size() && (Text[pos] == '-' || Text[pos] == '+')) {
        negative = Text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (pos < Text.size() && Text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos + 1 < Text.size() && Text[pos] == '0' &&
               (Text[pos + 1] == 'x' || Text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    const std::string_view digits = Text.substr(pos);
    if (digits.empty()) {
        return false;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return false;
    }
    std::int64_t result = 0;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFu) {
            return false;
        }
        // Eight hexadecimal digits fill all 32 bits: $FFFFFFFF is -1.
        result = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
        result = negative ? -result : result;
    } else {
        const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
        if (magnitude > limit) {
            return false;
        }
        result =
            negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    }
    if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max()) {
        return false;
    }
    Value = static_cast<int>(result);
    return true;
}

bool TextToFloat(std::string_view Text, double& Value) {
    return kurvant::ReadDecimalDouble(
        TrimText(Text), {.Signs = "+-", .Marks = ".,", .ExponentLetters = "eE"}, Value);
}
