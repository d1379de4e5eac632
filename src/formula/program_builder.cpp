// Building a formula's program: the rewriting of evaluate.cpp carried out once on a text in which
// every value is a slot name ("#@7#") instead of a number. The rewriting's choices (which group,
// function or operator comes next, where its operands are, whether a sign or a letter stands in
// the way) depend only on the characters outside the marked numbers, and a slot name contains
// none of the characters those choices look for; so the steps it takes here are the steps it
// takes for every value of the variables. What does depend on the values is left to the steps:
// the domain tests, and whether a written value reads back.

#include "formula/formula_program.h"

#include "formula/number_text.h"
#include "formula/written_value.h"

#include <cmath>
#include <string>

namespace kurvant {

namespace {

constexpr char SlotMark = '@';
constexpr std::size_t MaxLetters = 32;

// A marked number read from the symbolic text: its slot and the characters it covers.
struct TRead {
    std::uint32_t Slot = 0;
    std::size_t Begin = 0;
    std::size_t End = 0;
};

class TBuilder {
public:
    TBuilder(TFormulaProgram& program, char separator) : P(program), Separator(separator) {}

    // The rewriting of one text without parentheses; the slot of its sum, or none once the
    // rewriting has stopped (a `Fail` step ends the program then).
    std::optional<std::uint32_t> WithoutParentheses(std::string s) {
        if (!Functions(s) || !Powers(s) || !Products(s)) {
            return std::nullopt;
        }
        return Sum(s);
    }

    // A group's sum written back into the text as its marked value.
    std::uint32_t Written(std::uint32_t sum) {
        // Writing a value that was itself read from a text gives it back unchanged.
        if (Rounded[sum]) {
            return sum;
        }
        return Emit(TStepOp::Write, sum, 0);
    }

    void Fail(EvalResult code) {
        TStep step;
        step.Op = TStepOp::Fail;
        step.Code = code;
        P.Steps.push_back(step);
    }

    static std::string Marked(std::uint32_t slot) {
        return std::string("#") + SlotMark + std::to_string(slot) + '#';
    }

    void AddVariable() {
        Rounded.push_back(true);
        P.Depends.push_back(1u << P.Variables);
        ++P.Variables;
    }

    std::uint32_t SlotCount() const { return static_cast<std::uint32_t>(Rounded.size()); }

private:
    std::uint32_t NewSlot(bool rounded, std::uint32_t depends) {
        Rounded.push_back(rounded);
        P.Depends.push_back(depends);
        return SlotCount() - 1;
    }

    std::uint32_t Constant(long double value) {
        // Not-a-number never reads as itself; the flag only matters for slots that read.
        const long double written = WrittenValueByText(value);
        const bool rounded =
            !std::isnan(value) && written == value && std::signbit(written) == std::signbit(value);
        const std::uint32_t slot = NewSlot(rounded, 0);
        P.Constants.push_back({slot, value});
        return slot;
    }

    std::uint32_t Zero() {
        if (!ZeroSlot) {
            ZeroSlot = Constant(0);
        }
        return *ZeroSlot;
    }

    std::uint32_t Emit(TStepOp op, std::uint32_t a, std::uint32_t b, TFunction f = TFunction::Sin) {
        const bool twoOperands = op == TStepOp::Power || op == TStepOp::Multiply ||
                                 op == TStepOp::Divide || op == TStepOp::Add ||
                                 op == TStepOp::Subtract;
        const std::uint32_t depends = P.Depends[a] | (twoOperands ? P.Depends[b] : 0);
        // A running sum is not written; the start 0 plus or minus one written value is one.
        const bool rounded =
            op == TStepOp::Add || op == TStepOp::Subtract ? a == ZeroSlot && Rounded[b] : true;
        TStep step;
        step.Op = op;
        step.Function = f;
        step.Code = EvalOk;
        step.A = a;
        step.B = b;
        step.Out = NewSlot(rounded, depends);
        P.Steps.push_back(step);
        return step.Out;
    }

    // The slot of the text between two markers: a slot name, or a number of the formula itself.
    std::optional<std::uint32_t> SlotOfText(std::string_view text) {
        if (!text.empty() && text[0] == SlotMark) {
            return static_cast<std::uint32_t>(std::stoul(std::string(text.substr(1))));
        }
        long double value = 0;
        if (!ReadNumberText(text, Separator, value)) {
            return std::nullopt;
        }
        return Constant(value);
    }

    // As ReadMarkedNumberAt of the rewriting.
    std::optional<TRead> ReadAt(const std::string& s, std::size_t open) {
        if (open >= s.size() || s[open] != '#') {
            return std::nullopt;
        }
        const std::size_t close = s.find('#', open + 1);
        const std::size_t textEnd = close == std::string::npos ? s.size() : close;
        const std::optional<std::uint32_t> slot =
            SlotOfText(std::string_view(s).substr(open + 1, textEnd - open - 1));
        if (!slot) {
            return std::nullopt;
        }
        return TRead{*slot, open, close == std::string::npos ? s.size() : close + 1};
    }

    std::optional<TRead> ReadRight(const std::string& s, std::size_t p) { return ReadAt(s, p + 1); }

