#pragma once
// Whether a function is continuous between two neighbouring samples, judged from its values
// between them: as a window around a pole or a jump shrinks, the pole's values grow without bound
// and the jump keeps a gap of fixed size, while the change of a continuous piece, however steep,
// settles.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

/// The test of one segment [a, b] (a > b is allowed), given the function's values at its ends,
/// in steps: each step wants the values at `Probes()` and takes them with `Take`, until the
/// verdict is given. Many segments can so be tested side by side, their probes evaluated in one
/// batch.
///
/// The test follows a window of three points, first the ends and the middle. Each step the
/// quarter points are evaluated and the window, half as wide, is centred on one of its three
/// inner points, chosen by one of two walks:
/// - by change: the point whose window varies most, |f(left) − f(centre)| + |f(right) − f(centre)|,
///   which keeps a jump or an odd pole inside;
/// - by extreme: the point whose value lies farthest from the median of the five (or the inner
///   point next to it), which keeps inside the pole nearest to it, even or odd, or a logarithm's:
///   there the values on both sides run away the same way, and may vary less than a steep slope
///   beside.
/// A walk ends
/// - continuous once the variation has fallen to 1/256 of the largest it saw, to the values'
///   fifteen-digit noise, or to a least change the caller gives (a jump too small to show);
/// - broken when a probe has no value (the function is not defined everywhere between the
///   samples), when from 12 halvings on the variation has not halved over the last 6 (a jump
///   keeps it, a pole's grows), or when the window cannot shrink any more or has shrunk 40 times
///   without settling.
/// The segment is continuous when both walks end so. They share their steps up to the first
/// where they choose differently, from which the walk by extreme goes on once the one by change
/// has ended continuous.
class TSegmentTest {
public:
    /// The most halvings of a walk.
    static constexpr int MaxLevel = 40;

    enum class TVerdict : std::uint8_t { Open, Continuous, Broken };

    /// `least`: a change no larger is too small to show, and settles the walk.
    TSegmentTest(long double a, long double b, long double fa, long double fb,
                 long double least = 0);

    [[nodiscard]] TVerdict Verdict() const { return State; }
    /// Where the next step wants values: one point, then two each step; none once decided.
    [[nodiscard]] std::span<const long double> Probes() const {
        return std::span<const long double>(Next).first(NextCount);
    }
    /// The values at `Probes()`, in their order; none where the function has no value.
    void Take(std::span<const std::optional<long double>> values);

private:
    /// Where the two walks first part: the window's five points before the choice.
    struct TFork {
        std::array<long double, 5> X;
        std::array<long double, 5> F;
        long double Largest;
        int Level;
    };

    /// Makes the window the three of `x` and `f` around `centre` and judges it.
    void Centre(const std::array<long double, 5>& x, const std::array<long double, 5>& f,
                std::size_t centre);
    void Judge();
    void Decide(TVerdict verdict);

    std::array<long double, 3> X{}; ///< the window
    std::array<long double, 3> F{};
    std::array<long double, 2> Next{};
    std::size_t NextCount = 0;
    long double Least = 0;
    long double Largest = 0; ///< the largest variation of a window of the walk so far
    std::array<long double, MaxLevel + 1> Variations{}; ///< the walk's, by halvings
    int Level = -1;       ///< halvings of the walk; -1 while the middle is not known
    bool Extreme = false; ///< the walk by extreme
    std::optional<TFork> Fork;
    TVerdict State = TVerdict::Open;
};

/// The value of a function at a point; none where it has no value.
using TPointFunction = std::function<std::optional<long double>(long double)>;

/// `TSegmentTest` run to its verdict with `f`: whether `f` is continuous on [a, b].
bool ContinuousBetween(const TPointFunction& f, long double a, long double b, long double fa,
                       long double fb, long double least = 0);
