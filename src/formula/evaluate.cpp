#include "formula/evaluate.h"

#include "formula/functions.h"
#include "formula/number_text.h"

#include <cmath>
#include <string>
#include <vector>

namespace kurvant {

namespace {

// A marked number read from the text: its value and the characters [Begin, End) it covers,
// markers included.
struct TOperand {
    long double Value = 0;
    std::size_t Begin = 0;
    std::size_t End = 0;
};

std::string Marked(long double value, char separator) {
    return '#' + NumberText(value, separator) + '#';
}

// The marked number that begins at position open: '#', its text up to the next '#' (or to the
// end of the text).
bool ReadMarkedNumberAt(const std::string& s, std::size_t open, char separator, TOperand& operand) {
    if (open >= s.size() || s[open] != '#') {
        return false;
    }
    const std::size_t close = s.find('#', open + 1);
    const std::size_t textEnd = close == std::string::npos ? s.size() : close;
    if (!ReadNumberText(std::string_view(s).substr(open + 1, textEnd - open - 1), separator,
                        operand.Value)) {
        return false;
    }
    operand.Begin = open;
    operand.End = close == std::string::npos ? s.size() : close + 1;
    return true;
}

// The operand of an operator or function name that ends at p. Anything else right after p, such
// as a sign ('2*-3'), fails.
bool ReadRightOperand(const std::string& s, std::size_t p, char separator, TOperand& operand) {
    return ReadMarkedNumberAt(s, p + 1, separator, operand);
}

// The marked number that ends right before position p: its closing '#' at p-1, its text from
// just after the nearest '#' before that.
bool ReadLeftOperand(const std::string& s, std::size_t p, char separator, TOperand& operand) {
    if (p < 2 || s[p - 1] != '#') {
        return false;
    }
    const std::size_t close = p - 1;
    const std::size_t open = s.rfind('#', close - 1);
    if (open == std::string::npos) {
        return false;
    }
    if (!ReadNumberText(std::string_view(s).substr(open + 1, close - open - 1), separator,
                        operand.Value)) {
        return false;
    }
    operand.Begin = open;
    operand.End = close + 1;
    return true;
}

// Functions: the last name of the list that occurs anywhere goes first, at its first
// occurrence; its argument is the marked number right after the name.
EvalResult EvaluateFunctions(std::string& s, char separator) {
    for (;;) {
        std::size_t position = std::string::npos;
        std::size_t chosen = FunctionNames.size();
        while (chosen > 0 && position == std::string::npos) {
            --chosen;
            position = s.find(FunctionNames[chosen]);
        }
        if (position == std::string::npos) {
            return EvalOk;
        }
        TOperand argument;
        if (!ReadRightOperand(s, position + FunctionNames[chosen].size() - 1, separator,
                              argument)) {
            return EvalSyntaxError;
        }
        long double value = 0;
        const EvalResult result =
            ComputeFunction(static_cast<TFunction>(chosen), argument.Value, value);
        if (result != EvalOk) {
            return result;
        }
        s.replace(position, argument.End - position, Marked(value, separator));
    }
}

// Powers, always the first '^' first, so a^b^c is (a^b)^c.
EvalResult EvaluatePowers(std::string& s, char separator) {
    for (std::size_t p = s.find('^'); p != std::string::npos; p = s.find('^')) {
        TOperand right;
        TOperand left;
        if (!ReadRightOperand(s, p, separator, right) || !ReadLeftOperand(s, p, separator, left)) {
            return EvalSyntaxError;
        }
        long double value = 0;
        const EvalResult result = ComputePower(left.Value, right.Value, value);
        if (result != EvalOk) {
            return result;
        }
        s.replace(left.Begin, right.End - left.Begin, Marked(value, separator));
    }
    return EvalOk;
}

// Products and quotients from left to right: 8/2*4 is 16.
EvalResult EvaluateProducts(std::string& s, char separator) {
    for (std::size_t p = s.find_first_of("*/"); p != std::string::npos; p = s.find_first_of("*/")) {
        TOperand right;
        TOperand left;
        if (!ReadRightOperand(s, p, separator, right) || !ReadLeftOperand(s, p, separator, left)) {
            return EvalSyntaxError;
        }
        long double value = 0;
        if (s[p] == '*') {
            value = left.Value * right.Value;
        } else if (std::fabs(right.Value) < DomainEpsilon) {
            return EvalMathError;
        } else {
            value = left.Value / right.Value;
        }
        s.replace(left.Begin, right.End - left.Begin, Marked(value, separator));
    }
    return EvalOk;
}

// The sum of signed terms that remains. A run of signs belongs to the term after it ('--' is
// '+'); terms need no operator between them, so '#1##2#' is 3. The sum is not rounded.
EvalResult EvaluateSum(const std::string& s, char separator, long double& sum) {
    long double total = 0;
    std::size_t i = 0;
    for (;;) {
        bool negative = false;
        for (; i < s.size() && s[i] != '#'; ++i) {
            if (s[i] == '-') {
                negative = !negative;
            } else if (s[i] != '+') {
                return EvalSyntaxError;
            }
        }
        TOperand term;
        if (!ReadMarkedNumberAt(s, i, separator, term)) {
            return EvalSyntaxError;
        }
        total = negative ? total - term.Value : total + term.Value;
        i = term.End;
        if (i >= s.size()) {
            sum = total;
            return EvalOk;
        }
    }
}

// A text that holds no '(' any more: functions, then powers, then products and quotients, then
// the sum of the signed terms.
EvalResult EvaluateWithoutParentheses(std::string s, char separator, long double& value) {
    EvalResult result = EvaluateFunctions(s, separator);
    if (result == EvalOk) {
        result = EvaluatePowers(s, separator);
    }
    if (result == EvalOk) {
        result = EvaluateProducts(s, separator);
    }
    if (result == EvalOk) {
        result = EvaluateSum(s, separator, value);
    }
    return result;
}

} // namespace

// Parentheses: each group is evaluated with all the groups inside it and replaced by its marked
// value, the groups from left to right, open ones closed at the end of the text. One pass with a
// stack of group texts does exactly that without recursion: a group is evaluated when its ')'
// (or the end of the text) is reached, after every group inside it, and before any group that
// opens later. A ')' with no open group stays in the text and fails later.
EvalResult EvaluateFormula(std::string_view text, long double& value,
                           const TFormulaContext& context) {
    const char separator = context.DecimalSeparator;
    std::vector<std::string> groups(1);
    const auto closeGroup = [&]() {
        long double groupValue = 0;
        const EvalResult result =
            EvaluateWithoutParentheses(std::move(groups.back()), separator, groupValue);
        groups.pop_back();
        if (result == EvalOk) {
            groups.back() += Marked(groupValue, separator);
        }
        return result;
    };
    for (const char c : text) {
        if (c == '(') {
            if (groups.size() > MaxNesting) {
                return EvalSyntaxError;
            }
            groups.emplace_back();
        } else if (c == ')' && groups.size() > 1) {
            const EvalResult result = closeGroup();
            if (result != EvalOk) {
                return result;
            }
        } else {
            groups.back() += c;
        }
    }
    while (groups.size() > 1) {
        const EvalResult result = closeGroup();
        if (result != EvalOk) {
            return result;
        }
    }
    return EvaluateWithoutParentheses(std::move(groups.back()), separator, value);
}

} // namespace kurvant
