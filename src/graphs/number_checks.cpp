#include "graphs/number_checks.h"

#include "formula/constant_expression.h"
#include "formula/decimal_text.h"
#include "formula/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool ReadDecimal(const std::string& t, char sep, double& value) {
    const char marks[] = {sep};
    return kurvant::ReadDecimalDouble(
        t, {.Signs = "+-", .Marks = std::string_view(marks, 1), .ExponentLetters = "eE"}, value);
}

bool ReadWhole(const std::string& t, std::int32_t& value) {
    std::size_t start = (!t.empty() && t.front() == '+') ? 1 : 0;
    if (start == 1 && t.size() > 1 && t[1] == '-')
        return false;
    std::int32_t v = 0;
    const auto [end, ec] = std::from_chars(t.data() + start, t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() || t.size() == start)
        return false;
    value = v;
    return true;
}

std::string NotANumberMessage(const std::string& t) {
    return "'" + t + "' не является числом!";
}

// The range message of a number or an expression, which shows `t` as typed (normalised).
std::string RangeMessage(const std::string& t, std::string_view suffix, double minimum,
                         double maximum, char decimalSeparator) {
    std::string s(suffix);
    return "Число '" + t + "' не лежит в промежутке\n\rот " +
           RangeMinimumText(minimum, decimalSeparator) + " " + s + " до " +
           kurvant::NumberText(maximum, decimalSeparator) + " " + s + "!";
}

} // namespace

std::string FloatSeparator(std::string_view text, char decimalSeparator) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    std::string t(text.substr(first, last - first));
    const char other = decimalSeparator == '.' ? ',' : '.';
    for (char& c : t)
        if (c == other)
            c = decimalSeparator;
    return t;
}

std::string RangeMinimumText(double minimum, char decimalSeparator) {
    if (std::fabs(minimum) >= 1)
        return kurvant::NumberText(minimum, decimalSeparator);
    double rounded = 0;
    if (minimum != 0) {
        const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(minimum))));
        rounded = std::round(minimum / scale) * scale;
    }
    char buffer[64];
    const std::to_chars_result end =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 10);
    std::string s(buffer, end.ptr);
    if (s == "-0.0000000000")
        s.erase(0, 1);
    for (char& c : s)
        if (c == '.')
            c = decimalSeparator;
    return s;
}

bool Is_float_number(std::string_view text, std::string_view suffix, double minimum, double maximum,
                     double& value, char decimalSeparator, std::string& message) {
    const std::string t = FloatSeparator(text, decimalSeparator);
    double v = 0;
    if (!ReadDecimal(t, decimalSeparator, v)) {
        message = NotANumberMessage(t);
        return false;
    }
    if (minimum <= v && v <= maximum) {
        value = v;
        return true;
    }
    message = RangeMessage(t, suffix, minimum, maximum, decimalSeparator);
    return false;
}

bool Is_int_number(std::string_view text, std::int32_t minimum, std::int32_t maximum,
                   std::int32_t& value, char decimalSeparator, std::string& message) {
    const std::string t = FloatSeparator(text, decimalSeparator);
    std::int32_t v = 0;
    if (!ReadWhole(t, v)) {
        message = "'" + t + "' не является натуральным числом!";
        return false;
    }
    if (minimum <= v && v <= maximum) {
        value = v;
        return true;
    }
    message = "Число '" + t + "' не лежит в промежутке\n\rот " + std::to_string(minimum) + " до " +
              std::to_string(maximum) + "!";
    return false;
}

std::string FieldMessage(std::string_view field, std::string_view message) {
    if (field.empty())
        return std::string(message);
    return "Поле \"" + std::string(field) + "\":\n\r" + std::string(message);
}

bool ReadFloatField(std::string_view field, std::string_view text, std::string_view suffix,
                    double minimum, double maximum, double& value, char decimalSeparator,
                    std::string& message) {
    const std::string t = FloatSeparator(text, decimalSeparator);
    double v = 0;
    // A plain number keeps its exact reading; only what is none is an expression.
    if (!ReadDecimal(t, decimalSeparator, v)) {
        const kurvant::TConstantValue constant = kurvant::EvaluateConstant(t, decimalSeparator);
        switch (constant.Outcome) {
        case kurvant::TConstantOutcome::Value:
            // Beyond the double range it is infinite, and the range check refuses it.
            v = static_cast<double>(constant.Value);
            break;
        case kurvant::TConstantOutcome::NotDefined:
            message = FieldMessage(field, "Выражение '" + t + "' не имеет значения!");
            return false;
        case kurvant::TConstantOutcome::NotAFormula:
        case kurvant::TConstantOutcome::SyntaxError:
            message = FieldMessage(field, NotANumberMessage(t));
            return false;
        }
    }
    if (minimum <= v && v <= maximum) {
        value = v;
        return true;
    }
    message = FieldMessage(field, RangeMessage(t, suffix, minimum, maximum, decimalSeparator));
    return false;
}

bool ReadIntField(std::string_view field, std::string_view text, std::int32_t minimum,
                  std::int32_t maximum, std::int32_t& value, char decimalSeparator,
                  std::string& message) {
    if (Is_int_number(text, minimum, maximum, value, decimalSeparator, message))
        return true;
    message = FieldMessage(field, message);
    return false;
}
