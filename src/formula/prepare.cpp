#include "formula/prepare.h"

#include "formula/functions.h"
#include "formula/number_text.h"

#include <cstdint>
#include <numbers>
#include <vector>

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

// A text on its way from the typed form to the prepared one, with, for each character, where it
// came from in the text after the '*' insertion (for the notice of the rewriting) and whether it
// is a marker that opens or closes a marked number or variable (a '#' the user typed is neither).
struct TMarkedText {
    enum TRole : std::uint8_t { Plain, Opens, Closes };
    std::string Text;
    std::vector<std::size_t> Origin;
    std::vector<TRole> Role;

    void Add(char c, std::size_t origin, TRole role = Plain) {
        Text += c;
        Origin.push_back(origin);
        Role.push_back(role);
    }
    void Reserve(std::size_t n) {
        Text.reserve(n);
        Origin.reserve(n);
        Role.reserve(n);
    }
};

TMarkedText WithPiReplaced(const std::string& s, char separator) {
    const std::string pi = NumberText(std::numbers::pi_v<long double>, separator);
    TMarkedText t;
    t.Reserve(s.size() + 16);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == 'p' && i + 1 < s.size() && s[i + 1] == 'i') {
            for (const char c : pi) {
                t.Add(c, i);
            }
            ++i;
        } else {
            t.Add(s[i], i);
        }
    }
    return t;
}

// Every maximal run of digits and separators becomes one marked number.
TMarkedText WithNumbersMarked(const TMarkedText& s, char separator) {
    TMarkedText t;
    t.Reserve(s.Text.size() * 2);
    std::size_t i = 0;
    while (i < s.Text.size()) {
        if (!IsDigitClass(s.Text[i], separator)) {
            t.Add(s.Text[i], s.Origin[i]);
            ++i;
            continue;
        }
        t.Add('#', s.Origin[i], TMarkedText::Opens);
        while (i < s.Text.size() && IsDigitClass(s.Text[i], separator)) {
            t.Add(s.Text[i], s.Origin[i]);
            ++i;
        }
        t.Add('#', s.Origin[i - 1], TMarkedText::Closes);
    }
    return t;
}

// A variable letter is marked only when it stands alone: 'xy' and the 'x' of "exp" stay as they
// are (and such a formula fails to evaluate). The character before is taken from the text as
// marked so far, as the markers themselves are not letters.
TMarkedText WithVariablesMarked(const TMarkedText& s, std::string_view variables) {
    TMarkedText t;
    t.Reserve(s.Text.size() * 2);
    for (std::size_t i = 0; i < s.Text.size(); ++i) {
        const char c = s.Text[i];
        const bool letterBefore = !t.Text.empty() && IsLetter(t.Text.back());
        const bool letterAfter = i + 1 < s.Text.size() && IsLetter(s.Text[i + 1]);
        if (variables.find(c) != std::string_view::npos && !letterBefore && !letterAfter) {
            t.Add('#', s.Origin[i], TMarkedText::Opens);
            t.Add(c, s.Origin[i]);
            t.Add('#', s.Origin[i], TMarkedText::Closes);
        } else {
            t.Add(c, s.Origin[i], s.Role[i]);
        }
    }
    return t;
}

bool FunctionNameAt(const TMarkedText& t, std::size_t i) {
    const std::string_view rest = std::string_view(t.Text).substr(i);
    for (const std::string_view name : FunctionNames) {
        if (rest.starts_with(name)) {
            return true;
        }
    }
    return false;
}

// Factors side by side that only show as such once numbers and variables are marked: a marked
// number or variable directly followed by '(', by another marked one or by a function name is
// multiplied by it ('x(x+1)', 'pix', 'xpi', 'pisin(x)'). The positions of the inserted signs in
// the text after the first '*' insertion are added to `joins`, for the notice of the rewriting.
std::string WithFactorsJoined(const TMarkedText& t, std::vector<std::size_t>& joins) {
    std::string out;
    out.reserve(t.Text.size() + t.Text.size() / 4);
    for (std::size_t i = 0; i < t.Text.size(); ++i) {
        out += t.Text[i];
        if (t.Role[i] != TMarkedText::Closes || i + 1 == t.Text.size()) {
            continue;
        }
        const std::size_t next = i + 1;
        const bool plain = t.Role[next] == TMarkedText::Plain;
        if (t.Role[next] == TMarkedText::Opens || (plain && t.Text[next] == '(') ||
            (plain && FunctionNameAt(t, next))) {
            out += '*';
            joins.push_back(t.Origin[next]);
        }
    }
    return out;
}

std::string WithSignsAt(const std::string& s, const std::vector<std::size_t>& positions) {
    std::string t;
    t.reserve(s.size() + positions.size());
    std::size_t from = 0;
    for (const std::size_t at : positions) {
        t.append(s, from, at - from);
        t += '*';
        from = at;
    }
    t.append(s, from);
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
    std::vector<std::size_t> joins;
    formula = WithFactorsJoined(
        WithVariablesMarked(WithNumbersMarked(WithPiReplaced(s, separator), separator), variables),
        joins);
    if (!joins.empty()) {
        context.FormulaRewritten = true;
        context.RewrittenFormula = WithSignsAt(s, joins);
    }
    return true;
}

std::string WithMarkedLetterReplaced(std::string_view prepared, char letter,
                                     std::string_view replacement) {
    std::string t;
    t.reserve(prepared.size() + 16);
    for (std::size_t i = 0; i < prepared.size(); ++i) {
        const char c = prepared[i];
        const bool marked =
            !t.empty() && t.back() == '#' && i + 1 < prepared.size() && prepared[i + 1] == '#';
        if (c == letter && marked) {
            t += replacement;
        } else {
            t += c;
        }
    }
    return t;
}

std::string SubstituteVariable(std::string_view prepared, char letter, long double value,
                               const TFormulaContext& context) {
    // The number is written only where the letter occurs.
    if (prepared.find(letter) == std::string_view::npos) {
        return std::string(prepared);
    }
    return WithMarkedLetterReplaced(prepared, letter, NumberText(value, context.DecimalSeparator));
}

} // namespace kurvant
