// The formula engine under any text: preparation, substitution and evaluation.

#include "fuzz_checks.h"

#include "formula/batch_evaluation.h"
#include "formula/compiled_formula.h"
#include "formula/constant_expression.h"
#include "formula/evaluate.h"
#include "formula/prepare.h"
#include "graphs/number_checks.h"
#include "support/same_value.h"

#include <array>
#include <cmath>
#include <span>

namespace fuzz {

namespace {

using kurvant::EvalResult;
using kurvant::TFormulaContext;
using kurvant_test::SameValue;

// The variable sets of the six formula kinds.
constexpr std::array<std::string_view, 6> VariableSets = {"x", "y", "q", "u", "xy", "qa"};

// Values sampling and the dialogs pass: ordinary ones, the ends of the number texts' fixed
// notation, and magnitudes far outside what any interval of a document gives.
constexpr std::array<long double, 16> Values = {
    0.0L,   1.0L,     -1.0L,   0.5L,     -2.5L, 3.14159265358979323846L,
    1e-5L,  1e15L,    -1e300L, 1e4000L,  7.0L,  1e-300L,
    100.0L, -0.0001L, 2.0L,    -1e-4000L};

/// One way of evaluating a prepared formula at given values of its variables.
struct TEvaluationPath {
    const char* Name;
    EvalResult (*Evaluate)(std::string_view prepared, std::string_view variables,
                           std::span<const long double> values, long double& value,
                           const TFormulaContext& context);
};

// The reference: the variables substituted as marked numbers, then the text rewritten operation
// by operation.
EvalResult ByRewriting(std::string_view prepared, std::string_view variables,
                       std::span<const long double> values, long double& value,
                       const TFormulaContext& context) {
    std::string text(prepared);
    for (std::size_t i = 0; i < variables.size(); ++i) {
        text = kurvant::SubstituteVariable(text, variables[i], values[i], context);
    }
    return kurvant::EvaluateFormula(text, value, context);
}

// The formula's program, where one can be built (else the compiled formula rewrites the text).
EvalResult ByProgram(std::string_view prepared, std::string_view variables,
                     std::span<const long double> values, long double& value,
                     const TFormulaContext& context) {
    const kurvant::TCompiledFormula formula(prepared, variables, context);
    return formula.Evaluate(values.first(variables.size()), value, kurvant::TEvaluator::Program);
}

// Every evaluation path; the first is the reference the others must agree with.
constexpr std::array<TEvaluationPath, 2> Paths{{
    {"rewriting", &ByRewriting},
    {"program", &ByProgram},
}};

// Sampling's batches: a line of values of a one-letter formula, a grid of a two-letter one (what
// depends on one letter computed once per row or column), each sample as the program gives it
// alone.
std::string CheckBatches(std::string_view prepared, std::string_view variables,
                         std::span<const long double> values, const TFormulaContext& context) {
    const kurvant::TCompiledFormula formula(prepared, variables, context);
    if (formula.Program() == nullptr) {
        return {}; // without a program the batches rewrite the text, as the reference does
    }
    const std::array<long double, 3> points = {values[0], values[1], values[0]};
    std::array<kurvant::TSample, 9> samples{};
    std::size_t count = 0;
    if (variables.size() == 1) {
        count = points.size();
        kurvant::EvaluateLine(formula, points, std::span(samples).first(count),
                              kurvant::TEvaluator::Program);
    } else {
        count = points.size() * points.size();
        kurvant::EvaluateGrid(formula, points, points, std::span(samples).first(count),
                              kurvant::TEvaluator::Program);
    }
    for (std::size_t k = 0; k < count; ++k) {
        std::array<long double, 2> at = {points[k % points.size()], 0.0L};
        if (variables.size() == 2) {
            at = {points[k / points.size()], points[k % points.size()]};
        }
        long double alone = 0;
        const bool ok = formula.Evaluate(std::span(at).first(variables.size()), alone,
                                         kurvant::TEvaluator::Program) == kurvant::EvalOk;
        if (ok != samples[k].Ok || (ok && !SameValue(alone, samples[k].Value))) {
            return "batch sample " + std::to_string(k) + " differs from the program alone";
        }
    }
    return {};
}

std::string CodeName(EvalResult code) {
    return "code " + std::to_string(static_cast<int>(code));
}

bool KnownCode(EvalResult code) {
    return code == kurvant::EvalOk || code == kurvant::EvalSyntaxError ||
           code == kurvant::EvalMathError;
}

// One evaluation: a known code, the value written only on success.
std::string EvaluateOnce(const TEvaluationPath& path, std::string_view prepared,
                         std::string_view variables, std::span<const long double> values,
                         const TFormulaContext& context, EvalResult& code, long double& value) {
    constexpr long double untouched = 12345.678L;
    value = untouched;
    code = path.Evaluate(prepared, variables, values, value, context);
    if (!KnownCode(code)) {
        return std::string(path.Name) + ": unknown " + CodeName(code);
    }
    if (code != kurvant::EvalOk && value != untouched) {
        return std::string(path.Name) + ": the value was written although the evaluation failed";
    }
    return {};
}

// The text typed into a number field: the constant expression ends in one of its outcomes with a
// finite value; the field takes a value within its range and leaves the message alone, or leaves
// the value alone and names itself; an expression the field takes is one the reader gives a value.
std::string CheckNumberField(std::string_view typed, char separator) {
    const kurvant::TConstantValue constant = kurvant::EvaluateConstant(typed, separator);
    using enum kurvant::TConstantOutcome;
    if (constant.Outcome != Value && constant.Outcome != NotAFormula &&
        constant.Outcome != SyntaxError && constant.Outcome != NotDefined) {
        return "a constant expression ended in an unknown way";
    }
    if (constant.Outcome == Value && !std::isfinite(constant.Value)) {
        return "a constant expression has a value that is not finite";
    }
    constexpr double untouched = 12345.678;
    double value = untouched;
    std::string message = "untouched";
    if (ReadFloatField("F", typed, "", -1e6, 1e6, value, separator, message)) {
        if (!(value >= -1e6 && value <= 1e6) || message != "untouched") {
            return "a number field took a value outside its range or wrote a message";
        }
        // The field reads the text as it normalises it: without blanks at its ends, either
        // decimal mark.
        double plain = 0;
        std::string ignored;
        const std::string normalised = FloatSeparator(typed, separator);
        if (!Is_float_number(typed, "", -1e6, 1e6, plain, separator, ignored) &&
            kurvant::EvaluateConstant(normalised, separator).Outcome != Value) {
            return "a number field took a text that is neither a number nor an expression";
        }
    } else if (value != untouched || !message.starts_with("Поле \"F\":\n\r")) {
        return "a refused number field wrote its value or does not name itself";
    }
    return {};
}

} // namespace

std::string CheckFormula(std::string_view input) {
    if (input.size() < 3) {
        return {};
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(input[i]); };
    TFormulaContext context;
    context.DecimalSeparator = (byte(0) & 1) != 0 ? ',' : '.';
    const std::string_view variables = VariableSets[(byte(0) >> 1) % VariableSets.size()];
    const std::array<long double, 2> values = {Values[byte(1) % Values.size()],
                                               Values[byte(2) % Values.size()]};
    const std::string typed(input.substr(3));
    if (std::string broken = CheckNumberField(typed, context.DecimalSeparator); !broken.empty()) {
        return broken;
    }

    // Any text at all goes to the evaluator as well, as the command line's batch does.
    long double raw = 1;
    const EvalResult rawCode = kurvant::EvaluateFormula(typed, raw, context);
    if (!KnownCode(rawCode)) {
        return "raw text: unknown " + CodeName(rawCode);
    }
    if (rawCode != kurvant::EvalOk && raw != 1) {
        return "raw text: the value was written although the evaluation failed";
    }

    std::string prepared = typed;
    context.FormulaRewritten = true;
    context.RewrittenFormula = "before";
    if (!kurvant::PrepareFormula(prepared, variables, context)) {
        if (prepared != typed || !context.FormulaRewritten ||
            context.RewrittenFormula != "before") {
            return "a refused preparation changed the text or the context";
        }
        return {};
    }
    if (prepared.empty()) {
        return "a preparation succeeded with an empty text";
    }
    if (context.FormulaRewritten && context.RewrittenFormula == "before") {
        return "a preparation that inserted '*' did not record the rewritten formula";
    }

    // The evaluation reads numbers with the separator the preparation wrote.
    TFormulaContext evaluation;
    evaluation.DecimalSeparator = context.DecimalSeparator;
    std::array<EvalResult, Paths.size()> codes{};
    std::array<long double, Paths.size()> results{};
    for (std::size_t p = 0; p < Paths.size(); ++p) {
        const TEvaluationPath& path = Paths[p];
        std::string broken =
            EvaluateOnce(path, prepared, variables, values, evaluation, codes[p], results[p]);
        if (!broken.empty()) {
            return broken;
        }
        EvalResult again{};
        long double second = 0;
        broken = EvaluateOnce(path, prepared, variables, values, evaluation, again, second);
        if (!broken.empty()) {
            return broken;
        }
        if (again != codes[p] || (again == kurvant::EvalOk && !SameValue(second, results[p]))) {
            return std::string(path.Name) + ": two evaluations of one text differ";
        }
        if (codes[p] != codes[0] ||
            (codes[p] == kurvant::EvalOk && !SameValue(results[p], results[0]))) {
            return std::string(path.Name) + " disagrees with " + Paths[0].Name + ": " +
                   CodeName(codes[p]) + " against " + CodeName(codes[0]);
        }
    }
    return CheckBatches(prepared, variables, values, evaluation);
}

} // namespace fuzz
