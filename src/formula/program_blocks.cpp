#include "formula/program_blocks.h"

#include "formula/written_value.h"

namespace kurvant {

namespace {

// An operand's values along the block: a stride of 0 repeats one value.
struct TLane {
    const long double* Data;
    std::size_t Stride;
    long double operator[](std::size_t i) const { return Data[i * Stride]; }
};

TLane LaneOf(const TBlock& b, TSource s) {
    switch (s.Kind) {
    case TSourceKind::Scalar:
        return {&b.Scalars[s.Index], 0};
    case TSourceKind::Local:
        return {&b.Locals[s.Index * BlockSize], 1};
    case TSourceKind::Stored:
        return {b.Stored + s.Index * b.StoredStride + b.Begin, 1};
    }
    return {&b.Scalars[0], 0};
}

// One step over the block; `compute(i)` returns false where the point fails.
template <typename TCompute> void ForPoints(const TBlock& b, TCompute compute) {
    for (std::size_t i = 0; i < b.Count; ++i) {
        if (b.Ok[i] != 0 && !compute(i)) {
            b.Ok[i] = 0;
        }
    }
}

void RunBlockStep(const TBlockStep& step, const TBlock& b) {
    if (step.Op == TStepOp::Fail) {
        ForPoints(b, [](std::size_t) { return false; });
        return;
    }
    const TLane x = LaneOf(b, step.A);
    long double* out = &b.Locals[step.Out * BlockSize];
    WithOperation(step.Op, [&](auto op) {
        constexpr TStepOp Op = decltype(op)::value;
        if constexpr (Op == TStepOp::Function) {
            // The function's values first, written in a second pass: reading each right after
            // the function stored it would wait on the store.
            ForPoints(b, [&](std::size_t i) {
                return OperationValue<Op>(step.Function, x[i], 0, out[i]) == EvalOk;
            });
            ForPoints(b, [&](std::size_t i) {
                out[i] = WrittenValue(out[i]);
                return true;
            });
        } else {
            const TLane y = TwoOperands<Op> ? LaneOf(b, step.B) : x;
            ForPoints(b, [&](std::size_t i) {
                long double value = 0;
                if (OperationValue<Op>(step.Function, x[i], TwoOperands<Op> ? y[i] : 0, value) !=
                    EvalOk) {
                    return false;
                }
                out[i] = WritesValue<Op> ? WrittenValue(value) : value;
                return true;
            });
        }
    });
}

} // namespace

void RunBlock(std::span<const TBlockStep> steps, const TBlock& block) {
    for (const TBlockStep& step : steps) {
        RunBlockStep(step, block);
    }
}

long double SourceValue(const TBlock& block, TSource source, std::size_t point) {
    return LaneOf(block, source)[point];
}

} // namespace kurvant
