#pragma once
// A real function of one variable near a point, as the tangent and the function study both ask
// about it: is it continuous there or does it jump, does it grow like a pole towards an end, what
// is its slope, and how close are two of its values before they differ. One set of tests and one
// tolerance for both, evaluated through the formula's compiled program. No Qt.

#include "formula/formula_context.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kurvant {

/// A real function of one variable: its value, or nothing where it has none. `At` may be called
/// from several threads at once.
class TStudyFunction {
public:
    virtual ~TStudyFunction() = default;
    [[nodiscard]] virtual std::optional<long double> At(long double x) const = 0;
    /// The values at many points at once; by default one `At` after the other.
    virtual void AtMany(std::span<const long double> xs,
                        std::vector<std::optional<long double>>& out) const;
};

/// A prepared formula of the one letter as a function, evaluated by its program (or its text where
/// it has none): undefined where the engine gives no value, an infinite one, or one of magnitude
/// `limit` or more.
std::unique_ptr<TStudyFunction> FormulaFunction(std::string_view prepared, char letter,
                                                const TFormulaContext& context,
                                                long double limit = 0);

/// The engine writes every value with 15 significant digits: two values closer than this are the
/// same value (a few hundred units of the last digit, at least 1e-13).
long double ValueTolerance(long double value);

/// Whether two values are the same to the engine's digits (relative to the larger, however small
/// both are).
bool SameValue(long double p, long double q);

/// The spacing of the numbers the engine takes for its variable near x: it writes them with 15
/// significant digits, so points closer than this give the same value.
long double VariableQuantum(long double x);

/// Whether f comes to `f0` (its value at x) from one side (`side` +1: the right): its distance
/// from f0 at x + side·near is within `ValueTolerance(f0)`, or below three quarters of the
/// distance at x + side·far (near at most far / 2). A pole grows and a jump stays, so both fail.
/// Nothing where the side has no value at a point the answer needs.
std::optional<bool> SettlesOnSide(const TStudyFunction& f, long double x, long double f0, int side,
                                  long double far, long double near);

/// Whether f is defined and continuous at x from both sides, tried at distances 1e-3 and 1e-7 of
/// `width` (never below what the variable's digits resolve).
bool ContinuousAt(const TStudyFunction& f, long double x, long double width);

/// The slope by the four-point central difference with step h.
std::optional<long double> CentralSlope(const TStudyFunction& f, long double x, long double h);

/// The slope to one side of x (`h0` > 0: the right): the one-sided five-point formula over x,
/// x + h, ..., x + 4h, refined by halving the step from h0 and extrapolated in the manner of
/// Richardson until its estimates agree to 5e-9. Nothing where it does not settle. `value` gets
/// f(x).
std::optional<long double> RefinedSlope(const TStudyFunction& f, double x, double h0,
                                        long double& value);

/// The one-sided five-point slope over x, x + h, ..., x + 4h (each point the previous plus h in
/// double precision), or its second derivative; `value` gets f(x). Nothing where a point has no
/// value.
std::optional<long double> FivePointSlope(const TStudyFunction& f, double x, double h,
                                          long double& value);
std::optional<long double> FivePointCurvature(const TStudyFunction& f, double x, double h,
                                              long double& value);

/// Whether f grows like a pole towards `end` from the side `inward` (+1 or -1): |f| grows and
/// |f|·d does not shrink (1/x keeps it, 1/x² doubles it) over the last values it has at distances
/// d halving from `reach`, where an integrable end lets it fall (by about 0.7 for 1/sqrt, 0.55 for
/// ln) and a bounded function has no growth at all. The engine has no value very near a pole.
bool PoleAt(const TStudyFunction& f, long double end, long double inward, long double reach);

/// The last point with a value between `defined` (which has one) and `undefined` (which has none),
/// by halving.
long double ValueEdge(const TStudyFunction& f, long double defined, long double undefined);

} // namespace kurvant
