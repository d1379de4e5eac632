#pragma once
// The value of a number once the rewriting has written it into the text and read it back: every
// intermediate of an evaluation goes through this, so it decides every last bit of a result.

namespace kurvant {

/// The value that the marked number written for `value` reads as: `ReadNumberText` of its
/// `NumberText`. Not-a-number when that text does not read back ("INF", "NAN"), so that whoever
/// reads it fails as the rewriting does. Slow: goes through the text.
long double WrittenValueByText(long double value);

/// `WrittenValueByText` by arithmetic: the value scaled by an exact power of ten, rounded to a
/// 15-digit integer and scaled back with one correctly rounded operation. Where the scaled value
/// falls on a half exactly, or the magnitude is outside 1e-13 .. 1e42, it takes the text.
/// Exact only with round-to-nearest and the full 64-bit significand (`FastRoundingHolds`).
long double WrittenValue(long double value);

/// Whether the floating-point environment of the calling thread is the one `WrittenValue` needs:
/// rounding to nearest, long double arithmetic with its full 64-bit significand.
bool FastRoundingHolds();

} // namespace kurvant
