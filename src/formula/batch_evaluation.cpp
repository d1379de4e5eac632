#include "formula/batch_evaluation.h"

#include "formula/parallel_parts.h"
#include "formula/program_blocks.h"
#include "formula/written_value.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kurvant {

namespace {

// Parts smaller than this many evaluations are not worth a thread.
constexpr std::size_t MinimumPartEvaluations = 2048;

// A program's steps sorted by the letters they depend on, each list in program order: the
// constant steps and the row's run once on single values; the column's run over blocks of
// columns and keep what the points read; the points' run over blocks of a row's points. A step
// depends on what its operands depend on; a `Fail` step on nothing.
//
// Run in this order, each step still gets the same operands, so wherever the program in its own
// order gives `EvalOk` the value is the same. Where some step fails, the program fails in
// either order; which failure comes first, and so which code, does not matter to a sample.
struct TGridPlan {
    std::vector<TStep> Constant;
    std::vector<TStep> Row;
    std::vector<TBlockStep> Column;
    std::uint32_t ColumnLocals = 0;
    std::uint32_t ColumnVariableLocal = 0;
    std::vector<TBlockStep> Point;
    std::uint32_t PointLocals = 0;
    /// Column slots kept for the points, by their local index in the column phase.
    std::vector<std::uint32_t> Stored;
    TSource Result; ///< as the point phase sees it
};

class TPlanner {
public:
    TPlanner(const TFormulaProgram& p, std::uint32_t rowBit, std::uint32_t columnBit)
        : P(p), RowBit(rowBit), ColumnBit(columnBit), ColumnLocal(p.SlotCount, None),
          PointLocal(p.SlotCount, None), StoredIndex(p.SlotCount, None) {}

    TGridPlan Plan(std::uint32_t columnVariable) {
        TGridPlan plan;
        plan.ColumnVariableLocal = ColumnLocalOf(columnVariable, plan);
        for (const TStep& step : P.Steps) {
            const std::uint32_t depends = step.Op == TStepOp::Fail ? 0 : P.Depends[step.Out];
            const bool row = (depends & RowBit) != 0;
            const bool column = (depends & ColumnBit) != 0;
            if (row && column) {
                TBlockStep b = Placed(step, plan, true);
                b.Out = PointLocal[step.Out] = plan.PointLocals++;
                plan.Point.push_back(b);
            } else if (column) {
                TBlockStep b = Placed(step, plan, false);
                b.Out = ColumnLocalOf(step.Out, plan);
                plan.Column.push_back(b);
            } else if (row) {
                plan.Row.push_back(step);
            } else {
                plan.Constant.push_back(step);
            }
        }
        plan.Result = PointSource(P.Result, plan);
        return plan;
    }

private:
    static constexpr std::uint32_t None = ~std::uint32_t{0};

    bool IsColumn(std::uint32_t slot) const {
        return (P.Depends[slot] & ColumnBit) != 0 && (P.Depends[slot] & RowBit) == 0;
    }
    bool IsPoint(std::uint32_t slot) const {
        return (P.Depends[slot] & ColumnBit) != 0 && (P.Depends[slot] & RowBit) != 0;
    }

    std::uint32_t ColumnLocalOf(std::uint32_t slot, TGridPlan& plan) {
        if (ColumnLocal[slot] == None) {
            ColumnLocal[slot] = plan.ColumnLocals++;
        }
        return ColumnLocal[slot];
    }

    // A slot as the column phase reads it: its own or a constant.
    TSource ColumnSource(std::uint32_t slot, TGridPlan& plan) {
        if (IsColumn(slot)) {
            return {TSourceKind::Local, ColumnLocalOf(slot, plan)};
        }
        return {TSourceKind::Scalar, slot};
    }

    // A slot as the point phase reads it: its own, a column value kept for it, or a single
    // value of the row or the constants.
    TSource PointSource(std::uint32_t slot, TGridPlan& plan) {
        if (IsPoint(slot)) {
            return {TSourceKind::Local, PointLocal[slot]};
        }
        if (IsColumn(slot)) {
            if (StoredIndex[slot] == None) {
                StoredIndex[slot] = static_cast<std::uint32_t>(plan.Stored.size());
                plan.Stored.push_back(ColumnLocalOf(slot, plan));
            }
            return {TSourceKind::Stored, StoredIndex[slot]};
        }
        return {TSourceKind::Scalar, slot};
    }

    TBlockStep Placed(const TStep& step, TGridPlan& plan, bool point) {
        TBlockStep b;
        b.Op = step.Op;
        b.Function = step.Function;
        b.Code = step.Code;
        b.A = point ? PointSource(step.A, plan) : ColumnSource(step.A, plan);
        b.B = point ? PointSource(step.B, plan) : ColumnSource(step.B, plan);
        return b;
    }

