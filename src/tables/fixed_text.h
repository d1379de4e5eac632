#pragma once
// Numbers written with a fixed number of decimals: the cells of a filled column and the figures
// of the statistics.

#include <string>
#include <string_view>

/// `value` with exactly `decimals` decimals (none: no separator): an optional minus, the integer
/// digits, `decimalSeparator` and the decimals, rounded to nearest with halves away from zero on
/// the exact binary value. A text that rounds to zero carries no minus ("0,00", never "-0,00").
/// Not-a-number is "NAN" and the infinities "INF" and "-INF".
std::string FixedText(double value, int decimals, char decimalSeparator);

/// `FixedText` with `groupSeparator` between every three digits of the integer part, counted
/// from the separator ("1 234 567,50"); an empty `groupSeparator` groups nothing.
std::string GroupedFixedText(double value, int decimals, char decimalSeparator,
                             std::string_view groupSeparator);

/// The number of decimals with which the number writer writes `value` (fixed notation, at most 15
/// significant digits): the digits after its separator, 0 for an integral value. 0.25 has 2,
/// 0.00005 has 5, -0.5 has 1, 3 has none.
int WrittenDecimals(double value);
