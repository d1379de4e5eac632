#include "formula_differential.h"

#include "formula_generator.h"

#include "formula/batch_evaluation.h"
#include "formula/compiled_formula.h"
#include "formula/prepare.h"
#include "support/same_value.h"

#include <cstdio>
#include <vector>

namespace kurvant::testing {

namespace {

using kurvant_test::SameValue;

std::string Describe(const std::string& prepared, const std::string& letters, char separator,
                     const std::vector<long double>& values, EvalResult textCode,
                     long double textValue, EvalResult programCode, long double programValue) {
    std::string text = "'" + prepared + "' letters '" + letters + "' separator '" + separator + "'";
    char buffer[128];
    for (const long double v : values) {
        std::snprintf(buffer, sizeof buffer, " %La", v);
        text += buffer;
    }
    std::snprintf(buffer, sizeof buffer, ": text %d %La, program %d %La", textCode, textValue,
                  programCode, programValue);
    return text + buffer;
}

void Mismatch(TDifferentialTally& tally, std::string description) {
    ++tally.Mismatches;
    if (tally.FirstMismatches.size() < 10) {
        tally.FirstMismatches.push_back(std::move(description));
    }
}

void CompareOne(const TCompiledFormula& formula, const std::vector<long double>& values,
                TDifferentialTally& tally) {
    long double textValue = 0;
    long double programValue = 0;
    const EvalResult textCode = formula.Evaluate(values, textValue, TEvaluator::Text);
    const EvalResult programCode = formula.Evaluate(values, programValue, TEvaluator::Program);
    ++tally.Evaluations;
    tally.Ok += textCode == EvalOk;
    tally.SyntaxErrors += textCode == EvalSyntaxError;
    tally.MathErrors += textCode == EvalMathError;
    if (textCode != programCode || (textCode == EvalOk && !SameValue(textValue, programValue))) {
        Mismatch(tally, Describe(std::string(formula.Prepared()), std::string(formula.Letters()),
                                 formula.Context().DecimalSeparator, values, textCode, textValue,
                                 programCode, programValue));
    }
}

void CompareSamples(const TCompiledFormula& formula, const std::vector<TSample>& text,
                    const std::vector<TSample>& program, TDifferentialTally& tally) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        ++tally.BatchEvaluations;
        if (text[i].Ok != program[i].Ok ||
            (text[i].Ok && !SameValue(text[i].Value, program[i].Value))) {
            Mismatch(tally, "batch point " + std::to_string(i) + " of '" +
                                std::string(formula.Prepared()) + "' letters '" +
                                std::string(formula.Letters()) + "'");
        }
    }
}

void CompareBatches(const std::string& prepared, const TFormulaContext& context,
                    TFormulaGenerator& generator, TDifferentialTally& tally) {
    std::vector<long double> rows(2 + generator.Below(6));
    std::vector<long double> columns(2 + generator.Below(9));
    for (long double& v : rows) {
        v = generator.Value();
    }
    for (long double& v : columns) {
        v = generator.Value();
    }
    const TCompiledFormula grid(prepared, generator.Chance(8) ? "yy" : "yx", context);
    std::vector<TSample> text(rows.size() * columns.size());
    std::vector<TSample> program(text.size());
    EvaluateGrid(grid, rows, columns, text, TEvaluator::Text);
    EvaluateGrid(grid, rows, columns, program, TEvaluator::Program);
    CompareSamples(grid, text, program, tally);

    const TCompiledFormula line(prepared, "x", context);
    text.assign(columns.size(), {});
    program.assign(columns.size(), {});
    EvaluateLine(line, columns, text, TEvaluator::Text);
    EvaluateLine(line, columns, program, TEvaluator::Program);
    CompareSamples(line, text, program, tally);
}

} // namespace

void RunDifferential(std::uint64_t seed, std::uint64_t evaluations, std::uint64_t batchEvery,
                     TDifferentialTally& tally) {
    TFormulaGenerator generator(seed);
    static constexpr const char* LetterChoices[] = {"yx", "yx", "xy", "x", "y", "xx", ""};
    while (tally.Evaluations < evaluations) {
        TFormulaContext context;
        context.DecimalSeparator = generator.Separator();
        std::string prepared;
        if (generator.Chance(8)) {
            prepared = generator.PreparedSoup();
        } else {
            prepared = generator.Typed();
            if (!PrepareFormula(prepared, "xy", context)) {
                continue;
            }
        }
        const std::string letters = LetterChoices[generator.Below(std::size(LetterChoices))];
        const TCompiledFormula formula(prepared, letters, context);
        ++tally.Formulas;
        if (formula.Program() != nullptr) {
            ++tally.FormulasWithProgram;
        } else {
            // Generated texts never hold every character that could mark the program's slots.
            ++tally.MissingPrograms;
        }
        for (int k = 0; k < 8; ++k) {
            std::vector<long double> values(letters.size());
            for (long double& v : values) {
                v = generator.Value();
            }
            CompareOne(formula, values, tally);
        }
        if (batchEvery != 0 && tally.Formulas % batchEvery == 0) {
            CompareBatches(prepared, context, generator, tally);
        }
    }
}

} // namespace kurvant::testing
