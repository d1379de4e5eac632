// Building a formula's program: the rewriting of evaluate.cpp carried out once on a text in which
// every value is a slot name ("#@7#") instead of a number. The rewriting's choices (which group,
// function or operator comes next, where its operands are, whether a sign or a letter stands in
// the way) depend only on the characters outside the marked numbers, and a slot name contains
// none of the characters those choices look for; so the steps it takes here are the steps it
// takes for every value of the variables. A slot name begins with a mark that the formula's own
// text does not hold, so a marked text that begins with it is always a slot name. What does depend
// on the values is left to the steps: the domain tests, and whether a written value reads back.

#include "formula/formula_program.h"

#include "formula/number_text.h"
#include "formula/prepare.h"
#include "formula/text_rewriting.h"
#include "formula/written_value.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace kurvant {

namespace {

constexpr std::size_t MaxLetters = 32;

// Whether a character can mark slot names: the rewriting never looks for it (it is no marker,
// bracket, operator, sign, letter of a function name or variable, digit or separator), so in a
// slot name it changes none of the rewriting's choices.
bool CanMarkSlots(unsigned char c) {
    constexpr std::string_view Meaningful = "#()^*/+-.,";
    const bool alphanumeric =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    return c != 0 && !alphanumeric &&
           Meaningful.find(static_cast<char>(c)) == std::string_view::npos;
}

// The slot names' mark: '@' unless the text holds one, else the first character that can mark
// slots and does not occur in the text. None only for a text that holds every such character.
std::optional<char> SlotMarkFor(std::string_view prepared) {
    std::array<bool, 256> held{};
    for (const char c : prepared) {
        held[static_cast<unsigned char>(c)] = true;
    }
    if (!held['@']) {
        return '@';
    }
    for (unsigned c = 1; c < held.size(); ++c) {
        if (!held[c] && CanMarkSlots(static_cast<unsigned char>(c))) {
            return static_cast<char>(c);
        }
    }
    return std::nullopt;
}

// The builder as the rewriting's operations: an operand is a slot, a result a step's slot.
class TBuilder {
public:
    using TOperand = std::uint32_t;

    TBuilder(TFormulaProgram& program, char separator, char mark)
        : P(program), Separator(separator), Mark(mark) {}

    // The slot of the text between two markers: a slot name, or a number of the formula itself.
    std::optional<std::uint32_t> Read(std::string_view text) {
        if (!text.empty() && text[0] == Mark) {
            return static_cast<std::uint32_t>(std::stoul(std::string(text.substr(1))));
        }
        long double value = 0;
        if (!ReadNumberText(text, Separator, value)) {
            return std::nullopt;
        }
        return Constant(value);
    }

    std::string Marked(std::uint32_t slot) const { return '#' + SlotName(slot) + '#'; }

    std::string SlotName(std::uint32_t slot) const { return Mark + std::to_string(slot); }

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

    std::optional<std::uint32_t> Function(TFunction function, std::uint32_t argument) {
        // A written value and its negation write as the same digits: |v| needs no writing.
        return function == TFunction::Abs && Rounded[argument]
                   ? Emit(TStepOp::Absolute, argument, 0)
                   : Emit(TStepOp::Function, argument, 0, function);
    }

    template <TStepOp Op>
    std::optional<std::uint32_t> Binary(std::uint32_t left, std::uint32_t right) {
        return Emit(Op, left, right);
    }

    std::uint32_t Zero() {
        if (!ZeroSlot) {
            ZeroSlot = Constant(0);
        }
        return *ZeroSlot;
    }

    std::uint32_t Sum(bool negative, std::uint32_t total, std::uint32_t term) {
        return Emit(negative ? TStepOp::Subtract : TStepOp::Add, total, term);
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

    std::uint32_t Emit(TStepOp op, std::uint32_t a, std::uint32_t b, TFunction f = TFunction::Sin) {
        const bool twoOperands =
            WithOperation(op, [](auto o) { return TwoOperands<decltype(o)::value>; });
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

    TFormulaProgram& P;
    char Separator;
    char Mark;
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

} // namespace

std::optional<TFormulaProgram> BuildFormulaProgram(std::string_view prepared,
                                                   std::string_view letters,
                                                   const TFormulaContext& context) {
    const std::optional<char> mark = SlotMarkFor(prepared);
    if (!LettersFit(letters) || !mark) {
        return std::nullopt;
    }
    TFormulaProgram program;
    TBuilder builder(program, context.DecimalSeparator, *mark);
    std::string text(prepared);
    for (const char letter : letters) {
        // As `SubstituteVariable` does, with a slot name in place of the value's text.
        text = WithMarkedLetterReplaced(text, letter, builder.SlotName(builder.SlotCount()));
        builder.AddVariable();
    }

    // Where the rewriting stops, the builder has ended the program with a `Fail` step.
    const std::optional<std::uint32_t> sum = TTextRewriting<TBuilder>(builder).Evaluate(text);
    if (sum) {
        program.Result = *sum;
    }
    program.SlotCount = builder.SlotCount();
    return program;
}

} // namespace kurvant
