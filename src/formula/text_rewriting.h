#pragma once
// The scanning of a prepared text, written once: which group, function or operator comes next,
// where its operands stand, whether a sign or a stray character stands in the way. What an
// operand is and what an operation does to it are left to `TOps`:
// - the rewriting evaluator (evaluate.cpp): an operand is a value, and every result is written
//   back into the text as its marked number text;
// - the program builder (program_builder.cpp): an operand is a slot, and every operation becomes
//   a step of the formula's program, its result a slot name in the text.
//
// `TOps` provides: `TOperand`; `Read(text)`, the operand of the text between two markers, or
// none when it does not read; `Marked(operand)`, its marked text; `Written(sum)`, a group's sum as
// it is written back; `Fail(code)`, the rewriting stops; `Function(f, argument)`,
// `Binary<Op>(left, right)`, `Zero()` and `Sum(negative, total, term)`, the operations, none
// where the rewriting stops (after calling `Fail` or recording its own code).

#include "formula/evaluate.h"
#include "formula/functions.h"
#include "formula/operations.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kurvant {

template <typename TOps> class TTextRewriting {
public:
    using TOperand = typename TOps::TOperand;

    explicit TTextRewriting(TOps& ops) : Ops(ops) {}

    /// Parentheses: each group is rewritten with all the groups inside it and replaced by its
    /// marked value, the groups from left to right, open ones closed at the end of the text. One
    /// pass with a stack of group texts does exactly that without recursion: a group is
    /// rewritten when its ')' (or the end of the text) is reached, after every group inside it,
    /// and before any group that opens later. A ')' with no open group stays in the text and
    /// fails later. The sum of what remains is not written.
    std::optional<TOperand> Evaluate(std::string_view text) {
        std::vector<std::string> groups(1);
        const auto closeGroup = [&]() {
            const std::optional<TOperand> sum = WithoutParentheses(std::move(groups.back()));
            groups.pop_back();
            if (!sum) {
                return false;
            }
            groups.back() += Ops.Marked(Ops.Written(*sum));
            return true;
        };
        for (const char c : text) {
            if (c == '(') {
                if (groups.size() > MaxNesting) {
                    Ops.Fail(EvalSyntaxError);
                    return std::nullopt;
                }
                groups.emplace_back();
            } else if (c == ')' && groups.size() > 1) {
                if (!closeGroup()) {
                    return std::nullopt;
                }
            } else {
                groups.back() += c;
            }
        }
        while (groups.size() > 1) {
            if (!closeGroup()) {
                return std::nullopt;
            }
        }
        return WithoutParentheses(std::move(groups.back()));
    }

private:
    // A marked number read from the text: its operand and the characters [Begin, End) it
    // covers, markers included.
    struct TRead {
        TOperand Operand{};
        std::size_t Begin = 0;
        std::size_t End = 0;
    };

    // A text that holds no '(' any more: functions, then powers, then products and quotients,
    // then the sum of the signed terms.
    std::optional<TOperand> WithoutParentheses(std::string s) {
        if (!Functions(s) || !Powers(s) || !Products(s)) {
            return std::nullopt;
        }
        return Sum(s);
    }

    // The marked number that begins at position open: '#', its text up to the next '#' (or to
    // the end of the text). The right operand of an operator or name ending at p begins at p+1;
    // anything else there, such as a sign ('2*-3'), fails.
    std::optional<TRead> ReadAt(const std::string& s, std::size_t open) {
        if (open >= s.size() || s[open] != '#') {
            return std::nullopt;
        }
        const std::size_t close = s.find('#', open + 1);
        const std::size_t textEnd = close == std::string::npos ? s.size() : close;
        std::optional<TOperand> operand =
            Ops.Read(std::string_view(s).substr(open + 1, textEnd - open - 1));
        if (!operand) {
            return std::nullopt;
        }
        return TRead{*operand, open, close == std::string::npos ? s.size() : close + 1};
    }

    // The marked number that ends right before position p: its closing '#' at p-1, its text
    // from just after the nearest '#' before that.
    std::optional<TRead> ReadLeft(const std::string& s, std::size_t p) {
        if (p < 2 || s[p - 1] != '#') {
            return std::nullopt;
        }
        const std::size_t close = p - 1;
        const std::size_t open = s.rfind('#', close - 1);
        if (open == std::string::npos) {
            return std::nullopt;
        }
        std::optional<TOperand> operand =
            Ops.Read(std::string_view(s).substr(open + 1, close - open - 1));
        if (!operand) {
            return std::nullopt;
        }
        return TRead{*operand, open, close + 1};
    }

    bool SyntaxError() {
        Ops.Fail(EvalSyntaxError);
        return false;
    }

    // Functions: the last name of the list that occurs anywhere goes first, at its first
    // occurrence; its argument is the marked number right after the name.
    bool Functions(std::string& s) {
        for (;;) {
            std::size_t position = std::string::npos;
            std::size_t chosen = FunctionNames.size();
            while (chosen > 0 && position == std::string::npos) {
                --chosen;
                position = s.find(FunctionNames[chosen]);
            }
            if (position == std::string::npos) {
                return true;
            }
            const std::optional<TRead> argument =
                ReadAt(s, position + FunctionNames[chosen].size());
            if (!argument) {
                return SyntaxError();
            }
            const std::optional<TOperand> value =
                Ops.Function(static_cast<TFunction>(chosen), argument->Operand);
            if (!value) {
                return false;
            }
            s.replace(position, argument->End - position, Ops.Marked(*value));
        }
    }

    // One operator at p between two marked numbers, the right one read first.
    template <TStepOp Op> bool Binary(std::string& s, std::size_t p) {
        const std::optional<TRead> right = ReadAt(s, p + 1);
        const std::optional<TRead> left = right ? ReadLeft(s, p) : std::nullopt;
        if (!left) {
            return SyntaxError();
        }
        const std::optional<TOperand> value =
            Ops.template Binary<Op>(left->Operand, right->Operand);
        if (!value) {
            return false;
        }
        s.replace(left->Begin, right->End - left->Begin, Ops.Marked(*value));
        return true;
    }

    // Powers, always the first '^' first, so a^b^c is (a^b)^c.
    bool Powers(std::string& s) {
        for (std::size_t p = s.find('^'); p != std::string::npos; p = s.find('^')) {
            if (!Binary<TStepOp::Power>(s, p)) {
                return false;
            }
        }
        return true;
    }

    // Products and quotients from left to right: 8/2*4 is 16.
    bool Products(std::string& s) {
        for (std::size_t p = s.find_first_of("*/"); p != std::string::npos;
             p = s.find_first_of("*/")) {
            if (!(s[p] == '*' ? Binary<TStepOp::Multiply>(s, p) : Binary<TStepOp::Divide>(s, p))) {
                return false;
            }
        }
        return true;
    }

    // The sum of signed terms that remains. A run of signs belongs to the term after it ('--'
    // is '+'); terms need no operator between them, so '#1##2#' is 3.
    std::optional<TOperand> Sum(const std::string& s) {
        TOperand total = Ops.Zero();
        std::size_t i = 0;
        for (;;) {
            bool negative = false;
            for (; i < s.size() && s[i] != '#'; ++i) {
                if (s[i] == '-') {
                    negative = !negative;
                } else if (s[i] != '+') {
                    SyntaxError();
                    return std::nullopt;
                }
            }
            const std::optional<TRead> term = ReadAt(s, i);
            if (!term) {
                SyntaxError();
                return std::nullopt;
            }
            total = Ops.Sum(negative, total, term->Operand);
            i = term->End;
            if (i >= s.size()) {
                return total;
            }
        }
    }

    TOps& Ops;
};

} // namespace kurvant