    // As ReadLeftOperand of the rewriting.
    std::optional<TRead> ReadLeft(const std::string& s, std::size_t p) {
        if (p < 2 || s[p - 1] != '#') {
            return std::nullopt;
        }
        const std::size_t close = p - 1;
        const std::size_t open = s.rfind('#', close - 1);
        if (open == std::string::npos) {
            return std::nullopt;
        }
        const std::optional<std::uint32_t> slot =
            SlotOfText(std::string_view(s).substr(open + 1, close - open - 1));
        if (!slot) {
            return std::nullopt;
        }
        return TRead{*slot, open, close + 1};
    }

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
                ReadRight(s, position + FunctionNames[chosen].size() - 1);
            if (!argument) {
                Fail(EvalSyntaxError);
                return false;
            }
            const auto function = static_cast<TFunction>(chosen);
            // A written value and its negation write as the same digits: |v| needs no writing.
            const std::uint32_t out = function == TFunction::Abs && Rounded[argument->Slot]
                                          ? Emit(TStepOp::Absolute, argument->Slot, 0)
                                          : Emit(TStepOp::Function, argument->Slot, 0, function);
            s.replace(position, argument->End - position, Marked(out));
        }
    }

    bool Powers(std::string& s) {
        for (std::size_t p = s.find('^'); p != std::string::npos; p = s.find('^')) {
            const std::optional<TRead> right = ReadRight(s, p);
            const std::optional<TRead> left = right ? ReadLeft(s, p) : std::nullopt;
            if (!left) {
                Fail(EvalSyntaxError);
                return false;
            }
            const std::uint32_t out = Emit(TStepOp::Power, left->Slot, right->Slot);
            s.replace(left->Begin, right->End - left->Begin, Marked(out));
        }
        return true;
    }

    bool Products(std::string& s) {
        for (std::size_t p = s.find_first_of("*/"); p != std::string::npos;
             p = s.find_first_of("*/")) {
            const std::optional<TRead> right = ReadRight(s, p);
            const std::optional<TRead> left = right ? ReadLeft(s, p) : std::nullopt;
            if (!left) {
                Fail(EvalSyntaxError);
                return false;
            }
            const TStepOp op = s[p] == '*' ? TStepOp::Multiply : TStepOp::Divide;
            const std::uint32_t out = Emit(op, left->Slot, right->Slot);
            s.replace(left->Begin, right->End - left->Begin, Marked(out));
        }
        return true;
    }

    std::optional<std::uint32_t> Sum(const std::string& s) {
        std::uint32_t total = Zero();
        std::size_t i = 0;
        for (;;) {
            bool negative = false;
            for (; i < s.size() && s[i] != '#'; ++i) {
                if (s[i] == '-') {
                    negative = !negative;
                } else if (s[i] != '+') {
                    Fail(EvalSyntaxError);
                    return std::nullopt;
                }
            }
            const std::optional<TRead> term = ReadAt(s, i);
            if (!term) {
                Fail(EvalSyntaxError);
                return std::nullopt;
            }
            total = Emit(negative ? TStepOp::Subtract : TStepOp::Add, total, term->Slot);
            i = term->End;
            if (i >= s.size()) {
                return total;
            }
        }
    }

    TFormulaProgram& P;
    char Separator;
    std::vector<bool> Rounded;
    std::optional<std::uint32_t> ZeroSlot;
};

bool LettersFit(std::string_view letters) {
    if (letters.size() > MaxLetters) {
        return false;
    }
    for (const char c : letters) {
        // Only such letters are sure never to appear in a number's text or a slot name, where a
        // later substitution would otherwise find them.
        if (c < 'a' || c > 'z') {
            return false;
        }
    }
    return true;
}

// `SubstituteVariable` with a slot name in place of the value's text.
std::string WithSlot(std::string_view text, char letter, std::uint32_t slot) {
    const std::string name = SlotMark + std::to_string(slot);
    std::string t;
    t.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool marked =
            !t.empty() && t.back() == '#' && i + 1 < text.size() && text[i + 1] == '#';
        if (c == letter && marked) {
            t += name;
        } else {
            t += c;
        }
    }
    return t;
}

} // namespace

std::optional<TFormulaProgram> BuildFormulaProgram(std::string_view prepared,
                                                   std::string_view letters,
                                                   const TFormulaContext& context) {
    if (!LettersFit(letters) || prepared.find(SlotMark) != std::string_view::npos) {
        return std::nullopt;
    }
    TFormulaProgram program;
    TBuilder builder(program, context.DecimalSeparator);
    std::string text(prepared);
    for (const char letter : letters) {
        text = WithSlot(text, letter, builder.SlotCount());
        builder.AddVariable();
    }

    // The parentheses as EvaluateFormula takes them: a group is rewritten when its ')' or the
    // end of the text is reached.
    std::vector<std::string> groups(1);
    bool stopped = false;
    const auto closeGroup = [&]() {
        const std::optional<std::uint32_t> sum =
            builder.WithoutParentheses(std::move(groups.back()));
        groups.pop_back();
        if (!sum) {
            return false;
        }
        groups.back() += TBuilder::Marked(builder.Written(*sum));
        return true;
    };
    for (const char c : text) {
        if (c == '(') {
            if (groups.size() > MaxNesting) {
                builder.Fail(EvalSyntaxError);
                stopped = true;
                break;
            }
            groups.emplace_back();
        } else if (c == ')' && groups.size() > 1) {
            if (!closeGroup()) {
                stopped = true;
                break;
            }
        } else {
            groups.back() += c;
        }
    }
    while (!stopped && groups.size() > 1) {
        stopped = !closeGroup();
    }
    if (!stopped) {
        const std::optional<std::uint32_t> sum =
            builder.WithoutParentheses(std::move(groups.back()));
        if (sum) {
            program.Result = *sum;
        }
    }
    program.SlotCount = builder.SlotCount();
    return program;
}

} // namespace kurvant