    const TFormulaProgram& P;
    std::uint32_t RowBit;
    std::uint32_t ColumnBit;
    std::vector<std::uint32_t> ColumnLocal;
    std::vector<std::uint32_t> PointLocal;
    std::vector<std::uint32_t> StoredIndex;
};

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
                 std::span<const long double> columns, std::span<TSample> out,
                 TBatchControl* control) {
    if (control && control->Cancelled()) {
        return;
    }
    const std::uint32_t rowBit = rowVariable ? 1u << *rowVariable : 0u;
    const TGridPlan plan = TPlanner(p, rowBit, 1u << columnVariable).Plan(columnVariable);
    const std::size_t rowCount = rowVariable ? rows.size() : 1;
    const std::size_t columnCount = columns.size();

    // A slot for every program slot, and one more so that an empty program has one to point at.
    std::vector<long double> constants(p.SlotCount + 1, 0.0L);
    for (const TConstant& constant : p.Constants) {
        constants[constant.Slot] = constant.Value;
    }
    if (!RunSteps(plan.Constant, constants)) {
        std::fill(out.begin(), out.end(), TSample{});
        if (control) {
            control->Count(out.size());
        }
        return;
    }

    // What depends on the column only, once per column, kept where the points read it.
    const std::size_t kept = plan.Stored.size();
    std::vector<long double> stored(kept * columnCount);
    std::vector<char> columnOk(columnCount, 1);
    ForEachPart(columnCount, MinimumPartEvaluations, [&](std::size_t begin, std::size_t end) {
        std::vector<long double> locals(std::max<std::uint32_t>(plan.ColumnLocals, 1) * BlockSize);
        for (std::size_t first = begin; first < end; first += BlockSize) {
            const TBlock block{constants,
                               locals,
                               nullptr,
                               0,
                               0,
                               std::min(BlockSize, end - first),
                               std::span<char>(columnOk).subspan(first)};
            for (std::size_t i = 0; i < block.Count; ++i) {
                locals[plan.ColumnVariableLocal * BlockSize + i] = WrittenValue(columns[first + i]);
            }
            RunBlock(plan.Column, block);
            for (std::size_t k = 0; k < kept; ++k) {
                for (std::size_t i = 0; i < block.Count; ++i) {
                    stored[k * columnCount + first + i] = locals[plan.Stored[k] * BlockSize + i];
                }
            }
        }
    });

    const std::size_t minimumRows =
        std::max<std::size_t>(1, MinimumPartEvaluations / std::max<std::size_t>(columnCount, 1));
    ForEachPart(rowCount, minimumRows, [&](std::size_t begin, std::size_t end) {
        std::vector<long double> scalars = constants;
        std::vector<long double> locals(std::max<std::uint32_t>(plan.PointLocals, 1) * BlockSize);
        std::vector<char> ok(BlockSize);
        for (std::size_t j = begin; j < end; ++j) {
            bool rowOk = true;
            if (rowVariable) {
                scalars[*rowVariable] = WrittenValue(rows[j]);
                rowOk = RunSteps(plan.Row, scalars);
            }
            for (std::size_t first = 0; first < columnCount; first += BlockSize) {
                // A long formula may take a good part of a second per block.
                if (control && control->Cancelled()) {
                    return;
                }
                const TBlock block{scalars,     locals, stored.data(),
                                   columnCount, first,  std::min(BlockSize, columnCount - first),
                                   ok};
                for (std::size_t i = 0; i < block.Count; ++i) {
                    ok[i] = rowOk && columnOk[first + i] != 0 ? 1 : 0;
                }
                RunBlock(plan.Point, block);
                TSample* line = out.data() + j * columnCount + first;
                for (std::size_t i = 0; i < block.Count; ++i) {
                    line[i] =
                        ok[i] != 0 ? TSample{SourceValue(block, plan.Result, i), true} : TSample{};
                }
                if (control) {
                    control->Count(block.Count);
                }
            }
        }
    });
}

// Every evaluation of a batch finished at once, unless the batch was cancelled before.
void CountAll(TBatchControl* control, std::size_t evaluations) {
    if (control && !control->Cancelled()) {
        control->Count(evaluations);
    }
}

TSample TextSample(const TCompiledFormula& formula, const std::string& text) {
    TSample sample;
    sample.Ok = EvaluateFormula(text, sample.Value, formula.Context()) == EvalOk;
    return sample;
}

} // namespace

void EvaluateLine(const TCompiledFormula& formula, std::span<const long double> points,
                  std::span<TSample> out, TEvaluator evaluator, TBatchControl* control) {
    // Such a formula (a syntax error however long) is undefined at every point without one of
    // them being computed, even where its program cannot run.
    if (evaluator == TEvaluator::Program && formula.FailsEverywhere()) {
        std::fill(out.begin(), out.end(), TSample{});
        CountAll(control, out.size());
        return;
    }
    const TFormulaProgram* program = formula.Program();
    if (evaluator == TEvaluator::Program && formula.Letters().size() == 1 &&
        formula.ProgramUsable()) {
        ProgramGrid(*program, std::nullopt, {}, 0, points, out, control);
        return;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (control && control->Cancelled()) {
            return;
        }
        out[i] =
            TextSample(formula, formula.Substituted(formula.Prepared(), points.subspan(i, 1), 0));
        if (control) {
            control->Count(1);
        }
    }
}

void EvaluateGrid(const TCompiledFormula& formula, std::span<const long double> rows,
                  std::span<const long double> columns, std::span<TSample> out,
                  TEvaluator evaluator, TBatchControl* control) {
    if (evaluator == TEvaluator::Program && formula.FailsEverywhere()) {
        std::fill(out.begin(), out.end(), TSample{});
        CountAll(control, out.size());
        return;
    }
    const TFormulaProgram* program = formula.Program();
    if (evaluator == TEvaluator::Program && formula.Letters().size() == 2 &&
        formula.ProgramUsable()) {
        ProgramGrid(*program, 0, rows, 1, columns, out, control);
        return;
    }
    for (std::size_t j = 0; j < rows.size(); ++j) {
        const std::string row = formula.Substituted(formula.Prepared(), rows.subspan(j, 1), 0);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (control && control->Cancelled()) {
                return;
            }
            out[j * columns.size() + i] =
                TextSample(formula, formula.Substituted(row, columns.subspan(i, 1), 1));
            if (control) {
                control->Count(1);
            }
        }
    }
}

} // namespace kurvant
