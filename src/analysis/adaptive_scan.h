#pragma once
// The scan a function study starts from: [a, b] in blocks of equal subintervals, each refined
// where the samples do not yet resolve the function (extrema of the samples too close together,
// a jump between two of them), down to a floor. A block's samples then separate every zero and
// extremum the study refines, or the scan says where they do not. The study stops between
// blocks when it is cancelled or out of time. No Qt.

#include "analysis/local_behaviour.h"
#include "formula/batch_control.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace kurvant {

/// When a study stops before its end: a cancel through `Control`, or the deadline. `Control`
/// also counts the share done, in the scan's subintervals (`ScanIntervals`).
struct TStudyLimits {
    TBatchControl* Control = nullptr;
    std::chrono::steady_clock::time_point Deadline = std::chrono::steady_clock::time_point::max();

    [[nodiscard]] bool Cancelled() const { return Control != nullptr && Control->Cancelled(); }
    [[nodiscard]] bool Stop() const {
        return Cancelled() || std::chrono::steady_clock::now() >= Deadline;
    }
};

/// The equal subintervals a scan of [a, b] starts with: 25 per unit, at least 5,000 and at most
/// 100,000, each then tried at its middle.
std::size_t ScanIntervals(long double a, long double b);

/// Consecutive samples and their values, ascending.
struct TScanBlock {
    std::vector<long double> X;
    std::vector<std::optional<long double>> F;
    long double OwnFrom = 0; ///< what starts in [OwnFrom, OwnTo) is this block's to report
    long double OwnTo = 0;
    bool Last = false; ///< the last block owns OwnTo (= b) too
    /// The jumps the block owns: the middles of subintervals refined to the floor whose values
    /// still jump.
    std::vector<long double> Jumps;
    /// The subintervals the block owns that the samples could not resolve.
    std::vector<std::pair<long double, long double>> Unresolved;

    [[nodiscard]] bool Owns(long double x) const {
        return x >= OwnFrom && (x < OwnTo || (Last && x <= OwnTo));
    }
};

/// A run of one or two samples whose values are the same (to the engine's digits) and beyond
/// both its neighbours on one side: the samples' local extremum. Three equal samples are a flat
/// stretch, which is none.
struct TSampleExtremum {
    std::size_t First = 0;
    std::size_t Last = 0;
    bool Maximum = false;
};
std::vector<TSampleExtremum> SampleExtrema(std::span<const std::optional<long double>> f);

struct TScanOutcome {
    /// The first place where the samples could not be refined enough (the function changes too
    /// often there, down to the floor), if any.
    std::optional<long double> Unresolved;
    /// The scan stopped (cancel, deadline, or `take` said so) before this point; what lies
    /// beyond it was not scanned.
    std::optional<long double> StoppedAt;
};

/// Scans [a, b] (b > a) block after block, left to right, and hands each refined block to
/// `take`, which says whether to go on. `extra` are points to sample besides the grid (a graph's
/// own points). Blocks overlap by a few samples, so that what a block owns has neighbours.
TScanOutcome ScanBlocks(const TStudyFunction& f, long double a, long double b,
                        std::span<const long double> extra, const TStudyLimits& limits,
                        const std::function<bool(const TScanBlock&)>& take);

} // namespace kurvant
