#pragma once
// Work over a range of independent items spread over the processor's cores.

#include <cstddef>
#include <functional>

namespace kurvant {

/// Calls `work(begin, end)` for contiguous parts that together cover [0, count) once, one part
/// per core but none smaller than `minimumPart` items, the first part on the calling thread. The
/// parts run with the caller's floating-point environment. Each item must be computed the same
/// whichever part holds it, so that the result does not depend on how the range was split. An
/// exception from a part is rethrown here once every part has ended.
void ForEachPart(std::size_t count, std::size_t minimumPart,
                 const std::function<void(std::size_t begin, std::size_t end)>& work);

} // namespace kurvant
