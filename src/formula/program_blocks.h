#pragma once
// A program's steps run over a block of points at once: each step over the whole block before
// the next. A value is then not read back right after it was stored (an 80-bit store does not
// forward to the load that follows it, which costs more than the arithmetic), and the step's
// kind is looked at once per block instead of once per point.

#include "formula/formula_program.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kurvant {

inline constexpr std::size_t BlockSize = 256;

/// Where a step finds an operand for the points of a block.
enum class TSourceKind : std::uint8_t {
    Scalar, ///< one value for every point: `Scalars[Index]`
    Local,  ///< computed in this block: `Locals[Index * BlockSize + point]`
    Stored  ///< computed before, one per point: `Stored[Index * StoredStride + Begin + point]`
};

struct TSource {
    TSourceKind Kind = TSourceKind::Scalar;
    std::uint32_t Index = 0;
};

/// A program step with its operands placed and its result in a local of the block.
struct TBlockStep {
    TStepOp Op = TStepOp::Fail;
    TFunction Function = TFunction::Sin;
    EvalResult Code = EvalSyntaxError;
    TSource A;
    TSource B;
    std::uint32_t Out = 0;
};

struct TBlock {
    std::span<const long double> Scalars;
    std::span<long double> Locals; ///< at least (locals used) x BlockSize
    const long double* Stored = nullptr;
    std::size_t StoredStride = 0;
    std::size_t Begin = 0; ///< the block's first point, as `Stored` counts them
    std::size_t Count = 0; ///< points in the block, at most BlockSize
    std::span<char> Ok;    ///< per point: no step has failed there; failed points are skipped
};

/// Runs the steps in order over the block. Where a step fails at a point, the point's `Ok`
/// goes to 0 and no later step computes there.
void RunBlock(std::span<const TBlockStep> steps, const TBlock& block);

/// The value of a source at a point of the block.
long double SourceValue(const TBlock& block, TSource source, std::size_t point);

} // namespace kurvant
