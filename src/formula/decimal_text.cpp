#include "formula/decimal_text.h"

#include <charconv>
#include <cmath>

namespace kurvant {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool OneOf(std::string_view set, char c) {
    return set.find(c) != std::string_view::npos;
}

} // namespace

std::optional<std::string> ScanDecimal(std::string_view text, const TDecimalSyntax& syntax) {
    std::string c;
    c.reserve(text.size());
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && OneOf(syntax.Signs, text[i])) {
        if (text[i] == '-') {
            c += '-';
        }
        ++i;
    }
    std::size_t mantissaDigits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++mantissaDigits) {
        c += text[i];
    }
    if (i < n && OneOf(syntax.Marks, text[i])) {
        c += '.';
        for (++i; i < n && IsDigit(text[i]); ++i, ++mantissaDigits) {
            c += text[i];
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < n && OneOf(syntax.ExponentLetters, text[i])) {
        c += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            c += text[i];
            ++i;
        }
        std::size_t exponentDigits = 0;
        for (; i < n && IsDigit(text[i]); ++i, ++exponentDigits) {
            c += text[i];
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != n) {
        return std::nullopt;
    }
    return c;
}

bool ReadDecimalDouble(std::string_view text, const TDecimalSyntax& syntax, double& value) {
    const std::optional<std::string> c = ScanDecimal(text, syntax);
    if (!c) {
        return false;
    }
    double result = 0;
    const char* last = c->data() + c->size();
    const auto [end, error] = std::from_chars(c->data(), last, result);
    // A value beyond the double range is no number the program can use.
    if (error != std::errc() || end != last || !std::isfinite(result)) {
        return false;
    }
    value = result;
    return true;
}

} // namespace kurvant
