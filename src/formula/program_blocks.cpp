#include "formula/program_blocks.h"

#include "formula/written_value.h"

#include <cmath>

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

bool Unreadable(long double v) {
    return std::isnan(v);
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
    const TLane x = LaneOf(b, step.A);
    const TLane y = LaneOf(b, step.B);
    long double* out = &b.Locals[step.Out * BlockSize];
    switch (step.Op) {
    case TStepOp::Function:
        // The function's values first, written in a second pass: reading each right after the
        // function stored it would wait on the store.
        ForPoints(b, [&](std::size_t i) {
            return !Unreadable(x[i]) && ComputeFunction(step.Function, x[i], out[i]) == EvalOk;
        });
        ForPoints(b, [&](std::size_t i) {
            out[i] = WrittenValue(out[i]);
            return true;
        });
        return;
    case TStepOp::Absolute:
        ForPoints(b, [&](std::size_t i) {
            out[i] = std::fabs(x[i]);
            return !Unreadable(x[i]);
        });
        return;
    case TStepOp::Power:
        ForPoints(b, [&](std::size_t i) {
            long double result = 0;
            if (Unreadable(y[i]) || Unreadable(x[i]) ||
                ComputePower(x[i], y[i], result) != EvalOk) {
                return false;
            }
            out[i] = WrittenValue(result);
            return true;
        });
        return;
    case TStepOp::Multiply:
        ForPoints(b, [&](std::size_t i) {
            if (Unreadable(y[i]) || Unreadable(x[i])) {
                return false;
            }
            out[i] = WrittenValue(x[i] * y[i]);
            return true;
        });
        return;
    case TStepOp::Divide:
        ForPoints(b, [&](std::size_t i) {
            if (Unreadable(y[i]) || Unreadable(x[i]) || std::fabs(y[i]) < DomainEpsilon) {
                return false;
            }
            out[i] = WrittenValue(x[i] / y[i]);
            return true;
        });
        return;
    case TStepOp::Add:
        ForPoints(b, [&](std::size_t i) {
            out[i] = x[i] + y[i];
            return !Unreadable(y[i]);
        });
        return;
    case TStepOp::Subtract:
        ForPoints(b, [&](std::size_t i) {
            out[i] = x[i] - y[i];
            return !Unreadable(y[i]);
        });
        return;
    case TStepOp::Write:
        ForPoints(b, [&](std::size_t i) {
            out[i] = WrittenValue(x[i]);
            return true;
        });
        return;
    case TStepOp::Fail:
        ForPoints(b, [](std::size_t) { return false; });
        return;
    }
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
