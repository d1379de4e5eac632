#include "formula/batch_evaluation.h"

#include "formula/parallel_parts.h"
#include "formula/written_value.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kurvant {

namespace {

// Parts smaller than this many evaluations are not worth a thread.
constexpr std::size_t MinimumPartEvaluations = 2048;

// The steps of a program sorted by the letters they depend on, each list in program order. A
// step depends on what its operands depend on; a `Fail` step on nothing.
//
// Running a program in this order gives the same value whenever the program in its own order
// gives `EvalOk`: each step still gets the same operands. Where some step fails, the program
// fails, in whichever order; which failure comes first (and so which code) does not matter to
// a sample, only that there is one.
struct TPlan {
    std::vector<TStep> Constant;
    std::vector<TStep> Row;
    std::vector<TStep> Column;
    std::vector<TStep> Point;
    /// Slots of the column phase that the point phase reads, the result among them.
    std::vector<std::uint32_t> ColumnSlots;
};

TPlan PlanOf(const TFormulaProgram& p, std::uint32_t rowBit, std::uint32_t columnBit) {
    TPlan plan;
    std::vector<bool> readByPoint(p.SlotCount, false);
    for (const TStep& step : p.Steps) {
        const std::uint32_t depends = step.Op == TStepOp::Fail ? 0 : p.Depends[step.Out];
        const bool row = (depends & rowBit) != 0;
        const bool column = (depends & columnBit) != 0;
        if (row && column) {
            plan.Point.push_back(step);
            readByPoint[step.A] = true;
            readByPoint[step.B] = true;
        } else if (column) {
            plan.Column.push_back(step);
        } else if (row) {
            plan.Row.push_back(step);
        } else {
            plan.Constant.push_back(step);
        }
    }
    readByPoint[p.Result] = true;
    for (std::uint32_t slot = 0; slot < p.SlotCount; ++slot) {
        const std::uint32_t depends = p.Depends[slot];
        if (readByPoint[slot] && (depends & columnBit) != 0 && (depends & rowBit) == 0) {
            plan.ColumnSlots.push_back(slot);
        }
    }
    return plan;
}

bool RunSteps(const std::vector<TStep>& steps, std::span<long double> slots) {
    for (const TStep& step : steps) {
        if (RunStep(step, slots) != EvalOk) {
            return false;
        }
    }
    return true;
}

// The program over rows x columns; without a row variable, a line of one row.
void ProgramGrid(const TFormulaProgram& p, std::optional<std::uint32_t> rowVariable,
                 std::span<const long double> rows, std::uint32_t columnVariable,
                 std::span<const long double> columns, std::span<TSample> out) {
    const std::uint32_t rowBit = rowVariable ? 1u << *rowVariable : 0u;
    const std::uint32_t columnBit = 1u << columnVariable;
    const TPlan plan = PlanOf(p, rowBit, columnBit);
    const std::size_t rowCount = rowVariable ? rows.size() : 1;
    const std::size_t columnCount = columns.size();

    std::vector<long double> base(p.SlotCount, 0.0L);
    for (const TConstant& constant : p.Constants) {
        base[constant.Slot] = constant.Value;
    }
    if (!RunSteps(plan.Constant, base)) {
        std::fill(out.begin(), out.end(), TSample{});
        return;
    }

    // What depends on the column only, once per column.
    const std::size_t kept = plan.ColumnSlots.size();
    std::vector<long double> columnValues(columnCount * kept);
    std::vector<char> columnOk(columnCount);
    ForEachPart(columnCount, MinimumPartEvaluations, [&](std::size_t begin, std::size_t end) {
        std::vector<long double> work = base;
        for (std::size_t i = begin; i < end; ++i) {
            work[columnVariable] = WrittenValue(columns[i]);
            columnOk[i] = RunSteps(plan.Column, work);
            for (std::size_t k = 0; k < kept; ++k) {
                columnValues[i * kept + k] = work[plan.ColumnSlots[k]];
            }
        }
    });

    const std::size_t minimumRows =
        std::max<std::size_t>(1, MinimumPartEvaluations / std::max<std::size_t>(columnCount, 1));
    ForEachPart(rowCount, minimumRows, [&](std::size_t begin, std::size_t end) {
        std::vector<long double> work = base;
        for (std::size_t j = begin; j < end; ++j) {
            TSample* line = out.data() + j * columnCount;
            bool rowOk = true;
            if (rowVariable) {
                work[*rowVariable] = WrittenValue(rows[j]);
                rowOk = RunSteps(plan.Row, work);
            }
            for (std::size_t i = 0; i < columnCount; ++i) {
                if (!rowOk || !columnOk[i]) {
                    line[i] = TSample{};
                    continue;
                }
                for (std::size_t k = 0; k < kept; ++k) {
                    work[plan.ColumnSlots[k]] = columnValues[i * kept + k];
                }
                if (RunSteps(plan.Point, work)) {
                    line[i] = TSample{work[p.Result], true};
                } else {
                    line[i] = TSample{};
                }
            }
        }
    });
}

TSample TextSample(const TCompiledFormula& formula, const std::string& text) {
    TSample sample;
    sample.Ok = EvaluateFormula(text, sample.Value, formula.Context()) == EvalOk;
    return sample;
}

} // namespace

void EvaluateLine(const TCompiledFormula& formula, std::span<const long double> points,
                  std::span<TSample> out, TEvaluator evaluator) {
    const TFormulaProgram* program = formula.Program();
    if (evaluator == TEvaluator::Program && formula.Letters().size() == 1 &&
        formula.ProgramUsable()) {
        ProgramGrid(*program, std::nullopt, {}, 0, points, out);
        return;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        out[i] =
            TextSample(formula, formula.Substituted(formula.Prepared(), points.subspan(i, 1), 0));
    }
}

void EvaluateGrid(const TCompiledFormula& formula, std::span<const long double> rows,
                  std::span<const long double> columns, std::span<TSample> out,
                  TEvaluator evaluator) {
    const TFormulaProgram* program = formula.Program();
    if (evaluator == TEvaluator::Program && formula.Letters().size() == 2 &&
        formula.ProgramUsable()) {
        ProgramGrid(*program, 0, rows, 1, columns, out);
        return;
    }
    for (std::size_t j = 0; j < rows.size(); ++j) {
        const std::string row = formula.Substituted(formula.Prepared(), rows.subspan(j, 1), 0);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            out[j * columns.size() + i] =
                TextSample(formula, formula.Substituted(row, columns.subspan(i, 1), 1));
        }
    }
}

} // namespace kurvant
