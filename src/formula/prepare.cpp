#include "formula/prepare.h"

#include "formula/number_text.h"

#include <numbers>

namespace kurvant {

namespace {

// Each step below builds a new string in one pass: inserting into the text in place would make
// preparation quadratic, and formulas pasted from elsewhere can be long.

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigitClass(char c, char separator) {
    return (c >= '0' && c <= '9') || c == separator;
}

std::string WithoutBlanks(const std::string& s) {
    std::string t;
    t.reserve(s.size());
    for (char c : s) {
        if (c != ' ') {
            t += c;
        }
    }
    return t;
}

// Lower case, one decimal separator, ':' as '/'.
void NormaliseCharacters(std::string& s, char separator) {
    const char other = separator == '.' ? ',' : '.';
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (c == other) {
            c = separator;
        } else if (c == ':') {
            c = '/';
        }
    }
}

// Bars do not nest: the first bar opens "(abs(", the next one closes "))", the next opens again.
// An unpaired last bar leaves its parentheses open; evaluation closes them at the end.
std::string WithBarsReplaced(const std::string& s) {
    std::string t;
    t.reserve(s.size() + s.size() / 2);
    bool open = false;
    for (char c : s) {
        if (c != '|') {
            t += c;
        } else {
            t += open ? "))" : "(abs(";
            open = !open;
        }
    }
    return t;
}

bool NeedsProductSign(char a, char b, char separator) {
    const bool aDigit = IsDigitClass(a, separator);
    const bool bDigit = IsDigitClass(b, separator);
    return (aDigit && IsLetter(b)) || (IsLetter(a) && bDigit) ||
           (a == ')' && (bDigit || IsLetter(b))) || (aDigit && b == '(') || (a == ')' && b == '(');
}

// Implicit products. An inserted '*' never makes a pair that needs another one, so each pair of
// neighbours of the text is tested once. A letter before '(' gets none: that is a function call.
std::string WithProductSigns(const std::string& s, char separator, bool& inserted) {
    inserted = false;
    std::string t;
    t.reserve(s.size() + s.size() / 2);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (i > 0 && NeedsProductSign(s[i - 1], s[i], separator)) {
            t += '*';
            inserted = true;
        }
        t += s[i];
    }
    return t;
}

std::string WithPiReplaced(const std::string& s, char separator) {
    const std::string pi = NumberText(std::numbers::pi_v<long double>, separator);
    std::string t;
    t.reserve(s.size() + 16);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == 'p' && i + 1 < s.size() && s[i + 1] == 'i') {
            t += pi;
            ++i;
        } else {
            t += s[i];
        }
    }
    return t;
}

// Every maximal run of digits and separators becomes one marked number.
std::string WithNumbersMarked(const std::string& s, char separator) {
    std::string t;
    t.reserve(s.size() * 2);
    std::size_t i = 0;
    while (i < s.size()) {
        if (!IsDigitClass(s[i], separator)) {
            t += s[i++];
            continue;
        }
        t += '#';
        while (i < s.size() && IsDigitClass(s[i], separator)) {
            t += s[i++];
        }
        t += '#';
    }
    return t;
}

// A variable letter is marked only when it stands alone: 'xy' and the 'x' of "exp" stay as they
// are (and such a formula fails to evaluate). The character before is taken from the text as
// marked so far, as the markers themselves are not letters.
std::string WithVariablesMarked(const std::string& s, std::string_view variables) {
    std::string t;
    t.reserve(s.size() * 2);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const bool letterBefore = !t.empty() && IsLetter(t.back());
        const bool letterAfter = i + 1 < s.size() && IsLetter(s[i + 1]);
        if (variables.find(c) != std::string_view::npos && !letterBefore && !letterAfter) {
            t += '#';
            t += c;
            t += '#';
        } else {
            t += c;
        }
    }
    return t;
}

} // namespace

bool PrepareFormula(std::string& formula, std::string_view variables, TFormulaContext& context) {
    const char separator = context.DecimalSeparator;
    std::string s = WithoutBlanks(formula);
    if (s.empty()) {
        return false;
    }
    NormaliseCharacters(s, separator);
    s = WithBarsReplaced(s);
    bool inserted = false;
    s = WithProductSigns(s, separator, inserted);
    context.FormulaRewritten = inserted;
    if (inserted) {
        context.RewrittenFormula = s;
    }
    s = WithPiReplaced(s, separator);
    s = WithNumbersMarked(s, separator);
    formula = WithVariablesMarked(s, variables);
    return true;
}

std::string SubstituteVariable(std::string_view prepared, char letter, long double value,
                               const TFormulaContext& context) {
    std::string number;
    std::string t;
    t.reserve(prepared.size() + 16);
    for (std::size_t i = 0; i < prepared.size(); ++i) {
        const char c = prepared[i];
        const bool marked =
            !t.empty() && t.back() == '#' && i + 1 < prepared.size() && prepared[i + 1] == '#';
        if (c == letter && marked) {
            if (number.empty()) {
                number = NumberText(value, context.DecimalSeparator);
            }
            t += number;
        } else {
            t += c;
        }
    }
    return t;
}

} // namespace kurvant
