#include "formula/evaluate.h"

#include "formula/number_text.h"
#include "formula/operations.h"
#include "formula/text_rewriting.h"

#include <optional>
#include <string>

namespace kurvant {

namespace {

// The rewriting proper: operands are values, and every result goes back into the text as its
// marked number text, which the next reading reads back.
class TValueOps {
public:
    using TOperand = long double;

    explicit TValueOps(char separator) : Separator(separator) {}

    std::optional<long double> Read(std::string_view text) const {
        long double value = 0;
        if (!ReadNumberText(text, Separator, value)) {
            return std::nullopt;
        }
        return value;
    }
    std::string Marked(long double value) const { return '#' + NumberText(value, Separator) + '#'; }
    // The text written by `Marked` is the writing.
    static long double Written(long double sum) { return sum; }
    void Fail(EvalResult code) { Code = code; }

    std::optional<long double> Function(TFunction function, long double argument) {
        return Apply<TStepOp::Function>(function, argument, 0);
    }
    template <TStepOp Op> std::optional<long double> Binary(long double left, long double right) {
        return Apply<Op>(TFunction::Sin, left, right);
    }
    static long double Zero() { return 0; }
    // A term read from the text always reads back: the sum never stops.
    long double Sum(bool negative, long double total, long double term) {
        return *(negative ? Apply<TStepOp::Subtract>(TFunction::Sin, total, term)
                          : Apply<TStepOp::Add>(TFunction::Sin, total, term));
    }

    EvalResult Code = EvalOk;

private:
    template <TStepOp Op>
    std::optional<long double> Apply(TFunction function, long double a, long double b) {
        long double value = 0;
        const EvalResult code = OperationValue<Op>(function, a, b, value);
        if (code != EvalOk) {
            Code = code;
            return std::nullopt;
        }
        return value;
    }

    char Separator;
};

} // namespace

EvalResult EvaluateFormula(std::string_view text, long double& value,
                           const TFormulaContext& context) {
    TValueOps ops(context.DecimalSeparator);
    const std::optional<long double> sum = TTextRewriting<TValueOps>(ops).Evaluate(text);
    if (!sum) {
        return ops.Code;
    }
    value = *sum;
    return EvalOk;
}

} // namespace kurvant
