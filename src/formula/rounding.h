#pragma once
// Rounding to the nearest integer with halves to the even neighbour, the rule of "round", of the
// axis numbers, of the numbering steps and of the rotate drag.

#include <cfenv>

namespace kurvant {

/// The nearest integer, halves to the even neighbour (2.5 gives 2, 3.5 gives 4, -2.5 gives -2),
/// whatever the floating-point rounding mode. A double converts to long double exactly, so it
/// may be passed as it is.
long double RoundHalfEven(long double value);

/// Holds the floating-point rounding mode at round-to-nearest for its lifetime, so arithmetic
/// whose last bit matters does not depend on a mode someone else left behind.
class TRoundToNearest {
public:
    TRoundToNearest() : Saved(std::fegetround()) { std::fesetround(FE_TONEAREST); }
    ~TRoundToNearest() { std::fesetround(Saved); }
    TRoundToNearest(const TRoundToNearest&) = delete;
    TRoundToNearest& operator=(const TRoundToNearest&) = delete;

private:
    int Saved;
};

} // namespace kurvant
