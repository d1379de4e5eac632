#pragma once
// What a long batch of evaluations shares with whoever waits for it: how far it has come, and a
// request to stop. The batch runs on other threads; the one waiting reads `Done` to show the
// share done and sets `Cancel` when the user gives up, after which the batch's results are
// incomplete and must be thrown away.

#include <atomic>
#include <cstdint>

namespace kurvant {

struct TBatchControl {
    std::atomic<bool> Cancel{false};
    std::atomic<std::uint64_t> Done{0}; ///< evaluations finished so far

    [[nodiscard]] bool Cancelled() const { return Cancel.load(std::memory_order_relaxed); }
    void Count(std::uint64_t evaluations) {
        Done.fetch_add(evaluations, std::memory_order_relaxed);
    }
};

} // namespace kurvant
