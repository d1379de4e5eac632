#pragma once
// Work over a range of independent items spread over the processor's cores.

#include <cstddef>
#include <functional>

namespace kurvant {

/// Calls `work(begin, end)` for contiguous parts that together cover [0, count) once, none
/// smaller than `minimumPart` items unless the range is. The calling thread takes parts too, and
/// takes every part no other core has claimed, so a busy machine never leaves it waiting for a
/// thread to be scheduled. The parts run with the caller's floating-point environment. Each item
/// must be computed the same whichever part holds it, so that the result does not depend on how
/// the range was split or who ran which part. An exception from a part is rethrown here once
/// every part has ended.
void ForEachPart(std::size_t count, std::size_t minimumPart,
                 const std::function<void(std::size_t begin, std::size_t end)>& work);

} // namespace kurvant
