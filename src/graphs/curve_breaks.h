#pragma once
// The breaks of a sampled curve: the segments between two defined samples across which its
// formula has a pole or a jump, so that drawing does not join them. Only segments whose change
// stands out from their neighbours' are looked into, between their samples
// (segment_continuity.h), with the program that sampled the curve.

#include "formula/batch_evaluation.h"
#include "formula/compiled_formula.h"
#include "formula/formula_context.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

/// The segments k (from sample k to k + 1) worth testing, the one of largest change first. A
/// segment is looked at when `joined[k]` (drawing would join its samples) and both values are
/// defined and finite. A smooth curve's changes vary little from one segment to the next, even at
/// an extremum; a segment is suspicious when
/// - its change differs from the one its neighbours' changes lead to expect (their mean; at an
///   end both the change next to it and the trend of the two on its one side) by more than the
///   larger of them: across an odd pole the change turns against both neighbours, a jump towers
///   over them; or
/// - the changes on its two sides turn direction and both grow towards it: the two sides of an
///   even pole, where a smooth extremum flattens instead.
/// A change within the values' rounding is none; a segment without a defined neighbour is always
/// suspicious.
std::vector<std::size_t> SuspiciousSegments(std::span<const kurvant::TSample> values,
                                            const std::vector<bool>& joined);

/// The most evaluations the break search of a curve of `points` samples spends: half as many as
/// sampling it and 512 more (enough for some twenty jumps), none without a segment.
std::uint64_t BreakSearchBudget(std::size_t points);

/// Tests the suspicious segments of one formula's samples (`values[k]` at `arguments[k]`) and
/// sets `breaks[k]` for each that is not continuous; `breaks` has one flag per segment. A jump
/// smaller than 1/2000 of the span of the drawn values is too small to show, and no break. The
/// probes of all segments are evaluated together, a step at a time, by `formula` with the
/// context's evaluator; when `budget` runs short the segments of smaller change are left joined.
/// Returns the evaluations spent; each is counted in `context.Batch`, and a cancel there stops
/// the search (its result is then incomplete).
std::uint64_t MarkBreaks(const kurvant::TCompiledFormula& formula,
                         std::span<const long double> arguments,
                         std::span<const kurvant::TSample> values, const std::vector<bool>& joined,
                         std::uint64_t budget, const kurvant::TFormulaContext& context,
                         std::vector<bool>& breaks);
